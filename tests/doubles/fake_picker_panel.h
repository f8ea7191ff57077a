#pragma once
#include "core/picker_panel.h"
#include <functional>
#include <string>
#include <vector>

namespace vt::test {

// A PickerPanel that records what the controller asks of it; hits and scrolling are scripted.
class FakePickerPanel final : public PickerPanel {
public:
    explicit FakePickerPanel(std::int64_t maxItems) : maxItems_(maxItems) {}

    void setMaxItems(std::int64_t n) { maxItems_ = n; }

    PointD centre{500, 400};
    std::function<PickerHit(double, double)> hitFunction = [](double, double) {
        return PickerHit::center();
    };
    bool scrollMoves = false;

    std::vector<std::vector<ClipItem>> shown;
    std::vector<std::int64_t> shownSelected;
    std::vector<std::int64_t> selected;
    std::vector<bool> outside;
    std::vector<bool> hides;
    std::vector<double> scrolls;
    mutable std::vector<std::pair<double, double>> hitOffsets;

    std::int64_t maxItems() const override { return maxItems_; }
    PointD show(const std::vector<ClipItem>& items, std::int64_t sel) override {
        shown.push_back(items);
        shownSelected.push_back(sel);
        return centre;
    }
    void select(std::int64_t index) override { selected.push_back(index); }
    void setOutside(bool o) override { outside.push_back(o); }
    void hide(bool committed) override { hides.push_back(committed); }
    PickerHit hit(double dx, double dy) const override {
        hitOffsets.emplace_back(dx, dy);
        return hitFunction(dx, dy);
    }
    bool scroll(double by) override {
        scrolls.push_back(by);
        return scrollMoves;
    }

private:
    std::int64_t maxItems_;
};

} // namespace vt::test
