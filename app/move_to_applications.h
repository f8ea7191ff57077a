#pragma once
#include "app/move_alerts.h"
#include "platform/user_defaults.h"
#include <QString>
#include <functional>
#include <optional>

namespace vt {

// Offers, at the start of a launch, to move a copy that runs from outside an Applications folder
// into one and to relaunch from there, because updates cannot reach it where it is.
namespace MoveToApplications {

inline constexpr const char* kSuppressedKey = "moveToApplicationsSuppressed";

// Everything the offer touches, so that tests can run it on temporary folders without a screen.
struct Environment {
    QString bundlePath;                           // "" when there is nothing to move
    QString home;                                 // the user's home folder
    QString systemApplications = "/Applications"; // the system Applications folder
    UserDefaults* defaults = nullptr;             // where the suppression is stored
    MoveAlerts* alerts = nullptr;                 // the two alerts
    std::function<void(const QString&)> relaunch; // empty: relaunch() (ends the process)
};

struct MoveResult {
    std::optional<QString> destination; // set on success
    QString error;                      // the failure's description otherwise
};

// The running program's environment: $APPIMAGE, $HOME, the shared settings, Qt alerts.
Environment programEnvironment();

// True when a relaunch from the new place has been started (the caller must stop at once).
bool offerIfNeeded();
bool offerIfNeeded(Environment& environment);
// The location the user opened; there is no App Translocation here, so it is url itself.
QString originalURL(const QString& url);
// Copies url into "/Applications" (or home/Applications when that is not writable).
MoveResult move(const QString& url, const QString& home);
MoveResult move(const QString& url, const QString& home, const QString& systemApplications);
// Starts the relaunch script for url and ends the program.
[[noreturn]] void relaunch(const QString& url);
// The script: waits while process $1 lives, then starts $2; no path is ever read as shell text.
QString relaunchScript();
// Starts the script detached for process pid and the program at url; false when it did not start.
bool startRelaunchScript(qint64 pid, const QString& url);

} // namespace MoveToApplications
} // namespace vt
