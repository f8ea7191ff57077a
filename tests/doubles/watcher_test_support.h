#pragma once
#include "history/clip_history.h"
#include <QBuffer>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QImage>
#include <QImageWriter>
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

inline QImage sampleImage(int w = 9, int h = 4, QColor color = QColor(30, 140, 220)) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

inline QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(image);
    return bytes;
}

inline QStringList ids(const ClipHistory& h) {
    QStringList out;
    for (const ClipItem& item : h.items)
        out.append(item.idString());
    return out;
}

} // namespace vt::test
