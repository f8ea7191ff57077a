#pragma once
#include "history/clip_history.h"
#include "history/clip_item.h"
#include "history/history_file.h"
#include "history/history_saver.h"
#include "platform/password_managers.h"

#include <QObject>
#include <QSet>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace vt {

class Pasteboard;
class Workspace;

// Turns copies made anywhere on the desktop into history entries, keeps the history file
// current, and writes a chosen clip back to the clipboard without recording it again.
// Main thread only.
class ClipboardWatcher final : public QObject {
    Q_OBJECT
public:
    // Whatever is on the clipboard now is not recorded; the history comes from historyPath.
    ClipboardWatcher(Pasteboard& pasteboard, Workspace& workspace,
                     QString historyPath = HistoryFile::defaultPath(), QObject* parent = nullptr);
    ~ClipboardWatcher() override;

    ClipHistory history;
    // Runs after every change of the history that this watcher makes.
    std::function<void()> onChange;
    // Applications whose copies are ignored, by any name they answer to (case-insensitive).
    QStringList excludedApps = passwordManagerAppIds();

    // Larger copies are not recorded (with a log line): texts of more characters, images of
    // more bytes.
    qsizetype maxTextLength = qsizetype(16) << 20;
    qsizetype maxImageBytes = qsizetype(64) << 20;

    // Types that mark a copy as secret, transient or generated: such copies are never recorded.
    static const QSet<QString>& skipTypes();

    // Polls at once whenever the clipboard announces a change. A pasteboard that announces every
    // change (X11, Wayland) needs nothing more, so an idle program never wakes. Otherwise the
    // counter is also looked at every 0.4 s: on a small thread of the watcher's own when the
    // pasteboard shares it (poll() then runs on the main thread only when it moved), else on a
    // main-thread timer.
    void start();
    // Records the clipboard's contents if they changed since the last look.
    void poll();
    // The best representation on the clipboard: files, then text, then PNG, then TIFF as PNG.
    std::optional<ClipItem> readItem();
    // The same, for a copy made in sourceApp.
    std::optional<ClipItem> readItem(const std::optional<QString>& sourceApp);
    // Writes the clip to the clipboard and moves it to the front of the history.
    void put(const ClipItem& item);
    // A limit below 1 is stored as 1; the oldest clips beyond it are dropped.
    void setLimit(std::int64_t n);
    // Hands the history to the file's own thread and returns at once; failures are logged and
    // otherwise ignored. Everything handed over is written before the watcher is gone.
    void save();
    // Waits up to `ms` until everything handed over is in the file (tests, shutdown).
    bool waitForSaves(int ms = 10000);
    // Files written so far.
    int saveCount() const { return saver_->writes(); }

    std::int64_t lastChangeCount() const { return lastChangeCount_; }
    const QString& historyPath() const { return historyPath_; }

private:
    // Writes the clip to the clipboard as ours; the change is not recorded.
    void write(const ClipItem& item);
    // The clipboard's owner is leaving: offers the newest clip again when it is what the
    // clipboard held.
    bool keepClipboard();
    // A TIFF-only copy is turned into PNG on a background thread and recorded when done.
    std::optional<QByteArray> tiffOnly() const;
    void convertInBackground(const QByteArray& tiff);
    void changed();
    bool withinLimits(const ClipItem& item) const;
    void stopPolling();
    void tick(const std::atomic<std::int64_t>& counter);

    Pasteboard& pasteboard_;
    Workspace& workspace_;
    QString historyPath_;
    std::unique_ptr<HistorySaver> saver_;
    std::int64_t lastChangeCount_ = 0;
    // The clipboard holds the newest clip (recorded from it, or written by us); false after a
    // copy that was skipped, concealed, unreadable or cleared.
    bool holdsNewest_ = false;
    std::atomic<std::int64_t> seenChangeCount_{0}; // lastChangeCount_, for the ticker thread
    QTimer* timer_ = nullptr;
    std::thread ticker_;
    std::mutex tickerMutex_;
    std::condition_variable tickerWake_;
    bool tickerStop_ = false;
    QThreadPool converter_; // last member: its jobs end before anything else goes
};

} // namespace vt
