#pragma once
#include "history/clip_history.h"

#include <QHash>
#include <QString>
#include <QUuid>
#include <optional>

namespace vt {

// The history file: one compact JSON document, mode 0600 in a folder of mode 0700, since it holds
// whatever the user copies, passwords included. It is replaced atomically and only ever by a
// file that was written completely, and nothing at its path is followed or read unless it is a
// regular file. A save does not wait for the disk: the file it wrote is synced afterwards
// (secure(), on any thread) and then kept as <path>.synced, a second name of the same file. A
// crash can leave the path torn or empty only for a save not yet synced; load() then takes the
// synced copy, so nothing that was synced is lost.
class HistoryFile {
public:
    // A file larger than this is not read (it is kept aside), and a save leaves out the oldest
    // clips rather than write one.
    static constexpr qint64 kMaxBytes = qint64(2) << 30;
    // The format this version writes. A file whose "version" member is above it comes from a
    // newer version of the program and is never rewritten.
    static constexpr int kFormatVersion = 1;

    // $XDG_DATA_HOME/Vantrel/history.json (~/.local/share/Vantrel/history.json by default).
    // Computing it creates nothing; load and save create the folder.
    static QString defaultPath();

    explicit HistoryFile(QString path);
    ~HistoryFile();
    HistoryFile(const HistoryFile&) = delete;
    HistoryFile& operator=(const HistoryFile&) = delete;

    const QString& path() const { return path_; }

    // The history saved at the path; a fresh one (no items, limit 50) when there is none. Also
    // removes what an interrupted save of an earlier run left behind. Whatever cannot be taken
    // is moved aside to <path>.unreadable-<UTC yyyyMMdd-hhmmss>, untouched (a link stays a link,
    // a FIFO or device is never opened), with one log line: anything but a regular file, a file
    // above kMaxBytes, one that does not decode, and one written by a newer version.
    ClipHistory load();
    // Replaces the file. Clips that the file already holds unchanged are copied from it rather
    // than encoded again, which keeps their bytes (members of other versions included). False
    // when the history could not be written completely; the file then keeps its previous
    // content, and the failure is logged once until a save succeeds again.
    bool save(const ClipHistory& history);

    // The file the last save wrote, on a descriptor of its own, while it is not yet synced.
    struct Unsynced {
        int fd = -1;
        QString path;
    };
    // Hands out the file the last save wrote, once; nothing when it was handed out already.
    std::optional<Unsynced> takeUnsynced();
    // Syncs the file and makes it the synced copy next to its path; closes the descriptor. False
    // (logged) when the copy could not be made; the previous synced copy then stays.
    static bool secure(Unsynced file);
    static QString syncedPath(const QString& path);

    // One-shot forms (tests, tools); the one-shot save is synced before it returns.
    static ClipHistory load(const QString& path);
    static bool save(const ClipHistory& history, const QString& path);
    // Deletes what load() kept aside next to path (at most the newest three are ever kept).
    static void removeSetAside(const QString& path);

private:
    struct Segment {
        ClipItem item; // as it was written, to tell whether the history still holds it unchanged
        qint64 offset = 0;
        qint64 length = 0;
    };

    ClipHistory read(bool cleanUp);
    void keepAside(int fd, const QString& reason);
    void forgetPrevious();
    bool previousIsIntact() const;

    QString path_;
    // The file as last read or written, still open, and where each of its clips lies in it.
    int previous_ = -1;
    qint64 previousSize_ = -1;
    qint64 previousModified_ = -1;
    QHash<QUuid, Segment> segments_;
    bool failing_ = false;
    bool unsynced_ = false; // previous_ was written by a save and not handed out yet
};

} // namespace vt
