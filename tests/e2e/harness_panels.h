#pragma once
#include "core/picker_panel.h"
#include <functional>
#include <string>

namespace vt::test {

// Reports what the controller asks of a real picker, and forwards it.
class ReportingPanel final : public PickerPanel {
public:
    using Report = std::function<void(const std::string&)>;
    ReportingPanel(PickerPanel& inner, Report report) : inner_(inner), report_(std::move(report)) {}

    std::int64_t maxItems() const override { return inner_.maxItems(); }
    PointD show(const std::vector<ClipItem>& items, std::int64_t selected) override;
    void select(std::int64_t index) override;
    void setOutside(bool outside) override;
    void hide(bool committed) override;
    PickerHit hit(double dx, double dy) const override { return inner_.hit(dx, dy); }
    bool scroll(double by) override;

    // Runs after every show, to report more of what the picker decided.
    std::function<void()> afterShow;

private:
    PickerPanel& inner_;
    Report report_;
    bool open_ = false;
};

} // namespace vt::test
