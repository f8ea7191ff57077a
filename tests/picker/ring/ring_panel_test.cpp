#include "ring_panel_fixture.h"

#include <numbers>

namespace vt {
namespace {

using test::clips;
using test::RingPanelTest;

// The ring is centred on the pointer and clamped into the visible frame of the pointer's screen;
// without screens it stays on the pointer. Centres are measured up from the primary's bottom.
TEST_F(RingPanelTest, PlacementTable) {
    const auto one = screens.list;
    const std::vector<ScreenInfo> narrow{{{0, 0, 400, 300}, {0, 0, 400, 300}, 1}};
    auto two = one;
    two.push_back({{1440, 0, 1920, 1080}, {1440, 0, 1920, 1080}, 1});
    auto below = one; // a screen under the primary: its top pixel row (y = 0) is its own
    below.push_back({{0, -1080, 1440, 1080}, {0, -1080, 1440, 1080}, 1});
    struct Case {
        std::vector<ScreenInfo> list;
        PointD mouse;
        RectD frame;
        std::optional<PointD> centre;
    };
    // clang-format off
    const Case cases[] = {
        {one, {720, 450}, {490, 220, 460, 460}, PointD{720, 450}},    // middle
        {one, {100, 100}, {0, 0, 460, 460}, PointD{230, 670}},        // bottom-left corner
        {one, {1430, 890}, {980, 415, 460, 460}, PointD{1210, 255}},  // top-right, under the bar
        {one, {10, 450}, {0, 220, 460, 460}, PointD{230, 450}},       // left edge
        {narrow, {200, 150}, {-60, -160, 460, 460}, std::nullopt},    // the upper bound wins
        {{}, {10, 20}, {-220, -210, 460, 460}, PointD{10, -20}},      // no screens: unclamped
        {two, {1450, 540}, {1440, 310, 460, 460}, std::nullopt},      // into the pointer's screen
        {below, {700, 0}, {470, -460, 460, 460}, std::nullopt},       // top row of the lower one
    };
    // clang-format on
    for (const Case& c : cases) {
        screens.list = c.list;
        screens.mouse = c.mouse;
        const PointD centre = panel.show(clips(2), 0);
        ASSERT_NE(surface, nullptr);
        EXPECT_TRUE(surface->visible);
        EXPECT_EQ(surface->lastFrame, c.frame) << c.mouse.x << "," << c.mouse.y;
        if (c.centre) {
            EXPECT_EQ(centre, *c.centre) << c.mouse.x << "," << c.mouse.y;
        }
    }
}

TEST_F(RingPanelTest, ShowResetsTheModelWithoutAnimationThenSpringsOpenNextTurn) {
    panel.show(clips(8), 3);
    EXPECT_EQ(panel.model().phase(), PickerPhase::hidden);
    EXPECT_DOUBLE_EQ(panel.model().highlightAngle(), 3 * std::numbers::pi / 4);
    EXPECT_EQ(panel.model().selected(), 3);
    EXPECT_FALSE(panel.view().animating());
    queue.runPending();
    EXPECT_EQ(panel.model().phase(), PickerPhase::shown);
    EXPECT_TRUE(panel.view().animating());
}

// A commit closes after 0.26 s, a cancel after the shorter 0.18 s.
TEST_F(RingPanelTest, HideOrdersOutAfterTheClosingAnimation) {
    for (const bool commit : {true, false}) {
        panel.show(clips(2), 0);
        queue.runPending();
        const auto g = panel.generation();
        panel.hide(commit);
        EXPECT_EQ(panel.generation(), g + 1);
        EXPECT_EQ(panel.model().phase(),
                  commit ? PickerPhase::committing : PickerPhase::cancelling);
        queue.advance(0.17);
        EXPECT_TRUE(surface->visible);
        queue.advance(commit ? 0.08 : 0.02);
        EXPECT_EQ(surface->visible, commit);
        queue.advance(0.02);
        EXPECT_FALSE(surface->visible);
        EXPECT_EQ(panel.model().phase(), PickerPhase::hidden);
    }
    // A show within the delay keeps the ring on screen.
    panel.show(clips(2), 0);
    queue.runPending();
    panel.hide(true);
    queue.advance(0.1);
    panel.show(clips(3), 1);
    queue.advance(0.5);
    EXPECT_TRUE(surface->visible);
    EXPECT_EQ(surface->orderOutCount, 2);
    EXPECT_EQ(panel.model().phase(), PickerPhase::shown);
    EXPECT_EQ(panel.model().items().size(), 3u);
}

TEST(RootSpace, ConvertsOnTwoScreensWithThePrimaryAwayFromTheRootOrigin) {
    // Root layout: a 1280 x 1024 screen at the left, the primary 1920 x 1080 to its right,
    // 100 pixels lower.
    const RootSpace space{{1280, 100, 1920, 1080}, {}};
    EXPECT_EQ(space.toEvent({1280, 100}), (PointD{0, 0}));
    EXPECT_EQ(space.toWindow({1280, 100}), (PointD{0, 1080}));
    EXPECT_EQ(space.toWindow({10, 20}), (PointD{-1270, 1160}));
    EXPECT_EQ(space.fromWindow(space.toWindow({10, 20})), (PointD{10, 20}));
    // The left screen's rectangle in window space sits left of the primary.
    EXPECT_EQ(space.rectToWindow({0, 0, 1280, 1024}), (RectD{-1280, 156, 1280, 1024}));
    // A 460 window with window-space origin (0, 0) sits at the primary's bottom-left.
    EXPECT_EQ(space.rectFromWindow({0, 0, 460, 460}), (RectD{1280, 720, 460, 460}));
    EXPECT_EQ(space.rectFromWindow(space.rectToWindow({5, 6, 7, 8})), (RectD{5, 6, 7, 8}));
}

// Prewarming draws the ring once, invisibly and inside the visible frame, and leaves nothing
// behind: no window on screen, an empty hidden model, and a first real show like any other.
// While the ring is open it does nothing at all.
TEST_F(RingPanelTest, PrewarmDrawsOnceInvisiblyAndLeavesNothingBehind) {
    panel.prewarm();
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->orderFrontCount, 1);
    EXPECT_EQ(surface->displayCount, 1);
    EXPECT_FALSE(surface->visible);
    const RectD f = surface->lastFrame;
    EXPECT_TRUE(f.x >= 0 && f.maxX() <= 1440 && f.y >= 0 && f.maxY() <= 875);
    EXPECT_TRUE(panel.model().items().empty());
    EXPECT_EQ(panel.model().phase(), RingModel::Phase::hidden);

    const PointD centre = panel.show(clips(3), 1);
    EXPECT_TRUE(surface->visible);
    EXPECT_EQ(panel.model().items().size(), 3u);
    EXPECT_EQ(centre.x, 720);

    const int drawn = surface->displayCount;
    panel.prewarm();
    EXPECT_TRUE(surface->visible) << "prewarming must not close an open ring";
    EXPECT_EQ(surface->displayCount, drawn);
    EXPECT_EQ(panel.model().items().size(), 3u);
}

} // namespace
} // namespace vt
