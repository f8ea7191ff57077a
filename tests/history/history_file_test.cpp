#include "history/history_file.h"
#include "history_test_items.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

namespace vt {
namespace {

constexpr auto kOwnerReadWrite = QFile::ReadOwner | QFile::WriteOwner;
constexpr auto kOwnerAll = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

// Only the permission bits that the program sets (the user's), plus "others" to catch leaks.
QFile::Permissions modeOf(const QString& path) {
    return QFile::permissions(path) & (QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                       QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                       QFile::ReadOther | QFile::WriteOther | QFile::ExeOther);
}

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// Collects the program's log lines while a test runs.
class LogCapture {
public:
    LogCapture() { previous = qInstallMessageHandler(&LogCapture::handle); }
    ~LogCapture() { qInstallMessageHandler(previous); }
    static inline QStringList warnings;

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (type == QtWarningMsg && QByteArray(context.category) == "io.vantrel.Vantrel.tap")
            warnings.append(text);
    }
    QtMessageHandler previous;
};

ClipHistory sampleHistory() {
    ClipHistory history;
    history.limit = 20;
    history.add(ClipItem::makeText(QStringLiteral("password123"), QStringLiteral("Keys")));
    history.add(ClipItem::makeFiles({"/home/u/a.txt"}));
    return history;
}

TEST(HistoryFile, SavedHistoryLoadsBackAndIsPrivateAndAMissingFileGivesAFreshOne) {
    QTemporaryDir dir;
    const QString path = dir.filePath("history.json");
    EXPECT_EQ(HistoryFile::load(path), ClipHistory{});
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    write(path, R"({"items":[],"limit":50})");
    QFile::setPermissions(path, kOwnerReadWrite | QFile::ReadGroup | QFile::ReadOther);
    const ClipHistory history = sampleHistory();
    ASSERT_TRUE(HistoryFile::save(history, path));
    EXPECT_EQ(modeOf(path), kOwnerReadWrite);
    EXPECT_EQ(contentOf(path), history.toJson());
    EXPECT_EQ(HistoryFile::load(path), history);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList({"history.json", "history.json.synced"}));
    EXPECT_EQ(contentOf(path + ".synced"), history.toJson());
}

