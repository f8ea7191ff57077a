#include "core/panel_placement.h"
#include <cmath>

namespace vt::PanelPlacement {

namespace {

// Distance from v to the closed interval [lo, hi]; 0 inside it.
double gap(double v, double lo, double hi) {
    if (v < lo) return lo - v;
    if (v > hi) return v - hi;
    return 0;
}

double distance(PointD p, const RectD& r) {
    return std::sqrt(std::pow(gap(p.x, r.minX(), r.maxX()), 2) +
                     std::pow(gap(p.y, r.minY(), r.maxY()), 2));
}

} // namespace

std::optional<std::size_t> screenIndex(PointD p, const std::vector<RectD>& frames) {
    if (frames.empty()) return std::nullopt;
    for (std::size_t i = 0; i < frames.size(); ++i)
        if (frames[i].contains(p)) return i;
    if (frames.size() == 1) return 0;
    std::size_t best = 0;
    double bestDistance = distance(p, frames[0]);
    for (std::size_t i = 1; i < frames.size(); ++i) {
        const double d = distance(p, frames[i]);
        // Only a strictly nearer frame wins, so equal distances keep the earlier display.
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

} // namespace vt::PanelPlacement
