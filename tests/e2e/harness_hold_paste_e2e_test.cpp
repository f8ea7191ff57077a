// Hold-to-paste through a harness (the real tap, controller and pickers, without the rest of the
// program) for what the program binary cannot be made to do from outside: report the fan's
// tilt, start with an empty history, run on a scaled screen, or stall its main thread. Everything
// else about hold-to-paste is tested against the binary (hold_paste_e2e_test.cpp).
#include "picker/fan/fan_geometry.h"
#include "picker/ring/ring_geometry.h"
#include "tests/e2e/program_fixture.h"
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QRegularExpression>
#include <cmath>
#include <csignal>

using namespace vt;
using namespace vt::e2e;

namespace {

const QStringList kClips{"alpha", "bravo", "charlie", "delta", "echo"};

QString binary(const char* name) {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(name);
}

// The paste target and xdotool come from the program's fixture; the harness stands in for the
// program and says on stdout what the pickers did.
class HoldPasteE2E : public ProgramTest {
protected:
    QProcess harness;
    QStringList lines;
    qsizetype seen = 0;

    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(startTarget());
    }
    void TearDown() override {
        if (harness.state() != QProcess::NotRunning) {
            harness.kill(); // by its own process id
            harness.waitForFinished(5000);
        }
        ProgramTest::TearDown();
    }

    // `scale` is QT_SCALE_FACTOR, or QT_SCREEN_SCALE_FACTORS when it names screens.
    bool startHarness(const QStringList& args, const QString& scale = {}) {
        if (!scale.isEmpty()) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(scale.contains('=') ? QStringLiteral("QT_SCREEN_SCALE_FACTORS")
                                           : QStringLiteral("QT_SCALE_FACTOR"),
                       scale);
            harness.setProcessEnvironment(env);
        }
        harness.start(binary("test_hold_paste_harness"), args);
        return harness.waitForStarted() && !waitForLine("ready").isEmpty();
    }
    void readHarness() {
        harness.waitForReadyRead(20);
        while (harness.canReadLine())
            lines << QString::fromUtf8(harness.readLine()).trimmed();
    }
    // Waits for the next harness line starting with prefix; returns it (empty on timeout).
    QString waitForLine(const QString& prefix, int ms = 10000) {
        QDeadlineTimer deadline(ms);
        for (bool last = false;;
             last = deadline.hasExpired() || harness.state() == QProcess::NotRunning) {
            readHarness();
            for (; seen < lines.size(); ++seen)
                if (lines[seen].startsWith(prefix)) return lines[seen++];
            if (last) break;
        }
        ADD_FAILURE() << "no \"" << prefix.toStdString() << "\" from the harness; saw: "
                      << lines.join(QStringLiteral(" | ")).toStdString();
        return {};
    }
    // Ctrl+V held until the picker is open.
    void holdOpen() {
        keys({"+Control_L", "+v"});
        shown = waitForLine(QStringLiteral("shown"));
        ASSERT_FALSE(shown.isEmpty());
    }
    // Where the last picker opened ("shown N S at X,Y"), in points from the primary's top-left.
    QPointF shownAt() const {
        const QStringList xy = shown.section(QLatin1Char(' '), -1).split(QLatin1Char(','));
        return {xy.value(0).toDouble(), xy.value(1).toDouble()};
    }
    QString shown;
    void releaseAll() { keys({"-v", "-Control_L"}); }
};

QStringList args(const char* picker) {
    return {"--picker", picker, "--clips", kClips.join(';')};
}

class BothStyles : public HoldPasteE2E, public ::testing::WithParamInterface<const char*> {};

TEST_P(BothStyles, EmptyHistoryHeldThroughAutoRepeatPastesRepeatedly) {
    ASSERT_TRUE(startHarness({"--picker", GetParam(), "--clipboard", "ab"}));
    keys({"+Control_L", "+v"});
    QThread::msleep(1500); // beyond the server's auto-repeat delay
    releaseAll();
    QThread::msleep(300);
    const QString pasted = text();
    EXPECT_GE(pasted.size(), 6) << pasted.toStdString(); // the press and at least two repeats
    EXPECT_EQ(pasted, QString(QStringLiteral("ab")).repeated(static_cast<int>(pasted.size() / 2)));
    readHarness();
    EXPECT_FALSE(lines.join(' ').contains(QStringLiteral("shown")));
    expectTypingStillWorks();
}

INSTANTIATE_TEST_SUITE_P(Pickers, BothStyles, ::testing::Values("ring", "fan"));

