#include "history/clipboard_watcher.h"
#include "history/history_file.h"
#include "tests/doubles/case_name.h"
#include "tests/doubles/fake_pasteboard.h"
#include "tests/doubles/fake_workspace.h"
#include "tests/doubles/watcher_test_support.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <tuple>

namespace vt {
namespace {

using test::encoded;
using test::FakePasteboard;
using test::FakeWorkspace;
using test::ids;
using test::sampleImage;

class WatcherTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath("history.json");
    FakePasteboard pasteboard;
    FakeWorkspace workspace;

    std::unique_ptr<ClipboardWatcher> make() {
        return std::make_unique<ClipboardWatcher>(pasteboard, workspace, path);
    }
    // The file once everything the watcher handed over has been written.
    ClipHistory onDisk(ClipboardWatcher& watcher) const {
        EXPECT_TRUE(watcher.waitForSaves());
        return HistoryFile::load(path);
    }
};

TEST_F(WatcherTest, CreationLoadsTheHistoryFile) {
    ClipHistory saved;
    saved.limit = 12;
    saved.add(ClipItem::makeText("kept"));
    ASSERT_TRUE(HistoryFile::save(saved, path));
    auto watcher = make();
    EXPECT_EQ(watcher->history.limit, 12);
    ASSERT_EQ(watcher->history.items.size(), 1u);
    EXPECT_EQ(watcher->history.items[0].text, QString("kept"));
}

struct ReadCase {
    const char* name;
    QStringList types;
    QHash<QString, QByteArray> bytes;
    QList<QUrl> urls;
    std::optional<ClipItem::Kind> expected;
};

class ReadItemTest : public WatcherTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ReadItemTest, RecordsTheBestRepresentation) {
    const ReadCase& c = GetParam();
    auto watcher = make();
    pasteboard.offer(c.types, c.bytes, c.urls);
    watcher->poll();
    // TIFF is turned into PNG in the background.
    test::runUntil([&] { return !watcher->history.items.empty(); }, 500);
    if (!c.expected) {
        EXPECT_TRUE(watcher->history.items.empty());
        return;
    }
    ASSERT_EQ(watcher->history.items.size(), 1u);
    EXPECT_EQ(watcher->history.items[0].kind, *c.expected);
    if (c.types == QStringList{PasteboardType::tiff}) {
        const QImage stored = QImage::fromData(*watcher->history.items[0].imageData, "PNG");
        EXPECT_EQ(stored.size(), sampleImage().size()); // stored as PNG
    }
}

const QByteArray kPng = encoded(sampleImage(), "png");
const QByteArray kTiff = encoded(sampleImage(), "tiff");

namespace PT = PasteboardType;
// clang-format off
INSTANTIATE_TEST_SUITE_P(Contents, ReadItemTest, ::testing::Values(
    ReadCase{"text", {PT::plainText}, {{PT::plainText, "hello"}}, {}, ClipItem::Kind::text},
    ReadCase{"textAndImage", {PT::png, PT::plainText}, {{PT::plainText, "caption"}, {PT::png, kPng}}, {}, ClipItem::Kind::text},
    ReadCase{"pngOnly", {PT::png}, {{PT::png, kPng}}, {}, ClipItem::Kind::image},
    ReadCase{"tiffOnly", {PT::tiff}, {{PT::tiff, kTiff}}, {}, ClipItem::Kind::image},
    ReadCase{"brokenTiff", {PT::tiff}, {{PT::tiff, "II*\0junk"}}, {}, std::nullopt},
    ReadCase{"filesWithNamesAsText", {PT::fileURL, PT::plainText}, {{PT::plainText, "/tmp/a.txt"}}, {QUrl::fromLocalFile("/tmp/a.txt")}, ClipItem::Kind::files},
    ReadCase{"blankText", {PT::plainText}, {{PT::plainText, " \n\t"}}, {}, std::nullopt},
    ReadCase{"unknownTypeOnly", {"application/x-thing"}, {{"application/x-thing", "x"}}, {}, std::nullopt}
), vt::test::caseName);
// clang-format on

TEST_F(WatcherTest, PngBytesAreStoredUnchangedEvenWhenTheyAreNoPng) {
    auto watcher = make();
    pasteboard.offer({PasteboardType::png}, {{PasteboardType::png, "not a png at all"}});
    watcher->poll();
    ASSERT_EQ(watcher->history.items.size(), 1u);
    EXPECT_EQ(watcher->history.items[0].imageData, QByteArray("not a png at all"));
}

