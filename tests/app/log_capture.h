#pragma once
#include <QStringList>
#include <QtGlobal>

namespace vt::test {

// Collects the program's log lines while alive (warning and above), for tests that check that
// a failure was reported.
class LogCapture {
public:
    LogCapture() {
        lines().clear();
        previous_ = qInstallMessageHandler(&LogCapture::handle);
    }
    ~LogCapture() { qInstallMessageHandler(previous_); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    static QStringList& lines() {
        static QStringList captured;
        return captured;
    }
    bool contains(const QString& text) const {
        for (const QString& line : lines())
            if (line.contains(text)) return true;
        return false;
    }

private:
    static void handle(QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtWarningMsg || type == QtCriticalMsg) lines().append(message);
    }
    QtMessageHandler previous_ = nullptr;
};

} // namespace vt::test
