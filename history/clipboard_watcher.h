#pragma once
#include "history/clip_history.h"
#include "history/clip_item.h"
#include "history/history_file.h"

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
                     QString historyPath = HistoryFile::storeURL(), QObject* parent = nullptr);
    ~ClipboardWatcher() override;

    ClipHistory history;
    // Runs after every change of the history that this watcher makes.
    std::function<void()> onChange;
    // Application ids whose copies are ignored.
    QStringList excludedApps = {
        QStringLiteral("com.1password.1password"), QStringLiteral("com.agilebits.onepassword7"),
        QStringLiteral("com.apple.Passwords"), QStringLiteral("com.apple.keychainaccess"),
        QStringLiteral("com.bitwarden.desktop")};

    // Types that mark a copy as secret, transient or generated: such copies are never recorded.
    static const QSet<QString>& skipTypes();

    // Polls every 0.4 s, and at once whenever the clipboard announces a change. When the
    // pasteboard shares its change counter, the 0.4 s look at it happens on a small thread of
    // the watcher's own, which calls poll() on the main thread only when the counter moved.
    void start();
    // Records the clipboard's contents if they changed since the last look.
    void poll();
    // The best representation on the clipboard: files, then text, then PNG, then TIFF as PNG.
    std::optional<ClipItem> readItem();
    // Writes the clip to the clipboard and moves it to the front of the history.
    void put(const ClipItem& item);
    // A limit below 1 is stored as 1; the oldest clips beyond it are dropped.
    void setLimit(std::int64_t n);
    // Writes the history file; failures are logged and otherwise ignored.
    void save();
    // Waits for the work a put() left to other threads (the file, the TIFF form of an image).
    void waitForBackgroundWork();

    std::int64_t lastChangeCount() const { return lastChangeCount_; }
    const QString& historyPath() const { return historyPath_; }

private:
    void changed();
    void stopPolling();
    void tick(const std::atomic<std::int64_t>& counter);

    Pasteboard& pasteboard_;
    Workspace& workspace_;
    QString historyPath_;
    std::int64_t lastChangeCount_ = 0;
    std::atomic<std::int64_t> seenChangeCount_{0}; // lastChangeCount_, for the ticker thread
    QTimer* timer_ = nullptr;
    std::thread ticker_;
    std::mutex tickerMutex_;
    std::condition_variable tickerWake_;
    bool tickerStop_ = false;
    // One thread, so history files are written in the order their contents were taken.
    QThreadPool background_;
};

} // namespace vt
