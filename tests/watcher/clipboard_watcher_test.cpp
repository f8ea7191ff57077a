#include "history/clipboard_watcher.h"
#include "history/history_file.h"
#include "tests/watcher/fake_pasteboard.h"
#include "tests/watcher/fake_workspace.h"
#include "tests/watcher/watcher_test_support.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace vt {
namespace {

using test::FakePasteboard;
using test::FakeWorkspace;

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(image);
    return bytes;
}

QImage sampleImage() {
    QImage image(7, 5, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 90));
    return image;
}

QStringList ids(const ClipHistory& h) {
    QStringList out;
    for (const ClipItem& item : h.items)
        out.append(item.idString());
    return out;
}

class WatcherTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath("history.json");
    FakePasteboard pasteboard;
    FakeWorkspace workspace;

    std::unique_ptr<ClipboardWatcher> make() {
        return std::make_unique<ClipboardWatcher>(pasteboard, workspace, path);
    }
    ClipHistory onDisk() const { return HistoryFile::load(path); }
};

TEST_F(WatcherTest, WhatIsOnTheClipboardAtCreationIsNotRecorded) {
    pasteboard.offer({PasteboardType::plainText}, {{PasteboardType::plainText, "before"}});
    auto watcher = make();
    watcher->poll();
    EXPECT_TRUE(watcher->history.items.empty());
    EXPECT_FALSE(QFile::exists(path));
}

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
    if (!c.expected) {
        EXPECT_TRUE(watcher->history.items.empty());
        return;
    }
    ASSERT_EQ(watcher->history.items.size(), 1u);
    EXPECT_EQ(watcher->history.items[0].kind, *c.expected);
}

const QByteArray kPng = encoded(sampleImage(), "png");
const QByteArray kTiff = encoded(sampleImage(), "tiff");

INSTANTIATE_TEST_SUITE_P(
    Contents, ReadItemTest,
    ::testing::Values(ReadCase{"text",
                               {PasteboardType::plainText},
                               {{PasteboardType::plainText, "hello"}},
                               {},
                               ClipItem::Kind::text},
                      ReadCase{
                          "textAndImage",
                          {PasteboardType::png, PasteboardType::plainText},
                          {{PasteboardType::plainText, "caption"}, {PasteboardType::png, kPng}},
                          {},
                          ClipItem::Kind::text},
                      ReadCase{"pngOnly",
                               {PasteboardType::png},
                               {{PasteboardType::png, kPng}},
                               {},
                               ClipItem::Kind::image},
                      ReadCase{"tiffOnly",
                               {PasteboardType::tiff},
                               {{PasteboardType::tiff, kTiff}},
                               {},
                               ClipItem::Kind::image},
                      ReadCase{"brokenTiff",
                               {PasteboardType::tiff},
                               {{PasteboardType::tiff, "II*\0junk"}},
                               {},
                               std::nullopt},
                      ReadCase{"filesWithNamesAsText",
                               {PasteboardType::fileURL, PasteboardType::plainText},
                               {{PasteboardType::plainText, "/tmp/a.txt"}},
                               {QUrl::fromLocalFile("/tmp/a.txt")},
                               ClipItem::Kind::files},
                      ReadCase{"blankText",
                               {PasteboardType::plainText},
                               {{PasteboardType::plainText, " \n\t"}},
                               {},
                               std::nullopt},
                      ReadCase{"emptyText",
                               {PasteboardType::plainText},
                               {{PasteboardType::plainText, ""}},
                               {},
                               std::nullopt},
                      ReadCase{"unknownTypeOnly",
                               {"application/x-thing"},
                               {{"application/x-thing", "x"}},
                               {},
                               std::nullopt}),
    [](const auto& tc) { return std::string(tc.param.name); });

TEST_F(WatcherTest, PngBytesAreStoredUnchangedEvenWhenTheyAreNoPng) {
    auto watcher = make();
    pasteboard.offer({PasteboardType::png}, {{PasteboardType::png, "not a png at all"}});
    watcher->poll();
    ASSERT_EQ(watcher->history.items.size(), 1u);
    EXPECT_EQ(watcher->history.items[0].imageData, QByteArray("not a png at all"));
}

TEST_F(WatcherTest, TiffIsStoredAsPng) {
    auto watcher = make();
    pasteboard.offer({PasteboardType::tiff}, {{PasteboardType::tiff, kTiff}});
    watcher->poll();
    ASSERT_EQ(watcher->history.items.size(), 1u);
    const QByteArray stored = watcher->history.items[0].imageData.value_or(QByteArray());
    EXPECT_TRUE(stored.startsWith("\x89PNG"));
    EXPECT_EQ(QImage::fromData(stored).size(), sampleImage().size());
}

