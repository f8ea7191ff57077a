// Hold-to-paste end to end on a real X server: the paste target (a Qt line edit), the harness
// running the real tap and controller, and xdotool playing the user.
#include "picker/fan/fan_geometry.h"
#include "picker/ring/ring_geometry.h"
#include "tests/doubles/fake_keys.h"
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <csignal>
#include <gtest/gtest.h>

using namespace vt;

namespace {

const QStringList kClips{"alpha", "bravo", "charlie", "delta", "echo"};
constexpr int kPointerX = 900;
constexpr int kPointerY = 520;

QString binary(const char* name) {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(name);
}

void xdo(const QStringList& args) {
    QProcess::execute(QStringLiteral("xdotool"), args);
}

void keys(std::initializer_list<const char*> steps) {
    ASSERT_TRUE(test::fakeKeys(steps)) << "could not send the keys";
}

class HoldPasteE2E : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString textPath;
    QProcess target;
    QProcess harness;
    QStringList lines;
    qsizetype seen = 0;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        textPath = dir.filePath(QStringLiteral("text"));
        target.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        target.start(binary("test_paste_target"), {textPath});
        ASSERT_TRUE(target.waitForStarted());
        ASSERT_TRUE(waitFor([&] { return QFile::exists(textPath); }, 30000));
        xdo({"mousemove", QString::number(kPointerX), QString::number(kPointerY)});
        // The target has the keyboard: typing arrives, and can be taken back.
        xdo({"type", "x"});
        ASSERT_TRUE(waitForText("x"));
        xdo({"key", "BackSpace"});
        ASSERT_TRUE(waitForText(""));
    }

    void TearDown() override {
        keys({"-v", "-Control_L", "-Shift_L"});
        for (QProcess* p : {&harness, &target}) {
            if (p->state() == QProcess::NotRunning) continue;
            p->kill(); // by its own process id
            p->waitForFinished(5000);
        }
    }

    static bool waitFor(const std::function<bool()>& condition, int ms = 5000) {
        QDeadlineTimer deadline(ms);
        while (!condition()) {
            if (deadline.hasExpired()) return false;
            QThread::msleep(20);
        }
        return true;
    }

    QString text() const {
        QFile f(textPath);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    bool waitForText(const QString& expected, int ms = 10000) {
        const bool ok = waitFor([&] { return text() == expected; }, ms);
        if (!ok)
            ADD_FAILURE() << "text is \"" << text().toStdString() << "\", expected \""
                          << expected.toStdString() << "\"";
        return ok;
    }
    // The text stays as it is for a while: nothing arrives late (a second paste, say).
    void expectTextStays(const QString& expected) {
        QThread::msleep(400);
        EXPECT_EQ(text(), expected);
    }

    bool startHarness(const QStringList& args, double scale = 1) {
        harness.setProcessChannelMode(QProcess::SeparateChannels);
        if (scale != 1) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::number(scale));
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
        for (;;) {
            readHarness();
            for (; seen < lines.size(); ++seen) {
                if (lines[seen].startsWith(prefix)) return lines[seen++];
            }
            if (deadline.hasExpired() || harness.state() == QProcess::NotRunning) {
                readHarness();
                for (; seen < lines.size(); ++seen)
                    if (lines[seen].startsWith(prefix)) return lines[seen++];
                ADD_FAILURE() << "no \"" << prefix.toStdString() << "\" from the harness; saw: "
                              << lines.join(QStringLiteral(" | ")).toStdString();
                return {};
            }
        }
    }
    bool harnessSaid(const QString& prefix) {
        readHarness();
        for (const QString& l : lines)
            if (l.startsWith(prefix)) return true;
        return false;
    }

    // Ctrl+V held until the picker is open.
    void holdOpen() {
        keys({"+Control_L", "+v"});
        ASSERT_FALSE(waitForLine(QStringLiteral("shown")).isEmpty());
    }
    void releaseAll() { keys({"-v", "-Control_L"}); }

    void expectTypingStillWorks() {
        const QString before = text();
        xdo({"type", "ok"});
        EXPECT_TRUE(waitForText(before + QStringLiteral("ok")));
    }

    // The ring is measured in points; xdotool moves in X pixels, `scale` of them to the point.
    void moveToRingItem(std::int64_t k, std::int64_t n, double scale = 1) {
        const double a = RingGeometry::wedgeCenterAngle(k, n);
        const double r = 130 * scale;
        xdo({"mousemove", QString::number(std::lround(kPointerX + r * std::sin(a))),
             QString::number(std::lround(kPointerY - r * std::cos(a)))});
    }
};

class BothStyles : public HoldPasteE2E, public ::testing::WithParamInterface<const char*> {
protected:
    QStringList args(const QStringList& clips = kClips) {
        return {"--picker", GetParam(), "--clips", clips.join(';')};
    }
};

TEST_P(BothStyles, ShortPressPastesTheNewestClipOnce) {
    ASSERT_TRUE(startHarness(args()));
    keys({"+Control_L", "+v", "-v", "-Control_L"});
    waitForText("alpha");
    expectTextStays("alpha");
    EXPECT_FALSE(harnessSaid("shown"));
    expectTypingStillWorks();
}

// Ctrl up first and V a moment later: the paste is posted while V is still held.
TEST_P(BothStyles, ShortPressWithCtrlReleasedFirstPastesOnce) {
    ASSERT_TRUE(startHarness(args()));
    keys({"+Control_L", "+v", "-Control_L", "~100", "-v"});
    waitForText("alpha");
    expectTextStays("alpha");
    EXPECT_FALSE(harnessSaid("shown"));
    expectTypingStillWorks();
}

