#include "ring_panel_fixture.h"
#include "tests/doubles/saved_frames.h"

#include <QImage>
#include <cmath>
#include <numbers>

namespace vt {
namespace {

constexpr double kPi = std::numbers::pi;

// The ring drawn through its panel, with time under the test's control.
class RingRender : public test::RingPanelTest {
protected:
    // Shows the ring and lets the opening animation settle.
    void open(const std::vector<ClipItem>& items, std::int64_t selected) {
        panel.show(items, selected);
        queue.runPending();
        settle();
    }
    void settle() { wait(3); }
    void wait(double seconds) {
        clock.advance(seconds);
        queue.advance(seconds);
    }
    QImage frame() {
        return test::keepFrame(panel.view().renderAt(clock.now()), QStringLiteral(""), frames_);
    }
    int frames_ = 0;

    static QPointF at(double angle, double radius) {
        return {230 + radius * std::sin(angle), 230 - radius * std::cos(angle)};
    }
    static QColor probe(const QImage& image, QPointF p) {
        return image.pixelColor(int(std::lround(p.x())), int(std::lround(p.y())));
    }
    // The orange-to-pink accent at full strength.
    static bool isAccent(const QColor& c) {
        return c.alpha() > 200 && c.red() > 180 && c.red() - c.green() > 80;
    }
};

// Pixels of a box that stand out above the box's typical brightness by more than the
// material's grain: text and icons.
int ink(const QImage& image, QPointF centre, double halfWidth, double halfHeight,
        int threshold = 24) {
    std::vector<int> lum;
    const QRect box(int(centre.x() - halfWidth), int(centre.y() - halfHeight), int(2 * halfWidth),
                    int(2 * halfHeight));
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            lum.push_back(qGray(image.pixel(x, y)));
    std::vector<int> sorted = lum;
    std::nth_element(sorted.begin(), sorted.begin() + long(sorted.size() / 2), sorted.end());
    const int median = sorted[sorted.size() / 2];
    return int(
        std::count_if(lum.begin(), lum.end(), [&](int l) { return l > median + threshold; }));
}

TEST_F(RingRender, HighlightCoversTheSelectedWedgeOnly) {
    for (int k : {0, 2, 5}) {
        open(test::clips(8), k);
        const QImage image = frame();
        for (int i = 0; i < 8; ++i) {
            const bool accent = isAccent(probe(image, at(i * kPi / 4, 166)));
            EXPECT_EQ(accent, i == k) << "selected " << k << ", wedge " << i;
        }
        // Just past the selected wedge's edge (inside the gap to the next) is not accent.
        EXPECT_FALSE(isAccent(probe(image, at(k * kPi / 4 + kPi / 8 + 0.005, 166))));
    }
    panel.select(2); // the highlight slides to a new selection
    settle();
    const QImage image = frame();
    EXPECT_TRUE(isAccent(probe(image, at(kPi / 2, 166))));
    EXPECT_FALSE(isAccent(probe(image, at(5 * kPi / 4, 166))));
}

TEST_F(RingRender, OutsideShowsTheCancelHintAndNoHighlight) {
    std::vector<ClipItem> items = test::clips(4);
    // A selected clip whose preview is empty: an image without data and no source application.
    ClipItem bare;
    bare.id = QUuid::createUuid();
    bare.kind = ClipItem::Kind::image;
    items[1] = bare;
    open(items, 1);
    const QImage inside = frame();
    const int before = ink(inside, {230, 230}, 50, 40);
    panel.setOutside(true);
    settle();
    const QImage outside = frame();
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(isAccent(probe(outside, at(i * kPi / 2, 166)))) << "wedge " << i;
    EXPECT_TRUE(isAccent(probe(inside, at(kPi / 2, 166))));
    EXPECT_EQ(before, 0);
    EXPECT_GT(ink(outside, {230, 230}, 50, 40), 60); // the symbol and "離すとやめる"
}

// Frames every 15 ms through the opening (scaled, blurred and faded at once, painted through
// the half-resolution layer while blurred), at scale 1 and 2: what is painted stays centred on
// the ring's centre in every frame, never a fragment off to one side.
TEST_F(RingRender, OpeningFramesStayCentred) {
    for (const double scale : {1.0, 2.0}) {
        panel.show(test::clips(8), 0);
        queue.runPending();
        for (int ms = 0; ms <= 300; ms += 15) {
            const QImage image = panel.view().renderAt(clock.now() + ms / 1000.0, scale);
            QRect painted;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (qAlpha(image.pixel(x, y)) > 30) painted |= QRect(x, y, 1, 1);
            if (painted.isEmpty()) continue;
            const QString at = QStringLiteral("%1x %2 ms").arg(scale).arg(ms);
            EXPECT_NEAR(painted.center().x(), 230 * scale, 6 * scale) << at.toStdString();
            EXPECT_NEAR(painted.center().y(), 230 * scale, 6 * scale) << at.toStdString();
        }
        panel.hide(false);
        wait(1);
    }
}

} // namespace
} // namespace vt
