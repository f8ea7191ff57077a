#include "app/single_instance.h"
#include "platform/config.h"
#include "platform/log.h"
#include "platform/private_files.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace vt {

namespace {

constexpr char kActivate[] = "activate\n";

QString lockName() {
    return QStringLiteral("/%1.lock").arg(QString::fromLatin1(kAppId));
}

// A folder of this user's own; one this program makes is also closed to everybody else.
bool isPrivateFolder(const QString& folder, bool create) {
    const QByteArray native = QFile::encodeName(folder);
    if (create && ::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) return false;
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return false;
    return !create || (st.st_mode & 077) == 0 || ::chmod(native.constData(), 0700) == 0;
}

} // namespace

QString SingleInstance::defaultLockPath() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && isPrivateFolder(runtime, false))
        return runtime + lockName();
    const QString temp = QDir::tempPath() + QStringLiteral("/vantrel-%1").arg(::getuid());
    if (isPrivateFolder(temp, true)) return temp + lockName();
    qCWarning(vtLog, "single instance: %s is not a private folder of this user; using the cache",
              qUtf8Printable(temp));
    QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (!QDir::isAbsolutePath(cache)) cache = QDir::homePath() + QStringLiteral("/.cache");
    PrivateFiles::makeFolders(cache + QStringLiteral("/Vantrel"), 0700, true);
    return cache + QStringLiteral("/Vantrel") + lockName();
}

SingleInstance::SingleInstance(QString lockPath) : path_(std::move(lockPath)) {}

SingleInstance::~SingleInstance() {
    delete server_;
    // The file stays: removing it would let a starting instance lock a file nobody can find.
    if (fd_ >= 0) ::close(fd_);
}

bool SingleInstance::acquire() {
    if (fd_ >= 0) return true;
    const QByteArray native = QFile::encodeName(path_);
    for (int attempt = 0; attempt < 5; ++attempt) {
        const int fd = ::open(native.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            // A link planted at the lock path is not ours to follow.
            if (errno == ELOOP && ::unlink(native.constData()) == 0) continue;
            qCWarning(vtLog,
                      "single instance: cannot open %s: %s; not checking for another "
                      "instance",
                      native.constData(), std::strerror(errno));
            return true;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            if (error == EWOULDBLOCK) return false;
            qCWarning(vtLog,
                      "single instance: cannot lock %s: %s; not checking for another "
                      "instance",
                      native.constData(), std::strerror(error));
            return true;
        }
        // The file locked must still be the one at the path (not removed or replaced meanwhile).
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) != 0 || ::stat(native.constData(), &named) != 0 ||
            held.st_ino != named.st_ino || held.st_dev != named.st_dev) {
            ::close(fd);
            continue;
        }
        ::fchmod(fd, 0600);
        const QByteArray pid = QByteArray::number(::getpid()) + '\n';
        if (::ftruncate(fd, 0) == 0) PrivateFiles::writeAll(fd, pid.constData(), pid.size());
        fd_ = fd;
        return true;
    }
    qCWarning(vtLog, "single instance: %s keeps changing; not checking for another instance",
              native.constData());
    return true;
}

void SingleInstance::listen(std::function<void()> onActivate,
                            std::function<bool(const QByteArray& line)> onWord) {
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
    QObject::connect(server_, &QLocalServer::newConnection, server_, [this, onActivate, onWord] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(
                socket, &QLocalSocket::readyRead, socket, [socket, onActivate, onWord] {
                    // One short line; anything longer is not ours.
                    const QByteArray line = socket->readLine(64);
                    socket->disconnectFromServer();
                    if (line == kActivate) {
                        qCInfo(vtLog, "another start asked to show the settings window");
                        if (onActivate) onActivate();
                    } else if (!onWord || !onWord(line)) {
                        qCInfo(vtLog,
                               "another start handed over a line this session has no use for");
                    }
                });
        }
    });
}

int SingleInstance::handOver(const char* line) {
    const std::size_t length = std::strlen(line);
    if (length == 0 || length >= 64) return 1;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat st {};
    int written = -1;
    if (runtime && runtime[0] == '/' && ::lstat(runtime, &st) == 0 && S_ISDIR(st.st_mode) &&
        st.st_uid == ::getuid())
        written = std::snprintf(address.sun_path, sizeof address.sun_path, "%s/%s.lock.socket",
                                runtime, kAppId);
    else
        written = std::snprintf(address.sun_path, sizeof address.sun_path, "%s",
                                QFile::encodeName(defaultLockPath() + ".socket").constData());
    if (written <= 0 || static_cast<std::size_t>(written) >= sizeof address.sun_path) return 1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return 1;
    const bool sent =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        ::write(fd, line, length) == static_cast<ssize_t>(length);
    ::close(fd);
    if (!sent) std::fputs("vantrel: no running instance to hand the key over to\n", stderr);
    return sent ? 0 : 1;
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
