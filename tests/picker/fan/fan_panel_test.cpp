#include "fan_panel_fixture.h"

#include <QTransform>

namespace vt {
namespace {

using test::clips;
using test::FanPanelTest;

TEST_F(FanPanelTest, SettingsOutOfRangeAreReadSafely) {
    panel.setMaxItems(-3);
    EXPECT_EQ(panel.maxItems(), 0);
    panel.setVisibleSlots(0);
    EXPECT_EQ(panel.visibleSlots(), 1);
    open(5);
    EXPECT_EQ(panel.hit(200, 0), PickerHit::item(0));
    // A valid number of slots shapes the next show.
    panel.setVisibleSlots(8);
    open(20);
    EXPECT_NEAR(panel.model().geometry().inner(), 74.04, 0.01);
}

TEST_F(FanPanelTest, ShowFramesTheWholeScreenAndAnchorsAtThePointer) {
    const PointD origin = panel.show(clips(5), 2, {600, 700});
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->lastFrame, (RectD{0, 0, 1920, 1080}));
    EXPECT_TRUE(surface->visible);
    EXPECT_EQ(origin, (PointD{600, 380}));
    EXPECT_EQ(panel.model().canvas(), (SizeD{1920, 1080}));
    EXPECT_EQ(panel.model().anchor(), (SizeD{600 - 960, 540 - 700}));
    EXPECT_EQ(panel.model().selected(), 2);
    // Hidden until the next turn of the main queue, then shown.
    EXPECT_EQ(panel.model().phase(), PickerPhase::hidden);
    queue.runPending();
    EXPECT_EQ(panel.model().phase(), PickerPhase::shown);

    // On a secondary screen whose bottom edge is 200 points lower, the origin is measured from
    // the primary's top.
    screens.list.push_back({{1920, -200, 1280, 1024}, {1920, -200, 1280, 1024}, 1});
    EXPECT_EQ(panel.show(clips(4), 0, {2500, 100}), (PointD{2500, 1080 - 100}));
    EXPECT_EQ(surface->lastFrame, (RectD{1920, -200, 1280, 1024}));
    EXPECT_EQ(panel.model().anchor(), (SizeD{2500 - 2560, 312 - 100}));
    // Without a screen: the square centred on the pointer.
    screens.list.clear();
    EXPECT_EQ(panel.show(clips(3), 0, {300, 200}), (PointD{300, -200}));
    EXPECT_EQ(surface->lastFrame, (RectD{-250, -350, 1100, 1100}));
    EXPECT_EQ(panel.model().anchor(), (SizeD{0, 0}));
}

// Wherever the pointer is on two screens side by side (middle, corners, the shared edge), every
// row the user selects lies on the pointer's screen once selected, and so does the bubble (so the
// fan flips and tilts into the room there is); it opens at the pointer itself wherever it fits.
TEST_F(FanPanelTest, SelectedRowsAndTheBubbleStayOnThePointersScreen) {
    screens.list = {{{0, 0, 1920, 1080}, {0, 0, 1920, 1048}, 1},
                    {{1920, 0, 1920, 1080}, {1920, 0, 1920, 1080}, 1}};
    const PointD pointers[] = {{960, 540},  {3, 1047},   {1917, 1047}, {3, 1},     {1917, 1},
                               {1919, 540}, {1920, 540}, {3837, 1079}, {2500, 540}};
    for (const PointD p : pointers)
        for (const int n : {1, 12, 30}) {
            SCOPED_TRACE(testing::Message() << p.x << "," << p.y << " with " << n);
            const PointD origin = panel.show(clips(n), 0, p);
            const bool fits = p.x == 960 || p.x == 2500;
            if (fits) {
                EXPECT_EQ(origin, (PointD{p.x, 1080 - p.y}));
            }
            const RectD f = surface->lastFrame;
            const RectD v = FanPanel::screen(screens, p).value().visibleFrame;
            const QRectF room(v.x - f.x, f.maxY() - v.maxY(), v.width, v.height);
            EXPECT_TRUE(room.contains(panel.view().bubbleFrame()));
            for (std::int64_t i = 0; i < n; ++i) {
                panel.select(i);
                const FanGeometry& g = panel.model().geometry();
                const SpokeTransform t = spokeTransform({g.rowAngle(i, panel.model().scroll()), 1,
                                                         FanGeometry::selectedPush, g.inner(),
                                                         g.flipX, g.lo(), g.hi(), g.step()});
                QTransform m;
                m.translate(panel.view().origin().x() + t.offsetX,
                            panel.view().origin().y() + t.offsetY);
                m.rotateRadians(t.rotation);
                const QRectF row = m.mapRect(QRectF(-130, -14, 260, 28));
                EXPECT_TRUE(room.contains(row)) << "row " << i;
            }
        }
}

TEST_F(FanPanelTest, ShowAndSelectScrollTheRowOntoTheArc) {
    panel.show(clips(30), 20, {600, 540});
    EXPECT_EQ(panel.model().scroll(), 9); // row 20 at the lower end of 12 slots
    panel.select(2);
    EXPECT_EQ(panel.model().scroll(), 2);
    panel.select(15);
    EXPECT_EQ(panel.model().scroll(), 4);
}

// Fractions add up to whole rows; the ends of the list and amounts that are not numbers move
// nothing and clear the remainder, and so does the next show.
TEST_F(FanPanelTest, WheelScrollsWholeRowsWithinTheList) {
    open(14); // at most two rows of scrolling
    EXPECT_FALSE(panel.scroll(0.4));
    EXPECT_FALSE(panel.scroll(0.4));
    EXPECT_TRUE(panel.scroll(0.4));
    EXPECT_EQ(panel.model().scroll(), 1);
    EXPECT_NEAR(panel.scrollRemainder(), 0.2, 1e-9);
    EXPECT_TRUE(panel.scroll(1.3));
    EXPECT_EQ(panel.model().scroll(), 2);
    EXPECT_NEAR(panel.scrollRemainder(), 0.5, 1e-9);
    EXPECT_FALSE(panel.scroll(1.0));
    EXPECT_EQ(panel.model().scroll(), 2);
    EXPECT_EQ(panel.scrollRemainder(), 0);
    EXPECT_TRUE(panel.scroll(-5));
    EXPECT_EQ(panel.model().scroll(), 0);
    EXPECT_FALSE(panel.scroll(-1.5));
    EXPECT_EQ(panel.scrollRemainder(), 0);
    for (const double bad :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()})
        EXPECT_FALSE(panel.scroll(bad));
    EXPECT_EQ(panel.model().scroll(), 0);
    panel.scroll(0.4);
    open(30);
    EXPECT_EQ(panel.scrollRemainder(), 0);
}

