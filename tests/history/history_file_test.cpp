#include "history/history_file.h"
#include "history_test_items.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

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

TEST(HistoryFile, MissingFileGivesAFreshHistory) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_EQ(HistoryFile::load(dir.filePath("history.json")), ClipHistory{});
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST(HistoryFile, SavedHistoryLoadsBackAndIsPrivate) {
    QTemporaryDir dir;
    const QString path = dir.filePath("history.json");
    const ClipHistory history = sampleHistory();
    ASSERT_TRUE(HistoryFile::save(history, path));
    EXPECT_EQ(modeOf(path), kOwnerReadWrite);
    EXPECT_EQ(contentOf(path), history.toJson());
    EXPECT_EQ(HistoryFile::load(path), history);
    // No temporary file is left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"history.json"});
}

TEST(HistoryFile, SavingOverAReadableFileMakesItPrivate) {
    QTemporaryDir dir;
    const QString path = dir.filePath("history.json");
    write(path, R"({"items":[],"limit":50})");
    QFile::setPermissions(path, kOwnerReadWrite | QFile::ReadGroup | QFile::ReadOther);
    ASSERT_TRUE(HistoryFile::save(sampleHistory(), path));
    EXPECT_EQ(modeOf(path), kOwnerReadWrite);
}

TEST(HistoryFile, UndecodableFileIsKeptAsideWithOneLogLine) {
    QTemporaryDir dir;
    const QString path = dir.filePath("history.json");
    const QByteArray newer =
        R"({"items":[{"id":"6BA7B810-9DAD-11D1-80B4-00C04FD430C8","kind":"rtf","date":1}],"limit":50})";
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
}

TEST(HistoryFile, TheNewestThreeUnreadableFilesAreKeptUntilTheHistoryIsCleared) {
    QTemporaryDir dir;
    const QString path = dir.filePath("history.json");
    const auto aside = [&] {
        return QDir(dir.path())
            .entryList({QStringLiteral("history.json.unreadable-*")}, QDir::Files);
    };
    for (const char* content : {"first {", "second {", "third {", "fourth {", "fifth {"}) {
        write(path, content);
        HistoryFile::load(path); // all in the same second: each still gets its own name
    }
    QByteArrayList contents;
    for (const QString& name : aside())
        contents.append(contentOf(dir.filePath(name)));
    std::sort(contents.begin(), contents.end());
    EXPECT_EQ(contents, QByteArrayList({"fifth {", "fourth {", "third {"}));
    HistoryFile::removeSetAside(path);
    EXPECT_TRUE(aside().isEmpty());
}

TEST(HistoryFile, SavingRecreatesAFolderDeletedMeanwhile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Vantrel/history.json");
    ASSERT_TRUE(HistoryFile::save(sampleHistory(), path));
    ASSERT_TRUE(QDir(dir.filePath("Vantrel")).removeRecursively());
    EXPECT_TRUE(HistoryFile::save(sampleHistory(), path));
    EXPECT_EQ(modeOf(dir.filePath("Vantrel")), kOwnerAll);
    EXPECT_EQ(HistoryFile::load(path).items.size(), sampleHistory().items.size());
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

TEST(HistoryFile, StoreIsInTheDataHomeInAPrivateFolder) {
    QTemporaryDir dir;
    const QByteArray previous = qgetenv("XDG_DATA_HOME");
    const QString home = dir.filePath("data/home");
    qputenv("XDG_DATA_HOME", home.toUtf8());

    const QString path = HistoryFile::storeURL();
    EXPECT_EQ(path, home + "/Vantrel/history.json");
    EXPECT_EQ(modeOf(home + "/Vantrel"), kOwnerAll);

    // A folder made readable by others is made private again the next time.
    QFile::setPermissions(home + "/Vantrel", kOwnerAll | QFile::ReadOther | QFile::ExeOther);
    HistoryFile::storeURL();
    EXPECT_EQ(modeOf(home + "/Vantrel"), kOwnerAll);

    const ClipHistory history = sampleHistory();
    ASSERT_TRUE(HistoryFile::save(history, path));
    EXPECT_EQ(HistoryFile::load(HistoryFile::storeURL()), history);
    if (previous.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", previous);
}

} // namespace
} // namespace vt
