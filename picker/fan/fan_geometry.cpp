#include "picker/fan/fan_geometry.h"
#include <algorithm>
#include <cmath>

namespace vt {

namespace {

// A scroll offset that is not a number (a fault upstream) is read as the top of the list rather
// than spreading through every measure.
double usable(double scroll) {
    return std::isnan(scroll) ? 0.0 : scroll;
}

double asDouble(std::int64_t v) {
    return static_cast<double>(v);
}

// Rows as doubles so that no offset, however wild, overflows an integer before it is clamped.
std::optional<std::pair<std::int64_t, std::int64_t>> rowRange(double first, double last) {
    constexpr double lastRepresentableRow = 9.2e18;
    last = std::min(last, lastRepresentableRow);
    if (!(last >= first)) return std::nullopt;
    return std::pair{static_cast<std::int64_t>(first), static_cast<std::int64_t>(last)};
}

} // namespace

double FanGeometry::step() const {
    return arc / asDouble(std::max<std::int64_t>(visibleSlots - 1, 1));
}

double FanGeometry::inner() const {
    return std::max(rowPitch / step(), minInnerRadius);
}

double FanGeometry::rowEnd() const {
    return inner() + rowLength;
}

double FanGeometry::rowAngle(std::int64_t i, double scroll) const {
    return lo() + step() * (asDouble(i) - scroll);
}

double FanGeometry::maxScroll() const {
    return std::max(asDouble(count) - asDouble(visibleSlots), 0.0);
}

RectD FanGeometry::rowsExtent(bool whole) const {
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    bool first = true;
    constexpr int samples = 64;
    for (int k = 0; k <= samples; ++k) {
        const double a = lo() + (hi() - lo()) * k / samples;
        const double c = std::cos(a), s = std::sin(a);
        const double half = whole ? rowHeight / 2 : 0;
        for (const double r : {inner(), rowEnd() + (whole ? selectedPush : 0)})
            for (const double side : {-half, half}) {
                const double x = (r * c - side * s) * (flipX ? -1 : 1);
                const double y = r * s + side * c;
                minX = first ? x : std::min(minX, x);
                maxX = first ? x : std::max(maxX, x);
                minY = first ? y : std::min(minY, y);
                maxY = first ? y : std::max(maxY, y);
                first = false;
            }
    }
    return {minX, minY, maxX - minX, maxY - minY};
}

double FanGeometry::overflow(double a, double spaceAbove, double spaceBelow) const {
    // Only the two outermost spokes, at full length, can leave the screen.
    const double r = rowEnd();
    const double top = std::max(-r * std::sin(std::min(a - halfArc, 0.0)) - spaceAbove, 0.0);
    const double bottom = std::max(r * std::sin(std::max(a + halfArc, 0.0)) - spaceBelow, 0.0);
    return top + bottom;
}

double FanGeometry::fittedCenterAngle(double spaceAbove, double spaceBelow) const {
    double best = 0;
    double bestOverflow = overflow(0, spaceAbove, spaceBelow);
    for (int k = 1; k <= fitMaxDegrees; ++k) {
        // Downward first, so that of two equal tilts the downward one wins.
        for (const double a : {k * degree, -k * degree}) {
            const double o = overflow(a, spaceAbove, spaceBelow);
            if (o < bestOverflow - fitImprovement) {
                best = a;
                bestOverflow = o;
            }
        }
        if (bestOverflow == 0) break;
    }
    return best;
}

double FanGeometry::scrollToShow(std::int64_t i, double scroll) const {
    const double row = asDouble(i);
    const double slots = asDouble(visibleSlots);
    double t = std::min(usable(scroll), row);
    if (t + slots - 1 < row) t = row - slots + 1;
    t = std::max(t, 0.0);
    return std::min(t, maxScroll());
}

std::optional<std::pair<std::int64_t, std::int64_t>>
FanGeometry::visibleRange(double scroll) const {
    if (count < 1) return std::nullopt;
    const double s = usable(scroll);
    const double first = std::max(std::ceil(s - snapTolerance), 0.0);
    const double last =
        std::min(std::floor(s + (asDouble(visibleSlots) - 1) + snapTolerance), asDouble(count - 1));
    return rowRange(first, last);
}

FanFlip fanFlipDecision(PointD p, RectD v, const FanGeometry& geometry) {
    const double needed = geometry.rowEnd() + FanGeometry::flipMargin;
    const double roomRight = v.maxX() - p.x;
    const double roomLeft = p.x - v.minX();
    FanFlip result;
    // Equal room keeps the fan on the right.
    result.flipX = !(roomRight >= needed) && roomRight < roomLeft;
    result.spaceAbove = v.maxY() - p.y - FanGeometry::screenMargin;
    result.spaceBelow = p.y - v.minY() - FanGeometry::screenMargin;
    return result;
}

PickerHit fanHit(const FanGeometry& g, double scroll, double dx, double dy) {
    const auto range = g.visibleRange(scroll);
    if (!range) return PickerHit::outside();
    if (std::isnan(dx) || std::isnan(dy)) return PickerHit::center();
    const double d = std::sqrt(dx * dx + dy * dy);
    if (d < FanGeometry::deadZone) return PickerHit::center();
    const double x = g.flipX ? -dx : dx;
    if (x < -FanGeometry::backwardTolerance) return PickerHit::outside();
    if (d > g.outsideRadius()) return PickerHit::outside();
    double idx = std::round(usable(scroll) + (std::atan2(dy, x) - g.lo()) / g.step());
    // Written so that a broken centre angle (NaN) also lands on the first row.
    if (!(idx >= asDouble(range->first))) idx = asDouble(range->first);
    if (idx > asDouble(range->second)) idx = asDouble(range->second);
    return PickerHit::item(static_cast<std::int64_t>(idx));
}

std::optional<std::pair<std::int64_t, std::int64_t>>
fanDrawingWindow(std::int64_t count, std::int64_t visibleSlots, double scroll) {
    const double s = usable(scroll);
    const double first = std::max(std::floor(s) - 2, 0.0);
    const double last = std::min(std::ceil(s) + asDouble(visibleSlots) + 1, asDouble(count) - 1);
    return rowRange(first, last);
}

SpokeTransform spokeTransform(const Spoke& s) {
    SpokeTransform t;
    t.rotation = s.flipX ? -s.angle : s.angle;
    t.scale = s.reach <= 0 ? FanGeometry::collapsedScale
                           : FanGeometry::collapsedScale +
                                 (1 - FanGeometry::collapsedScale) * std::min(s.reach, 1.0);
    const double beyondArc = std::max({s.lo - s.angle, s.angle - s.hi, 0.0});
    const double fade = std::max(1 - beyondArc / std::max(s.step, 0.01), 0.0);
    t.opacity = std::clamp(1.4 * s.reach, 0.0, 1.0) * fade;
    const double r = (s.inner + FanGeometry::halfRow + s.push) * s.reach;
    t.offsetX = s.flipX ? -r * std::cos(s.angle) : r * std::cos(s.angle);
    t.offsetY = r * std::sin(s.angle);
    return t;
}

} // namespace vt