TEST_F(FanPanelTest, HitUsesTheStoredGeometryAndScroll) {
    open(30);
    EXPECT_EQ(panel.hit(200, 0), PickerHit::item(6));
    panel.scroll(3);
    EXPECT_EQ(panel.hit(200, 0), PickerHit::item(9));
    // The wheel carried the selection (row 0) off the arc: the dead zone hands it to the
    // nearest row on the arc, and designates nothing once the selection is back on it.
    EXPECT_EQ(panel.hit(5, 5), PickerHit::item(3));
    panel.select(3);
    EXPECT_EQ(panel.hit(5, 5), PickerHit::center());
    EXPECT_EQ(panel.hit(-100, 0), PickerHit::outside());
}

// A commit closes after 0.25 s; a show during a close keeps the fan open.
TEST_F(FanPanelTest, HideOrdersOutAfterTheClosingAnimation) {
    open(3);
    const std::int64_t before = panel.generation();
    panel.hide(true);
    EXPECT_EQ(panel.model().phase(), PickerPhase::committing);
    EXPECT_EQ(panel.generation(), before + 1);
    queue.advance(0.23);
    EXPECT_TRUE(surface->visible);
    queue.advance(0.02);
    EXPECT_FALSE(surface->visible);
    EXPECT_EQ(panel.model().phase(), PickerPhase::hidden);

    open(3);
    panel.hide(false);
    queue.advance(0.1);
    open(3);
    queue.advance(1);
    EXPECT_TRUE(surface->visible);
    EXPECT_EQ(panel.model().phase(), PickerPhase::shown);
}

TEST_F(FanPanelTest, HideWhileHiddenOrBeforeTheDeferredShowOrdersOutAtOnce) {
    panel.hide(false); // never shown: the window is built but nothing shows
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->orderOutCount, 1);
    EXPECT_EQ(queue.pending(), 0u);
    panel.show(clips(3), 0, {600, 540});
    panel.hide(false);
    EXPECT_FALSE(surface->visible);
    queue.runPending();
    EXPECT_FALSE(surface->visible);
}

TEST_F(FanPanelTest, PrewarmRendersOffScreenAndLeavesThePlaceholder) {
    panel.prewarm();
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->displayCount, 1);
    EXPECT_FALSE(surface->visible);
    EXPECT_EQ(surface->alphas, (std::vector<double>{0, 1}));
    ASSERT_EQ(panel.model().items().size(), 1u);
    EXPECT_EQ(panel.model().items().front().text, QStringLiteral("…"));
}

} // namespace
} // namespace vt
