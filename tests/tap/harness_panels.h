#pragma once
#include "core/picker_panel.h"
#include "picker/fan/fan_geometry.h"
#include <functional>
#include <string>

namespace vt::test {

// Pickers for the end-to-end harness that draw nothing: they place themselves at the pointer and
// classify offsets with the real ring and fan geometry, and report what they are asked to do.
class HarnessPanel : public PickerPanel {
public:
    using Report = std::function<void(const std::string&)>;
    explicit HarnessPanel(Report report) : report_(std::move(report)) {}

    PointD show(const std::vector<ClipItem>& items, std::int64_t selected) override;
    void select(std::int64_t index) override;
    void setOutside(bool outside) override;
    void hide(bool committed) override;

protected:
    std::int64_t count_ = 0;
    bool open_ = false;
    Report report_;
};

class HarnessRingPanel final : public HarnessPanel {
public:
    using HarnessPanel::HarnessPanel;
    std::int64_t maxItems() const override { return 8; }
    PickerHit hit(double dx, double dy) const override;
    bool scroll(double) override { return false; }
};

class HarnessFanPanel final : public HarnessPanel {
public:
    using HarnessPanel::HarnessPanel;
    std::int64_t maxItemsValue = 50;
    std::int64_t visibleSlots = 12;
    std::int64_t maxItems() const override { return maxItemsValue; }
    PointD show(const std::vector<ClipItem>& items, std::int64_t selected) override;
    PickerHit hit(double dx, double dy) const override;
    bool scroll(double by) override;

private:
    FanGeometry geometry() const;
    double scroll_ = 0;
};

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