TEST_F(WatcherTest, FilesKeepTheirOrderAndSourceApp) {
    workspace.frontmost = RunningApplication{QString("org.gnome.Nautilus"), QString("Files"), {}};
    auto watcher = make();
    pasteboard.offer({PasteboardType::fileURL}, {},
                     {QUrl::fromLocalFile("/b/2.txt"), QUrl::fromLocalFile("/a/1.txt")});
    watcher->poll();
    ASSERT_EQ(watcher->history.items.size(), 1u);
    EXPECT_EQ(watcher->history.items[0].filePaths, QStringList({"/b/2.txt", "/a/1.txt"}));
    EXPECT_EQ(watcher->history.items[0].sourceApp, QString("Files"));
}

class MarkerTest : public WatcherTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(MarkerTest, MarkedCopiesAreNeverRecorded) {
    auto watcher = make();
    pasteboard.offer({PasteboardType::plainText, GetParam()},
                     {{PasteboardType::plainText, "hunter2"}});
    watcher->poll();
    watcher->poll();
    EXPECT_TRUE(watcher->history.items.empty());
    EXPECT_EQ(watcher->lastChangeCount(), pasteboard.changeCount());
}

INSTANTIATE_TEST_SUITE_P(Markers, MarkerTest,
                         ::testing::Values("org.nspasteboard.ConcealedType",
                                           "org.nspasteboard.TransientType",
                                           "org.nspasteboard.AutoGeneratedType",
                                           "com.agilebits.onepassword"));

TEST_F(WatcherTest, PasswordManagersAreExcludedByAnyNameTheyAnswerTo) {
    auto watcher = make();
    // Known by its window class only, in another case than the default list's id.
    workspace.frontmost = RunningApplication{
        QString("KeePassXC"), QString("KeePassXC"), {"ORG.KEEPASSXC.KEEPASSXC", "keepassxc"}};
    pasteboard.offer({PasteboardType::plainText}, {{PasteboardType::plainText, "secret"}});
    watcher->poll();
    EXPECT_TRUE(watcher->history.items.empty());
}

// A burst of copies is announced copy by copy; copies that come while the file is being written
// share the next write, and the newest state is on disk once the watcher is gone.
TEST_F(WatcherTest, ABurstOfCopiesIsAnnouncedEachTimeAndSavedInAFewWrites) {
    auto watcher = make();
    int announced = 0;
    watcher->onChange = [&] { ++announced; };
    for (int i = 0; i < 200; ++i) {
        pasteboard.offer({PasteboardType::plainText},
                         {{PasteboardType::plainText, QByteArray::number(i)}});
        watcher->poll();
    }
    EXPECT_EQ(announced, 200);
    EXPECT_LT(watcher->saveCount(), 200);
    const QStringList inMemory = ids(watcher->history);
    watcher.reset();
    EXPECT_EQ(ids(HistoryFile::load(path)), inMemory);
    EXPECT_EQ(HistoryFile::load(path).items.front().text, QString("199"));
}

// Copies beyond the size limits are not recorded; those at the limits are.
TEST_F(WatcherTest, CopiesBeyondTheSizeLimitsAreNotRecorded) {
    auto watcher = make();
    EXPECT_EQ(watcher->maxTextLength, 16 << 20);
    EXPECT_EQ(watcher->maxImageBytes, 64 << 20);
    watcher->maxTextLength = 8;
    watcher->maxImageBytes = kPng.size();
    for (const auto& [type, bytes, recorded] :
         {std::tuple{PasteboardType::plainText, QByteArray("12345678"), true},
          std::tuple{PasteboardType::plainText, QByteArray("123456789"), false},
          std::tuple{PasteboardType::png, kPng, true},
          std::tuple{PasteboardType::png, kPng + "x", false}}) {
        const std::size_t before = watcher->history.items.size();
        pasteboard.offer({type}, {{type, bytes}});
        watcher->poll();
        EXPECT_EQ(watcher->history.items.size(), before + (recorded ? 1 : 0)) << bytes.size();
    }
}

