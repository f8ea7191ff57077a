#pragma once
#include <QLockFile>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;

namespace vt {

// One instance per user session: two would fight over the paste chord and the history file.
// A second start asks the running instance to show itself, so that a click on the launcher
// always shows something.
class SingleInstance {
public:
    // The lock lives in $XDG_RUNTIME_DIR (or the temporary folder), named after the app id.
    static QString defaultLockPath();

    explicit SingleInstance(QString lockPath = defaultLockPath());
    ~SingleInstance();
    // True when this process is the only instance; a stale lock of a dead process is taken over.
    bool acquire();
    // In the running instance: onActivate runs (on the main thread) whenever a later start asks.
    void listen(std::function<void()> onActivate);
    // In a later start: asks the running instance to show itself. False when none answered.
    bool activateRunning(int timeoutMs = 2000);

private:
    QString socketPath() const { return path_ + QStringLiteral(".socket"); }

    QString path_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
};

} // namespace vt
