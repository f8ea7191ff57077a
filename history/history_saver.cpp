#include "history/history_saver.h"

#include <algorithm>
#include <unistd.h>
#include <vector>

namespace vt {

namespace {

std::mutex& registryMutex() {
    static std::mutex m;
    return m;
}

std::vector<HistorySaver*>& registry() {
    static std::vector<HistorySaver*> savers;
    return savers;
}

} // namespace

HistorySaver::HistorySaver(std::unique_ptr<HistoryFile> file) : file_(std::move(file)) {
    thread_ = std::thread([this] { run(); });
    syncs_ = std::thread([this] { runSyncs(); });
    std::lock_guard lock(registryMutex());
    registry().push_back(this);
}

HistorySaver::~HistorySaver() {
    {
        std::lock_guard lock(registryMutex());
        std::erase(registry(), this);
    }
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
    {
        std::lock_guard lock(mutex_);
        syncsStop_ = true;
    }
    syncWake_.notify_all();
    syncs_.join();
}

void HistorySaver::submit(ClipHistory history) {
    {
        std::lock_guard lock(mutex_);
        if (pending_) replaced_.push_back(std::move(*pending_));
        if (failed_) replaced_.push_back(std::move(*failed_));
        failed_.reset();
        pending_ = std::move(history);
        ++submitted_;
    }
    wake_.notify_all();
}

bool HistorySaver::flush(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return written_.wait_for(lock, timeout,
                             [this] { return done_ == submitted_ && !toSync_ && !syncing_; });
}

void HistorySaver::flushAll(std::chrono::milliseconds timeout) {
    std::lock_guard lock(registryMutex());
    for (HistorySaver* saver : registry())
        saver->flush(timeout);
}

int HistorySaver::writes() const {
    std::lock_guard lock(mutex_);
    return writes_;
}

void HistorySaver::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return pending_ || stop_ || !replaced_.empty(); });
        if (!replaced_.empty()) {
            std::vector<ClipHistory> released;
            released.swap(replaced_);
            lock.unlock();
            released.clear();
            lock.lock();
            continue;
        }
        if (!pending_ && failed_) {
            pending_ = std::move(failed_); // stopping: one more try
            failed_.reset();
        }
        if (!pending_) return;
        ClipHistory history = std::move(*pending_);
        pending_.reset();
        const std::uint64_t generation = submitted_;
        lock.unlock();
        const bool saved = file_->save(history);
        std::optional<HistoryFile::Unsynced> unsynced = file_->takeUnsynced();
        lock.lock();
        if (unsynced) {
            // Only the newest file needs syncing: an older one waiting is superseded.
            if (toSync_) ::close(toSync_->fd);
            toSync_ = std::move(unsynced);
            syncWake_.notify_all();
        }
        if (!saved && !stop_ && !pending_) failed_ = std::move(history);
        lock.unlock();
        history = {}; // the clips are released outside the lock
        lock.lock();
        done_ = generation;
        ++writes_;
        written_.notify_all();
    }
}

void HistorySaver::runSyncs() {
    std::unique_lock lock(mutex_);
    for (;;) {
        syncWake_.wait(lock, [this] { return toSync_ || syncsStop_; });
        if (!toSync_) return;
        HistoryFile::Unsynced file = std::move(*toSync_);
        toSync_.reset();
        syncing_ = true;
        lock.unlock();
        HistoryFile::secure(std::move(file));
        lock.lock();
        syncing_ = false;
        written_.notify_all();
    }
}

} // namespace vt
