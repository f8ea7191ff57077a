// The program binary from the outside: one instance per session, and how it ends when its X
// server goes away or on a signal. (Recording, the login item and excluded applications are
// tested on the platform parts under a real X server, their wiring on the delegate.)
#include "tests/e2e/program_fixture.h"
#include <csignal>
#include <cstring>

using namespace vt::e2e;

namespace {

using Launch = ProgramTest;

TEST_F(Launch, ASecondStartOpensTheSettingsOfTheFirstAndExits) {
    startProgram();
    const qsizetype windows = visibleProgramWindows().size();
    QProcess& second = helpers.emplace_back();
    second.setProcessEnvironment(environment());
    second.start(binaryDir() + QStringLiteral("/vantrel"), {});
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardError().contains(
        "another instance is already running and shows its settings window"));
    // The settings window opens.
    EXPECT_TRUE(waitFor([&] { return visibleProgramWindows().size() > windows; }));
    copyText(QStringLiteral("after the second start"));
    EXPECT_EQ(history().size(), 1);
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
                             return std::string(sigabbrev_np(param.param.signal)) +
                                    param.param.style;
                         });

} // namespace
