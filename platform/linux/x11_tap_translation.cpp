#include "platform/linux/x11_tap_translation.h"
#include "platform/event_tap.h"
#include <X11/X.h>
#include <X11/keysym.h>
#include <array>
#include <utility>

namespace vt::x11tap {
namespace {

constexpr std::array<std::pair<unsigned long, std::int64_t>, 20> kKeys{{
    {XK_v, TapKeyCode::v},
    {XK_1, TapKeyCode::digit1},
    {XK_2, TapKeyCode::digit2},
    {XK_3, TapKeyCode::digit3},
    {XK_4, TapKeyCode::digit4},
    {XK_5, TapKeyCode::digit5},
    {XK_6, TapKeyCode::digit6},
    {XK_7, TapKeyCode::digit7},
    {XK_8, TapKeyCode::digit8},
    {XK_9, TapKeyCode::digit9},
    {XK_0, TapKeyCode::digit0},
    {XK_Return, TapKeyCode::returnKey},
    {XK_KP_Enter, TapKeyCode::keypadEnter},
    {XK_Escape, TapKeyCode::escape},
    {XK_Left, TapKeyCode::left},
    {XK_Right, TapKeyCode::right},
    {XK_Down, TapKeyCode::down},
    {XK_Up, TapKeyCode::up},
    {XK_V, TapKeyCode::v},
    {XK_Insert, TapKeyCode::insert},
}};

} // namespace

std::int64_t keyCodeForKeysym(unsigned long keysym) {
    for (const auto& [sym, code] : kKeys)
        if (sym == keysym) return code;
    return TapKeyCode::unknown;
}

unsigned long keysymForKeyCode(std::int64_t keycode) {
    for (const auto& [sym, code] : kKeys)
        if (code == keycode) return sym;
    return 0;
}

std::uint64_t flagsForState(unsigned int state) {
    std::uint64_t flags = 0;
    if (state & LockMask) flags |= TapEventFlag::alphaShift;
    if (state & ShiftMask) flags |= TapEventFlag::shift;
    if (state & ControlMask) flags |= TapEventFlag::command;
    if (state & Mod1Mask) flags |= TapEventFlag::option;
    if (state & Mod4Mask) flags |= TapEventFlag::control;
    return flags;
}

unsigned int stateAfterModifierKey(unsigned int stateBefore, unsigned int modifierMask,
                                   bool pressed, bool otherKeyHoldsIt) {
    if (pressed) return stateBefore | modifierMask;
    if (otherKeyHoldsIt) return stateBefore;
    return stateBefore & ~modifierMask;
}

std::optional<std::int64_t> wheelStepsForButton(unsigned int button) {
    switch (button) {
    case Button4:
        return 1;
    case Button5:
        return -1;
    case 6:
    case 7:
        return 0;
    default:
        return std::nullopt;
    }
}

PointD eventSpacePoint(int rootX, int rootY, const RootSpace& space) {
    return space.toEvent(space.fromPixels({double(rootX), double(rootY)}));
}

} // namespace vt::x11tap
