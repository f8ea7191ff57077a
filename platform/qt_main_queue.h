#pragma once
#include "platform/main_queue.h"
#include <QObject>

namespace vt {

// MainQueue on the Qt event loop of the thread that created it (the main thread).
class QtMainQueue final : public MainQueue {
public:
    QtMainQueue();
    void asyncAfter(double seconds, std::function<void()> job) override;

    // The queue of the running program.
    static QtMainQueue& shared();

private:
    QObject context_;
};

} // namespace vt
