#include "tests/tap/harness_panels.h"
#include "picker/ring/ring_geometry.h"
#include <QCursor>
#include <algorithm>
#include <cmath>

namespace vt::test {

PointD HarnessPanel::show(const std::vector<ClipItem>& items, std::int64_t selected) {
    count_ = static_cast<std::int64_t>(items.size());
    open_ = true;
    const QPoint p = QCursor::pos();
    report_("shown " + std::to_string(count_) + " " + std::to_string(selected) + " at " +
            std::to_string(p.x()) + "," + std::to_string(p.y()));
    return {static_cast<double>(p.x()), static_cast<double>(p.y())};
}

void HarnessPanel::select(std::int64_t index) {
    report_("select " + std::to_string(index));
}

void HarnessPanel::setOutside(bool outside) {
    report_(std::string("outside ") + (outside ? "1" : "0"));
}

void HarnessPanel::hide(bool committed) {
    if (!open_) return; // nothing open: nothing visible happens
    open_ = false;
    report_(std::string("hidden ") + (committed ? "committed" : "cancelled"));
}

PickerHit HarnessRingPanel::hit(double dx, double dy) const {
    if (qEnvironmentVariableIsSet("HARNESS_TRACE_HITS"))
        report_("hit " + std::to_string(dx) + "," + std::to_string(dy));
    return RingGeometry::hit(dx, dy, count_);
}

FanGeometry HarnessFanPanel::geometry() const {
    FanGeometry g;
    g.count = count_;
    g.visibleSlots = visibleSlots;
    return g;
}

PointD HarnessFanPanel::show(const std::vector<ClipItem>& items, std::int64_t selected) {
    scroll_ = 0;
    return HarnessPanel::show(items, selected);
}

PickerHit HarnessFanPanel::hit(double dx, double dy) const {
    if (qEnvironmentVariableIsSet("HARNESS_TRACE_HITS"))
        report_("fan hit " + std::to_string(dx) + "," + std::to_string(dy));
    return fanHit(geometry(), scroll_, dx, dy);
}

bool HarnessFanPanel::scroll(double by) {
    const double next = std::clamp(std::round(scroll_ + by), 0.0, geometry().maxScroll());
    if (next == scroll_) return false;
    scroll_ = next;
    report_("scrolled " + std::to_string(static_cast<int>(scroll_)));
    return true;
}

PointD ReportingPanel::show(const std::vector<ClipItem>& items, std::int64_t selected) {
    open_ = true;
    const PointD centre = inner_.show(items, selected);
    report_("shown " + std::to_string(items.size()) + " " + std::to_string(selected) + " at " +
            std::to_string(std::lround(centre.x)) + "," + std::to_string(std::lround(centre.y)));
    if (afterShow) afterShow();
    return centre;
}

void ReportingPanel::select(std::int64_t index) {
    inner_.select(index);
    report_("select " + std::to_string(index));
}

void ReportingPanel::setOutside(bool outside) {
    inner_.setOutside(outside);
    report_(std::string("outside ") + (outside ? "1" : "0"));
}

void ReportingPanel::hide(bool committed) {
    inner_.hide(committed);
    if (!open_) return;
    open_ = false;
    report_(std::string("hidden ") + (committed ? "committed" : "cancelled"));
}

bool ReportingPanel::scroll(double by) {
    const bool moved = inner_.scroll(by);
    if (moved) report_("scrolled");
    return moved;
}

} // namespace vt::test
