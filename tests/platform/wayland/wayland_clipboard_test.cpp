// The Wayland clipboard and frontmost application, driven through the clipboard watcher under a
// private headless Sway (scripts/with-sway): copies made with wl-copy or a test owner are
// recorded or skipped as on X11, our writes read back with wl-paste.
#include "history/clipboard_watcher.h"
#include "platform/wayland/wayland_pasteboard.h"
#include "platform/wayland/wayland_platform.h"
#include "platform/wayland/wayland_workspace.h"
#include "tests/doubles/watcher_test_support.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>

namespace vt {
namespace {

using test::runUntil;

QByteArray encoded(const char* format, QColor color = QColor(30, 140, 220)) {
    return test::encoded(test::sampleImage(9, 4, color), format);
}

class WaylandClipboardTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    WaylandPasteboard pasteboard;
    WaylandWorkspace workspace;
    ClipboardWatcher watcher{pasteboard, workspace, dir.filePath("history.json")};
    std::vector<std::unique_ptr<QProcess>> processes;

    void SetUp() override {
        ASSERT_TRUE(pasteboard.isValid()) << "no data-control protocol under $WAYLAND_DISPLAY";
        pasteboard.setReadTimeout(300);
        workspace.setDataDirs({dir.path()});
        watcher.start();
    }
    void TearDown() override {
        for (auto& p : processes) {
            if (p->state() != QProcess::NotRunning)
                ::kill(static_cast<pid_t>(p->processId()), SIGTERM);
            p->waitForFinished(3000);
        }
    }

    QProcess* launch(const QString& program, const QStringList& args, const QByteArray& in = {}) {
        processes.push_back(std::make_unique<QProcess>());
        QProcess* p = processes.back().get();
        p->start(program, args);
        EXPECT_TRUE(p->waitForStarted(5000));
        p->write(in);
        p->closeWriteChannel();
        return p;
    }
    QString file(const QByteArray& bytes) {
        QFile f(dir.filePath("offer-" + QString::number(processes.size()) + "-" +
                             QString::number(qHash(bytes))));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return f.fileName();
    }
    // Copies with wl-copy (one type) or the test owner (several, "--silent..." flags pass
    // through) and waits until the pasteboard has taken the change in.
    void copy(const QList<QPair<QByteArray, QByteArray>>& offers) {
        const auto before = pasteboard.changeCount();
        if (offers.size() == 1 && !offers[0].first.startsWith("--")) {
            launch("wl-copy", {"--type", offers[0].first}, offers[0].second);
        } else {
            QStringList args;
            for (const auto& [mime, bytes] : offers)
                args << (mime.startsWith("--") ? QString(mime) : mime + "=" + file(bytes));
            launch(VT_TEST_WL_OWNER, args);
        }
        ASSERT_TRUE(runUntil([&] { return pasteboard.changeCount() != before; }));
        QCoreApplication::processEvents();
    }
    QByteArray paste(const QString& type) {
        QProcess* p = launch("wl-paste", {"--no-newline", "--type", type});
        EXPECT_TRUE(p->waitForFinished(5000));
        return p->readAllStandardOutput();
    }
    QProcess* window(const QString& appId) {
        QProcess* p = launch("foot", {"--app-id=" + appId, "sleep", "60"});
        EXPECT_TRUE(runUntil([&] { return workspace.frontmostApplication().has_value(); }));
        return p;
    }
};

TEST_F(WaylandClipboardTest, CopiesAreRecordedAsOnX11) {
    const QByteArray png = encoded("png");
    struct Row {
        QList<QPair<QByteArray, QByteArray>> offers;
        ClipItem::Kind kind;
        QString text;
        QStringList files;
    };
    const QString text = QString::fromUtf8("二つ目 hello");
    // clang-format off
    const Row rows[] = {
        {{{"text/plain;charset=utf-8", text.toUtf8()}}, ClipItem::Kind::text, text, {}},
        {{{"image/png", png}, {"UTF8_STRING", "caption"}}, ClipItem::Kind::text, "caption", {}},
        {{{"text/uri-list", "file:///tmp/a%20b.txt\r\nfile:///tmp/c\r\n"}}, ClipItem::Kind::files, {}, {"/tmp/a b.txt", "/tmp/c"}},
        {{{"image/png", png}}, ClipItem::Kind::image, {}, {}},
        {{{"image/tiff", encoded("tiff", Qt::darkGreen)}}, ClipItem::Kind::image, {}, {}},
    };
    // clang-format on
    std::size_t n = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.offers[0].first.constData());
        copy(row.offers);
        // A TIFF-only copy is turned into PNG off the main thread and recorded when done.
        ASSERT_TRUE(runUntil([&] { return watcher.history.items.size() == n + 1; }));
        ++n;
        const ClipItem& item = watcher.history.items[0];
        EXPECT_EQ(item.kind, row.kind);
        EXPECT_EQ(item.text.value_or(""), row.text);
        EXPECT_EQ(item.filePaths.value_or(QStringList()), row.files);
        EXPECT_EQ(QImage::fromData(item.imageData.value_or(""), "PNG").size(),
                  row.kind == ClipItem::Kind::image ? QSize(9, 4) : QSize(0, 0));
    }
    EXPECT_EQ(watcher.history.items[1].imageData, png); // stored byte for byte
}

