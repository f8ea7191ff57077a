// The program binary from the outside: its login item, its history file, one instance per
// session, and how it ends on a signal.
#include "tests/e2e/program_fixture.h"
#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QUrl>
#include <csignal>
#include <cstring>

using namespace vt::e2e;

namespace {

class Launch : public ProgramTest {};

TEST_F(Launch, FirstLaunchRegistersTheLoginItemOnceAndASecondLeavesARemovedOneRemoved) {
    ASSERT_FALSE(QFile::exists(autostartPath()));
    startProgram();
    // The event loop has run once a copy is recorded: the launch sequence is over.
    copyText(QStringLiteral("first launch"));
    EXPECT_TRUE(QFile::exists(autostartPath()));
    EXPECT_TRUE(configValue(QStringLiteral("loginItemDefaultApplied")).toBool());
    stopProgram();

    ASSERT_TRUE(QFile::remove(autostartPath()));
    startProgram();
    copyText(QStringLiteral("second launch"));
    stopProgram();
    EXPECT_FALSE(QFile::exists(autostartPath()));
    EXPECT_TRUE(configValue(QStringLiteral("loginItemDefaultApplied")).toBool());
}

TEST_F(Launch, CopiesAreRecordedNewestFirstButNotWhatWasOnTheClipboardAtStart) {
    copyText(QStringLiteral("before the program"));
    startProgram();
    copyText(QStringLiteral("one"));
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(image.save(&buffer, "PNG"));
    }
    copy(png, QStringLiteral("image/png"), StoredClip{QStringLiteral("image"), {}});
    const QString notes = root.filePath(QStringLiteral("notes.txt"));
    QFile(notes).open(QIODevice::WriteOnly);
    copy(QUrl::fromLocalFile(notes).toEncoded() + "\r\n", QStringLiteral("text/uri-list"),
         StoredClip{QStringLiteral("files"), notes});
    copyText(QStringLiteral("two"));

    const QList<StoredClip> expected{{QStringLiteral("text"), QStringLiteral("two")},
                                     {QStringLiteral("files"), notes},
                                     {QStringLiteral("image"), {}},
                                     {QStringLiteral("text"), QStringLiteral("one")}};
    EXPECT_EQ(history(), expected);
    // Still so on disk after the program ended.
    stopProgram();
    EXPECT_EQ(history(), expected);
}

// The program that copied quits; a short Ctrl+V still pastes what it copied.
TEST_F(Launch, TheClipboardOutlivesTheProgramThatCopied) {
    startTarget();
    startProgram();
    copyText(QStringLiteral("still here"));
    QProcess& xclip = helpers.back();
    xclip.kill();
    ASSERT_TRUE(xclip.waitForFinished(5000));
    ASSERT_TRUE(waitForLog(QStringLiteral("offered again")));
    keys({"+Control_L", "+v", "-v", "-Control_L"});
    EXPECT_TRUE(waitForText(QStringLiteral("still here")));
}

