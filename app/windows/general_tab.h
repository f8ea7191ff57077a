#pragma once
#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;

namespace vt {

class AppSettings;
class ToggleSwitch;
class UpdaterModel;

// The lines a Sway user adds to their configuration so that holding Ctrl+V reaches `program`
// (quoted for the shell where it needs to be), and the command of a picker shortcut.
QString holdBindingLines(const QString& program);
QString pickCommand(const QString& program);
// The executable those lines start: the AppImage, else this program's own path.
QString programForBindings();

// Start at login, picker style, fan size, hold delay, the hold's Wayland bindings and update
// checks.
class GeneralTab : public QWidget {
    Q_OBJECT
public:
    GeneralTab(AppSettings& settings, UpdaterModel& updater, QWidget* parent = nullptr);

private:
    // Re-reads everything from the store and the update model.
    void refresh();

    AppSettings& settings_;
    UpdaterModel& updater_;
    ToggleSwitch* launchAtLogin_;
    QWidget* loginCaptionRow_;
    QComboBox* pickerStyle_;
    QWidget* fanSlotsRow_;
    QComboBox* fanSlots_;
    QComboBox* holdDelay_;
    ToggleSwitch* automaticallyChecks_;
    QPushButton* checkNow_;
};

} // namespace vt
