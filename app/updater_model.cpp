#include "app/updater_model.h"
#include "app/app_info.h"
#include "app/app_settings.h"
#include "app/standard_user_driver.h"
#include "app/update_check_window.h"
#include "app/updater.h"
#include <QGuiApplication>

namespace vt {

namespace {

// The check window is made on its first use and then kept, like every window of the program.
class LazyUpdateWindow final : public UpdatePresenter {
public:
    void showChecking() override { window().showChecking(); }
    void showUpdateFound(const AppcastItem& update, const QString& currentVersion) override {
        window().showUpdateFound(update, currentVersion);
    }
    void showUpToDate(const QString& currentVersion) override {
        window().showUpToDate(currentVersion);
    }
    void showFailure(const QString& description) override { window().showFailure(description); }
    void showUpdatedByPackage() override { window().showUpdatedByPackage(); }

private:
    UpdateCheckWindow& window() {
        if (!window_) {
            window_ = std::make_unique<UpdateCheckWindow>();
            window_->onClosed = [this] {
                if (onClosed) onClosed();
            };
        }
        return *window_;
    }
    std::unique_ptr<UpdateCheckWindow> window_;
};

} // namespace

UpdaterModel& UpdaterModel::shared() {
    static UpdaterModel* model = [] {
        Options options;
        options.feedURL = AppInfo::feedURL();
        options.currentVersion = AppInfo::version();
        return new UpdaterModel(AppSettings::shared().defaults(), std::move(options));
    }();
    return *model;
}

UpdaterModel::UpdaterModel(UserDefaults& defaults, Options options, QObject* parent)
    : QObject(parent), activate_(std::move(options.activate)) {
    UpdatePresenter* presenter = options.presenter;
    if (!presenter) {
        ownedPresenter_ = std::make_unique<LazyUpdateWindow>();
        presenter = ownedPresenter_.get();
    }
    presenter_ = presenter;
    hasFeed_ = options.feedURL.isValid();
    std::function<bool()> inImmediateFocus = std::move(options.inImmediateFocus);
    if (!inImmediateFocus)
        inImmediateFocus = [] {
            return QGuiApplication::applicationState() == Qt::ApplicationActive;
        };
    driver_ = std::make_unique<StandardUserDriver>(*this, *presenter, std::move(inImmediateFocus),
                                                   activate_, options.currentVersion);
    updater_ =
        std::make_unique<Updater>(defaults, *driver_, options.feedURL, options.currentVersion);
    updater_->setCheckInterval(options.checkInterval);
    updater_->setTimeout(options.timeout);
    if (options.startUpdater) updater_->startUpdater();

    // Equal to the updater's value from here on, so nothing is written back now.
    automaticallyChecks_ = updater_->automaticallyChecksForUpdates();
    connect(updater_.get(), &Updater::canCheckForUpdatesChanged, this, &UpdaterModel::setCanCheck);
    setCanCheck(updater_->canCheckForUpdates());
}

UpdaterModel::~UpdaterModel() = default;

void UpdaterModel::setAutomaticallyChecks(bool value) {
    const bool changedHere = automaticallyChecks_ != value;
    automaticallyChecks_ = value;
    if (updater_->automaticallyChecksForUpdates() != value)
        updater_->setAutomaticallyChecksForUpdates(value);
    if (changedHere) emit changed();
}

void UpdaterModel::checkForUpdates() {
    if (activate_) activate_();
    if (!hasFeed_) {
        presenter_->showUpdatedByPackage();
        return;
    }
    updater_->checkForUpdates();
}

bool UpdaterModel::supportsGentleScheduledUpdateReminders() const {
    return true;
}

bool UpdaterModel::standardUserDriverShouldHandleShowingScheduledUpdate(const AppcastItem&,
                                                                        bool immediateFocus) {
    return immediateFocus;
}

void UpdaterModel::standardUserDriverWillHandleShowingUpdate(bool handleShowingUpdate,
                                                             const AppcastItem&,
                                                             const UpdateUserState&) {
    if (handleShowingUpdate) {
        if (activate_) activate_();
    } else {
        setUpdateWaiting(true);
    }
}

void UpdaterModel::standardUserDriverDidReceiveUserAttentionForUpdate(const AppcastItem&) {
    setUpdateWaiting(false);
}

void UpdaterModel::standardUserDriverWillFinishUpdateSession() {
    setUpdateWaiting(false);
}

void UpdaterModel::setCanCheck(bool value) {
    if (canCheck_ == value) return;
    canCheck_ = value;
    emit changed();
}

void UpdaterModel::setUpdateWaiting(bool value) {
    if (updateWaiting_ == value) return;
    updateWaiting_ = value;
    emit changed();
}

} // namespace vt
