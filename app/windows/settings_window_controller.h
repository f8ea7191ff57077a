#pragma once
#include "app/windows/tab_selection.h"
#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

namespace vt {

class AppCatalog;
class AppSettings;
class SettingsView;
class UpdaterModel;

// Owns the settings window: created on the first show(), hidden (never destroyed) on close.
class SettingsWindowController : public QObject {
    Q_OBJECT
public:
    // The program's controller: the shared settings, update model and application catalog.
    static SettingsWindowController& shared();

    SettingsWindowController(AppSettings& settings, UpdaterModel& updater,
                             const AppCatalog& catalog, QObject* parent = nullptr);
    ~SettingsWindowController() override;

    // Selects `tab`, creates the window on first use and brings it to the front.
    void show(Tab tab = Tab::general);

    TabSelection& selection() { return selection_; }
    // The window and its content, or nullptr before the first show().
    QWidget* window() const { return window_; }
    SettingsView* view() const { return view_; }

    // Empties the clip history; set by the application, run by the history tab's confirmation.
    std::function<void()> clearHistory;

private:
    AppSettings& settings_;
    UpdaterModel& updater_;
    const AppCatalog& catalog_;
    TabSelection selection_;
    QPointer<QWidget> window_;
    SettingsView* view_ = nullptr;
};

} // namespace vt
