#include "app/single_instance.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vt {
namespace {

// Only a live holder keeps a second start out; whatever a dead one left in the file does not.
TEST(SingleInstance, OnlyALiveHolderKeepsASecondStartOut) {
    QTemporaryDir dir;
    const QString path = dir.filePath("app.lock");
    for (const QByteArray& leftover :
         {QByteArray(), QByteArray("garbage\n\x01\x02"), QByteArray("999999\nvantrel\nhost\n")}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(leftover);
        file.close();
        SingleInstance first(path);
        EXPECT_TRUE(first.acquire()) << leftover.toStdString();
        EXPECT_FALSE(SingleInstance(path).acquire());
    }
}

// Without a runtime folder the lock goes to a private folder of the user's own; one that another
// user made first is not used.
TEST(SingleInstance, WithoutARuntimeFolderTheLockIsInAPrivateFolder) {
    QTemporaryDir dir;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray tmp = qgetenv("TMPDIR");
    const QByteArray cache = qgetenv("XDG_CACHE_HOME");
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", dir.path().toUtf8());
    qputenv("XDG_CACHE_HOME", dir.filePath("cache").toUtf8());
    const mode_t umaskBefore = ::umask(0);

    const QString own = dir.filePath(QStringLiteral("vantrel-%1").arg(::getuid()));
    EXPECT_EQ(QFileInfo(SingleInstance::defaultLockPath()).path(), own);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(own).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    if (::getuid() == 0) { // only root can play the other user
        ASSERT_EQ(::chown(QFile::encodeName(own).constData(), 65534, 65534), 0);
        EXPECT_EQ(QFileInfo(SingleInstance::defaultLockPath()).path(),
                  dir.filePath("cache/Vantrel"));
    }

    ::umask(umaskBefore);
    qputenv("XDG_RUNTIME_DIR", runtime);
    qputenv("TMPDIR", tmp);
    qputenv("XDG_CACHE_HOME", cache);
}

} // namespace
} // namespace vt
