// Stand-ins the benchmarks share: a picker and an overlay surface that draw nothing, and one
// 1920 x 1080 screen with the pointer left of the middle (so the whole fan fits).
#pragma once
#include "core/picker_panel.h"
#include "platform/screens.h"
#include "ui/overlay_surface.h"

namespace vt::bench {

class BenchScreens final : public Screens {
public:
    std::vector<ScreenInfo> screens() const override {
        return {{{0, 0, 1920, 1080}, {0, 0, 1920, 1048}, 1}};
    }
    std::optional<ScreenInfo> mainScreen() const override { return screens().front(); }
    PointD mouseLocation() const override { return {700, 540}; }
    bool compositingActive() const override { return true; }
    RootSpace rootSpace() const override { return {{0, 0, 1920, 1080}, {}}; }
};

class NullSurface final : public OverlaySurface {
public:
    void setFrame(RectD f) override { frame_ = f; }
    RectD frame() const override { return frame_; }
    void orderFront() override { visible_ = true; }
    void orderOut() override { visible_ = false; }
    bool isVisible() const override { return visible_; }
    void setAlpha(double) override {}
    void displayNow() override {}

private:
    RectD frame_;
    bool visible_ = false;
};

// A picker that draws nothing, for benchmarks of the tap and the controller.
class QuietPanel final : public PickerPanel {
public:
    std::int64_t maxItems() const override { return 8; }
    PointD show(const std::vector<ClipItem>&, std::int64_t) override { return {}; }
    void select(std::int64_t) override {}
    void setOutside(bool) override {}
    void hide(bool) override {}
    PickerHit hit(double, double) const override { return PickerHit::center(); }
    bool scroll(double) override { return false; }
};

} // namespace vt::bench