// Other versions read and write this file too: one this version cannot read is kept aside.
TEST(HistoryFile, AFileOfANewerVersionIsKeptAsideWithOneLogLine) {
    QTemporaryDir dir;
    const QString path = dir.filePath("history.json");
    const QByteArray newer = R"({"items":[],"limit":50,"version":2})";
    write(path, newer);
    QFile::setPermissions(path, kOwnerReadWrite | QFile::ReadOther);

    LogCapture capture;
    LogCapture::warnings.clear();
    EXPECT_EQ(HistoryFile::load(path), ClipHistory{});
    EXPECT_EQ(LogCapture::warnings.size(), 1) << LogCapture::warnings.join('\n').toStdString();

    EXPECT_FALSE(QFile::exists(path));
    const QStringList aside =
        QDir(dir.path()).entryList({QStringLiteral("history.json.unreadable-*")}, QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    EXPECT_TRUE(QRegularExpression(QStringLiteral(R"(^history\.json\.unreadable-\d{8}-\d{6}$)"))
                    .match(aside.first())
                    .hasMatch())
        << aside.first().toStdString();
    EXPECT_EQ(contentOf(dir.filePath(aside.first())), newer);
    EXPECT_EQ(modeOf(dir.filePath(aside.first())), kOwnerReadWrite);

    // The next save writes a new history and leaves the kept file alone.
    ASSERT_TRUE(HistoryFile::save(sampleHistory(), path));
    EXPECT_EQ(contentOf(dir.filePath(aside.first())), newer);

    // The newest three are kept (all in the same second: each still gets its own name) until
    // the history is cleared.
    for (const char* content : {"second {", "third {", "fourth {", "fifth {"}) {
        write(path, content);
        HistoryFile::load(path);
    }
    const auto keptAside = [&] {
        return QDir(dir.path()).entryList({QStringLiteral("history.json.unreadable-*")});
    };
    QByteArrayList contents;
    for (const QString& name : keptAside())
        contents.append(contentOf(dir.filePath(name)));
    std::sort(contents.begin(), contents.end());
    EXPECT_EQ(contents, QByteArrayList({"fifth {", "fourth {", "third {"}));
    HistoryFile::removeSetAside(path);
    EXPECT_TRUE(keptAside().isEmpty());
}

// A crash soon after a save can leave the file torn or empty (its bytes were not on the disk
// yet): the history last synced comes back and the broken file is kept aside. A file deleted on
// purpose brings nothing back.
TEST(HistoryFile, ATornOrEmptyFileGivesBackTheHistoryLastSynced) {
    const std::vector<std::pair<const char*, std::function<void(const QString&)>>> tears = {
        {"empty", [](const QString& p) { QFile(p).resize(0); }},
        {"torn", [](const QString& p) { QFile(p).resize(QFileInfo(p).size() / 2); }},
        {"zeros", [](const QString& p) { write(p, QByteArray(64, '\0')); }},
        {"deleted", [](const QString& p) { QFile::remove(p); }}};
    for (const auto& [name, tear] : tears) {
        SCOPED_TRACE(name);
        QTemporaryDir dir;
        const QString path = dir.filePath("history.json");
        HistoryFile file(path);
        file.load();
        const ClipHistory synced = sampleHistory();
        ASSERT_TRUE(file.save(synced));
        ASSERT_TRUE(HistoryFile::secure(*file.takeUnsynced()));
        ClipHistory newer = synced;
        newer.add(ClipItem::makeText(QStringLiteral("not synced yet")));
        ASSERT_TRUE(file.save(newer));
        EXPECT_EQ(HistoryFile::load(path), newer);
        tear(path);
        const bool deleted = std::string_view(name) == "deleted";
        EXPECT_EQ(HistoryFile(path).load(), deleted ? ClipHistory{} : synced);
        EXPECT_EQ(QDir(dir.path()).entryList({"history.json.unreadable-*"}, QDir::Files).size(),
                  deleted ? 0 : 1);
    }
}

TEST(HistoryFile, FailedSaveReportsFalseAndKeepsNothingHalfWritten) {
    QTemporaryDir dir;
    write(dir.filePath("not-a-folder"), "x");
    LogCapture capture;
    LogCapture::warnings.clear();
    EXPECT_FALSE(HistoryFile::save(sampleHistory(), dir.filePath("not-a-folder/history.json")));
    EXPECT_EQ(LogCapture::warnings.size(), 1);
    EXPECT_EQ(contentOf(dir.filePath("not-a-folder")), "x");
}

TEST(HistoryFile, PathIsInTheDataHomeAndLoadingMakesItsFolderPrivateWhateverTheUmask) {
    QTemporaryDir dir;
    const QByteArray previous = qgetenv("XDG_DATA_HOME");
    const QString home = dir.filePath("data/home");
    qputenv("XDG_DATA_HOME", home.toUtf8());
    const mode_t umaskBefore = ::umask(0);

    const QString path = HistoryFile::defaultPath();
    EXPECT_EQ(path, home + "/Vantrel/history.json");
    EXPECT_FALSE(QFileInfo::exists(home)); // computing the path creates nothing
    HistoryFile file(path);
    file.load();
    // What a save cut short by kill -9 left behind goes at the next start.
    write(path + ".saving-AbC123", "{\"items\":[");
    file.load();
    EXPECT_FALSE(QFileInfo::exists(path + ".saving-AbC123"));
    EXPECT_EQ(modeOf(home + "/Vantrel"), kOwnerAll);
    EXPECT_EQ(modeOf(home), kOwnerAll);
    ASSERT_TRUE(file.save(sampleHistory()));
    EXPECT_EQ(modeOf(path), kOwnerReadWrite);
    // A folder made readable by others is made private again the next time.
    QFile::setPermissions(home + "/Vantrel", kOwnerAll | QFile::ReadOther | QFile::ExeOther);
    HistoryFile(path).load();
    EXPECT_EQ(modeOf(home + "/Vantrel"), kOwnerAll);
    // A folder deleted meanwhile is made again, private.
    ASSERT_TRUE(QDir(home + "/Vantrel").removeRecursively());
    EXPECT_TRUE(file.save(sampleHistory()));
    EXPECT_EQ(modeOf(home + "/Vantrel"), kOwnerAll);

    ::umask(umaskBefore);
    if (previous.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", previous);
}

// A small real file system that can be filled up.
class FullDisk : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString mountPoint = dir.filePath("disk");
    bool mounted = false;

    void SetUp() override {
        QDir().mkpath(mountPoint);
        mounted = ::mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", 0,
                          "size=256k,mode=0700") == 0;
        if (!mounted) GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
    }
    void TearDown() override {
        if (mounted) ::umount2(QFile::encodeName(mountPoint).constData(), MNT_DETACH);
    }
    // Fills the disk up to its last `room` bytes.
    void fillLeaving(qint64 room) {
        QFile filler(mountPoint + "/filler");
        ASSERT_TRUE(filler.open(QIODevice::Append));
        const QByteArray block(4096, 'x');
        struct statvfs fs {};
        while (::statvfs(QFile::encodeName(mountPoint).constData(), &fs) == 0 &&
               static_cast<qint64>(fs.f_bavail * fs.f_bsize) > room) {
            if (filler.write(block) != block.size() || !filler.flush()) break;
        }
    }
};

