#include "platform/private_files.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vt::PrivateFiles {

namespace {

QString reason(const QString& what, const QString& path) {
    return QStringLiteral("%1 %2: %3")
        .arg(what, path, QString::fromLocal8Bit(std::strerror(errno)));
}

void setError(QString* error, const QString& text) {
    if (error) *error = text;
}

} // namespace

bool makeFolders(const QString& path, mode_t mode, bool enforce, QString* error) {
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QByteArray native = QFile::encodeName(clean);
    struct stat st {};
    if (::stat(native.constData(), &st) == 0) {
        if (!S_ISDIR(st.st_mode)) {
            errno = ENOTDIR;
            setError(error, reason(QStringLiteral("cannot create"), clean));
            return false;
        }
        if (enforce && (st.st_mode & 07777) != mode && ::chmod(native.constData(), mode) != 0) {
            setError(error, reason(QStringLiteral("cannot set the mode of"), clean));
            return false;
        }
        return true;
    }
    const QString parent = QFileInfo(clean).path();
    if (parent != clean && !makeFolders(parent, mode, false, error)) return false;
    // mkdir applies the umask; chmod afterwards gives exactly `mode`.
    if (::mkdir(native.constData(), mode) != 0 && errno != EEXIST) {
        setError(error, reason(QStringLiteral("cannot create"), clean));
        return false;
    }
    if (::chmod(native.constData(), mode) != 0) {
        setError(error, reason(QStringLiteral("cannot set the mode of"), clean));
        return false;
    }
    return true;
}

TempFile createTemp(const QString& path, mode_t mode, QString* error) {
    TempFile temp;
    QByteArray pattern = QFile::encodeName(path) + ".saving-XXXXXX";
    temp.fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (temp.fd < 0) {
        setError(error, reason(QStringLiteral("cannot create a file next to"), path));
        return temp;
    }
    temp.path = QFile::decodeName(pattern);
    if (::fchmod(temp.fd, mode) != 0) {
        setError(error, reason(QStringLiteral("cannot set the mode of"), temp.path));
        discardTemp(temp);
    }
    return temp;
}

bool writeAll(int fd, const char* data, qsizetype size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

bool commitTemp(TempFile& temp, const QString& path, QString* error, bool sync) {
    if (sync && ::fdatasync(temp.fd) != 0) {
        setError(error, reason(QStringLiteral("cannot write"), temp.path));
        discardTemp(temp);
        return false;
    }
    if (::rename(QFile::encodeName(temp.path).constData(), QFile::encodeName(path).constData()) !=
        0) {
        setError(error, reason(QStringLiteral("cannot replace"), path));
        discardTemp(temp);
        return false;
    }
    return true;
}

void discardTemp(TempFile& temp) {
    if (temp.fd < 0) return;
    ::unlink(QFile::encodeName(temp.path).constData());
    ::close(temp.fd);
    temp.fd = -1;
}

bool replaceFile(const QString& path, const QByteArray& bytes, mode_t mode, QString* error) {
    TempFile temp = createTemp(path, mode, error);
    if (temp.fd < 0) return false;
    if (!writeAll(temp.fd, bytes.constData(), bytes.size())) {
        setError(error, reason(QStringLiteral("cannot write"), temp.path));
        discardTemp(temp);
        return false;
    }
    if (!commitTemp(temp, path, error)) return false;
    ::close(temp.fd);
    return true;
}

} // namespace vt::PrivateFiles
