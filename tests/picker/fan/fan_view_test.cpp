#include "fan_panel_fixture.h"
#include "tests/doubles/saved_frames.h"

#include <QImage>
#include <cmath>

namespace vt {
namespace {

using test::clips;

// The fan drawn through its panel, with time under the test's control.
class FanRender : public test::FanPanelTest {
protected:
    FanRender() {
        screens.list = {{{0, 0, 1440, 900}, {0, 0, 1440, 875}, 1}}; // pointers chosen for it
        panel.view().setAppearance(Appearance::dark);
    }

    void open(const std::vector<ClipItem>& items, std::int64_t selected, PointD at = {500, 450}) {
        panel.show(items, selected, at);
        queue.runPending();
        wait(2);
    }
    void wait(double seconds) {
        clock.advance(seconds);
        queue.advance(seconds);
        panel.view().advanceTo(clock.now());
    }
    QImage frame() {
        return test::keepFrame(panel.view().renderAt(clock.now()), QStringLiteral("fan-"), frames_);
    }

    // A point `distance` out from the pointer along row i's direction at rest.
    QPointF along(std::int64_t i, double distance) const {
        const FanGeometry& g = panel.model().geometry();
        const double a = g.rowAngle(i, panel.model().scroll());
        const QPointF o = panel.view().origin();
        return {o.x() + (g.flipX ? -1 : 1) * distance * std::cos(a),
                o.y() + distance * std::sin(a)};
    }
    double inner() const { return panel.model().geometry().inner(); }
    static QColor probe(const QImage& image, QPointF p) {
        return image.pixelColor(int(std::lround(p.x())), int(std::lround(p.y())));
    }
    // The orange-to-pink accent at full strength.
    static bool isAccent(const QColor& c) {
        return c.alpha() > 200 && c.red() > 180 && c.red() - c.green() > 60 &&
               c.red() - c.blue() > 30;
    }
    // Accent pixels inside a rectangle.
    static int accentPixels(const QImage& image, const QRect& box) {
        int n = 0;
        const QRect r = box.intersected(image.rect());
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (isAccent(image.pixelColor(x, y))) ++n;
        return n;
    }
    // The bubble's card, from the pointer's side away from the fan.
    QRect bubbleBox() const {
        const QPointF o = panel.view().origin();
        const bool flip = panel.model().geometry().flipX;
        const int left = int(flip ? o.x() + 22 : o.x() - 258);
        return {left, int(o.y() - 150), 236, 300};
    }

    int frames_ = 0;
};

TEST_F(FanRender, SelectedRowCarriesTheAccentAndSitsEightPointsFurtherOut) {
    open(clips(12), 4);
    const QImage image = frame();
    // Row 4's pill starts 38 points beyond the inner radius (30 plus the push of 8).
    EXPECT_TRUE(isAccent(probe(image, along(4, inner() + 42))));
    EXPECT_FALSE(isAccent(probe(image, along(4, inner() + 34))));
    EXPECT_LT(probe(image, along(4, inner() + 35)).alpha(), 120); // the gap before the pill
    for (std::int64_t i : {0, 3, 5, 11}) {
        const QColor plain = probe(image, along(i, inner() + 34));
        EXPECT_FALSE(isAccent(plain)) << i;
        EXPECT_GT(plain.alpha(), 120) << i; // an unpushed pill already covers this point
    }
}

TEST_F(FanRender, OutsideLeavesNoRowSelectedAndTheBubbleOnlySaysReleasingCancels) {
    open(clips(12), 4);
    EXPECT_GT(accentPixels(frame(), bubbleBox()), 20); // the "5 / 12" capsule
    panel.setOutside(true);
    wait(1);
    const QImage image = frame();
    for (std::int64_t i = 0; i < 12; ++i) {
        EXPECT_FALSE(isAccent(probe(image, along(i, inner() + 42)))) << i;
        EXPECT_GT(probe(image, along(i, inner() + 34)).alpha(), 120) << i; // not pushed
    }
    const QRect box = bubbleBox();
    EXPECT_EQ(accentPixels(image, box), 0);
    // One short line: the card is far less tall than one with a header and a body.
    int opaqueRows = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        if (image.pixelColor(box.center().x(), y).alpha() > 150) ++opaqueRows;
    EXPECT_GT(opaqueRows, 20);
    EXPECT_LT(opaqueRows, 45);
}

TEST_F(FanRender, RowsBeyondTheArcAreFaded) {
    open(clips(30), 14); // scroll 3: rows 1 and 2 wait above the arc
    const QImage image = frame();
    EXPECT_LT(probe(image, along(2, inner() + 60)).alpha(), 10);
    EXPECT_GT(probe(image, along(3, inner() + 60)).alpha(), 150);
}

TEST_F(FanRender, FollowsTheLightOrDarkAppearance) {
    open(clips(6), 0);
    // Along row 3's pill, letters and all.
    const auto lightness = [&](const QImage& image) {
        int sum = 0;
        for (int d = 50; d < 250; d += 10)
            sum += probe(image, along(3, inner() + d)).lightness();
        return sum / 20;
    };
    const int dark = lightness(frame());
    panel.view().setAppearance(Appearance::light);
    const int light = lightness(frame());
    EXPECT_GT(light, dark + 60);
}

} // namespace
} // namespace vt
