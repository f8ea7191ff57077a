#pragma once
#include "platform/geometry.h"

namespace vt {

// The floating window a picker panel shows its view in: never focused, click-through, above
// everything. Panels drive it through this interface so their logic runs against a double.
class OverlaySurface {
public:
    virtual ~OverlaySurface() = default;
    // Places the window; frame in window space (origin bottom-left of the primary screen, y up).
    virtual void setFrame(RectD frame) = 0;
    // The frame last set, in window space.
    virtual RectD frame() const = 0;
    // Shows the window above every other without activating it or taking focus.
    virtual void orderFront() = 0;
    // Removes the window from the screen; it stays ready for the next orderFront.
    virtual void orderOut() = 0;
    // True while the window is ordered in.
    virtual bool isVisible() const = 0;
    // The window is on its way out (its closing animation runs): from now until the next
    // orderFront it takes no input, so keys and clicks, a paste among them, reach the
    // applications again. Nothing to do for a window that never takes input.
    virtual void resignInput() {}
    // Whole-window opacity, 0 to 1.
    virtual void setAlpha(double alpha) = 0;
    // Paints the hosted view now rather than on the next event-loop turn.
    virtual void displayNow() = 0;
};

// Maps the window and paints it once, fully transparent, then takes it off the screen again: the
// first real show then finds the window, its buffers and its caches ready.
inline void showOnceUnseen(OverlaySurface& window) {
    window.setAlpha(0);
    window.orderFront();
    window.displayNow();
    window.orderOut();
    window.setAlpha(1);
}

} // namespace vt