TEST_F(FullDisk, AFailedSaveKeepsThePreviousFileLogsOnceAndTheNextChangeTriesAgain) {
    const QString path = mountPoint + "/Vantrel/history.json";
    HistoryFile file(path);
    file.load();
    ClipHistory history = sampleHistory();
    ASSERT_TRUE(file.save(history));
    const QByteArray saved = contentOf(path);

    fillLeaving(0);
    LogCapture capture;
    LogCapture::warnings.clear();
    history.add(ClipItem::makeText(QString(2000, u'z'))); // small enough to sit in a buffer
    EXPECT_FALSE(file.save(history));
    EXPECT_FALSE(file.save(history));
    EXPECT_EQ(LogCapture::warnings.size(), 1) << LogCapture::warnings.join('\n').toStdString();
    EXPECT_EQ(contentOf(path), saved);
    EXPECT_EQ(QDir(mountPoint + "/Vantrel").entryList(QDir::Files | QDir::Hidden),
              QStringList{"history.json"});

    QFile::remove(mountPoint + "/filler");
    EXPECT_TRUE(file.save(history));
    EXPECT_EQ(HistoryFile::load(path), history);
}

// Whatever is planted at the history path (or too big to read) is never followed, opened or
// changed: it is moved aside as it is, and the next save puts a regular private file there.
TEST(HistoryFile, WhatIsPlantedAtThePathIsKeptAsideUntouchedAndNeverWrittenThrough) {
    const std::function<void(const QString&, const QString&)> plants[] = {
        [](const QString& p, const QString& to) { QFile::link(to, p); },
        [](const QString& p, const QString&) { QFile::link("/dev/zero", p); },
        [](const QString& p, const QString&) { ::mkfifo(QFile::encodeName(p).constData(), 0600); },
        [](const QString& p, const QString&) { QDir().mkpath(p); },
        [](const QString& p, const QString&) { // beyond the read limit, sparse: never read
            QFile file(p);
            file.open(QIODevice::WriteOnly);
            file.setPermissions(kOwnerReadWrite);
            file.resize(HistoryFile::kMaxBytes + 1);
        },
    };
    for (const auto& plant : plants) {
        QTemporaryDir dir;
        const QString path = dir.filePath("Vantrel/history.json");
        const QString target = dir.filePath("elsewhere.txt");
        write(target, R"({"items":[],"limit":50})");
        QFile::setPermissions(target, kOwnerReadWrite | QFile::ReadGroup | QFile::ReadOther);
        QDir().mkpath(dir.filePath("Vantrel"));
        plant(path, target);
        struct stat before {};
        ASSERT_EQ(::lstat(QFile::encodeName(path).constData(), &before), 0);

        HistoryFile file(path);
        EXPECT_EQ(file.load(), ClipHistory{});
        const QStringList aside =
            QDir(dir.filePath("Vantrel"))
                .entryList({"history.json.unreadable-*"}, QDir::AllEntries | QDir::System);
        ASSERT_EQ(aside.size(), 1);
        struct stat kept {};
        ASSERT_EQ(
            ::lstat(QFile::encodeName(dir.filePath("Vantrel/" + aside[0])).constData(), &kept), 0);
        EXPECT_EQ(kept.st_mode, before.st_mode);
        EXPECT_EQ(kept.st_ino, before.st_ino);

        // Planted again after the start: the save replaces the link, never writes through it.
        QFile::link(target, path);
        ASSERT_TRUE(file.save(sampleHistory()));
        EXPECT_EQ(contentOf(target), R"({"items":[],"limit":50})");
        EXPECT_EQ(modeOf(target), kOwnerReadWrite | QFile::ReadGroup | QFile::ReadOther);
        EXPECT_FALSE(QFileInfo(path).isSymLink());
        EXPECT_EQ(modeOf(path), kOwnerReadWrite);
    }
}

// What this version does not know of an item survives its saves.
TEST(HistoryFile, UnknownMembersAreCarriedThrough) {
    QTemporaryDir dir;
    const QString path = dir.filePath("history.json");
    const QByteArray item =
        R"({"id":"6BA7B810-9DAD-11D1-80B4-00C04FD430C8","kind":"text","text":"hi","date":2,)"
        R"("sourceApp":"App","pinned":true,"tags":["a",{"b":1}]})";
    write(path, R"({"items":[)" + item + R"(],"limit":50})");
    HistoryFile file(path);
    ClipHistory history = file.load();
    ASSERT_EQ(history.items.size(), 1u);
    const ClipItem fresh = test::textItem("new", 1);
    history.add(fresh);
    ASSERT_TRUE(file.save(history));
    QByteArray expected = "{\"items\":[";
    ClipHistory::appendItemJson(expected, fresh);
    expected += "," + item + R"(],"limit":50})";
    EXPECT_EQ(contentOf(path), expected);
    // And again, from the file this version wrote.
    history.add(test::textItem("newer", 2));
    ASSERT_TRUE(file.save(history));
    EXPECT_TRUE(contentOf(path).contains(item));
    EXPECT_EQ(HistoryFile::load(path), history);
}

} // namespace
} // namespace vt
