#include "history/clipboard_watcher.h"
#include "history/history_file.h"
#include "platform/linux/x11_pasteboard.h"
#include "platform/linux/x11_workspace.h"
#include "tests/doubles/watcher_test_support.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <csignal>
#include <unistd.h>

namespace vt {
namespace {

using test::encoded;
using test::ids;
using test::runUntil;
using test::sampleImage;
using test::settle;

class X11ClipboardTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath("history.json");
    std::unique_ptr<X11Pasteboard> pasteboard;
    std::unique_ptr<X11Workspace> workspace;
    std::unique_ptr<ClipboardWatcher> watcher;
    std::vector<std::unique_ptr<QProcess>> processes;
    Display* dpy = nullptr;
    std::vector<Window> windows;

    void SetUp() override {
        dpy = XOpenDisplay(nullptr);
        ASSERT_NE(dpy, nullptr);
        startWatcher();
    }

    void TearDown() override {
        watcher.reset();
        for (auto& p : processes) {
            if (p->state() != QProcess::NotRunning)
                ::kill(static_cast<pid_t>(p->processId()), SIGTERM);
            p->waitForFinished(3000);
        }
        for (Window w : windows)
            XDestroyWindow(dpy, w);
        XDeleteProperty(dpy, DefaultRootWindow(dpy), XInternAtom(dpy, "_NET_ACTIVE_WINDOW", False));
        XCloseDisplay(dpy);
    }

    void startWatcher() {
        watcher.reset();
        pasteboard = std::make_unique<X11Pasteboard>();
        ASSERT_TRUE(pasteboard->isValid());
        workspace = std::make_unique<X11Workspace>();
        workspace->setDataDirs({dir.path()});
        watcher = std::make_unique<ClipboardWatcher>(*pasteboard, *workspace, path);
        watcher->start();
    }

    QString writeFile(const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return f.fileName();
    }

    QProcess* launch(const QString& program, const QStringList& args) {
        processes.push_back(std::make_unique<QProcess>());
        QProcess* p = processes.back().get();
        p->start(program, args);
        EXPECT_TRUE(p->waitForStarted(5000));
        return p;
    }

    // Copies with xclip and waits until the clipboard has read the change.
    void xclip(const QString& type, const QByteArray& bytes, int waitMs = 5000) {
        const auto before = pasteboard->changeCount();
        launch("xclip", {"-quiet", "-selection", "clipboard", "-t", type, "-i",
                         writeFile("in-" + QString::number(processes.size()), bytes)});
        ASSERT_TRUE(runUntil([&] { return pasteboard->changeCount() != before; }, waitMs));
    }

    // Copies with the test owner (several targets at once).
    QProcess* offer(const QList<QPair<QString, QByteArray>>& targets, const QStringList& flags = {},
                    bool waitForRead = true) {
        const auto before = pasteboard->changeCount();
        QStringList args = flags;
        for (const auto& [target, bytes] : targets)
            args << target + "=" +
                        writeFile("offer-" + QString::number(processes.size()) + "-" +
                                      QString::number(args.size()),
                                  bytes);
        QProcess* p = launch(VT_TEST_CLIP_OWNER, args);
        EXPECT_TRUE(runUntil([&] { return p->canReadLine(); }));
        if (waitForRead) {
            EXPECT_TRUE(runUntil([&] { return pasteboard->changeCount() != before; }));
        }
        return p;
    }

    QByteArray readBack(const QString& type) {
        QProcess* p = launch("xclip", {"-selection", "clipboard", "-o", "-t", type});
        // Our own event loop answers xclip's request, so it must keep running
        // meanwhile.
        EXPECT_TRUE(runUntil([&] { return p->state() == QProcess::NotRunning; }));
        return p->readAllStandardOutput();
    }

    void expectFileFollows() {
        ASSERT_TRUE(watcher->waitForSaves());
        EXPECT_EQ(ids(HistoryFile::load(path)), ids(watcher->history));
    }

    Window appWindow(const char* instance, const char* cls, const char* gtkId = nullptr) {
        const Window w = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 10, 10, 50, 50, 0, 0, 0);
        windows.push_back(w);
        XClassHint hint{const_cast<char*>(instance), const_cast<char*>(cls)};
        XSetClassHint(dpy, w, &hint);
        if (gtkId)
            XChangeProperty(dpy, w, XInternAtom(dpy, "_GTK_APPLICATION_ID", False),
                            XInternAtom(dpy, "UTF8_STRING", False), 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(gtkId),
                            static_cast<int>(std::strlen(gtkId)));
        XSync(dpy, False);
        return w;
    }

    void makeActive(Window w) {
        const long value = static_cast<long>(w);
        XChangeProperty(dpy, DefaultRootWindow(dpy), XInternAtom(dpy, "_NET_ACTIVE_WINDOW", False),
                        XA_WINDOW, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&value), 1);
        XSync(dpy, False);
    }
};

