// The fan's panel with doubles for its screens, main queue, window and clock: one 1920 x 1080
// display with a 32-point panel along the top.
#pragma once

#include "picker/fan/fan_panel.h"
#include "tests/doubles/fake_screens.h"
#include "tests/doubles/manual_main_queue.h"
#include "ui/animation_clock.h"

#include <gtest/gtest.h>

namespace vt::test {

inline std::vector<ClipItem> clips(int n) {
    std::vector<ClipItem> out;
    for (int i = 0; i < n; ++i)
        out.push_back(ClipItem::makeText(QStringLiteral("テキスト %1 sample line").arg(i),
                                         QStringLiteral("Editor")));
    return out;
}

class FanPanelTest : public ::testing::Test {
protected:
    FanPanelTest() {
        screens.list = {{{0, 0, 1920, 1080}, {0, 0, 1920, 1048}, 1}};
        screens.mouse = {600, 540};
    }

    FanPanel::SurfaceFactory factory() {
        return [this](FanView&) {
            auto s = std::make_unique<FakeOverlaySurface>();
            surface = s.get();
            return s;
        };
    }
    void open(int n, std::int64_t selected = 0) {
        panel.show(clips(n), selected);
        queue.runPending();
    }

    FakeScreens screens;
    ManualMainQueue queue;
    ManualAnimationClock clock;
    FakeOverlaySurface* surface = nullptr;
    FanPanel panel{screens, queue, factory(), clock};
};

} // namespace vt::test