// Scaled screens (QT_SCALE_FACTOR, as Xft.dpi 192 gives): the pointer and the picker agree.
// xdotool moves in X pixels, `scale` of them to the point.
class Scales : public HoldPasteE2E, public ::testing::WithParamInterface<double> {};

TEST_P(Scales, HoldAndPointerDirectionOnTheRing) {
    ASSERT_TRUE(startHarness(args("ring"), QString::number(GetParam())));
    holdOpen();
    const double a = RingGeometry::wedgeCenterAngle(3, kClips.size());
    const double r = 130 * GetParam();
    xdo({"mousemove", QString::number(std::lround(kPointerX + r * std::sin(a))),
         QString::number(std::lround(kPointerY - r * std::cos(a)))});
    EXPECT_EQ(waitForLine("select"), "select 3");
    releaseAll();
    EXPECT_EQ(waitForLine("commit"), "commit delta");
    waitForText(QStringLiteral("delta"));
}

TEST_P(Scales, HoldAndWheelOverTheFanMovesTheChoiceUnderTheStillPointer) {
    QStringList clips;
    for (int i = 0; i < 20; ++i)
        clips << QStringLiteral("clip%1").arg(i, 2, 10, QLatin1Char('0'));
    ASSERT_TRUE(
        startHarness({"--picker", "fan", "--clips", clips.join(';')}, QString::number(GetParam())));
    holdOpen();
    // The fan tilts (and would flip) to fit the screen: aim with the angle it chose.
    const QStringList fan = waitForLine("fan ").split(' ');
    ASSERT_EQ(fan.size(), 3);
    FanGeometry g;
    g.count = 20;
    g.visibleSlots = 12;
    g.centerAngle = fan[1].toDouble();
    const double side = fan[2] == "flipped" ? -1 : 1;
    const double a = g.rowAngle(4, 0);
    const double r = (g.inner() + g.rowEnd()) / 2 * GetParam();
    // Near an edge the fan's origin moves off the pointer to keep every row on screen.
    const QPointF origin = shownAt() * GetParam();
    xdo({"mousemove", QString::number(std::lround(origin.x() + side * r * std::cos(a))),
         QString::number(std::lround(origin.y() + r * std::sin(a)))});
    EXPECT_EQ(waitForLine("select"), "select 4");
    xdo({"click", "5"}); // towards the user: the fan moves on by a row
    EXPECT_EQ(waitForLine("scrolled"), "scrolled");
    EXPECT_EQ(waitForLine("select"), "select 5");
    releaseAll();
    EXPECT_EQ(waitForLine("commit"), "commit clip05");
    waitForText(QStringLiteral("clip05"));
    expectTypingStillWorks();
}

INSTANTIATE_TEST_SUITE_P(HiDpi, Scales, ::testing::Values(2.0, 1.5));

// Two screens side by side, the left at scale 2 and the right at 1: on either the ring opens
// under the pointer and follows it.
TEST_F(HoldPasteE2E, TwoScreensOfDifferentScale) {
    auto xrandr = [](const QStringList& a) { return QProcess::execute("xrandr", a) == 0; };
    ASSERT_TRUE(xrandr({"--setmonitor", "LEFT", "1600/423x1080/286+0+0", "screen"}));
    ASSERT_TRUE(xrandr({"--setmonitor", "RIGHT", "1600/423x1080/286+1600+0", "none"}));
    ASSERT_TRUE(startHarness(args("ring"), QStringLiteral("LEFT=2;RIGHT=1")));
    const double a = RingGeometry::wedgeCenterAngle(3, kClips.size());
    for (const auto& [x, scale] : {std::pair{800, 2.0}, std::pair{2400, 1.0}}) {
        xdo({"mousemove", QString::number(x), "540"});
        holdOpen();
        EXPECT_EQ(shownAt(), QPointF(x < 1600 ? x / scale : x, 540 / scale));
        const double r = 130 * scale;
        xdo({"mousemove", QString::number(std::lround(x + r * std::sin(a))),
             QString::number(std::lround(540 - r * std::cos(a)))});
        EXPECT_EQ(waitForLine("select"), "select 3");
        releaseAll();
        EXPECT_EQ(waitForLine("commit"), "commit delta");
    }
    waitForText(QStringLiteral("deltadelta"));
    xrandr({"--delmonitor", "LEFT"});
    xrandr({"--delmonitor", "RIGHT"});
}

