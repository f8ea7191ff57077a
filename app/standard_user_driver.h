#pragma once
#include "app/updater.h"
#include "app/user_driver.h"
#include <functional>
#include <optional>

namespace vt {

// Turns the updater's outcomes into what the user sees, asking the delegate how to show a
// background find: now in the check window, or later as a quiet reminder.
class StandardUserDriver : public UpdateUserDriver {
public:
    StandardUserDriver(UserDriverDelegate& delegate, UpdatePresenter& presenter,
                       std::function<bool()> inImmediateFocus, std::function<void()> activate,
                       QString currentVersion);

    void showUserInitiatedUpdateCheck() override;
    void showUpdateFound(const AppcastItem& update, bool userInitiated) override;
    void showUpdateNotFound(bool userInitiated) override;
    void showUpdaterError(const QString& description, bool userInitiated) override;

    // True while a check window is open or a found update waits for the user.
    bool sessionInProgress() const { return windowOpen_ || waiting_.has_value(); }

private:
    void presentUpdate(const AppcastItem& update, bool userInitiated);
    void finishSession();

    UserDriverDelegate& delegate_;
    UpdatePresenter& presenter_;
    std::function<bool()> inImmediateFocus_;
    std::function<void()> activate_;
    QString currentVersion_;
    bool windowOpen_ = false;
    std::optional<AppcastItem> waiting_;
};

} // namespace vt
