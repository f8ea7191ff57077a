#pragma once
#include <QByteArray>
#include <QString>
#include <functional>

class QLocalServer;

namespace vt {

// One instance per user session: two would fight over the paste chord and the history file.
// The lock is the kernel's (flock on the lock file), so it ends with the process that holds it:
// a file left behind, whatever it contains, never keeps a later start out. A second start asks
// the running instance to show itself, so that a click on the launcher always shows something.
class SingleInstance {
public:
    // <app id>.lock in $XDG_RUNTIME_DIR. Without a usable one: in <temp>/vantrel-<uid>, a folder
    // of mode 0700 that must belong to this user, and failing that in
    // $XDG_CACHE_HOME/Vantrel (~/.cache/Vantrel).
    static QString defaultLockPath();

    explicit SingleInstance(QString lockPath = defaultLockPath());
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when no other live process holds the lock (this one holds it from now on). Also true,
    // with a log line, when no lock file can be made at all: better two instances than none.
    bool acquire();
    // In the running instance: onActivate runs (on the main thread) whenever a later start asks
    // to show the program, onWord with any other line a later start hands over (see handOver);
    // onWord answers false to a line it does not know.
    void listen(std::function<void()> onActivate,
                std::function<bool(const QByteArray& line)> onWord = {});
    // In a later start: asks the running instance to show itself. False when none answered.
    bool activateRunning(int timeoutMs = 2000);
    // In a later start run by a compositor binding: hands `line` (one line with its newline, at
    // most 63 bytes) to the running instance and returns the exit status (0 handed over, 1 no
    // instance). Runs before Qt is set up, takes no lock and allocates nothing on the usual path
    // (a private $XDG_RUNTIME_DIR), so the binding's key costs as little as can be.
    static int handOver(const char* line);

private:
    QString socketPath() const { return path_ + QStringLiteral(".socket"); }

    QString path_;
    int fd_ = -1;
    QLocalServer* server_ = nullptr;
};

} // namespace vt
