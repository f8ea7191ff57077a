#pragma once
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <functional>

namespace vt::test {

// Runs the event loop until `done` holds or `ms` pass; returns whether it holds.
inline bool runUntil(const std::function<bool()>& done, int ms = 5000) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return true;
}

// Runs the event loop for `ms`, so that pending work gets its chance.
inline void settle(int ms) {
    runUntil([] { return false; }, ms);
}

} // namespace vt::test
