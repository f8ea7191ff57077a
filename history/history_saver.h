#pragma once
#include "history/clip_history.h"
#include "history/history_file.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace vt {

// Writes the history file on a thread of its own, so that the main thread never waits on the
// disk. A change is written at once; changes that come while a write is under way are merged
// into one write of the newest state, right after it. A second thread then syncs what was
// written and keeps it as the file's synced copy, so no write waits for the disk either
// (while it syncs, newer writes go on; only the newest waiting file is synced next).
// Whatever was handed over is on disk and synced once the saver is destroyed (a write that
// failed is tried once more then).
class HistorySaver {
public:
    explicit HistorySaver(std::unique_ptr<HistoryFile> file);
    // Writes the newest state still waiting, then stops.
    ~HistorySaver();
    HistorySaver(const HistorySaver&) = delete;
    HistorySaver& operator=(const HistorySaver&) = delete;

    // Hands over the history as it is now; returns at once. Copying a history copies no clip
    // contents (they are shared), so this costs microseconds whatever the clips hold.
    void submit(ClipHistory history);
    // Waits up to `timeout` for what is waiting to be written and synced. True when everything
    // handed over has been (or has failed and been logged).
    bool flush(std::chrono::milliseconds timeout);
    // flush() on every saver of the process: the last thing done before an abnormal exit.
    static void flushAll(std::chrono::milliseconds timeout);
    // Writes attempted so far.
    int writes() const;

private:
    void run();
    void runSyncs();

    std::unique_ptr<HistoryFile> file_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable written_;
    std::optional<ClipHistory> pending_;
    // States replaced before they were written: released on the saver's thread, since freeing a
    // large clip's memory takes milliseconds.
    std::vector<ClipHistory> replaced_;
    // The state of a write that failed (a full disk): the next change supersedes it, and the
    // end of the saver tries it once more.
    std::optional<ClipHistory> failed_;
    std::uint64_t submitted_ = 0;
    std::uint64_t done_ = 0;
    int writes_ = 0;
    bool stop_ = false;
    // The newest written file still to be synced, and whether one is being synced now.
    std::optional<HistoryFile::Unsynced> toSync_;
    bool syncing_ = false;
    bool syncsStop_ = false;
    std::condition_variable syncWake_;
    std::thread thread_;
    std::thread syncs_;
};

} // namespace vt
