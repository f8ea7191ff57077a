#pragma once
#include "core/picker_types.h"
#include <cstdint>
#include <numbers>

// The fixed geometry of the ring picker and its pure arithmetic. Angles are radians; 0 points
// straight up from the centre and angles grow clockwise on screen, both for drawing and for the
// hit test, so the wedge under the pointer is always the wedge drawn there.

namespace vt::RingGeometry {

inline constexpr double canvasSize = 460; // square panel content
inline constexpr double center = 230;     // ring centre within the canvas
inline constexpr std::int64_t capacity = 8;

inline constexpr double wedgeInnerRadius = 86; // drawn band
inline constexpr double wedgeOuterRadius = 174;
inline constexpr double wedgeGap = 0.06; // radians between neighbouring wedges
inline constexpr double labelRadius = 128;
inline constexpr double selectedLabelRadius = 134;
inline constexpr double backgroundInnerRadius = 78;
inline constexpr double backgroundOuterRadius = 186;
inline constexpr double rimDiameter = 372;
inline constexpr double glowOuterInnerRadius = 180; // wide glow band 180..185
inline constexpr double glowOuterOuterRadius = 185;
inline constexpr double glowInnerInnerRadius = 181; // narrow glow band 181..184
inline constexpr double glowInnerOuterRadius = 184;
inline constexpr double centerDiscDiameter = 160;

inline constexpr double deadZoneRadius = 48; // nearer than this selects nothing
inline constexpr double outsideRadius = 188; // farther than this is outside

inline constexpr double fullTurn = 2 * std::numbers::pi;

// Angle between neighbouring wedge centres for n items (a full turn for none or one).
double wedgePitch(std::int64_t n);
// Centre angle of wedge k; 0 when there are no items.
double wedgeCenterAngle(std::int64_t k, std::int64_t n);
// Start and end angle of wedge k's drawn band, leaving the gap to its neighbours.
double wedgeStartAngle(std::int64_t k, std::int64_t n);
double wedgeEndAngle(std::int64_t k, std::int64_t n);

// Classifies an offset from the ring centre (dx right, dy down) with n items. The whole disc
// between the dead zone and the outside radius picks by direction; each wedge owns the half-open
// range [centre - pitch/2, centre + pitch/2). An offset that is not a number gives center.
PickerHit hit(double dx, double dy, std::int64_t n);

// The copy of wedge i's angle nearest to current, so the highlight sweeps the short way round.
// Exact half turns go by rounding half away from zero.
double shortWayHighlightAngle(std::int64_t i, std::int64_t n, double current);

// Highlight angle when the ring opens with this selection.
double initialHighlightAngle(std::int64_t n, std::int64_t selected);

} // namespace vt::RingGeometry
