// Hold-to-paste through the whole program: the real binary reads its picker style and hold
// delay from its config file, records the copies made with xclip, and pastes into the target.
#include "picker/ring/ring_geometry.h"
#include "tests/e2e/program_fixture.h"
#include <algorithm>

using namespace vt::e2e;

namespace {

struct PickerCase {
    const char* style;
    double holdDelay;
};

class HoldPaste : public ProgramTest, public ::testing::WithParamInterface<PickerCase> {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(startTarget());
        writeConfig({{QStringLiteral("pickerStyle"), QString::fromLatin1(GetParam().style)},
                     {QStringLiteral("holdDelay"), GetParam().holdDelay}});
        ASSERT_NO_FATAL_FAILURE(startProgram());
        // Newest first: alpha, bravo, charlie, delta, echo.
        for (const char* clip : {"echo", "delta", "charlie", "bravo", "alpha"})
            ASSERT_NO_FATAL_FAILURE(copyText(QString::fromLatin1(clip)));
    }

    // Ctrl+V held until the picker is open.
    void holdOpen() {
        const qsizetype shown = logCount(QStringLiteral("showPicker("));
        keys({"+Control_L", "+v"});
        ASSERT_TRUE(waitForLog(QStringLiteral("showPicker("), shown + 1));
        // The configured style opened: the ring is a square panel at the pointer, the fan draws
        // on an overlay over the whole screen.
        const bool ring = QLatin1String(GetParam().style) == QLatin1String("ring");
        const auto isPicker = [ring](QRect frame) {
            const QSize s = frame.size();
            const int side = static_cast<int>(vt::RingGeometry::canvasSize);
            return ring ? s == QSize(side, side) : s.width() >= 1000 && s.height() >= 1000;
        };
        EXPECT_TRUE(waitFor([&] {
            const QList<QRect> frames = visibleProgramWindows();
            return std::any_of(frames.begin(), frames.end(), isPicker);
        })) << "no "
            << GetParam().style << " window";
    }
    void releaseAll() { keys({"-v", "-Control_L"}); }
};

// A short press pastes the clipboard once, also with Ctrl up first and V a moment later (the
// paste is posted while V is still held); Ctrl+Shift+V reaches the application untouched.
TEST_P(HoldPaste, AShortPressPastesTheClipboardOnce) {
    keys({"+Control_L", "+v", "-v", "-Control_L"});
    waitForText(QStringLiteral("alpha"));
    keys({"+Control_L", "+v", "-Control_L", "~100", "-v"});
    waitForText(QStringLiteral("alphaalpha"));
    xdo({"key", "ctrl+shift+v"});
    waitForText(QStringLiteral("alphaalpha<shift-paste>"));
    expectTextStays(QStringLiteral("alphaalpha<shift-paste>"));
    EXPECT_FALSE(logged(QStringLiteral("showPicker(")));
    expectTypingStillWorks();
}

// The first hold after a copy of 12 MB (the picker lays out only what it shows, so the keys
// that follow are never held up): Down and release pastes the second newest clip, which becomes
// the newest. (A digit's pick is tested on the harness.)
TEST_P(HoldPaste, AfterAHugeCopyHoldAndArrowPastesAndMovesTheClipToTheFront) {
    const QByteArray huge = QByteArray("huge ") + QByteArray(12 * 1024 * 1024, 'x');
    // Waited for in the history, not read back: a second reader would hold up xclip's answer.
    ASSERT_NO_FATAL_FAILURE(copy(huge, QStringLiteral("UTF8_STRING"),
                                 StoredClip{QStringLiteral("text"), QString::fromLatin1(huge)}));
    holdOpen();
    xdo({"keyup", "v", "key", "Down"});
    ASSERT_TRUE(waitForLog(QStringLiteral("select(1)")));
    keys({"-Control_L"});
    waitForText(QStringLiteral("alpha"));
    EXPECT_EQ(history().value(0), (StoredClip{QStringLiteral("text"), QStringLiteral("alpha")}));
    expectTextStays(QStringLiteral("alpha"));
    expectTypingStillWorks();
}

// Letting go with the pointer far outside the picker, or Escape, pastes nothing.
TEST_P(HoldPaste, ReleasingFarOutsideOrEscapePastesNothing) {
    holdOpen();
    xdo({"mousemove", QString::number(kPointerX - 700), QString::number(kPointerY)});
    ASSERT_TRUE(waitForLog(QStringLiteral("outside(true)")));
    releaseAll();
    ASSERT_TRUE(waitForLog(QStringLiteral("hidePicker")));
    xdo({"mousemove", QString::number(kPointerX), QString::number(kPointerY)});
    keys({"~300"});
    holdOpen();
    xdo({"key", "Down", "key", "Escape"});
    ASSERT_TRUE(waitForLog(QStringLiteral("hidePicker"), 2));
    releaseAll();
    expectTextStays(QString());
    expectTypingStillWorks();
}

INSTANTIATE_TEST_SUITE_P(Pickers, HoldPaste,
                         ::testing::Values(PickerCase{"ring", 0.2}, PickerCase{"fan", 0.5}),
                         [](const auto& param) { return std::string(param.param.style); });

} // namespace
