// Stand-ins the benchmarks share: one 1920 x 1080 screen with the pointer left of the middle (so
// the whole fan fits), and an overlay surface that draws nothing, so that a benchmark measures
// the panel and its view rather than a window.
#pragma once
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

} // namespace vt::bench
