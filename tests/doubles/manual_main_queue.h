#pragma once
#include "platform/main_queue.h"
#include <algorithm>
#include <cstdint>
#include <vector>

namespace vt::test {

// A MainQueue driven by the test: time only moves when the test advances it.
class ManualMainQueue final : public MainQueue {
public:
    void asyncAfter(double seconds, std::function<void()> job) override {
        jobs_.push_back({now_ + std::max(seconds, 0.0), seq_++, std::move(job)});
    }

    double now() const { return now_; }
    std::size_t pending() const { return jobs_.size(); }

    // Runs, in due order, every job due within `seconds` from now (including jobs those jobs
    // schedule), then sets the clock to now + seconds.
    void advance(double seconds) {
        const double until = now_ + seconds;
        for (;;) {
            auto it = std::min_element(jobs_.begin(), jobs_.end(), [](const Job& a, const Job& b) {
                return a.due != b.due ? a.due < b.due : a.seq < b.seq;
            });
            if (it == jobs_.end() || it->due > until) break;
            Job job = std::move(*it);
            jobs_.erase(it);
            now_ = std::max(now_, job.due);
            job.fn();
        }
        now_ = until;
    }
    // Runs what is due now (the "next turn of the event loop").
    void runPending() { advance(0); }

private:
    struct Job {
        double due;
        std::uint64_t seq;
        std::function<void()> fn;
    };
    double now_ = 0;
    std::uint64_t seq_ = 0;
    std::vector<Job> jobs_;
};

} // namespace vt::test
