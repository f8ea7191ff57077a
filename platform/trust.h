#pragma once

namespace vt {

// Why the keyboard event tap cannot be installed, told apart so that the user can be told what
// to do about it.
enum class TrustProblem {
    none,              // the tap can be installed (or is running)
    noDisplay,         // no X display can be reached
    waylandWithoutX,   // a Wayland session that gives this program no X display
    chordTaken,        // another program holds Ctrl+V
    noXTest,           // the X server cannot take synthetic key presses
    noPasteKey,        // no key of the keyboard layout produces V
    waylandNotYet,     // the Wayland backend records copies; no binding has reported the keys
    noClipboardAccess, // a Wayland desktop without data-control: copies cannot be recorded
    waylandCannotType, // a Wayland desktop without a virtual keyboard: nothing can be typed
};

// Whether the program may watch and swallow the paste chord: the keyboard event tap needs it.
class Trust {
public:
    virtual ~Trust() = default;
    // What stands in the way of the event tap now; none when it can be installed.
    virtual TrustProblem problem() const = 0;
    // True when the event tap can be installed now (or is already running).
    bool isTrusted() const { return problem() == TrustProblem::none; }
};

} // namespace vt
