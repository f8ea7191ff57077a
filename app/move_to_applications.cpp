#include "app/move_to_applications.h"
#include "app/app_info.h"
#include "app/app_location.h"
#include "app/app_settings.h"
#include "platform/log.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <cstdio>
#include <cstdlib>

namespace vt::MoveToApplications {

namespace {

QString quoted(const QString& path) {
    return QStringLiteral("“%1”").arg(path);
}

// Qt sets up the home Trash only inside an existing data folder; without one it can end up
// filing the item relative to the working directory.
bool moveToTrash(const QString& path) {
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty() || !QDir().mkpath(dataHome)) return false;
    return QFile::moveToTrash(path);
}

} // namespace

Environment programEnvironment() {
    static QtMoveAlerts alerts;
    Environment environment;
    environment.bundlePath = AppLocation::bundlePath();
    environment.home = QDir::homePath();
    environment.defaults = &AppSettings::shared().defaults();
    environment.alerts = &alerts;
    return environment;
}

bool offerIfNeeded() {
    Environment environment = programEnvironment();
    return offerIfNeeded(environment);
}

bool offerIfNeeded(Environment& environment) {
    // Installed by a package or run from the build tree: there is no single file to move.
    if (environment.bundlePath.isEmpty()) return false;
    const QString location = originalURL(environment.bundlePath);
    const QString& home = environment.home;
    if (AppLocation::isInApplicationsFolder(location, home, environment.systemApplications))
        return false;
    const QString suppressedKey = QString::fromLatin1(kSuppressedKey);
    if (environment.defaults->boolForKey(suppressedKey)) return false;

    const QString name = AppInfo::name();
    environment.alerts->activate();
    const MoveAlerts::Answer answer = environment.alerts->askToMove(
        QCoreApplication::translate("Vantrel", "%1 の AppImage を ~/Applications に移動しますか？")
            .arg(name),
        QCoreApplication::translate(
            "Vantrel", "いまは ~/Applications の外（ダウンロードしたフォルダなど）から開いて"
                       "います。このままでも使えますが、AppImage は ~/Applications "
                       "に置くと見つけやすく、消えてしまうこともありません。\n移動すると、"
                       "移動した %1 で開き直します。")
            .arg(name));
    if (answer.suppressionTicked) environment.defaults->setBool(suppressedKey, true);
    if (!answer.moveChosen) return false;

    const MoveResult result = move(location, home, environment.systemApplications);
    if (result.destination) {
        qCInfo(vtLog, "move: copied to %s, relaunching", qUtf8Printable(*result.destination));
        if (environment.relaunch)
            environment.relaunch(*result.destination);
        else
            relaunch(*result.destination);
        return true;
    }
    qCWarning(vtLog, "move: failed: %s", qUtf8Printable(result.error));
    environment.alerts->showMoveFailed(
        QCoreApplication::translate("Vantrel", "移動できませんでした"),
        QCoreApplication::translate("Vantrel",
                                    "ファイルマネージャーで %1 の AppImage を ~/Applications "
                                    "へ移してから開き直してください。\n（%2）")
            .arg(name, result.error));
    return false;
}

QString originalURL(const QString& url) {
    return url;
}

MoveResult move(const QString& url, const QString& home) {
    return move(url, home, QString::fromLatin1(AppLocation::kSystemApplications));
}

MoveResult move(const QString& url, const QString& home, const QString& systemApplications) {
    const QFileInfo system(systemApplications);
    const QString target = system.isDir() && system.isWritable()
                               ? systemApplications
                               : QDir(home).filePath(QStringLiteral("Applications"));
    if (!QDir().mkpath(target))
        return {std::nullopt,
                QCoreApplication::translate("Vantrel", "フォルダ %1 を作成できませんでした")
                    .arg(quoted(target))};

    const QString destination = QDir(target).filePath(QFileInfo(url).fileName());
    const QFileInfo existing(destination);
    if (existing.exists() || existing.isSymLink()) {
        if (!moveToTrash(destination))
            return {std::nullopt, QCoreApplication::translate(
                                      "Vantrel", "すでにある %1 をゴミ箱に移せませんでした")
                                      .arg(quoted(destination))};
    }

    QFile source(url);
    if (!source.copy(destination))
        return {std::nullopt,
                QCoreApplication::translate("Vantrel", "%1 を %2 にコピーできませんでした: %3")
                    .arg(quoted(url), quoted(target), source.errorString())};
    QFile::setPermissions(destination, QFile::permissions(url));

    // Leftover of the platform this program came from; where the tool is missing this is a no-op.
    QProcess xattr;
    xattr.start(QStringLiteral("/usr/bin/xattr"),
                {QStringLiteral("-d"), QStringLiteral("-r"), QStringLiteral("com.apple.quarantine"),
                 destination});
    if (xattr.waitForStarted()) xattr.waitForFinished();

    // The copy is in place; an old copy that cannot be trashed simply stays where it was.
    if (!moveToTrash(url))
        qCInfo(vtLog, "move: the old copy %s stays (could not trash it)", qUtf8Printable(url));
    return {destination, QString()};
}

QString relaunchScript() {
    return QStringLiteral(
        "while /bin/kill -0 \"$1\" 2>/dev/null; do /bin/sleep 0.2; done; exec \"$2\"");
}

bool startRelaunchScript(qint64 pid, const QString& url) {
    QProcess process;
    process.setProgram(QStringLiteral("/bin/sh"));
    process.setArguments(
        {QStringLiteral("-c"), relaunchScript(), QStringLiteral("sh"), QString::number(pid), url});
    process.setWorkingDirectory(QDir::homePath());
    process.setStandardInputFile(QProcess::nullDevice());
    return process.startDetached();
}

void relaunch(const QString& url) {
    if (!startRelaunchScript(QCoreApplication::applicationPid(), url))
        qCWarning(vtLog, "move: could not start the relaunch script; open %s by hand",
                  qUtf8Printable(url));
    // The launch has not reached the event loop yet, so quitting it would not end the process.
    std::fflush(nullptr);
    std::exit(0);
}

} // namespace vt::MoveToApplications
