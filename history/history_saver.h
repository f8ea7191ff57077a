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
// disk. A change that comes after a quiet moment is written at once; changes that come while a
// write is under way, or less than kMinInterval after the last write began, are merged into one
// write of the newest state. Whatever was handed over is on disk once the saver is destroyed
// (a write that failed is tried once more then).
class HistorySaver {
public:
    static constexpr std::chrono::milliseconds kMinInterval{500};

    explicit HistorySaver(std::unique_ptr<HistoryFile> file);
    // Writes the newest state still waiting, then stops.
    ~HistorySaver();
    HistorySaver(const HistorySaver&) = delete;
    HistorySaver& operator=(const HistorySaver&) = delete;

    // Hands over the history as it is now; returns at once. Copying a history copies no clip
    // contents (they are shared), so this costs microseconds whatever the clips hold.
    void submit(ClipHistory history);
    // Writes what is waiting without further delay and waits up to `timeout` for it. True when
    // everything handed over has been written (or has failed and been logged).
    bool flush(std::chrono::milliseconds timeout);
    // flush() on every saver of the process: the last thing done before an abnormal exit.
    static void flushAll(std::chrono::milliseconds timeout);
    // Writes attempted so far.
    int writes() const;

private:
    void run();

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
    int hurry_ = 0;
    bool stop_ = false;
    std::chrono::steady_clock::time_point lastStart_{};
    std::thread thread_;
};

} // namespace vt
