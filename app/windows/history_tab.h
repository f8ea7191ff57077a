#pragma once
#include "app/windows/app_chooser_dialog.h"
#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

class QComboBox;
class QListWidget;
class QToolButton;
class QPushButton;

namespace vt {

class AppCatalog;
class AppSettings;

// History limit, clearing the history, and the applications whose copies are never recorded.
class HistoryTab : public QWidget {
    Q_OBJECT
public:
    HistoryTab(AppSettings& settings, const AppCatalog& catalog, std::function<void()> clearHistory,
               QWidget* parent = nullptr);

    // Opens the chooser of installed applications; confirmed choices go through addApps().
    void addApp();
    // Appends each identifier not yet listed (empty ones skipped), saving each on its own.
    void addApps(const QStringList& ids);
    // Removes the selected application and clears the selection.
    void removeSelected();
    // Replaces the list with the built-in one.
    void restoreDefaults();
    // Asks "履歴をすべて消去しますか？"; "消去" runs clearHistory.
    void confirmClear();

    std::optional<QString> selectedApp() const { return selectedApp_; }
    // The open chooser or confirmation, for whoever drives the window (tests, automation).
    AppChooserDialog* chooser() const { return chooser_; }
    QMessageBox* confirmation() const { return confirmation_; }

private:
    void refresh();
    void rebuildList();

    AppSettings& settings_;
    const AppCatalog& catalog_;
    std::function<void()> clearHistory_;
    std::optional<QString> selectedApp_;
    QStringList shownApps_;
    QComboBox* historyLimit_;
    QListWidget* list_;
    QToolButton* remove_;
    QPointer<AppChooserDialog> chooser_;
    QPointer<QMessageBox> confirmation_;
};

} // namespace vt
