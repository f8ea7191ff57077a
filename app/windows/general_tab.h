#pragma once
#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;

namespace vt {

class AppSettings;
class ToggleSwitch;
class UpdaterModel;

// Start at login, picker style, fan size, hold delay and update checks.
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
