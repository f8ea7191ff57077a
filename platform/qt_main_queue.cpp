#include "platform/qt_main_queue.h"
#include <QMetaObject>
#include <QTimer>
#include <cmath>

namespace vt {

QtMainQueue::QtMainQueue() = default;

void QtMainQueue::asyncAfter(double seconds, std::function<void()> job) {
    if (!(seconds > 0)) {
        QMetaObject::invokeMethod(&context_, std::move(job), Qt::QueuedConnection);
        return;
    }
    // Precise timers: the hold delay is felt by the user, a coarse timer may fire 5 % late.
    const auto ms = static_cast<int>(std::lround(seconds * 1000.0));
    QTimer::singleShot(ms, Qt::PreciseTimer, &context_, std::move(job));
}

QtMainQueue& QtMainQueue::shared() {
    static QtMainQueue queue;
    return queue;
}

} // namespace vt
