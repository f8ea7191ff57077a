#include "app/updater.h"
#include "platform/log.h"
#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <algorithm>

namespace vt {

namespace {

// Far enough for any check; a feed must be small.
constexpr qint64 kMaximumFeedBytes = 4 * 1024 * 1024;

QString networkFailure(QNetworkReply& reply) {
    if (reply.error() == QNetworkReply::OperationCanceledError ||
        reply.error() == QNetworkReply::TimeoutError)
        return QCoreApplication::translate("Vantrel", "サーバーから時間内に応答がありませんでした");
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && status.toInt() >= 400)
        return QCoreApplication::translate("Vantrel", "サーバーがエラーを返しました（HTTP %1）")
            .arg(status.toInt());
    return QCoreApplication::translate("Vantrel", "サーバーに接続できませんでした（%1）")
        .arg(reply.errorString());
}

} // namespace

Updater::Updater(UserDefaults& defaults, UpdateUserDriver& driver, QUrl feedURL,
                 QString currentVersion, QObject* parent)
    : QObject(parent), defaults_(defaults), driver_(driver), feedURL_(std::move(feedURL)),
      currentVersion_(std::move(currentVersion)) {
    scheduleTimer_.setSingleShot(true);
    connect(&scheduleTimer_, &QTimer::timeout, this, &Updater::scheduledCheckDue);
}

Updater::~Updater() {
    QNetworkReply* reply = reply_.data();
    if (reply == nullptr) return;
    reply->disconnect(this);
    reply->abort();
}

bool Updater::automaticallyChecksForUpdates() const {
    const QString key = QString::fromLatin1(kAutomaticChecksKey);
    return !defaults_.contains(key) || defaults_.boolForKey(key);
}

void Updater::setAutomaticallyChecksForUpdates(bool value) {
    defaults_.setBool(QString::fromLatin1(kAutomaticChecksKey), value);
    if (started_) scheduleNextCheck();
}

std::optional<QDateTime> Updater::lastUpdateCheckDate() const {
    const QString key = QString::fromLatin1(kLastCheckKey);
    if (!defaults_.contains(key)) return std::nullopt;
    const auto seconds = static_cast<qint64>(defaults_.doubleForKey(key));
    if (seconds <= 0) return std::nullopt;
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
}

bool Updater::canCheckForUpdates() const {
    return feedURL_.isValid() && !checkInProgress();
}

void Updater::startUpdater() {
    started_ = true;
    if (!feedURL_.isValid()) {
        qCInfo(vtLog) << "updates: no feed configured";
        return;
    }
    scheduleNextCheck();
}

void Updater::scheduleNextCheck() {
    scheduleTimer_.stop();
    if (!automaticallyChecksForUpdates() || !feedURL_.isValid()) return;
    double wait = 0;
    if (const auto last = lastUpdateCheckDate()) {
        const double since = static_cast<double>(last->secsTo(QDateTime::currentDateTimeUtc()));
        // A clock set back makes the last check look future; count it as just done.
        wait = since < 0 ? checkInterval_ : std::max(0.0, checkInterval_ - since);
    }
    const double maxTimer = 24.0 * 24 * 60 * 60;
    scheduleTimer_.start(static_cast<int>(std::min(wait, maxTimer) * 1000));
}

void Updater::scheduledCheckDue() {
    // A long timer may fire early when it was clamped; scheduleNextCheck() waits the rest.
    if (const auto last = lastUpdateCheckDate()) {
        if (last->secsTo(QDateTime::currentDateTimeUtc()) + 1 < checkInterval_ &&
            last->secsTo(QDateTime::currentDateTimeUtc()) >= 0) {
            scheduleNextCheck();
            return;
        }
    }
    checkForUpdatesInBackground();
}

void Updater::checkForUpdates() {
    startCheck(true);
}

void Updater::checkForUpdatesInBackground() {
    startCheck(false);
}

void Updater::startCheck(bool userInitiated) {
    if (!feedURL_.isValid()) {
        if (userInitiated)
            driver_.showUpdaterError(
                QCoreApplication::translate("Vantrel", "更新情報の配信先が設定されていません"),
                true);
        return;
    }
    if (checkInProgress()) {
        // The user asked while a scheduled check runs: that check now answers the user.
        if (userInitiated && !userInitiated_) {
            userInitiated_ = true;
            driver_.showUserInitiatedUpdateCheck();
        }
        return;
    }
    userInitiated_ = userInitiated;
    if (userInitiated) driver_.showUserInitiatedUpdateCheck();

    QNetworkRequest request(feedURL_);
    request.setTransferTimeout(static_cast<int>(timeout_ * 1000));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("Vantrel/%1").arg(currentVersion_));
    // Made on the first check, so a program that never checks never touches the network.
    if (!network_) network_ = new QNetworkAccessManager(this);
    QNetworkReply* reply = network_->get(request);
    reply_ = reply;
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > kMaximumFeedBytes) reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, &Updater::finishCheck);
    // A feed that trickles in never trips the transfer timeout; the whole check has a deadline too.
    QTimer::singleShot(static_cast<int>(timeout_ * 1000), reply, [reply] { reply->abort(); });
    emit canCheckForUpdatesChanged(false);
}

void Updater::finishCheck() {
    QNetworkReply* reply = reply_.data();
    if (!reply) return;
    reply_.clear();
    reply->deleteLater();
    const bool userInitiated = userInitiated_;
    emit canCheckForUpdatesChanged(canCheckForUpdates());

    // A scheduled check counts as done even when it failed: it is retried at the next one.
    defaults_.setDouble(QString::fromLatin1(kLastCheckKey),
                        static_cast<double>(QDateTime::currentSecsSinceEpoch()));

    QString failure;
    std::optional<AppcastItem> update;
    if (reply->error() != QNetworkReply::NoError) {
        failure = networkFailure(*reply);
    } else if (reply->bytesAvailable() > kMaximumFeedBytes) {
        failure = QCoreApplication::translate("Vantrel", "更新情報が大きすぎます");
    } else {
        QString parseError;
        const auto items = Appcast::parse(reply->readAll(), &parseError);
        if (!items) {
            failure = QCoreApplication::translate("Vantrel", "更新情報を読めませんでした（%1）")
                          .arg(parseError);
        } else if (!Appcast::isValidVersion(currentVersion_)) {
            failure = QCoreApplication::translate("Vantrel", "この版の番号（%1）を比べられません")
                          .arg(currentVersion_);
        } else {
            update = Appcast::bestUpdate(*items, currentVersion_);
        }
    }

    if (!failure.isEmpty()) {
        qCWarning(vtLog, "updates: check of %s failed: %s", qUtf8Printable(feedURL_.toString()),
                  qUtf8Printable(failure));
        driver_.showUpdaterError(failure, userInitiated);
    } else if (update) {
        qCInfo(vtLog, "updates: version %s is available", qUtf8Printable(update->displayVersion()));
        driver_.showUpdateFound(*update, userInitiated);
    } else {
        driver_.showUpdateNotFound(userInitiated);
    }
    if (started_) scheduleNextCheck();
    emit checkFinished();
}

} // namespace vt
