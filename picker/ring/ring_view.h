#pragma once
#include "picker/ring/center_preview.h"
#include "picker/ring/ring_model.h"
#include "picker/ring/ring_view_art.h"
#include "ui/animation_clock.h"
#include "ui/animation_driver.h"
#include "ui/animation_values.h"
#include "ui/painted_view.h"

#include <QImage>
#include <unordered_map>

namespace vt {

// Draws a RingModel: the frosted ring, one wedge per clip, the accent highlight and the centre
// preview. A pure function of the model through the animation engine: every model change
// (observed synchronously, so inside the panel's transaction) becomes targets for animated
// values keyed by clip id, and painting reads presented values only.
class RingView final : public PaintedView {
public:
    // The clock times the animations (SteadyAnimationClock in the program, a manual clock in
    // tests). Both must outlive the view.
    RingView(RingModel& model, const AnimationClock& clock);
    ~RingView() override;
    RingView(const RingView&) = delete;
    RingView& operator=(const RingView&) = delete;

    QSizeF canvasSize() const override;
    void paint(QPainter& painter) override;
    QRegion drawnShape() const override;

    // Advances the animations to `time` on the view's clock and paints into a new image of the
    // canvas at the given scale (device pixels per point). Tests and benchmarks use it.
    QImage renderAt(double time, double scale = 1.0);

    // Presented state, for tests and the window's shape.
    const AnimatedValues& values() const { return values_; }
    // True while anything moves (the frame timer runs).
    bool animating() const { return !values_.settled(); }

private:
    struct Seen {
        PickerPhase phase = PickerPhase::hidden;
        std::int64_t selected = -1;
        bool outside = false;
    };
    struct WedgeState {
        bool selected = false;
    };

    void sync();
    void paintContent(QPainter& painter);
    void paintBackground(QPainter& painter, QPointF c);
    void paintHighlight(QPainter& painter, QPointF c, std::int64_t n);
    void paintWedge(QPainter& painter, QPointF c, const ClipItem& item, std::int64_t index,
                    std::int64_t n);
    void paintLabel(QPainter& painter, const ClipItem& item, std::int64_t number, double sel,
                    QPointF labelCenter, double scale, QPointF anchorUnit);
    const QImage& glowMask(std::int64_t n, double dpr);

    RingModel& model_;
    AnimatedValues values_;
    AnimationDriver driver_;
    RingArt art_;
    CenterPreview preview_;
    Observable::Token token_ = 0;
    int thumbnailToken_ = 0;
    Seen seen_;
    std::unordered_map<std::uint64_t, WedgeState> wedges_;
    QHash<QString, QImage> glowMasks_;
    QImage layer_;
    QTransform canvasTransform_; // the painter's transform before the phase scale
    QHash<double, QImage> backgrounds_;
};

} // namespace vt
