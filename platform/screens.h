#pragma once
#include "platform/geometry.h"
#include <optional>
#include <vector>

namespace vt {

// One connected display, in window space (origin at the bottom-left of the primary screen,
// y up, lengths in layout points).
struct ScreenInfo {
    RectD frame;        // the whole display
    RectD visibleFrame; // the display less panels and docks reserved by the desktop
    double scale = 1;   // device pixels per layout point
    bool operator==(const ScreenInfo&) const = default;
};

// Converts between the X root window's coordinates (origin at the top-left of the root
// window, y down; Qt's global coordinates) and the program's two spaces. The program's spaces
// hang off the primary screen, which need not sit at the root origin.
struct RootSpace {
    // One screen in the window system's own pixels, which a scaled screen (HiDPI) packs more
    // densely than layout points: `scale` pixels make one point.
    struct Pixels {
        RectD rect;
        double scale = 1;
    };

    RectD primary; // the primary screen's rectangle in root coordinates
    // Every scaled screen, for input that arrives in pixels (the key tap's pointer events).
    std::vector<Pixels> pixels;

    // A root point in the window system's pixels as a root point in layout points. A scaled
    // screen keeps its top-left corner where it is and shrinks towards it; points off every
    // screen are taken as they are.
    PointD fromPixels(PointD p) const {
        for (const Pixels& s : pixels) {
            const RectD& r = s.rect;
            if (p.x < r.x || p.y < r.y || p.x >= r.x + r.width || p.y >= r.y + r.height) continue;
            if (s.scale > 0) return {r.x + (p.x - r.x) / s.scale, r.y + (p.y - r.y) / s.scale};
            break;
        }
        return p;
    }

    // Root point to event space (origin top-left of the primary screen, y down).
    PointD toEvent(PointD root) const { return {root.x - primary.x, root.y - primary.y}; }
    // Root point to window space (origin bottom-left of the primary screen, y up).
    PointD toWindow(PointD root) const {
        return {root.x - primary.x, primary.y + primary.height - root.y};
    }
    // Window-space point back to root coordinates.
    PointD fromWindow(PointD window) const {
        return {window.x + primary.x, primary.y + primary.height - window.y};
    }
    // A root rectangle (top-left origin) as a window-space rectangle (bottom-left origin).
    RectD rectToWindow(RectD root) const {
        return {root.x - primary.x, primary.y + primary.height - root.y - root.height, root.width,
                root.height};
    }
    // A window-space rectangle as a root rectangle (top-left origin), ready for a window move.
    RectD rectFromWindow(RectD window) const {
        return {window.x + primary.x, primary.y + primary.height - window.y - window.height,
                window.width, window.height};
    }
};

// Displays and the pointer, as the pickers need them to place their windows.
class Screens {
public:
    virtual ~Screens() = default;
    // Every connected display in the system's order, the primary display first.
    virtual std::vector<ScreenInfo> screens() const = 0;
    // The display the user is working on (the primary one here); none without displays.
    virtual std::optional<ScreenInfo> mainScreen() const = 0;
    // The pointer location in window space.
    virtual PointD mouseLocation() const = 0;
    // True when a compositing manager blends translucent windows with what lies below.
    virtual bool compositingActive() const = 0;
    // How window space maps onto the window system's root coordinates right now.
    virtual RootSpace rootSpace() const = 0;
};

} // namespace vt
