#pragma once
#include "platform/screens.h"
#include "ui/overlay_surface.h"
#include <vector>

namespace vt::test {

// Screens with a fixed layout and pointer, in window space.
class FakeScreens final : public Screens {
public:
    std::vector<ScreenInfo> list;
    PointD mouse;
    bool compositing = true;

    std::vector<ScreenInfo> screens() const override { return list; }
    std::optional<ScreenInfo> mainScreen() const override {
        if (list.empty()) return std::nullopt;
        return list.front();
    }
    PointD mouseLocation() const override { return mouse; }
    bool compositingActive() const override { return compositing; }
    RootSpace rootSpace() const override {
        return RootSpace{list.empty() ? RectD{} : list.front().frame, {}};
    }
};

// An overlay window that records what a picker panel asked of it.
class FakeOverlaySurface final : public OverlaySurface {
public:
    RectD lastFrame;
    bool visible = false;
    int orderFrontCount = 0;
    int orderOutCount = 0;
    int displayCount = 0;
    double alpha = 1;
    std::vector<double> alphas; // every alpha set, in order

    void setFrame(RectD f) override { lastFrame = f; }
    RectD frame() const override { return lastFrame; }
    void orderFront() override {
        visible = true;
        ++orderFrontCount;
    }
    void orderOut() override {
        visible = false;
        ++orderOutCount;
    }
    bool isVisible() const override { return visible; }
    void setAlpha(double a) override {
        alpha = a;
        alphas.push_back(a);
    }
    void displayNow() override { ++displayCount; }
};

} // namespace vt::test
