#include "platform/event_tap.h"
#include "platform/linux/x11_tap_translation.h"
#include <gtest/gtest.h>

// After gtest: Xlib's macros (None, Bool) collide with its names.
#include <X11/X.h>
#include <X11/keysym.h>

using namespace vt;
using namespace vt::x11tap;

namespace {

// Each key maps to its key code and back; keys the picker does not use are unknown.
TEST(KeysymTable, MapsToTheKeyCodeAndBack) {
    // clang-format off
    const std::pair<unsigned long, std::int64_t> cases[] = {
        {XK_v, 9}, {XK_V, 9}, {XK_1, 18}, {XK_2, 19}, {XK_3, 20}, {XK_4, 21}, {XK_5, 23},
        {XK_6, 22}, {XK_7, 26}, {XK_8, 28}, {XK_9, 25}, {XK_0, 29}, {XK_Return, 36},
        {XK_KP_Enter, 76}, {XK_Escape, 53}, {XK_Left, 123}, {XK_Right, 124}, {XK_Down, 125},
        {XK_Up, 126}, {XK_KP_1, TapKeyCode::unknown}, {XK_KP_End, TapKeyCode::unknown},
        {XK_a, TapKeyCode::unknown}, {XK_Control_L, TapKeyCode::unknown}};
    // clang-format on
    for (const auto& [keysym, code] : cases) {
        EXPECT_EQ(keyCodeForKeysym(keysym), code) << keysym;
        if (code != TapKeyCode::unknown && keysym != XK_V) {
            EXPECT_EQ(keysymForKeyCode(code), keysym) << keysym;
        }
    }
}

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
