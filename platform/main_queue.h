#pragma once
#include <functional>

namespace vt {

// Deferred work on the main thread: hold timers, delayed pastes, a panel's next-turn phase change
// and its delayed removal. Jobs are never cancelled; owners neutralise stale jobs with generation
// counters and weak captures.
class MainQueue {
public:
    virtual ~MainQueue() = default;
    // Runs job on the main thread after `seconds`; 0 means on the next turn of the event loop.
    virtual void asyncAfter(double seconds, std::function<void()> job) = 0;
};

} // namespace vt