TEST_F(WatcherTest, PutWritesEachKindAndIsNotRecordedAgain) {
    auto watcher = make();
    const ClipItem text = ClipItem::makeText("from history");
    const ClipItem image = ClipItem::makeImage(kPng);
    const ClipItem files = ClipItem::makeFiles({"/x/y.txt"});
    for (const ClipItem& item : {text, image, files}) {
        watcher->put(item);
        watcher->poll();
    }
    ASSERT_EQ(watcher->history.items.size(), 3u);
    EXPECT_EQ(pasteboard.fileURLs(), QList<QUrl>({QUrl::fromLocalFile("/x/y.txt")}));
    EXPECT_EQ(onDisk(*watcher).items.size(), 3u);

    watcher->put(image);
    EXPECT_EQ(pasteboard.data(PasteboardType::png), kPng);
    QCoreApplication::processEvents();
    EXPECT_TRUE(pasteboard.data(PasteboardType::tiff).has_value());
    watcher->put(text);
    EXPECT_EQ(pasteboard.string(PasteboardType::plainText), QString("from history"));
    watcher->poll();
    ASSERT_EQ(watcher->history.items.size(), 3u);
    const ClipItem& front = watcher->history.items[0];
    EXPECT_EQ(front.text, QString("from history"));
    EXPECT_NE(front.id, text.id);
    EXPECT_GE(front.date, text.date);
}

TEST_F(WatcherTest, PutOfTheNewestClipChangesNothing) {
    auto watcher = make();
    watcher->put(ClipItem::makeText("same"));
    int announced = 0;
    watcher->onChange = [&] { ++announced; };
    const QString idBefore = watcher->history.items[0].idString();
    watcher->put(watcher->history.items[0]);
    EXPECT_EQ(announced, 0);
    EXPECT_EQ(watcher->history.items[0].idString(), idBefore);
}

TEST_F(WatcherTest, ChangingTheLimitKeepsTheNewestAndRewritesTheFile) {
    auto watcher = make();
    for (int i = 0; i < 30; ++i)
        watcher->history.add(ClipItem::makeText(QString::number(i)));
    watcher->setLimit(10);
    ASSERT_EQ(watcher->history.items.size(), 10u);
    EXPECT_EQ(watcher->history.items[0].text, QString("29"));
    EXPECT_EQ(watcher->history.items[9].text, QString("20"));
    EXPECT_EQ(onDisk(*watcher).limit, 10);
    EXPECT_EQ(ids(onDisk(*watcher)), ids(watcher->history));

    watcher->setLimit(0);
    EXPECT_EQ(watcher->history.items.size(), 1u);
    EXPECT_EQ(onDisk(*watcher).limit, 1);
    watcher->setLimit(80); // raising rewrites it too, the same limit does not
    EXPECT_EQ(onDisk(*watcher).limit, 80);
    QFile::remove(path);
    watcher->setLimit(80);
    EXPECT_FALSE(QFile::exists(path));
}

// Where the pasteboard announces every change nothing looks at it in between (an idle program
// never wakes); elsewhere the 0.4 s look finds changes nobody announced, on the main thread's
// timer or on the watcher's own thread, and starting again keeps exactly one way of looking.
TEST(WatcherPolling, LooksForUnannouncedChangesOnlyWhereChangesAreNotAnnounced) {
    using Notice = FakePasteboard::Notice;
    for (const Notice notice :
         {Notice::mainThreadCounter, Notice::sharedCounter, Notice::announced}) {
        SCOPED_TRACE(static_cast<int>(notice));
        QTemporaryDir dir;
        FakePasteboard pasteboard(notice);
        FakeWorkspace workspace;
        ClipboardWatcher watcher(pasteboard, workspace, dir.filePath("history.json"));
        const bool looks = notice != Notice::announced;
        for (const char* text : {"quiet", "again"}) {
            watcher.start();
            const std::size_t before = watcher.history.items.size();
            pasteboard.offer({PasteboardType::plainText}, {{PasteboardType::plainText, text}}, {},
                             false);
            EXPECT_EQ(test::runUntil([&] { return watcher.history.items.size() > before; }, 1000),
                      looks);
        }
        EXPECT_EQ(watcher.findChildren<QTimer*>().size(),
                  notice == Notice::mainThreadCounter ? 1 : 0);
        pasteboard.offer({PasteboardType::plainText}, {{PasteboardType::plainText, "told"}});
        EXPECT_EQ(watcher.history.items.front().text, QStringLiteral("told"));
    }
}

TEST_F(WatcherTest, AnnouncedChangesAreRecordedAtOnceUntilTheWatcherIsGone) {
    {
        auto watcher = make();
        watcher->start();
        pasteboard.offer({PasteboardType::plainText}, {{PasteboardType::plainText, "now"}});
        EXPECT_EQ(watcher->history.items.size(), 1u);
    }
    EXPECT_FALSE(pasteboard.hasHandler());
    pasteboard.offer({PasteboardType::plainText}, {{PasteboardType::plainText, "after"}});
}

} // namespace
} // namespace vt