// What is on the clipboard at the start is not recorded; later copies are, and saved. A file
// manager's copy is files.
TEST_F(X11ClipboardTest, CopiesAfterTheStartAreRecordedAndSaved) {
    watcher.reset();
    xclip("UTF8_STRING", "left over");
    startWatcher();
    settle(600);
    EXPECT_TRUE(watcher->history.items.empty());
    xclip("UTF8_STRING", QString::fromUtf8("二つ目").toUtf8());
    ASSERT_EQ(watcher->history.items.size(), 1u);
    EXPECT_EQ(watcher->history.items[0].text, QString::fromUtf8("二つ目"));
    expectFileFollows();
    offer({{"x-special/gnome-copied-files", "copy\nfile:///tmp/a%20b.txt\nfile:///tmp/c"},
           {"text/uri-list", "file:///tmp/a%20b.txt\r\nfile:///tmp/c\r\n"},
           {"UTF8_STRING", "/tmp/a b.txt\n/tmp/c"}});
    ASSERT_EQ(watcher->history.items.size(), 2u);
    EXPECT_EQ(watcher->history.items[0].filePaths, QStringList({"/tmp/a b.txt", "/tmp/c"}));
}

// Offering the password-manager hint conceals a copy unless its value is read
// and is plainly not "secret"; text answered under a type that is no text is
// not text.
TEST_F(X11ClipboardTest, SecretsFailClosed) {
    const QString hint = "x-kde-passwordManagerHint";
    struct Case {
        QList<QPair<QString, QByteArray>> offers;
        QStringList refused;
        bool concealed;
        std::optional<QString> recorded;
    };
    const QList<Case> cases = {
        {{{"UTF8_STRING", "p1"}, {hint, "secret"}}, {}, true, {}},
        {{{"UTF8_STRING", "p2"}, {hint, QByteArray("secret\0", 7)}}, {}, true, {}},
        {{{"UTF8_STRING", "p3"}, {hint, " Secret\n"}}, {}, true, {}},
        {{{"UTF8_STRING", "p4"}, {hint, ""}}, {}, true, {}},
        {{{"UTF8_STRING", "p5"}}, {hint}, true, {}},
        {{{"UTF8_STRING:INTEGER", "p6"}}, {}, false, {}},
        {{{"UTF8_STRING", "shown"}, {hint, "public"}}, {}, false, QString("shown")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offers.front().second.constData());
        const auto before = watcher->history.items.size();
        QStringList flags;
        for (const QString& r : c.refused)
            flags << r + "!";
        offer(c.offers, flags);
        watcher->poll();
        EXPECT_EQ(pasteboard->types().contains(PasteboardType::concealed), c.concealed);
        if (c.recorded) {
            ASSERT_EQ(watcher->history.items.size(), before + 1);
            EXPECT_EQ(watcher->history.items[0].text, c.recorded);
        } else {
            EXPECT_EQ(watcher->history.items.size(), before);
            EXPECT_FALSE(pasteboard->string(PasteboardType::plainText).has_value());
        }
    }
    ASSERT_TRUE(watcher->waitForSaves());
    EXPECT_EQ(HistoryFile::load(path).items.size(), 1u);
}

// When the program that copied quits, the newest clip stays on the clipboard
// with its types, also through the clipboard-manager convention; never after a
// concealed copy or a clear on purpose.
TEST_F(X11ClipboardTest, TheClipboardOutlivesItsOwner) {
    const Atom clipboard = XInternAtom(dpy, "CLIPBOARD", False);
    const auto quit = [&](QProcess* p) {
        ::kill(static_cast<pid_t>(p->processId()), SIGTERM);
        EXPECT_TRUE(runUntil([&] { return p->state() == QProcess::NotRunning; }));
    };
    EXPECT_NE(XGetSelectionOwner(dpy, XInternAtom(dpy, "CLIPBOARD_MANAGER", False)), None);
    const QByteArray png = encoded(sampleImage(), "png");
    quit(offer({{"image/png", png}}));
    EXPECT_EQ(readBack("image/png"), png);
    QProcess* saver = offer({{"text/uri-list", "file:///tmp/kept\r\n"}}, {"--save"});
    quit(saver);
    EXPECT_EQ(saver->readAll(), QByteArray("owned\nsaved\n"));
    EXPECT_EQ(readBack("text/uri-list"), QByteArray("file:///tmp/kept\r\n"));
    EXPECT_EQ(watcher->history.items.size(), 2u);

    saver = offer({{"UTF8_STRING", "pw"}, {"x-kde-passwordManagerHint", "secret"}}, {"--save"});
    quit(saver);
    EXPECT_EQ(saver->readAll(), QByteArray("owned\nrefused\n"));
    quit(offer({{"UTF8_STRING", "pw"}, {"x-kde-passwordManagerHint", "secret"}}));
    settle(300);
    EXPECT_EQ(XGetSelectionOwner(dpy, clipboard), None);

    QProcess* owner = offer({{"UTF8_STRING", "cleared"}});
    XSetSelectionOwner(dpy, clipboard, None, CurrentTime);
    XSync(dpy, False);
    EXPECT_TRUE(runUntil([&] { return owner->state() == QProcess::NotRunning; }));
    settle(300);
    EXPECT_EQ(XGetSelectionOwner(dpy, clipboard), None);
    EXPECT_EQ(watcher->history.items.size(), 3u);
}

