#include "history/history_file.h"

#include "platform/log.h"
#include "platform/private_files.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace vt {

namespace {

constexpr int kKeptAside = 3;

// A kept-aside file's time (yyyyMMdd-hhmmss) and number (0 for the first of its second).
std::pair<QString, int> asideKey(const QString& path, const QFileInfo& file) {
    const QString rest =
        file.fileName().mid(QFileInfo(path).fileName().size() + int(sizeof(".unreadable-") - 1));
    return {rest.left(15), rest.mid(16).toInt()};
}

// What was kept aside next to path (files, links, FIFOs alike), oldest first: by the UTC time in
// their names, then by the number that tells apart those of the same second.
QFileInfoList setAside(const QString& path) {
    const QFileInfo info(path);
    QFileInfoList files = QDir(info.absolutePath())
                              .entryInfoList({info.fileName() + QStringLiteral(".unreadable-*")},
                                             QDir::Files | QDir::System | QDir::Hidden);
    std::stable_sort(files.begin(), files.end(), [&](const QFileInfo& a, const QFileInfo& b) {
        return asideKey(path, a) < asideKey(path, b);
    });
    return files;
}

constexpr mode_t kFolderMode = 0700;
constexpr mode_t kFileMode = 0600;
constexpr char kLeftoverInfix[] = ".saving-";

QString lastError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

const char* kindOfFile(mode_t mode) {
    if (S_ISLNK(mode)) return "a symbolic link";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISSOCK(mode)) return "a socket";
    return "a device";
}

// Where each element of the document's "items" array starts and ends. The document has been
// decoded already; anything unexpected (an escaped key, "items" twice) gives nothing, and the
// clips are then simply encoded again at the next save.
class ItemScanner {
public:
    explicit ItemScanner(const QByteArray& json)
        : begin_(json.constData()), p_(begin_), end_(begin_ + json.size()) {}

    std::optional<std::vector<std::pair<qint64, qint64>>> scan() {
        std::vector<std::pair<qint64, qint64>> ranges;
        bool seen = false;
        space();
        if (!take('{')) return std::nullopt;
        space();
        if (take('}')) return std::nullopt;
        for (;;) {
            space();
            const char* key = p_;
            if (!string()) return std::nullopt;
            const bool isItems = std::string_view(key, p_ - key) == "\"items\"";
            space();
            if (!take(':')) return std::nullopt;
            space();
            if (isItems) {
                if (seen || !take('[')) return std::nullopt;
                seen = true;
                space();
                if (!take(']')) {
                    for (;;) {
                        space();
                        const char* start = p_;
                        if (!value()) return std::nullopt;
                        ranges.emplace_back(start - begin_, p_ - start);
                        space();
                        if (take(',')) continue;
                        if (take(']')) break;
                        return std::nullopt;
                    }
                }
            } else if (!value()) {
                return std::nullopt;
            }
            space();
            if (take(',')) continue;
            if (take('}')) break;
            return std::nullopt;
        }
        if (!seen) return std::nullopt;
        return ranges;
    }

private:
    void space() {
        while (p_ < end_ && (*p_ == ' ' || *p_ == '\t' || *p_ == '\n' || *p_ == '\r'))
            ++p_;
    }
    bool take(char c) {
        if (p_ >= end_ || *p_ != c) return false;
        ++p_;
        return true;
    }
    bool string() {
        if (!take('"')) return false;
        while (p_ < end_) {
            const char c = *p_++;
            if (c == '\\')
                ++p_;
            else if (c == '"')
                return true;
        }
        return false;
    }
    bool value() {
        if (p_ >= end_) return false;
        if (*p_ == '"') return string();
        if (*p_ == '{' || *p_ == '[') {
            int depth = 0;
            while (p_ < end_) {
                const char c = *p_;
                if (c == '"') {
                    if (!string()) return false;
                    continue;
                }
                ++p_;
                if (c == '{' || c == '[') ++depth;
                if ((c == '}' || c == ']') && --depth == 0) return true;
            }
            return false;
        }
        const char* start = p_;
        while (p_ < end_ && !std::strchr(",}] \t\r\n", *p_))
            ++p_;
        return p_ > start;
    }