// A user holding Ctrl: two short presses paste twice and Ctrl+A still selects all; after a
// digit pick V pastes again; a Shift held while picking does not turn the paste into
// Ctrl+Shift+V; V let go after Ctrl types no stray "v" (its repeats included).
TEST_F(HoldPasteE2E, KeysTheUserStillHoldsStayTheirs) {
    ASSERT_TRUE(startHarness({"--clips", kClips.join(';')}));
    keys({"+Control_L", "+v", "-v", "~100", "+v", "-v"});
    waitForText("alphaalpha");
    keys({"~100", "+a", "-a", "-Control_L"});
    xdo({"type", "x"}); // replaces the selected text
    waitForText("x");

    holdOpen();
    keys({"-v", "+3", "-3"});
    waitForText("xcharlie");
    keys({"~100", "+v", "-v", "-Control_L"});
    waitForText("xcharliecharlie");

    holdOpen();
    keys({"+Shift_L", "+2", "-2", "-Shift_L"});
    waitForText("xcharliecharliebravo");
    keys({"-v", "-Control_L"});

    // V repeating fast (as a real keyboard's does past its delay) while Ctrl goes up first.
    QProcess::execute(QStringLiteral("xset"), {"r", "rate", "300", "100"});
    holdOpen();
    keys({"~400", "-Control_L", "~300", "-v"});
    QProcess::execute(QStringLiteral("xset"), {"r", "rate", "660", "25"});
    waitForText("xcharliecharliebravoalpha");
    expectTextStays("xcharliecharliebravoalpha");
    expectTypingStillWorks();
}

// Keys typed the moment Ctrl goes up land after the paste that release chose.
TEST_F(HoldPasteE2E, KeysTypedRightAfterTheReleaseComeAfterThePaste) {
    ASSERT_TRUE(startHarness({"--clips", kClips.join(';')}));
    holdOpen();
    keys({"-v", "+Down", "-Down", "-Control_L", "+o", "-o", "+k", "-k"});
    waitForText("bravook");
    expectTextStays("bravook");
}

// A stopped or stalled program never leaves the keyboard dead, and the Ctrl+V it swallowed
// still pastes once it answers again.
TEST_F(HoldPasteE2E, AStoppedProgramLeavesTheKeyboardToTheUser) {
    ASSERT_TRUE(startHarness({"--clips", kClips.join(';')}));
    const auto pid = static_cast<pid_t>(harness.processId());
    ::kill(pid, SIGSTOP);
    keys({"+Control_L", "+v", "-v", "-Control_L"});
    xdo({"type", "ok"});
    waitForText("ok", 2000);
    ::kill(pid, SIGCONT);
    waitForText("okalpha");
    expectTypingStillWorks();
}

TEST_P(BothStyles, AStalledMainThreadLeavesTheKeyboardToTheUser) {
    ASSERT_TRUE(startHarness(args(GetParam())));
    // Stalled while Ctrl+V waits for the hold timer: the release and the typing go on.
    keys({"+Control_L", "+v"});
    harness.write("stall 2500\n");
    ASSERT_FALSE(waitForLine("stalling").isEmpty());
    keys({"-v", "-Control_L"});
    xdo({"type", "ok"});
    waitForText("ok", 2000);
    waitForText("okalpha"); // pasted once the program answers
    // Stalled with the picker open (V let go, Ctrl held): the keyboard comes back without a key
    // pressed.
    holdOpen();
    keys({"-v"});
    harness.write("stall 2500\n");
    ASSERT_FALSE(waitForLine("stalling").isEmpty());
    QThread::msleep(600);
    releaseAll();
    xdo({"type", "x"});
    waitForText("okalphax", 1000);
    expectTextStays("okalphax");
    ASSERT_FALSE(waitForLine("answering").isEmpty());
    // And with V still held: its repeats reach the application as pastes (from a clipboard
    // another program serves, since a stalled one keeps every paste of its clip waiting).
    QProcess xclip;
    xclip.start(QStringLiteral("sh"),
                {"-c", "printf Q | exec xclip -quiet -selection clipboard -loops 100"});
    ASSERT_TRUE(xclip.waitForStarted());
    for (QDeadlineTimer owned(3000); !owned.hasExpired(); QThread::msleep(20)) {
        QProcess out;
        out.start(QStringLiteral("xclip"), {"-o", "-selection", "clipboard"});
        if (out.waitForFinished() && out.readAllStandardOutput() == "Q") break;
    }
    holdOpen();
    harness.write("stall 2500\n");
    ASSERT_FALSE(waitForLine("stalling").isEmpty());
    QThread::msleep(600);
    releaseAll();
    xdo({"type", "y"});
    QDeadlineTimer deadline(1000);
    while (!text().endsWith('y') && !deadline.hasExpired())
        QThread::msleep(20);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^okalphaxQ*y$")).match(text()).hasMatch())
        << text().toStdString();
    xclip.kill();
    xclip.waitForFinished();
}

} // namespace
