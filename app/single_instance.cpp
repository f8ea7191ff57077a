#include "app/single_instance.h"
#include "platform/config.h"
#include "platform/log.h"
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <unistd.h>

namespace vt {

namespace {
constexpr char kActivate[] = "activate\n";
}

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

SingleInstance::~SingleInstance() {
    delete server_;
}

bool SingleInstance::acquire() {
    return lock_->tryLock(0);
}

void SingleInstance::listen(std::function<void()> onActivate) {
    delete server_;
    server_ = new QLocalServer;
    // Only this user may ask (the runtime folder is private too).
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock, so a socket left there belongs to an instance that is gone.
    QLocalServer::removeServer(socketPath());
    if (!server_->listen(socketPath())) {
        qCWarning(vtLog, "single instance: cannot listen on %s: %s", qUtf8Printable(socketPath()),
                  qUtf8Printable(server_->errorString()));
        return;
    }
    QObject::connect(server_, &QLocalServer::newConnection, server_, [this, onActivate] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, onActivate] {
                // One short line; anything longer is not ours.
                const QByteArray line = socket->readLine(64);
                socket->disconnectFromServer();
                if (line == kActivate) {
                    qCInfo(vtLog, "another start asked to show the settings window");
                    if (onActivate) onActivate();
                }
            });
        }
    });
}

bool SingleInstance::activateRunning(int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(kActivate);
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
    socket.waitForDisconnected(timeoutMs);
    return true;
}

} // namespace vt
