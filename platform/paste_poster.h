#pragma once
#include <cstdint>

namespace vt {

// Types keystrokes into the focused application where the event tap cannot post them itself
// (Wayland: the compositor's virtual keyboard). Key codes and flags are the tap's (TapKeyCode,
// TapEventFlag). Main thread only.
class PastePoster {
public:
    virtual ~PastePoster() = default;
    // False when nothing can be typed in this session.
    virtual bool isValid() const = 0;
    // Presses or releases one key with exactly the modifiers in `flags` held; false when it
    // cannot be typed. `pastBindings` asks that the desktop's own binding of this chord (the one
    // that reports the chord to the program) does not take the keystroke.
    virtual bool post(std::int64_t keycode, bool keyDown, std::uint64_t flags,
                      bool pastBindings) = 0;
};

} // namespace vt
