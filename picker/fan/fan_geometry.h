#pragma once
#include "core/picker_types.h"
#include "platform/geometry.h"
#include <cstdint>
#include <numbers>
#include <optional>
#include <utility>

// The fan's arithmetic. Origin at the pointer, x right, y down; an angle is measured from +x
// toward +y, so a positive angle points below the horizontal. A flipped fan mirrors every x
// component and keeps the vertical meaning of angles. Lengths are points.

namespace vt {

struct FanGeometry {
    static constexpr double degree = std::numbers::pi / 180;
    static constexpr double arc = 2.2689280275926285;     // 130 degrees: first to last slot
    static constexpr double halfArc = 1.1344640137963142; // 65 degrees each side of the centre
    static constexpr double rowPitch = 24; // neighbouring rows' near ends at least this apart
    static constexpr double minInnerRadius = 70;
    static constexpr double tileSize = 22;
    static constexpr double tileGap = 8;
    static constexpr double maxLabelWidth = 230;
    static constexpr double rowLength = tileSize + tileGap + maxLabelWidth; // 260
    static constexpr double halfRow = rowLength / 2;                        // 130
    static constexpr double rowHeight = 28;
    static constexpr double selectedPush = 8; // the selected row sits this much further out
    static constexpr double screenMargin = 8;
    static constexpr double flipMargin = 16;
    static constexpr double deadZone = 18;
    static constexpr double backwardTolerance = 14;
    static constexpr double outsideMargin = 40;
    static constexpr int fitMaxDegrees = 14;
    static constexpr double fitImprovement = 0.5;
    static constexpr double snapTolerance = 0.01; // rows
    static constexpr double collapsedScale = 0.35;

    std::int64_t count = 0;
    std::int64_t visibleSlots = 12;
    bool flipX = false;
    double centerAngle = 0;

    bool operator==(const FanGeometry&) const = default;

    // Angle between neighbouring rows; one or two slots both span the whole arc.
    double step() const;
    // Where every row's near end sits.
    double inner() const;
    // Distance from the pointer to a row's far end.
    double rowEnd() const;
    // Beyond this distance the pointer is outside the fan.
    double outsideRadius() const { return rowEnd() + outsideMargin; }
    double lo() const { return centerAngle - halfArc; }
    double hi() const { return centerAngle + halfArc; }
    // Row `scroll` sits at lo, row scroll + visibleSlots - 1 at hi.
    double rowAngle(std::int64_t i, double scroll) const;
    // The largest scroll offset: the last row at the lower end of the arc.
    double maxScroll() const;
    // The box, relative to the fan's origin (x right, mirrored when flipped; y down), that the
    // rows' centre lines anywhere on the arc cover when fully out: what fitting measures (the
    // screen margin leaves room for the rows' thickness and the selected row's push). With
    // `whole`, the rows' full thickness and the push are counted as well.
    RectD rowsExtent(bool whole = false) const;

    // How far the arc's two end rows, at full length and centre angle a, reach beyond the free
    // space above plus below the pointer.
    double overflow(double a, double spaceAbove, double spaceBelow) const;
    // The centre angle, within plus or minus 14 degrees, that tilts the arc's ends into the free
    // space above and below the pointer (uses visibleSlots only).
    double fittedCenterAngle(double spaceAbove, double spaceBelow) const;
    // The nearest scroll offset at which row i is on the arc.
    double scrollToShow(std::int64_t i, double scroll) const;
    // The rows on the arc at this offset (first, last), both included; an offset within a
    // hundredth of a whole row counts as that row.
    std::optional<std::pair<std::int64_t, std::int64_t>> visibleRange(double scroll) const;
};

struct FanFlip {
    bool flipX = false;
    double spaceAbove = 0; // free points above the pointer, less the margin; may be negative
    double spaceBelow = 0;
    bool operator==(const FanFlip&) const = default;
};

// Which way the fan opens. Both arguments are in window space (y up); the pointer may lie
// outside the frame when its display is only the nearest one.
FanFlip fanFlipDecision(PointD pointerWindowSpace, RectD visibleFrame, const FanGeometry& geometry);

// Classifies an offset from the fan's origin (event space, dy > 0 below). Never answers a row
// that is off the arc; offsets that are not numbers give center.
PickerHit fanHit(const FanGeometry& geometry, double scroll, double dx, double dy);

// The rows drawn at this offset: the arc plus two beyond each end, so rows sliding in or out
// fade instead of popping.
std::optional<std::pair<std::int64_t, std::int64_t>>
fanDrawingWindow(std::int64_t count, std::int64_t visibleSlots, double scroll);

// The placement of one row. angle, reach and push animate; the rest come from the target.
struct Spoke {
    double angle = 0;
    double reach = 0; // 0 collapsed into the pointer, 1 fully out; springs overshoot both
    double push = 0;
    double inner = 0;
    bool flipX = false;
    double lo = 0;
    double hi = 0;
    double step = 0;
    bool operator==(const Spoke&) const = default;
};

// Applied to a 260 x 28 row centred on the fan's origin: rotate, scale (both about the row's
// centre), fade, then move by (offsetX, offsetY).
struct SpokeTransform {
    double rotation = 0;
    double scale = 1;
    double opacity = 1;
    double offsetX = 0;
    double offsetY = 0;
    bool operator==(const SpokeTransform&) const = default;
};

SpokeTransform spokeTransform(const Spoke& spoke);

} // namespace vt
