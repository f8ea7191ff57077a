#include "history/history_saver.h"

#include <algorithm>
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
    ++hurry_;
    wake_.notify_all();
    const bool done = written_.wait_for(lock, timeout, [this] { return done_ == submitted_; });
    --hurry_;
    return done;
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
        // A burst of changes costs one write: the first after a quiet moment goes at once, the
        // rest wait for the interval (unless someone waits for them).
        const auto due = lastStart_ + kMinInterval;
        wake_.wait_until(lock, due, [this] { return stop_ || hurry_ > 0 || !replaced_.empty(); });
        if (!replaced_.empty()) continue;
        ClipHistory history = std::move(*pending_);
        pending_.reset();
        const std::uint64_t generation = submitted_;
        lastStart_ = std::chrono::steady_clock::now();
        lock.unlock();
        const bool saved = file_->save(history);
        lock.lock();
        if (!saved && !stop_ && !pending_) failed_ = std::move(history);
        lock.unlock();
        history = {}; // the clips are released outside the lock
        lock.lock();
        done_ = generation;
        ++writes_;
        written_.notify_all();
    }
}

} // namespace vt