TEST_F(WaylandClipboardTest, HintedSecretsAreNeverRecordedAndTheHintFailsClosed) {
    const struct {
        QByteArray hint;
        QByteArray flag;
        bool recorded;
    } rows[] = {{"secret", "", false},
                {"secret", "--silent=x-kde-passwordManagerHint", false},
                {"", "", false},
                {"public", "", true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.hint.constData());
        QList<QPair<QByteArray, QByteArray>> offers = {{"UTF8_STRING", "hunter2"},
                                                       {"x-kde-passwordManagerHint", row.hint}};
        if (!row.flag.isEmpty()) offers.append({row.flag, {}});
        watcher.history.items.clear();
        copy(offers);
        EXPECT_EQ(pasteboard.types().contains(PasteboardType::concealed), !row.recorded);
        EXPECT_EQ(pasteboard.string(PasteboardType::plainText).has_value(), row.recorded);
        EXPECT_EQ(watcher.history.items.size(), row.recorded ? 1u : 0u);
    }
}

TEST_F(WaylandClipboardTest, ASilentOwnerIsSkippedAndWhatFollowsIsSeen) {
    copy({{"UTF8_STRING", "never sent"}, {"--silent", {}}});
    EXPECT_TRUE(pasteboard.types().contains(PasteboardType::plainText));
    EXPECT_TRUE(watcher.history.items.empty());
    copy({{"text/plain", "answered"}});
    ASSERT_EQ(watcher.history.items.size(), 1u);
    EXPECT_EQ(watcher.history.items[0].text, QString("answered"));
}

TEST_F(WaylandClipboardTest, PutIsReadableByOthersAndNotRecordedAgain) {
    watcher.put(ClipItem::makeText(QString::fromUtf8("zurück")));
    EXPECT_EQ(QString::fromUtf8(paste("text/plain")), QString::fromUtf8("zurück"));
    const QByteArray png = encoded("png");
    watcher.put(ClipItem::makeImage(png));
    EXPECT_EQ(paste("image/png"), png);
    EXPECT_EQ(QImage::fromData(paste("image/tiff"), "TIFF").size(), QSize(9, 4));
    // The forms of files are the clipboard types' own (clipboard_mime_test).
    // Our own selection coming back from the compositor is not a change.
    const auto afterPut = pasteboard.changeCount();
    test::settle(500);
    EXPECT_EQ(pasteboard.changeCount(), afterPut);
    EXPECT_EQ(watcher.history.items.size(), 2u);
    copy({{"text/plain", "after put"}});
    EXPECT_EQ(watcher.history.items.size(), 3u);
}

TEST_F(WaylandClipboardTest, TheFocusedWindowsAppIdNamesTheSourceAndExcludes) {
    // Sway tells; KWin keeps it to its own protocol.
    if (qEnvironmentVariableIsEmpty("SWAYSOCK") && !workspace.knowsFrontmost())
        GTEST_SKIP() << "this compositor does not say which window is active";
    ASSERT_TRUE(workspace.knowsFrontmost());
    QDir(dir.path()).mkpath("applications");
    QFile entry(dir.filePath("applications/vt.test.Notes.desktop"));
    entry.open(QIODevice::WriteOnly);
    entry.write("[Desktop Entry]\nType=Application\nName=Notizen\n");
    entry.close();
    window("vt.test.Notes");
    EXPECT_EQ(workspace.frontmostApplication().value_or(RunningApplication{}).names,
              QStringList{"vt.test.Notes"});
    copy({{"text/plain", "public note"}});
    ASSERT_EQ(watcher.history.items.size(), 1u);
    EXPECT_EQ(watcher.history.items[0].sourceApp, QString("Notizen"));

    watcher.excludedApps = {"vt.test.Vault"};
    window("vt.test.Vault");
    ASSERT_TRUE(runUntil([&] {
        const auto app = workspace.frontmostApplication();
        return app && app->bundleIdentifier == QString("vt.test.Vault");
    }));
    copy({{"text/plain", "vault entry"}});
    EXPECT_EQ(watcher.history.items.size(), 1u);
}

TEST(WaylandPlatform, SaysWhatThisSessionOffers) {
    const PlatformServices services = makeWaylandPlatform();
    EXPECT_TRUE(services.recordsClipboard);
    EXPECT_EQ(services.knowsFrontmostApplication, !qEnvironmentVariableIsEmpty("SWAYSOCK"));
    // Hold-to-paste waits for the user's binding: the virtual keyboard is there (Sway), and
    // the first word handed over makes the session ready.
    EXPECT_TRUE(services.holdToPaste);
    const bool sway = !qEnvironmentVariableIsEmpty("SWAYSOCK");
    EXPECT_EQ(services.trust->problem(),
              sway ? TrustProblem::waylandNotYet : TrustProblem::waylandCannotType);
    EXPECT_FALSE(services.relayWord("activate\n"));
    EXPECT_TRUE(services.relayWord("hold release\n"));
    EXPECT_TRUE(services.trust->isTrusted());
    EXPECT_TRUE(makeWaylandPlatform().trust->isTrusted()) << "heard in an earlier session";
}

} // namespace
} // namespace vt

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
