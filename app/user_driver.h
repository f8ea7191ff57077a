#pragma once
#include "app/appcast.h"
#include <QString>
#include <functional>

namespace vt {

// How the update layer reached the user for an update.
struct UpdateUserState {
    bool userInitiated = false;
};

// The program's say in how updates are shown; the update layer calls these on the main thread.
class UserDriverDelegate {
public:
    virtual ~UserDriverDelegate() = default;
    // True: a background find may wait quietly for the user instead of opening a window.
    virtual bool supportsGentleScheduledUpdateReminders() const = 0;
    // Whether the update layer shows a background find itself now.
    virtual bool standardUserDriverShouldHandleShowingScheduledUpdate(const AppcastItem& update,
                                                                      bool immediateFocus) = 0;
    // Told before a found update is shown (handleShowingUpdate) or left waiting (false).
    virtual void standardUserDriverWillHandleShowingUpdate(bool handleShowingUpdate,
                                                           const AppcastItem& update,
                                                           const UpdateUserState& state) = 0;
    // The user has seen the update.
    virtual void standardUserDriverDidReceiveUserAttentionForUpdate(const AppcastItem& update) = 0;
    // The update session ended in any way.
    virtual void standardUserDriverWillFinishUpdateSession() = 0;
};

// The window of a user-initiated check. The Qt implementation is UpdateCheckWindow; tests
// record the calls instead.
class UpdatePresenter {
public:
    virtual ~UpdatePresenter() = default;
    // Shows (or raises) the window saying that a check is running.
    virtual void showChecking() = 0;
    // Shows the new version, its notes and a button that opens its download page.
    virtual void showUpdateFound(const AppcastItem& update, const QString& currentVersion) = 0;
    // Says that the running version is the newest.
    virtual void showUpToDate(const QString& currentVersion) = 0;
    // Says what went wrong.
    virtual void showFailure(const QString& description) = 0;
    // Says that new versions come with the installed package (a build without an update feed).
    virtual void showUpdatedByPackage() = 0;
    // Runs when the user closes the window.
    std::function<void()> onClosed;
};

} // namespace vt
