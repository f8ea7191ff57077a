#include "history/history_file.h"

#include "platform/log.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>
#include <utility>

namespace vt::HistoryFile {

namespace {

// The history holds whatever the user copies, passwords included.
constexpr QFile::Permissions kFolderMode = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
constexpr QFile::Permissions kFileMode = QFile::ReadOwner | QFile::WriteOwner;

constexpr int kKeptAside = 3;

// A kept-aside file's time (yyyyMMdd-hhmmss) and number (0 for the first of its second).
std::pair<QString, int> asideKey(const QString& path, const QFileInfo& file) {
    const QString rest =
        file.fileName().mid(QFileInfo(path).fileName().size() + int(sizeof(".unreadable-") - 1));
    return {rest.left(15), rest.mid(16).toInt()};
}

// The files kept aside next to path, oldest first: by the UTC time in their names, then by the
// number that tells apart files of the same second.
QFileInfoList setAside(const QString& path) {
    const QFileInfo info(path);
    QFileInfoList files =
        QDir(info.absolutePath())
            .entryInfoList({info.fileName() + QStringLiteral(".unreadable-*")}, QDir::Files);
    std::stable_sort(files.begin(), files.end(), [&](const QFileInfo& a, const QFileInfo& b) {
        return asideKey(path, a) < asideKey(path, b);
    });
    return files;
}

void keepAside(const QString& path, const QString& reason) {
    const QString stamp =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    // Files of the same second are numbered, and a number is never reused (a removed file's
    // name would otherwise make the newest file look like the oldest).
    int highest = -1; // -1: none of this second; 0: the plain name
    for (const QFileInfo& file : setAside(path)) {
        const auto [fileStamp, n] = asideKey(path, file);
        if (fileStamp == stamp) highest = std::max(highest, n);
    }
    const QString aside =
        highest < 0 ? path + QStringLiteral(".unreadable-") + stamp
                    : path + QStringLiteral(".unreadable-%1-%2").arg(stamp).arg(highest + 1);
    if (QFile::rename(path, aside)) {
        QFile::setPermissions(aside, kFileMode);
        // A history that keeps breaking must not fill the disk with copies: the newest few stay.
        const QFileInfoList kept = setAside(path);
        for (qsizetype i = 0; i + kKeptAside < kept.size(); ++i)
            QFile::remove(kept[i].absoluteFilePath());
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

void removeSetAside(const QString& path) {
    for (const QFileInfo& file : setAside(path))
        QFile::remove(file.absoluteFilePath());
}

bool save(const ClipHistory& history, const QString& path) {
    // The folder may have been deleted while the program runs.
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo::exists(folder) && QDir().mkpath(folder))
        QFile::setPermissions(folder, kFolderMode);
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
