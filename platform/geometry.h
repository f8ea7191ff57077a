#pragma once
// Plain geometric values shared by every layer. Pure C++: no Qt, no X11.
//
// Two coordinate spaces are used inside the program:
//  - event space: origin at the top-left of the primary screen, y down (pointer events,
//    the controller, hit tests);
//  - window space: origin at the bottom-left of the primary screen, y up (screen frames,
//    visible frames, pointer location, window frames).

namespace vt {

struct PointD {
    double x = 0;
    double y = 0;
    bool operator==(const PointD&) const = default;
};

struct SizeD {
    double width = 0;
    double height = 0;
    bool operator==(const SizeD&) const = default;
};

struct RectD {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    double minX() const { return x; }
    double minY() const { return y; }
    double maxX() const { return x + width; }
    double maxY() const { return y + height; }
    double midX() const { return x + width / 2; }
    double midY() const { return y + height / 2; }
    PointD origin() const { return {x, y}; }
    SizeD size() const { return {width, height}; }
    // Minimum edges belong to the rectangle, maximum edges do not.
    bool contains(PointD p) const {
        return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
    }
    bool operator==(const RectD&) const = default;
};

} // namespace vt