TEST_P(BothStyles, HoldAndArrowPastesTheNextClip) {
    ASSERT_TRUE(startHarness(args()));
    holdOpen();
    xdo({"keyup", "v", "key", "Right"});
    EXPECT_EQ(waitForLine("select"), "select 1");
    keys({"-Control_L"});
    EXPECT_EQ(waitForLine("commit"), "commit bravo");
    waitForText("bravo");
    expectTextStays("bravo");
    expectTypingStillWorks();
}

TEST_P(BothStyles, HoldAndDigitPastesThatClipWhileCtrlIsStillDown) {
    ASSERT_TRUE(startHarness(args()));
    holdOpen();
    xdo({"key", "3"});
    EXPECT_EQ(waitForLine("commit"), "commit charlie");
    waitForText("charlie");
    releaseAll();
    expectTextStays("charlie");
    expectTypingStillWorks();
}

TEST_P(BothStyles, EscapeCancels) {
    ASSERT_TRUE(startHarness(args()));
    holdOpen();
    xdo({"key", "Right", "key", "Escape"});
    EXPECT_EQ(waitForLine("hidden"), "hidden cancelled");
    releaseAll();
    expectTextStays("");
    expectTypingStillWorks();
}

TEST_P(BothStyles, ReleasingWithThePointerOutsideCancels) {
    ASSERT_TRUE(startHarness(args()));
    holdOpen();
    xdo({"mousemove", QString::number(kPointerX - 600), QString::number(kPointerY + 400)});
    EXPECT_EQ(waitForLine("outside"), "outside 1");
    releaseAll();
    EXPECT_EQ(waitForLine("hidden"), "hidden cancelled");
    expectTextStays("");
    expectTypingStillWorks();
}

TEST_P(BothStyles, ShiftCtrlVReachesTheApplicationUntouched) {
    ASSERT_TRUE(startHarness(args()));
    xdo({"key", "ctrl+shift+v"});
    waitForText("<shift-paste>");
    expectTextStays("<shift-paste>");
    EXPECT_FALSE(harnessSaid("shown"));
    expectTypingStillWorks();
}

TEST_P(BothStyles, EmptyHistoryHeldThroughAutoRepeatPastesRepeatedly) {
    ASSERT_TRUE(startHarness({"--picker", GetParam(), "--clipboard", "ab"}));
    keys({"+Control_L", "+v"});
    QThread::msleep(1500); // beyond the server's auto-repeat delay
    releaseAll();
    QThread::msleep(300);
    const QString pasted = text();
    EXPECT_GE(pasted.size(), 6) << pasted.toStdString(); // the press and at least two repeats
    EXPECT_EQ(pasted, QString(QStringLiteral("ab")).repeated(static_cast<int>(pasted.size() / 2)));
    EXPECT_FALSE(harnessSaid("shown"));
    expectTypingStillWorks();
}

TEST_P(BothStyles, KillingTheProgramWithThePickerOpenLeavesAUsableKeyboard) {
    ASSERT_TRUE(startHarness(args()));
    holdOpen();
    harness.kill();
    ASSERT_TRUE(harness.waitForFinished(5000));
    releaseAll();
    expectTypingStillWorks();
}

INSTANTIATE_TEST_SUITE_P(Pickers, BothStyles, ::testing::Values("ring", "fan"));

// Scaled screens (QT_SCALE_FACTOR, as Xft.dpi 192 gives): the pointer and the picker agree.
class Scales : public HoldPasteE2E, public ::testing::WithParamInterface<double> {};

TEST_P(Scales, HoldAndPointerDirectionOnTheRing) {
    ASSERT_TRUE(startHarness({"--picker", "ring", "--clips", kClips.join(';')}, GetParam()));
    holdOpen();
    moveToRingItem(3, kClips.size(), GetParam());
    EXPECT_EQ(waitForLine("select"), "select 3");
    releaseAll();
    EXPECT_EQ(waitForLine("commit"), "commit delta");
    waitForText("delta");
    expectTypingStillWorks();
}

TEST_P(Scales, HoldAndWheelOverTheFanMovesTheChoiceUnderTheStillPointer) {
    QStringList clips;
    for (int i = 0; i < 20; ++i)
        clips << QStringLiteral("clip%1").arg(i, 2, 10, QLatin1Char('0'));
    ASSERT_TRUE(startHarness({"--picker", "fan", "--clips", clips.join(';')}, GetParam()));
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
    xdo({"mousemove", QString::number(std::lround(kPointerX + side * r * std::cos(a))),
         QString::number(std::lround(kPointerY + r * std::sin(a)))});
    EXPECT_EQ(waitForLine("select"), "select 4");
    xdo({"click", "5"}); // towards the user: the fan moves on by a row
    EXPECT_EQ(waitForLine("scrolled"), "scrolled");
    EXPECT_EQ(waitForLine("select"), "select 5");
    releaseAll();
    EXPECT_EQ(waitForLine("commit"), "commit clip05");
    waitForText("clip05");
    expectTypingStillWorks();
}

INSTANTIATE_TEST_SUITE_P(HiDpi, Scales, ::testing::Values(1.0, 2.0, 1.5));

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
    ASSERT_TRUE(startHarness(args()));
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
}

TEST_F(HoldPasteE2E, AProgramThatCannotGrabTheChordFailsToStartCleanly) {
    ASSERT_TRUE(startHarness({"--clips", kClips.join(';')}));
    QProcess second;
    second.start(binary("test_hold_paste_harness"), {"--clips", ""});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 3);
    EXPECT_TRUE(second.readAllStandardOutput().contains("failed"));
    EXPECT_TRUE(second.readAllStandardError().contains("tapCreate failed (trusted=true)"));
    // The first one still works.
    keys({"+Control_L", "+v", "-v", "-Control_L"});
    waitForText("alpha");
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