    const char* begin_;
    const char* p_;
    const char* end_;
};

template <class T> bool sameShared(const std::optional<T>& a, const std::optional<T>& b) {
    if (!a || !b) return !a && !b;
    return (a->constData() == b->constData() && a->size() == b->size()) || *a == *b;
}

// The clip as it was written: the history never changes a clip in place, but a caller could.
bool unchanged(const ClipItem& written, const ClipItem& now) {
    return written.id == now.id && written.kind == now.kind && written.date == now.date &&
           written.sourceApp == now.sourceApp && written.filePaths == now.filePaths &&
           sameShared(written.text, now.text) && sameShared(written.imageData, now.imageData);
}

// Copies length bytes at offset of `from` to the end of `to`, in the kernel where it can.
bool copyRange(int from, qint64 offset, qint64 length, int to) {
    loff_t in = offset;
    while (length > 0) {
        const ssize_t n = ::copy_file_range(from, &in, to, nullptr, static_cast<size_t>(length), 0);
        if (n > 0) {
            length -= n;
            continue;
        }
        if (n == 0) {
            errno = EIO; // the file is shorter than it was
            return false;
        }
        if (errno == EINTR) continue;
        if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP)
            return false;
        QByteArray buffer(static_cast<qsizetype>(std::min<qint64>(length, 1 << 20)),
                          Qt::Uninitialized);
        while (length > 0) {
            const ssize_t got = ::pread(
                from, buffer.data(), static_cast<size_t>(std::min<qint64>(length, buffer.size())),
                static_cast<off_t>(in));
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) {
                if (got == 0) errno = EIO;
                return false;
            }
            if (!PrivateFiles::writeAll(to, buffer.constData(), got)) return false;
            in += got;
            length -= got;
        }
    }
    return true;
}

