#pragma once
#include "app/user_driver.h"
#include "platform/user_defaults.h"
#include <QObject>
#include <QUrl>
#include <functional>
#include <memory>

namespace vt {

class Updater;
class StandardUserDriver;

// Connects the program to its update layer: background finds wait quietly for the user (the
// status menu then offers "新しい版があります…") and the settings window shows two flags.
class UpdaterModel : public QObject, public UserDriverDelegate {
    Q_OBJECT
public:
    struct Options {
        QUrl feedURL;                           // empty: no updates (canCheck stays false)
        QString currentVersion;                 // the running version
        double checkInterval = 24 * 60 * 60;    // seconds between scheduled checks
        double timeout = 30;                    // seconds before a feed request gives up
        UpdatePresenter* presenter = nullptr;   // nullptr: the Qt check window
        std::function<bool()> inImmediateFocus; // empty: the program has the active window
        std::function<void()> activate;         // empty: raise the program's windows
        bool startUpdater = true;               // start the schedule at construction
    };

    // The program's model: feed and version from AppInfo, AppSettings::shared().defaults().
    static UpdaterModel& shared();

    UpdaterModel(UserDefaults& defaults, Options options, QObject* parent = nullptr);
    ~UpdaterModel() override;

    // False in a build without an update feed: new versions come with the package, and the
    // program never opens a network connection.
    bool hasFeed() const { return hasFeed_; }
    bool canCheck() const { return canCheck_; }
    bool updateWaiting() const { return updateWaiting_; }
    bool automaticallyChecks() const { return automaticallyChecks_; }
    // Writes the flag through to the updater only when it differs there.
    void setAutomaticallyChecks(bool value);
    // User-initiated: activates the program and shows the check window (which, without a feed,
    // says that updates come with the package).
    void checkForUpdates();

    Updater& updater() { return *updater_; }

    bool supportsGentleScheduledUpdateReminders() const override;
    bool standardUserDriverShouldHandleShowingScheduledUpdate(const AppcastItem& update,
                                                              bool immediateFocus) override;
    void standardUserDriverWillHandleShowingUpdate(bool handleShowingUpdate,
                                                   const AppcastItem& update,
                                                   const UpdateUserState& state) override;
    void standardUserDriverDidReceiveUserAttentionForUpdate(const AppcastItem& update) override;
    void standardUserDriverWillFinishUpdateSession() override;

signals:
    void changed();

private:
    void setCanCheck(bool value);
    void setUpdateWaiting(bool value);

    std::function<void()> activate_;
    std::unique_ptr<UpdatePresenter> ownedPresenter_;
    UpdatePresenter* presenter_ = nullptr;
    bool hasFeed_ = false;
    std::unique_ptr<StandardUserDriver> driver_;
    std::unique_ptr<Updater> updater_;
    bool canCheck_ = false;
    bool updateWaiting_ = false;
    bool automaticallyChecks_ = true;
};

} // namespace vt
