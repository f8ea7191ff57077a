#include "picker/ring/ring_geometry.h"
#include <algorithm>
#include <cmath>

namespace vt::RingGeometry {

double wedgePitch(std::int64_t n) {
    return fullTurn / static_cast<double>(std::max<std::int64_t>(n, 1));
}

double wedgeCenterAngle(std::int64_t k, std::int64_t n) {
    return n >= 1 ? static_cast<double>(k) * wedgePitch(n) : 0.0;
}

double wedgeStartAngle(std::int64_t k, std::int64_t n) {
    return wedgeCenterAngle(k, n) - wedgePitch(n) / 2 + wedgeGap / 2;
}

double wedgeEndAngle(std::int64_t k, std::int64_t n) {
    return wedgeCenterAngle(k, n) + wedgePitch(n) / 2 - wedgeGap / 2;
}

PickerHit hit(double dx, double dy, std::int64_t n) {
    const double r = std::sqrt(dx * dx + dy * dy);
    if (r > outsideRadius) return PickerHit::outside();
    // Written so that a NaN distance also lands here.
    if (!(r >= deadZoneRadius) || n <= 0) return PickerHit::center();
    const double pitch = fullTurn / static_cast<double>(n);
    double theta = std::atan2(dx, -dy);
    if (theta < 0) theta += fullTurn;
    const auto k = static_cast<std::int64_t>(std::trunc((theta + pitch / 2) / pitch));
    return PickerHit::item(k % n);
}

double shortWayHighlightAngle(std::int64_t i, std::int64_t n, double current) {
    const double target = wedgePitch(n) * static_cast<double>(i);
    // A broken current angle must not poison every later move; start over from the target.
    if (!std::isfinite(current)) return target;
    const double turns = std::round((current - target) / fullTurn);
    return target + turns * fullTurn;
}

double initialHighlightAngle(std::int64_t n, std::int64_t selected) {
    return n > 0 ? fullTurn / static_cast<double>(n) * static_cast<double>(selected) : 0.0;
}

} // namespace vt::RingGeometry