std::pair<qint64, qint64> sizeAndTime(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return {-1, -1};
    return {static_cast<qint64>(st.st_size),
            static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

// The whole of a regular file at path, not following a link nor waiting on a FIFO; nothing when
// it is anything else, larger than `limit` or unreadable.
std::optional<QByteArray> readRegular(const QString& path, qint64 limit) {
    const int fd = ::open(native(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    std::optional<QByteArray> content;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= limit) {
        content = QByteArray(static_cast<qsizetype>(st.st_size), Qt::Uninitialized);
        qsizetype got = 0;
        while (content && got < content->size()) {
            const ssize_t n =
                ::pread(fd, content->data() + got, size_t(content->size() - got), off_t(got));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) content.reset();
            if (n <= 0) break;
            got += n;
        }
        if (content) content->truncate(got);
    }
    ::close(fd);
    return content;
}

bool syncFolder(const QString& folder) {
    const int fd = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

} // namespace

QString HistoryFile::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Vantrel/history.json");
}

HistoryFile::HistoryFile(QString path) : path_(std::move(path)) {}

HistoryFile::~HistoryFile() {
    forgetPrevious();
}

void HistoryFile::forgetPrevious() {
    if (previous_ >= 0) ::close(previous_);
    previous_ = -1;
    segments_.clear();
}

bool HistoryFile::previousIsIntact() const {
    if (previous_ < 0) return false;
    const auto [size, modified] = sizeAndTime(previous_);
    return size == previousSize_ && modified == previousModified_;
}

ClipHistory HistoryFile::load() {
    return read(true);
}

ClipHistory HistoryFile::load(const QString& path) {
    return HistoryFile(path).read(false);
}

bool HistoryFile::save(const ClipHistory& history, const QString& path) {
    HistoryFile file(path);
    if (!file.save(history)) return false;
    if (auto unsynced = file.takeUnsynced()) secure(*unsynced);
    return true;
}

ClipHistory HistoryFile::read(bool cleanUp) {
    forgetPrevious();
    const QString folder = QFileInfo(path_).path();
    QString error;
    if (!PrivateFiles::makeFolders(folder, kFolderMode, true, &error))
        qCWarning(vtLog, "history: %s", qUtf8Printable(error));
    if (cleanUp) {
        // Of the history file and of its synced copy.
        const QString prefix = QFileInfo(path_).fileName() + QLatin1StringView(kLeftoverInfix);
        const QString syncedPrefix =
            QFileInfo(syncedPath(path_)).fileName() + QLatin1StringView(kLeftoverInfix);
        // A plain look at the names: wildcards would cost a regular-expression engine at start.
        const QByteArray prefixes[] = {native(prefix), native(syncedPrefix)};
        if (DIR* dir = ::opendir(native(folder).constData())) {
            while (const dirent* entry = ::readdir(dir)) {
                const std::string_view name(entry->d_name);
                for (const QByteArray& p : prefixes)
                    if (name.starts_with(std::string_view(p.constData(), size_t(p.size()))))
                        ::unlinkat(::dirfd(dir), entry->d_name, 0);
            }
            ::closedir(dir);
        }
    }

    struct stat st {};
    if (::lstat(native(path_).constData(), &st) != 0) {
        if (errno != ENOENT)
            qCWarning(vtLog, "history: cannot look at %s: %s", qUtf8Printable(path_),
                      qUtf8Printable(lastError()));
        return ClipHistory{};
    }
    if (!S_ISREG(st.st_mode)) {
        keepAside(-1, QString::fromLatin1(kindOfFile(st.st_mode)));
        return ClipHistory{};
    }
    // Not following a link, and not waiting on a FIFO swapped in since the look above.
    const int fd =
        ::open(native(path_).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        keepAside(-1, QStringLiteral("unreadable: ") + lastError());
        return ClipHistory{};
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        keepAside(-1, QStringLiteral("not a regular file"));
        return ClipHistory{};
    }
    if (st.st_size > kMaxBytes) {
        keepAside(fd, QStringLiteral("%1 bytes, more than the %2 a history may have")
                          .arg(st.st_size)
                          .arg(kMaxBytes));
        return ClipHistory{};
    }
    QByteArray content(static_cast<qsizetype>(st.st_size), Qt::Uninitialized);
    qsizetype got = 0;
    while (got < content.size()) {
        const ssize_t n =
            ::pread(fd, content.data() + got, static_cast<size_t>(content.size() - got), got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            keepAside(fd, QStringLiteral("unreadable: ") + lastError());
            return ClipHistory{};
        }
        if (n == 0) break;
        got += n;
    }
    content.truncate(got);

    double version = 0;
    auto history = ClipHistory::fromJson(content, &version);
    if (version > kFormatVersion) {
        keepAside(fd, QStringLiteral("written by a newer version (format %1)").arg(version));
        return ClipHistory{};
    }
    if (!history) {
        keepAside(fd, QStringLiteral("not a history this version can read"));
        // Torn or empty after a crash during a save that was not synced yet: the last synced
        // history is next to it.
        const QString synced = syncedPath(path_);
        const auto bytes = readRegular(synced, kMaxBytes);
        double syncedVersion = 0;
        auto kept = bytes ? ClipHistory::fromJson(*bytes, &syncedVersion) : std::nullopt;
        if (!kept || syncedVersion > kFormatVersion) return ClipHistory{};
        qCWarning(vtLog,
                  "history: starting instead with the %zu clips of %s, the history last synced",
                  kept->items.size(), qUtf8Printable(synced));
        return std::move(*kept);
    }
    if (const auto ranges = ItemScanner(content).scan();
        ranges && ranges->size() == history->items.size()) {
        for (std::size_t i = 0; i < ranges->size(); ++i)
            segments_.insert(history->items[i].id,
                             Segment{history->items[i], (*ranges)[i].first, (*ranges)[i].second});
        previous_ = fd;
        std::tie(previousSize_, previousModified_) = sizeAndTime(fd);
    } else {
        ::close(fd);
    }
    return std::move(*history);
}

void HistoryFile::keepAside(int fd, const QString& reason) {
    const QString stamp =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    // Files of the same second are numbered, and a number is never reused (a removed file's
    // name would otherwise make the newest file look like the oldest).
    int highest = -1; // -1: none of this second; 0: the plain name
    for (const QFileInfo& file : setAside(path_)) {
        const auto [fileStamp, n] = asideKey(path_, file);
        if (fileStamp == stamp) highest = std::max(highest, n);
    }
    const QString aside =
        highest < 0 ? path_ + QStringLiteral(".unreadable-") + stamp
                    : path_ + QStringLiteral(".unreadable-%1-%2").arg(stamp).arg(highest + 1);
    // rename moves a link itself, never what it points to.
    if (::rename(native(path_).constData(), native(aside).constData()) == 0) {
        // A regular file that was opened: whatever it holds stays private.
        if (fd >= 0) ::fchmod(fd, kFileMode);
        // A history that keeps breaking must not fill the disk with copies: the newest few stay.
        // Removing a kept link removes the link, never its target.
        const QFileInfoList kept = setAside(path_);
        for (qsizetype i = 0; i + kKeptAside < kept.size(); ++i)
            ::unlink(native(kept[i].absoluteFilePath()).constData());
        qCWarning(vtLog, "history: %s is %s; kept it as %s, starting with an empty history",
                  qUtf8Printable(path_), qUtf8Printable(reason), qUtf8Printable(aside));
    } else {
        qCWarning(vtLog,
                  "history: %s is %s; could not move it aside (%s), starting with an empty "
                  "history",
                  qUtf8Printable(path_), qUtf8Printable(reason), qUtf8Printable(lastError()));
    }
    if (fd >= 0) ::close(fd);
}

void HistoryFile::removeSetAside(const QString& path) {
    for (const QFileInfo& file : setAside(path))
        ::unlink(native(file.absoluteFilePath()).constData());
}

bool HistoryFile::save(const ClipHistory& history) {
    QString error;
    PrivateFiles::TempFile temp;
    QHash<QUuid, Segment> written;
    const bool reuse = previousIsIntact();
    const auto fail = [&](const QString& why) {
        PrivateFiles::discardTemp(temp);
        if (!failing_) {
            qCWarning(vtLog,
                      "history: could not save %s (%s); the file keeps its previous "
                      "content, the next change tries again",
                      qUtf8Printable(path_), qUtf8Printable(why));
        }
        failing_ = true;
        return false;
    };

    if (!PrivateFiles::makeFolders(QFileInfo(path_).path(), kFolderMode, true, &error))
        return fail(error);
    temp = PrivateFiles::createTemp(path_, kFileMode, &error);
    if (temp.fd < 0) return fail(error);

    const QByteArray tail =
        "],\"limit\":" + QByteArray::number(static_cast<qlonglong>(history.limit)) + '}';
    qint64 position = 0;
    const auto put = [&](const QByteArray& bytes) {
        if (!PrivateFiles::writeAll(temp.fd, bytes.constData(), bytes.size())) return false;
        position += bytes.size();
        return true;
    };
    if (!put("{\"items\":[")) return fail(lastError());
    // Clips copied from the previous file, not yet copied: a run of them lying side by side there.
    qint64 runFrom = -1, runLength = 0;
    QString copyError;
    const auto flushRun = [&] {
        if (runFrom < 0) return true;
        const bool copied = copyRange(previous_, runFrom, runLength, temp.fd);
        runFrom = -1;
        if (copied) return true;
        copyError = lastError();
        forgetPrevious(); // the next save encodes every clip again
        return false;
    };
    QByteArray buffer;
    std::size_t left = 0;
    for (std::size_t i = 0; i < history.items.size(); ++i) {
        const ClipItem& item = history.items[i];
        const auto old = reuse ? segments_.constFind(item.id) : segments_.constEnd();
        const bool copy = old != segments_.constEnd() && unchanged(old->item, item);
        buffer.clear();
        if (!copy) ClipHistory::appendItemJson(buffer, item);
        const qint64 length = copy ? old->length : buffer.size();
        if (position + 1 + length + tail.size() > kMaxBytes) {
            left = history.items.size() - i;
            break;
        }
        if (copy && runFrom >= 0 && old->offset == runFrom + runLength + 1) {
            // Right after the previous copied clip in the old file, its comma in between: one
            // copy for the whole run.
            runLength = old->offset + length - runFrom;
            position += 1;
        } else {
            if (!flushRun()) return fail(copyError);
            if (i > 0 && !put(",")) return fail(lastError());
            if (copy) {
                runFrom = old->offset;
                runLength = length;
            }
        }
        const qint64 offset = position;
        if (copy)
            position += length;
        else if (!put(buffer))
            return fail(lastError());
        written.insert(item.id, Segment{item, offset, length});
    }
    if (!flushRun()) return fail(copyError);
    if (!put(tail)) return fail(lastError());
    if (!PrivateFiles::commitTemp(temp, path_, &error, false)) return fail(error);

    if (left > 0)
        qCWarning(vtLog,
                  "history: the %zu oldest clips were left out of %s, which would have "
                  "grown beyond %lld bytes",
                  left, qUtf8Printable(path_), static_cast<long long>(kMaxBytes));
    if (failing_) qCInfo(vtLog, "history: saved %s again", qUtf8Printable(path_));
    failing_ = false;
    forgetPrevious();
    previous_ = temp.fd;
    std::tie(previousSize_, previousModified_) = sizeAndTime(previous_);
    segments_ = std::move(written);
    unsynced_ = true;
    return true;
}

std::optional<HistoryFile::Unsynced> HistoryFile::takeUnsynced() {
    if (!unsynced_ || previous_ < 0) return std::nullopt;
    unsynced_ = false;
    const int fd = ::fcntl(previous_, F_DUPFD_CLOEXEC, 0);
    if (fd < 0) return std::nullopt;
    return Unsynced{fd, path_};
}

QString HistoryFile::syncedPath(const QString& path) {
    return path + QStringLiteral(".synced");
}

bool HistoryFile::secure(Unsynced file) {
    const QString synced = syncedPath(file.path);
    QString error;
    bool done = ::fdatasync(file.fd) == 0;
    if (!done) error = QStringLiteral("cannot sync it: ") + lastError();
    struct stat st {};
    if (done && ::fstat(file.fd, &st) == 0 && st.st_nlink == 0) {
        // Replaced already by a newer save (or removed): the newer file is secured in its turn.
        ::close(file.fd);
        return true;
    }
    if (done) {
        // A second name for the same file, made under a name that load() clears away if this is
        // cut short, then moved over the previous synced copy (a link there is replaced).
        const QByteArray link = native(file.path + QLatin1StringView(kLeftoverInfix) + "synced");
        ::unlink(link.constData());
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(file.fd);
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, link.constData(), AT_SYMLINK_FOLLOW) ==
            0) {
            done = ::rename(link.constData(), native(synced).constData()) == 0;
            if (!done) {
                error = QStringLiteral("cannot rename: ") + lastError();
                ::unlink(link.constData());
            }
        } else {
            // No second names here (or no /proc): a synced copy of the bytes instead.
            PrivateFiles::TempFile temp = PrivateFiles::createTemp(synced, kFileMode, &error);
            const auto [size, modified] = sizeAndTime(file.fd);
            done = temp.fd >= 0 && size >= 0 && copyRange(file.fd, 0, size, temp.fd);
            if (!done && temp.fd >= 0) error = lastError();
            if (done)
                done = PrivateFiles::commitTemp(temp, synced, &error);
            else
                PrivateFiles::discardTemp(temp);
            if (temp.fd >= 0) ::close(temp.fd);
        }
    }
    if (done) done = syncFolder(QFileInfo(file.path).path());
    ::close(file.fd);
    if (!done)
        qCWarning(vtLog, "history: could not keep a synced copy of %s (%s)",
                  qUtf8Printable(file.path), qUtf8Printable(error));
    return done;
}

} // namespace vt
