#pragma once
#include "platform/geometry.h"
#include "platform/screens.h"
#include <cstdint>
#include <optional>

// The pure half of the X11 tap: X keysyms, modifier masks and buttons turned into the tap's
// key codes, flag bits and wheel steps. No connection needed, so it is tested without a server.

namespace vt::x11tap {

// The tap key code of the key whose unshifted keysym is this (TapKeyCode::unknown for keys the
// program has no use for; the keypad digits are among those).
std::int64_t keyCodeForKeysym(unsigned long keysym);
// The keysym to post for a tap key code; 0 when there is none.
unsigned long keysymForKeyCode(std::int64_t keycode);
// TapEventFlag bits for an X modifier state (ControlMask is Command, Mod4 Control, Mod1 Option).
std::uint64_t flagsForState(unsigned int state);
// The X modifier state after a modifier key with this mask went down or up, given the state
// before the event and whether another key with the same modifier is still held.
unsigned int stateAfterModifierKey(unsigned int stateBefore, unsigned int modifierMask,
                                   bool pressed, bool otherKeyHoldsIt);
// Wheel steps along the vertical axis for a button press: +1 for button 4 (away from the user),
// -1 for button 5, 0 for the horizontal buttons 6 and 7; nothing for other buttons.
std::optional<std::int64_t> wheelStepsForButton(unsigned int button);
// A root-window point in X pixels as an event-space point in layout points.
PointD eventSpacePoint(int rootX, int rootY, const RootSpace& space);

} // namespace vt::x11tap
