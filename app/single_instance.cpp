#include "app/single_instance.h"
#include "platform/config.h"
#include <QDir>
#include <QStandardPaths>
#include <unistd.h>

namespace vt {

QString SingleInstance::defaultLockPath() {
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QDir(dir).exists())
        return QDir::tempPath() + QStringLiteral("/%1-%2.lock").arg(kAppId).arg(getuid());
    return dir + QStringLiteral("/%1.lock").arg(kAppId);
}

SingleInstance::SingleInstance(QString lockPath)
    : path_(std::move(lockPath)), lock_(std::make_unique<QLockFile>(path_)) {
    // Never treat a live holder's lock as stale, however long it has been running.
    lock_->setStaleLockTime(0);
}

bool SingleInstance::acquire() {
    return lock_->tryLock(0);
}

} // namespace vt
