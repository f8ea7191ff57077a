#include "app/standard_user_driver.h"

namespace vt {

StandardUserDriver::StandardUserDriver(UserDriverDelegate& delegate, UpdatePresenter& presenter,
                                       std::function<bool()> inImmediateFocus,
                                       std::function<void()> activate, QString currentVersion)
    : delegate_(delegate), presenter_(presenter), inImmediateFocus_(std::move(inImmediateFocus)),
      activate_(std::move(activate)), currentVersion_(std::move(currentVersion)) {
    presenter_.onClosed = [this] {
        windowOpen_ = false;
        // A found update the user has not looked at yet keeps its session open.
        if (!waiting_) finishSession();
    };
}

void StandardUserDriver::showUserInitiatedUpdateCheck() {
    windowOpen_ = true;
    if (activate_) activate_();
    presenter_.showChecking();
}

void StandardUserDriver::showUpdateFound(const AppcastItem& update, bool userInitiated) {
    if (userInitiated) {
        presentUpdate(update, true);
        return;
    }
    const bool immediateFocus = inImmediateFocus_ && inImmediateFocus_();
    const bool handle =
        !delegate_.supportsGentleScheduledUpdateReminders() ||
        delegate_.standardUserDriverShouldHandleShowingScheduledUpdate(update, immediateFocus);
    if (handle) {
        presentUpdate(update, false);
        return;
    }
    waiting_ = update;
    delegate_.standardUserDriverWillHandleShowingUpdate(false, update, UpdateUserState{false});
}

void StandardUserDriver::presentUpdate(const AppcastItem& update, bool userInitiated) {
    delegate_.standardUserDriverWillHandleShowingUpdate(true, update,
                                                        UpdateUserState{userInitiated});
    waiting_.reset();
    windowOpen_ = true;
    presenter_.showUpdateFound(update, currentVersion_);
    delegate_.standardUserDriverDidReceiveUserAttentionForUpdate(update);
}

void StandardUserDriver::showUpdateNotFound(bool userInitiated) {
    if (userInitiated) {
        windowOpen_ = true;
        presenter_.showUpToDate(currentVersion_);
        return;
    }
    // A reminder for an update the feed no longer offers has nothing left to show.
    if (!windowOpen_) {
        waiting_.reset();
        finishSession();
    }
}

void StandardUserDriver::showUpdaterError(const QString& description, bool userInitiated) {
    // Background failures stay in the log (the updater wrote it) and are retried on schedule.
    if (!userInitiated) return;
    windowOpen_ = true;
    presenter_.showFailure(description);
}

void StandardUserDriver::finishSession() {
    delegate_.standardUserDriverWillFinishUpdateSession();
}

} // namespace vt
