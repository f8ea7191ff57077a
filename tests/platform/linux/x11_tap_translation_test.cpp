#include "platform/event_tap.h"
#include "platform/linux/x11_tap_translation.h"
#include <gtest/gtest.h>

// After gtest: Xlib's macros (None, Bool) collide with its names.
#include <X11/X.h>
#include <X11/keysym.h>

using namespace vt;
using namespace vt::x11tap;

namespace {

struct KeyCase {
    unsigned long keysym;
    std::int64_t code;
};

class KeysymTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeysymTest, MapsToTheAnsiKeyCodeAndBack) {
    EXPECT_EQ(keyCodeForKeysym(GetParam().keysym), GetParam().code);
    if (GetParam().code != TapKeyCode::unknown && GetParam().keysym != XK_V) {
        EXPECT_EQ(keysymForKeyCode(GetParam().code), GetParam().keysym);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, KeysymTest, ::testing::Values(
    KeyCase{XK_v, 9},
    KeyCase{XK_V, 9},
    KeyCase{XK_1, 18},
    KeyCase{XK_2, 19},
    KeyCase{XK_3, 20},
    KeyCase{XK_4, 21},
    KeyCase{XK_5, 23},
    KeyCase{XK_6, 22},
    KeyCase{XK_7, 26},
    KeyCase{XK_8, 28},
    KeyCase{XK_9, 25},
    KeyCase{XK_0, 29},
    KeyCase{XK_Return, 36},
    KeyCase{XK_KP_Enter, 76},
    KeyCase{XK_Escape, 53},
    KeyCase{XK_Left, 123},
    KeyCase{XK_Right, 124},
    KeyCase{XK_Down, 125},
    KeyCase{XK_Up, 126},
    KeyCase{XK_KP_1, TapKeyCode::unknown},
    KeyCase{XK_KP_End, TapKeyCode::unknown},
    KeyCase{XK_a, TapKeyCode::unknown},
    KeyCase{XK_Control_L, TapKeyCode::unknown}
));
// clang-format on

TEST(X11TapTranslation, ModifierStateBecomesTheFlagBits) {
    EXPECT_EQ(flagsForState(0), 0u);
    EXPECT_EQ(flagsForState(ControlMask), TapEventFlag::command);
    EXPECT_EQ(flagsForState(ShiftMask | ControlMask), TapEventFlag::shift | TapEventFlag::command);
    EXPECT_EQ(flagsForState(Mod4Mask), TapEventFlag::control);
    EXPECT_EQ(flagsForState(Mod1Mask), TapEventFlag::option);
    EXPECT_EQ(flagsForState(LockMask), TapEventFlag::alphaShift);
    // NumLock (Mod2) and the pointer buttons are no modifiers of ours.
    EXPECT_EQ(flagsForState(Mod2Mask | Button1Mask | ControlMask), TapEventFlag::command);
}

TEST(X11TapTranslation, StateAfterAModifierKeyKeepsItWhileTheOtherKeyHoldsIt) {
    EXPECT_EQ(stateAfterModifierKey(0, ControlMask, true, false), unsigned{ControlMask});
    EXPECT_EQ(stateAfterModifierKey(ControlMask | ShiftMask, ControlMask, false, false),
              unsigned{ShiftMask});
    EXPECT_EQ(stateAfterModifierKey(ControlMask, ControlMask, false, true), unsigned{ControlMask});
}

TEST(X11TapTranslation, WheelButtonsBecomeStepsAwayFromTheUserPositive) {
    EXPECT_EQ(wheelStepsForButton(Button4), 1);
    EXPECT_EQ(wheelStepsForButton(Button5), -1);
    EXPECT_EQ(wheelStepsForButton(6), 0);
    EXPECT_EQ(wheelStepsForButton(7), 0);
    EXPECT_FALSE(wheelStepsForButton(Button1).has_value());
    EXPECT_FALSE(wheelStepsForButton(Button3).has_value());
}

TEST(X11TapTranslation, RootPixelsBecomeLayoutPointsFromThePrimaryScreen) {
    EXPECT_EQ(eventSpacePoint(100, 50, RootSpace{{0, 0, 1920, 1080}, {}}), (PointD{100, 50}));
    EXPECT_EQ(eventSpacePoint(2000, 300, RootSpace{{1920, 200, 800, 600}, {}}), (PointD{80, 100}));
    // A laptop panel at scale 2 left of a monitor at 1.5 (Qt: 1440x900 and 2560x1440 points).
    const RootSpace scaled{{0, 0, 1440, 900},
                           {{{0, 0, 2880, 1800}, 2}, {{2880, 0, 3840, 2160}, 1.5}}};
    EXPECT_EQ(eventSpacePoint(900, 520, scaled), (PointD{450, 260}));
    EXPECT_EQ(eventSpacePoint(2880 + 300, 600, scaled), (PointD{2880 + 200, 400}));
    EXPECT_EQ(eventSpacePoint(9000, 10, scaled), (PointD{9000, 10})); // off every screen
}

} // namespace
