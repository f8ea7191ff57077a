#pragma once
#include "platform/paste_poster.h"

#include <cstdint>
#include <memory>

#include <QByteArray>

namespace vt {

// Types keystrokes into the focused application of a wlroots compositor through
// zwp_virtual_keyboard_v1, on a connection of its own. The keyboard carries a US keymap made by
// xkbcommon, so V and Insert are found whatever the user's layout; modifiers are sent as the
// keyboard's modifier state (no modifier key events), so only the modifiers asked for are held
// whatever the user holds on the physical keyboard. Main thread only.
class VirtualKeyboard final : public PastePoster {
public:
    // Connects to `displayName` (empty: $WAYLAND_DISPLAY).
    explicit VirtualKeyboard(const QByteArray& displayName = {});
    ~VirtualKeyboard() override;
    VirtualKeyboard(const VirtualKeyboard&) = delete;
    VirtualKeyboard& operator=(const VirtualKeyboard&) = delete;

    // False when the compositor does not offer the protocol (or cannot be reached).
    bool isValid() const override;
    // Presses or releases the key of a tap key code (V, Insert, Return, Escape, digits, arrows).
    // `pastBindings` adds Mod3, which no key of this keymap sets: applications read the named
    // modifiers only (Ctrl, Shift, Alt, Super) and take the keystroke as without it, while a
    // compositor binding, which compares every modifier, does not match it (Sway 1.7 leaves out
    // only CapsLock and NumLock there).
    bool post(std::int64_t tapKeycode, bool keyDown, std::uint64_t flags,
              bool pastBindings) override;
    // Waits until the compositor has handled everything posted so far.
    void sync();

private:
    struct State;
    std::unique_ptr<State> d_;
};

} // namespace vt
