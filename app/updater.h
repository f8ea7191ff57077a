#pragma once
#include "app/appcast.h"
#include "platform/user_defaults.h"
#include <QDateTime>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <optional>

class QNetworkAccessManager;

namespace vt {

// What the updater tells the user side about a check.
class UpdateUserDriver {
public:
    virtual ~UpdateUserDriver() = default;
    // A user-initiated check has started.
    virtual void showUserInitiatedUpdateCheck() = 0;
    // The feed offers a newer version.
    virtual void showUpdateFound(const AppcastItem& update, bool userInitiated) = 0;
    // The feed offers nothing newer.
    virtual void showUpdateNotFound(bool userInitiated) = 0;
    // The feed could not be fetched or read.
    virtual void showUpdaterError(const QString& description, bool userInitiated) = 0;
};

// The update layer: fetches the appcast on a schedule (persisted last-check time and automatic
// flag) and on request, compares versions and hands the outcome to the user driver. It never
// blocks: requests run on the event loop and give up after a timeout.
class Updater : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kAutomaticChecksKey = "automaticallyChecksForUpdates";
    static constexpr const char* kLastCheckKey = "lastUpdateCheckDate";

    Updater(UserDefaults& defaults, UpdateUserDriver& driver, QUrl feedURL, QString currentVersion,
            QObject* parent = nullptr);
    ~Updater() override;

    void setCheckInterval(double seconds) { checkInterval_ = seconds; }
    void setTimeout(double seconds) { timeout_ = seconds; }
    QUrl feedURL() const { return feedURL_; }
    QString currentVersion() const { return currentVersion_; }

    // Starts the schedule: a check is due when the last one is older than the interval.
    void startUpdater();
    // False while a check runs and when no feed is configured.
    bool canCheckForUpdates() const;
    // Persisted; on unless the user turned it off.
    bool automaticallyChecksForUpdates() const;
    void setAutomaticallyChecksForUpdates(bool value);
    std::optional<QDateTime> lastUpdateCheckDate() const;
    // A check the user asked for: every outcome is shown.
    void checkForUpdates();
    // A scheduled check: only a find is shown (gently); failures are logged.
    void checkForUpdatesInBackground();
    bool checkInProgress() const { return reply_ != nullptr; }

signals:
    void canCheckForUpdatesChanged(bool canCheck);
    // A check (of either kind) has ended and its outcome was handed on.
    void checkFinished();

private:
    void startCheck(bool userInitiated);
    void finishCheck();
    void scheduleNextCheck();
    void scheduledCheckDue();

    UserDefaults& defaults_;
    UpdateUserDriver& driver_;
    QUrl feedURL_;
    QString currentVersion_;
    double checkInterval_ = 24 * 60 * 60;
    double timeout_ = 30;
    bool started_ = false;
    bool userInitiated_ = false;
    QNetworkAccessManager* network_ = nullptr;
    QPointer<QNetworkReply> reply_;
    QTimer scheduleTimer_;
};

} // namespace vt