TEST_F(X11ClipboardTest, FrontmostIsKnownByItsDesktopEntryClassAndProgram) {
    QDir(dir.path()).mkpath("applications");
    writeFile("applications/org.keepassxc.KeePassXC.desktop",
              "[Desktop Entry]\nType=Application\nName=KeePassXC\n"
              "Exec=keepassxc %f\nStartupWMClass=keepassxc\n");
    writeFile("applications/enpass.desktop",
              "[Desktop "
              "Entry]\nType=Application\nName=Enpass\nExec=\"/opt/enpass/"
              "Enpass\" %U\n");
    workspace->setDataDirs({dir.path()});
    const Window own = appWindow("helper", "Helper");
    const long pid = static_cast<long>(getpid());
    XChangeProperty(dpy, own, XInternAtom(dpy, "_NET_WM_PID", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
    struct Case {
        Window window;
        QString id, name, alsoKnownAs;
    };
    for (const Case& c : {Case{appWindow("keepassxc", "KeePassXC"), "org.keepassxc.KeePassXC",
                               "KeePassXC", "keepassxc"},
                          Case{appWindow("enpass-bin", "Enpass"), "enpass", "Enpass", "enpass-bin"},
                          Case{appWindow("bitwarden", "Bitwarden", "com.bitwarden.desktop"),
                               "com.bitwarden.desktop", "Bitwarden", "com.bitwarden.desktop"},
                          Case{own, "Helper", "Helper", "watcher_x11_test"}}) {
        makeActive(c.window);
        const auto app = workspace->frontmostApplication();
        ASSERT_TRUE(app.has_value());
        EXPECT_EQ(app->bundleIdentifier, c.id);
        EXPECT_EQ(app->localizedName, c.name);
        EXPECT_TRUE(app->answersTo({c.alsoKnownAs.toUpper()}))
            << app->names.join(' ').toStdString();
    }
}

TEST_F(X11ClipboardTest, PutIsReadableByOthersAndNotRecordedAgain) {
    // Text: every end-to-end paste. Images and files:
    const QByteArray png = encoded(sampleImage(), "png");
    watcher->put(ClipItem::makeImage(png));
    QCoreApplication::processEvents(); // the TIFF form joins when ready
    EXPECT_EQ(readBack("image/png"), png);
    EXPECT_EQ(QImage::fromData(readBack("image/tiff"), "TIFF").size(), sampleImage().size());

    watcher->put(ClipItem::makeFiles({"/tmp/one file", "/tmp/two"}));
    EXPECT_EQ(readBack("text/uri-list"),
              QByteArray("file:///tmp/one%20file\r\nfile:///tmp/two\r\n"));

    settle(900);
    ASSERT_EQ(watcher->history.items.size(), 2u);
    EXPECT_EQ(watcher->history.items[0].kind, ClipItem::Kind::files);
    expectFileFollows();

    // Copying again from elsewhere is still seen after our own writes.
    xclip("UTF8_STRING", "after put");
    EXPECT_EQ(watcher->history.items.size(), 3u);
}

TEST_F(X11ClipboardTest, AnOwnerThatNeverAnswersIsSkippedWithoutBlocking) {
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(50);

    const auto before = pasteboard->changeCount();
    offer({{"UTF8_STRING", "never sent"}}, {"--silent"}, false);
    settle(1500);
    EXPECT_EQ(pasteboard->changeCount(), before);

    offer({{"UTF8_STRING", "never sent either"}}, {"--silent-data"});
    EXPECT_TRUE(pasteboard->types().contains(PasteboardType::plainText));
    EXPECT_FALSE(pasteboard->string(PasteboardType::plainText).has_value());
    EXPECT_TRUE(watcher->history.items.empty());
    // The event loop kept turning while the owners stayed silent.
    EXPECT_GT(ticks, 10);

    xclip("UTF8_STRING", "answered");
    ASSERT_EQ(watcher->history.items.size(), 1u);
    EXPECT_EQ(watcher->history.items[0].text, QString("answered"));
}

} // namespace
} // namespace vt
