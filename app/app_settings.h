#pragma once
#include "platform/login_items.h"
#include "platform/user_defaults.h"
#include <QObject>
#include <QStringList>
#include <cstdint>
#include <functional>

namespace vt {

// Lists of applications that treat Ctrl+V their own way.
enum class PasteAppList {
    ctrlShiftV,  // paste with Ctrl+Shift+V (terminals)
    shiftInsert, // paste with Shift+Insert, which reads PRIMARY (xterm and kin)
    passThrough, // keep Ctrl+V: holding it never opens the picker
};

// The single store of the user's preferences. Values are read and validated once at creation,
// every write goes straight to the user defaults, and onChange tells the program to re-apply them.
class AppSettings : public QObject {
    Q_OBJECT
public:
    // The program's store: QSettings-backed defaults and the XDG autostart login item.
    static AppSettings& shared();

    AppSettings(UserDefaults& defaults, LoginItemService& loginItems, QObject* parent = nullptr);

    double holdDelay() const { return holdDelay_; }
    void setHoldDelay(double value);
    bool useFan() const { return useFan_; }
    void setUseFan(bool value);
    std::int64_t fanSlots() const { return fanSlots_; }
    void setFanSlots(std::int64_t value);
    std::int64_t historyLimit() const { return historyLimit_; }
    void setHistoryLimit(std::int64_t value);
    QStringList excludedApps() const { return excludedApps_; }
    void setExcludedApps(const QStringList& value);
    QStringList pasteApps(PasteAppList list) const { return pasteApps_[int(list)]; }
    void setPasteApps(PasteAppList list, const QStringList& value);
    bool onboardingDone() const { return onboardingDone_; }
    void setOnboardingDone(bool value);

    // Asks the login-item service each time; only the enabled status counts as on.
    bool launchAtLogin() const;
    // Registers or unregisters the login item; a failure is logged and the status stays the truth.
    void setLaunchAtLogin(bool value);
    LoginItemStatus loginItemStatus() const;
    // Registers the login item on the first launch only; a user who turned it off stays off.
    void applyLaunchAtLoginDefaultOnce();

    UserDefaults& defaults() { return defaults_; }

    // Runs after a write of holdDelay, useFan, fanSlots, historyLimit, excludedApps or a paste
    // application list.
    std::function<void()> onChange;

signals:
    // Any published property or the login-item status changed (views redraw).
    void changed();

private:
    void notify(bool callOnChange);

    UserDefaults& defaults_;
    LoginItemService& loginItems_;
    double holdDelay_ = 0.25;
    bool useFan_ = true;
    std::int64_t fanSlots_ = 12;
    std::int64_t historyLimit_ = 50;
    QStringList excludedApps_;
    QStringList pasteApps_[3];
    bool onboardingDone_ = false;
};

} // namespace vt
