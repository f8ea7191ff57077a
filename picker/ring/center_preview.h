#pragma once
#include "core/picker_types.h"
#include "history/clip_item.h"
#include "ui/animation_values.h"
#include <QHash>
#include <QImage>
#include <QPointF>
#include <optional>
#include <vector>

class QPainter;

namespace vt {

class RingArt;

// The disc in the middle of the ring: a larger preview of the selected clip, or the cancel
// hint while the pointer is beyond the ring. Holds no model state: the ring view hands it the
// selected clip, the phase and the outside flag on every model change, and it turns them into
// animated targets (cross-fading previews keyed by clip id, the commit swell) in the view's
// value store.
class CenterPreview {
public:
    CenterPreview(AnimatedValues& values, RingArt& art);

    // New inputs; runs inside the model change's transaction.
    void update(const std::optional<ClipItem>& item, PickerPhase phase, bool outside);
    // Paints the disc centred at `center` from presented values.
    void paint(QPainter& painter, QPointF center);

    static constexpr double kDiameter = 160;
    static constexpr double kInset = 12;

private:
    // One piece of content in the disc: a clip's preview or the cancel hint. Leaving layers
    // stay until they have faded out.
    struct Layer {
        bool hint = false;
        ClipItem item;
        std::uint64_t owner = 0;
        bool leaving = false;
    };

    void enter(Layer layer, const Animation* bound);
    void leaveAllBut(std::uint64_t owner, const Animation* bound);
    void setTarget(AnimKey key, double target, const Animation* bound);
    void paintPreview(QPainter& painter, const ClipItem& item, const QRectF& box);
    void paintHint(QPainter& painter, const QRectF& box);

    AnimatedValues& values_;
    RingArt& art_;
    std::vector<Layer> layers_;
    std::optional<QUuid> itemId_;
    bool outside_ = false;
    bool first_ = true;
    QHash<double, QImage> discs_; // per device pixel ratio
};

} // namespace vt
