// The ring's panel with doubles for its screens, main queue, window and clock: one 1440 x 900
// display with the top 25 points reserved, the pointer in its middle.
#pragma once

#include "picker/ring/ring_panel.h"
#include "tests/doubles/fake_screens.h"
#include "tests/doubles/manual_main_queue.h"
#include "ui/animation_clock.h"

#include <gtest/gtest.h>

namespace vt::test {

inline std::vector<ClipItem> clips(int n) {
    std::vector<ClipItem> out;
    for (int i = 0; i < n; ++i)
        out.push_back(ClipItem::makeText(QStringLiteral("テキスト %1 sample").arg(i)));
    return out;
}

class RingPanelTest : public ::testing::Test {
protected:
    RingPanelTest() {
        screens.list = {{{0, 0, 1440, 900}, {0, 0, 1440, 875}, 1}};
        screens.mouse = {720, 450};
    }

    RingPanel::SurfaceFactory factory() {
        return [this](PaintedView&) {
            auto s = std::make_unique<FakeOverlaySurface>();
            surface = s.get();
            return s;
        };
    }

    FakeScreens screens;
    ManualMainQueue queue;
    ManualAnimationClock clock;
    FakeOverlaySurface* surface = nullptr;
    RingPanel panel{screens, queue, factory(), clock};
};

} // namespace vt::test
