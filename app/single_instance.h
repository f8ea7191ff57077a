#pragma once
#include <QLockFile>
#include <QString>
#include <memory>

namespace vt {

// One instance per user session: two would fight over the paste chord and the history file.
class SingleInstance {
public:
    // The lock lives in $XDG_RUNTIME_DIR (or the temporary folder), named after the app id.
    static QString defaultLockPath();

    explicit SingleInstance(QString lockPath = defaultLockPath());
    // True when this process is the only instance; a stale lock of a dead process is taken over.
    bool acquire();

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

} // namespace vt