TEST_F(WatcherTest, FilesKeepTheirOrderAndSourceApp) {
    workspace.frontmost = RunningApplication{QString("org.gnome.Nautilus"), QString("Files")};
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

TEST_F(WatcherTest, CopiesWhileAnExcludedAppIsFrontmostAreNotRecorded) {
    auto watcher = make();
    watcher->excludedApps = {"org.keepassxc.KeePassXC"};
    workspace.frontmost =
        RunningApplication{QString("org.keepassxc.KeePassXC"), QString("KeePassXC")};
    pasteboard.offer({PasteboardType::plainText}, {{PasteboardType::plainText, "secret"}});
    watcher->poll();
    EXPECT_TRUE(watcher->history.items.empty());

    workspace.frontmost =
        RunningApplication{QString("org.gnome.TextEditor"), QString("Text Editor")};
    pasteboard.offer({PasteboardType::plainText}, {{PasteboardType::plainText, "open"}});
    watcher->poll();
    ASSERT_EQ(watcher->history.items.size(), 1u);
    EXPECT_EQ(watcher->history.items[0].sourceApp, QString("Text Editor"));
}

TEST_F(WatcherTest, InitialExclusionsAreThePasswordManagers) {
    auto watcher = make();
    EXPECT_EQ(
        watcher->excludedApps,
        QStringList({"com.1password.1password", "com.agilebits.onepassword7", "com.apple.Passwords",
                     "com.apple.keychainaccess", "com.bitwarden.desktop"}));
}

TEST_F(WatcherTest, EveryRecordedChangeIsSavedThenAnnounced) {
    auto watcher = make();
    int announced = 0;
    QStringList idsOnDiskWhenAnnounced;
    watcher->onChange = [&] {
        ++announced;
        idsOnDiskWhenAnnounced = ids(onDisk());
    };
    for (const char* text : {"one", "two", "two", "three"}) {
        pasteboard.offer({PasteboardType::plainText}, {{PasteboardType::plainText, text}});
        watcher->poll();
    }
    EXPECT_EQ(announced, 3);
    EXPECT_EQ(idsOnDiskWhenAnnounced, ids(watcher->history));
    EXPECT_EQ(onDisk().items.size(), 3u);
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
    watcher->waitForBackgroundWork(); // the file is written off the main thread
    EXPECT_EQ(onDisk().items.size(), 3u);

    watcher->put(image);
    EXPECT_EQ(pasteboard.data(PasteboardType::png), kPng);
    watcher->waitForBackgroundWork(); // so is the TIFF form, offered when ready
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

TEST_F(WatcherTest, LoweringTheLimitKeepsTheNewestAndRewritesTheFile) {
    auto watcher = make();
    for (int i = 0; i < 30; ++i)
        watcher->history.add(ClipItem::makeText(QString::number(i)));
    watcher->setLimit(10);
    ASSERT_EQ(watcher->history.items.size(), 10u);
    EXPECT_EQ(watcher->history.items[0].text, QString("29"));
    EXPECT_EQ(watcher->history.items[9].text, QString("20"));
    EXPECT_EQ(onDisk().limit, 10);
    EXPECT_EQ(ids(onDisk()), ids(watcher->history));

    watcher->setLimit(0);
    EXPECT_EQ(watcher->history.limit, 1);
    EXPECT_EQ(watcher->history.items.size(), 1u);
    EXPECT_EQ(onDisk().limit, 1);
}

TEST_F(WatcherTest, RaisingTheLimitAlsoRewritesTheFileButTheSameLimitDoesNot) {
    auto watcher = make();
    watcher->setLimit(80);
    EXPECT_EQ(onDisk().limit, 80);
    QFile::remove(path);
    watcher->setLimit(80);
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(WatcherTest, AnAnnouncedChangeIsRecordedAtOnceOnceStarted) {
    auto watcher = make();
    watcher->start();
    pasteboard.offer({PasteboardType::plainText}, {{PasteboardType::plainText, "now"}});
    EXPECT_EQ(watcher->history.items.size(), 1u);
}

// The 0.4 s look finds changes nobody announced, whether it runs on the main thread's timer or
// (with a counter any thread may read) on the watcher's own thread; either way the recording
// itself happens on the main thread, and a second quiet change is found too.
TEST(WatcherPolling, FindsChangesNobodyAnnouncedOnEitherPath) {
    for (const bool shared : {false, true}) {
        SCOPED_TRACE(shared ? "shared counter" : "main-thread timer");
        QTemporaryDir dir;
        FakePasteboard pasteboard(shared);
        FakeWorkspace workspace;
        ClipboardWatcher watcher(pasteboard, workspace, dir.filePath("history.json"));
        watcher.start();
        pasteboard.offer({PasteboardType::plainText}, {{PasteboardType::plainText, "quiet"}}, {},
                         false);
        EXPECT_TRUE(watcher.history.items.empty());
        EXPECT_TRUE(test::runUntil([&] { return watcher.history.items.size() == 1; }, 3000));
        pasteboard.offer({PasteboardType::plainText}, {{PasteboardType::plainText, "again"}}, {},
                         false);
        EXPECT_TRUE(test::runUntil([&] { return watcher.history.items.size() == 2; }, 3000));
        ASSERT_EQ(watcher.history.items.size(), 2u);
        EXPECT_EQ(watcher.history.items.front().text, QStringLiteral("again"));
        // Started again: still exactly one way of polling, and no duplicate recording.
        watcher.start();
        pasteboard.offer({PasteboardType::plainText}, {{PasteboardType::plainText, "third"}}, {},
                         false);
        EXPECT_TRUE(test::runUntil([&] { return watcher.history.items.size() == 3; }, 3000));
        EXPECT_EQ(watcher.findChildren<QTimer*>().size(), shared ? 0 : 1);
    }
}

TEST_F(WatcherTest, ADestroyedWatcherIsNoLongerCalled) {
    {
        auto watcher = make();
        watcher->start();
        EXPECT_TRUE(pasteboard.hasHandler());
    }
    EXPECT_FALSE(pasteboard.hasHandler());
    pasteboard.offer({PasteboardType::plainText}, {{PasteboardType::plainText, "after"}});
}

} // namespace
} // namespace vt
