#include "tests/e2e/harness_panels.h"
#include <cmath>

namespace vt::test {

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
