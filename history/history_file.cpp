#include "history/history_file.h"

#include "platform/log.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace vt::HistoryFile {

namespace {

// The history holds whatever the user copies, passwords included.
constexpr QFile::Permissions kFolderMode = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
constexpr QFile::Permissions kFileMode = QFile::ReadOwner | QFile::WriteOwner;

void keepAside(const QString& path, const QString& reason) {
    const QString stamp =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString aside = path + QStringLiteral(".unreadable-") + stamp;
    for (int n = 1; QFileInfo::exists(aside); ++n)
        aside = path + QStringLiteral(".unreadable-%1-%2").arg(stamp).arg(n);
    if (QFile::rename(path, aside)) {
        QFile::setPermissions(aside, kFileMode);
        qCWarning(vtLog, "history: %s (%s); kept it as %s, starting with an empty history",
                  qUtf8Printable(path), qUtf8Printable(reason), qUtf8Printable(aside));
    } else {
        qCWarning(vtLog,
                  "history: %s (%s); could not move it aside, starting with an empty history",
                  qUtf8Printable(path), qUtf8Printable(reason));
    }
}

} // namespace

QString storeURL() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString folder = base + QStringLiteral("/Vantrel");
    QDir().mkpath(base);
    if (!QDir().mkdir(folder, kFolderMode)) QFile::setPermissions(folder, kFolderMode);
    return folder + QStringLiteral("/history.json");
}

ClipHistory load(const QString& path) {
    QFile file(path);
    if (!file.exists()) return ClipHistory{};
    if (!file.open(QIODevice::ReadOnly)) {
        keepAside(path, QStringLiteral("unreadable: ") + file.errorString());
        return ClipHistory{};
    }
    const QByteArray content = file.readAll();
    file.close();
    if (auto history = ClipHistory::fromJson(content)) return std::move(*history);
    keepAside(path, QStringLiteral("not a history this version can read"));
    return ClipHistory{};
}

bool save(const ClipHistory& history, const QString& path) {
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    const QByteArray content = history.toJson();
    const bool written = file.open(QIODevice::WriteOnly) && file.setPermissions(kFileMode) &&
                         file.write(content) == content.size() && file.commit();
    if (!written) {
        qCWarning(vtLog, "history: could not save %s: %s", qUtf8Printable(path),
                  qUtf8Printable(file.errorString()));
    }
    return written;
}

} // namespace vt::HistoryFile
