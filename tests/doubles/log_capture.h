#pragma once
#include <QStringList>
#include <QtGlobal>

namespace vt::test {

// Collects the program's warnings (and worse) while alive, for tests that check that a failure
// was reported.
class LogCapture {
public:
    LogCapture() : previous_(qInstallMessageHandler(&handle)) { lines().clear(); }
    ~LogCapture() { qInstallMessageHandler(previous_); }
    static QStringList& lines() {
        static QStringList captured;
        return captured;
    }
    bool contains(const QString& text) const { return lines().join(u'\n').contains(text); }

private:
    static void handle(QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtWarningMsg || type == QtCriticalMsg) lines().append(message);
    }
    QtMessageHandler previous_;
};

} // namespace vt::test