// The windows whose title holds `title`, shown on screen.
QStringList visibleWindows(const QString& title) {
    QProcess search;
    search.start(QStringLiteral("xdotool"),
                 {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                  QStringLiteral("--name"), title});
    search.waitForFinished(5000);
    return QString::fromUtf8(search.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

// The X server goes away (the session ends, or it crashes): the program ends by itself, without a
// crash, and what it recorded is in the file. Several times, since the threads race to notice.
TEST_F(Launch, EndsCleanlyWithTheHistorySavedWhenTheXServerGoesAway) {
    const QByteArray display = qgetenv("DISPLAY");
    for (int run = 0; run < 4; ++run) {
        QProcess xvfb; // a server of this test's own, ended by its process id
        xvfb.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-nolisten", "tcp"});
        ASSERT_TRUE(xvfb.waitForReadyRead(15000));
        qputenv("DISPLAY", ":" + xvfb.readAllStandardOutput().trimmed());
        startProgram();
        copyText(QStringLiteral("kept %1").arg(run));
        ::kill(static_cast<pid_t>(xvfb.processId()), SIGKILL);
        xvfb.waitForFinished(5000);
        ASSERT_TRUE(program->waitForFinished(15000));
        EXPECT_EQ(program->exitStatus(), QProcess::NormalExit) << "run " << run;
        EXPECT_EQ(program->exitCode(), 0);
        ASSERT_FALSE(history().isEmpty());
        EXPECT_EQ(history().first().value, QStringLiteral("kept %1").arg(run));
    }
    qputenv("DISPLAY", display);
}

// A second start opens the settings of the first and exits; there, excluding KeePassXC in the
// chooser stops its copies being recorded.
TEST_F(Launch, ASecondStartOpensTheSettingsWhereExcludingKeePassXCStopsItsCopies) {
    // KeePassXC as its package describes it, and a window of its class.
    ASSERT_TRUE(QDir(dataHome).mkpath(QStringLiteral("applications")));
    QFile entry(dataHome + QStringLiteral("/applications/org.keepassxc.KeePassXC.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.write("[Desktop Entry]\nType=Application\nName=KeePassXC\nExec=keepassxc %f\n"
                "StartupWMClass=keepassxc\n");
    entry.close();
    writeConfig({{QStringLiteral("excludedApps"), QStringLiteral("[]")}});
    startTarget({QStringLiteral("-name"), QStringLiteral("keepassxc")});
    startProgram();
    copyText(QStringLiteral("before")); // nothing is excluded yet

    // Settings (a second start opens them and exits) → history tab → "+" → the chooser: type,
    // Down, Return.
    const qsizetype windows = visibleProgramWindows().size();
    QProcess& second = startSecondInstance();
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardError().contains(
        "another instance is already running and shows its settings window"));
    ASSERT_TRUE(waitForMoreWindows(windows));
    xdo({"key", "--delay", "150", "ctrl+Tab", "Tab", "Tab", "Tab", "Tab", "space"});
    ASSERT_TRUE(waitForMoreWindows(windows + 1)); // the chooser
    xdo({"type", "KeePassXC"});
    xdo({"key", "--delay", "150", "Down", "Return"});
    ASSERT_TRUE(waitFor([&] {
        return configValue(QStringLiteral("excludedApps"))
            .toString()
            .contains(u"org.keepassxc.KeePassXC");
    }));

    // Back in the KeePassXC window, a copy is not recorded.
    xdo({"windowactivate", "--sync", visibleWindows(QStringLiteral("paste target")).value(0)});
    copy("secret", QStringLiteral("UTF8_STRING"), std::nullopt);
    EXPECT_TRUE(
        waitForLog(QStringLiteral("copy not recorded: org.keepassxc.KeePassXC is excluded")));
    EXPECT_EQ(history(), (QList<StoredClip>{{QStringLiteral("text"), QStringLiteral("before")}}));
}

// A signal while the picker is open: the program ends by itself, or is killed, and the keyboard
// is the user's again.
struct SignalCase {
    int signal;
    const char* style;
};

class SignalWithPickerOpen : public ProgramTest,
                             public ::testing::WithParamInterface<SignalCase> {};

TEST_P(SignalWithPickerOpen, EndsTheProgramAndLeavesTheKeyboardUsable) {
    startTarget();
    writeConfig({{QStringLiteral("pickerStyle"), QString::fromLatin1(GetParam().style)}});
    startProgram();
    copyText(QStringLiteral("alpha"));
    copyText(QStringLiteral("bravo"));
    keys({"+Control_L", "+v"});
    ASSERT_TRUE(waitForLog(QStringLiteral("showPicker(")));
    // V goes up first (the picker stays open while Ctrl is held): a V still held once the
    // program is gone would auto-repeat into the target as a stream of ordinary pastes.
    xdo({"keyup", "v"});
    ASSERT_TRUE(waitForLog(QStringLiteral("keyUp(v)")));
    EXPECT_FALSE(logged(QStringLiteral("hidePicker")));

    ::kill(static_cast<pid_t>(program->processId()), GetParam().signal);
    ASSERT_TRUE(program->waitForFinished(15000));
    if (GetParam().signal != SIGKILL) {
        EXPECT_EQ(program->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program->exitCode(), 0);
    }
    keys({"-Control_L"});
    expectTextStays(QString());
    expectTypingStillWorks();
    // The clipboard and the history file are as they were.
    EXPECT_EQ(history().size(), 2);
}

INSTANTIATE_TEST_SUITE_P(Signals, SignalWithPickerOpen,
                         ::testing::Values(SignalCase{SIGTERM, "ring"}, SignalCase{SIGINT, "fan"},
                                           SignalCase{SIGKILL, "ring"}),
                         [](const auto& param) {
                             return std::string(strsignal(param.param.signal)).substr(0, 4) +
                                    param.param.style;
                         });

} // namespace
