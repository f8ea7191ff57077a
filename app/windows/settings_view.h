#pragma once
#include <QWidget>
#include <functional>

class QTabWidget;

namespace vt {

class AppCatalog;
class AppSettings;
class GeneralTab;
class HistoryTab;
class AboutTab;
class TabSelection;
class UpdaterModel;

// The settings window's content: a 500 × 450 tab view following the shared tab selection.
class SettingsView : public QWidget {
    Q_OBJECT
public:
    SettingsView(AppSettings& settings, UpdaterModel& updater, TabSelection& selection,
                 const AppCatalog& catalog, std::function<void()> clearHistory,
                 QWidget* parent = nullptr);

    QTabWidget* tabs() const { return tabs_; }
    GeneralTab* generalTab() const { return general_; }
    HistoryTab* historyTab() const { return history_; }
    AboutTab* aboutTab() const { return about_; }

private:
    QTabWidget* tabs_;
    GeneralTab* general_;
    HistoryTab* history_;
    AboutTab* about_;
};

} // namespace vt
