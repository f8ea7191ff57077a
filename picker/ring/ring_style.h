#pragma once

// The accent colours shared by both pickers. They do not follow the desktop's light or dark
// theme: the pickers always draw on dark.

namespace vt {

struct RgbaColor {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;
    bool operator==(const RgbaColor&) const = default;
};

// A two-stop linear gradient across the bounding box of the shape it fills, from the top-leading
// corner (unit point 0,0) to the bottom-trailing corner (1,1).
struct LinearGradient {
    RgbaColor from;
    RgbaColor to;
    double startX = 0, startY = 0; // unit coordinates in the filled shape's bounds
    double endX = 1, endY = 1;
    bool operator==(const LinearGradient&) const = default;
};

namespace RingStyle {

inline constexpr RgbaColor accentA{1.0, 0.56, 0.16, 1.0};  // orange (sRGB)
inline constexpr RgbaColor accentB{0.93, 0.20, 0.56, 1.0}; // pink (sRGB)
inline constexpr LinearGradient accent{accentA, accentB, 0, 0, 1, 1};

} // namespace RingStyle

} // namespace vt
