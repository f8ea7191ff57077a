#include "picker/ring/ring_view.h"

#include "history/thumbnail_cache.h"
#include "picker/ring/ring_view_keys.h"

#include "picker/ring/ring_geometry.h"
#include "ui/animation_transaction.h"
#include "ui/materials.h"
#include "ui/painting.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace vt {
namespace {

namespace G = RingGeometry;

using namespace ring_keys;

struct PhaseLook {
    double scale, opacity, blur, rotation;
};

PhaseLook lookFor(PickerPhase phase) {
    constexpr double turnIn = -0.3141592653589793; // the background turns 18 degrees into place
    switch (phase) {
    case PickerPhase::hidden:
        return {0.6, 0, 6, turnIn};
    case PickerPhase::shown:
        return {1.0, 1, 0, 0};
    case PickerPhase::committing:
        return {1.06, 0, 2, turnIn};
    case PickerPhase::cancelling:
        return {0.82, 0, 6, turnIn};
    }
    return {1.0, 1, 0, 0};
}

} // namespace

RingView::RingView(RingModel& model, const AnimationClock& clock)
    : model_(model), values_(clock), preview_(values_, art_) {
    driver_.attach(values_, [this] { requestUpdate(); });
    token_ = model_.observe([this] { sync(); });
    withoutAnimation([this] { sync(); });
    // Clips drawn before their picture was decoded are drawn again with it.
    thumbnailToken_ = ThumbnailCache::shared().addObserver([this] { requestUpdate(); });
}

RingView::~RingView() {
    ThumbnailCache::shared().removeObserver(thumbnailToken_);
    model_.unobserve(token_);
}

QSizeF RingView::canvasSize() const {
    return {G::canvasSize, G::canvasSize};
}

void RingView::sync() {
    const auto& items = model_.items();
    const auto n = std::int64_t(items.size());
    const PickerPhase phase = model_.phase();
    const std::int64_t selected = model_.selected();
    const bool outside = model_.outside();
    const bool phaseChanged = phase != seen_.phase;

    const PhaseLook look = lookFor(phase);
    values_.setTarget({kRingOwner, kScale}, look.scale);
    values_.setTarget({kRingOwner, kOpacity}, look.opacity);
    values_.setTarget({kRingOwner, kBlur}, look.blur);
    values_.setTarget({kRingOwner, kRotation}, look.rotation);
    values_.setTarget({kRingOwner, kHighlightAngle}, model_.highlightAngle());
    values_.setTarget({kRingOwner, kHighlightOpacity}, outside ? 0 : 1);
    values_.setTarget({kRingOwner, kFlash}, phase == PickerPhase::committing ? 1 : 0);

    std::unordered_map<std::uint64_t, WedgeState> current;
    for (std::int64_t i = 0; i < n; ++i) {
        const std::uint64_t owner = wedgeOwner(items[std::size_t(i)].id);
        const bool isSelected = !outside && i == selected;
        const bool visible =
            phase == PickerPhase::shown || (phase == PickerPhase::committing && isSelected);
        const auto before = wedges_.find(owner);
        const bool selectionChanged =
            before != wedges_.end() && before->second.selected != isSelected;
        // A wedge's own curves: on a phase change the open spring (staggered clockwise) or a
        // quick ease-in; on a change of its selection a snappier spring.
        std::optional<Animation> bound;
        if (phaseChanged)
            bound = phase == PickerPhase::shown
                        ? Animation::spring(0.38, 0.7).delayed(double(i) * 0.022)
                        : Animation::easeIn(0.12);
        else if (selectionChanged)
            bound = Animation::spring(0.26, 0.7);
        const double visibleTarget = visible ? 1 : 0;
        const double selectedTarget = isSelected ? 1 : 0;
        if (bound) {
            values_.setTarget({owner, kWedgeVisible}, visibleTarget, *bound);
            values_.setTarget({owner, kWedgeSelected}, selectedTarget, *bound);
        } else {
            values_.setTarget({owner, kWedgeVisible}, visibleTarget);
            values_.setTarget({owner, kWedgeSelected}, selectedTarget);
        }
        current[owner] = {isSelected};
    }
    for (const auto& [owner, state] : wedges_) {
        if (current.count(owner)) continue;
        values_.remove({owner, kWedgeVisible});
        values_.remove({owner, kWedgeSelected});
    }
    wedges_ = std::move(current);

    const bool valid = selected >= 0 && selected < n;
    preview_.update(valid ? std::optional<ClipItem>(items[std::size_t(selected)]) : std::nullopt,
                    phase, outside);
    seen_ = {phase, selected, outside};
    requestUpdate();
}

QRegion RingView::drawnShape() const {
    if (values_.value({kRingOwner, kOpacity}) <= 0.002) return {};
    const double scale = values_.value({kRingOwner, kScale}, 1);
    // The ring with its soft drop shadow (24 points of blur, 10 down): without a compositor the
    // window paints the screen behind it under the ring, so the shadow falls on the desktop.
    const double r = std::min((G::backgroundOuterRadius + 44) * scale, G::center);
    const QRect box(int(std::floor(G::center - r)), int(std::floor(G::center - r)),
                    int(std::ceil(2 * r)), int(std::ceil(2 * r)));
    return QRegion(box, QRegion::Ellipse);
}

QImage RingView::renderAt(double time, double scale) {
    values_.advance(time);
    const int side = int(std::lround(G::canvasSize * scale));
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    // 96 dpi, as on screen, so point-sized fonts come out at their layout sizes.
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    paint(painter);
    return image;
}

void RingView::paint(QPainter& painter) {
    const double opacity = std::clamp(values_.value({kRingOwner, kOpacity}), 0.0, 1.0);
    if (opacity <= 0.002) return;
    const double scale = values_.value({kRingOwner, kScale}, 1);
    const double blur = std::max(0.0, values_.value({kRingOwner, kBlur}));
    const QPointF c(G::center, G::center);
    const double sigma = blur / 2;

    if (sigma < 0.2) {
        canvasTransform_ = painter.worldTransform();
        painter.save();
        painter.setOpacity(painter.opacity() * opacity);
        painter.translate(c);
        painter.scale(scale, scale);
        painter.translate(-c);
        paintContent(painter);
        painter.restore();
        return;
    }
    // Blurred phases are short and soft: paint into a layer at reduced resolution and blur it.
    const double dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const double res = dpr * (sigma >= 1.5 ? 0.5 : 1.0);
    const int side = int(std::lround(G::canvasSize * res));
    if (layer_.width() != side) layer_ = QImage(side, side, QImage::Format_ARGB32_Premultiplied);
    // QPainter scales by an image's pixel ratio only when it is above 1: a layer below one
    // pixel per point is scaled by hand (left to the ratio, the ring would come out twice its
    // size, off to the lower right).
    const double layerRatio = std::max(res, 1.0);
    layer_.setDevicePixelRatio(layerRatio);
    layer_.setDotsPerMeterX(3780);
    layer_.setDotsPerMeterY(3780);
    layer_.fill(Qt::transparent);
    {
        QPainter p(&layer_);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.scale(res / layerRatio, res / layerRatio);
        canvasTransform_ = p.worldTransform();
        p.translate(c);
        p.scale(scale, scale);
        p.translate(-c);
        paintContent(p);
    }
    QImage soft = blurred(layer_, sigma * res);
    painter.save();
    painter.setOpacity(painter.opacity() * opacity);
    painter.drawImage(QRectF(0, 0, G::canvasSize, G::canvasSize), soft);
    painter.restore();
}

void RingView::paintContent(QPainter& painter) {
    const QPointF c(G::center, G::center);
    const auto& items = model_.items();
    const auto n = std::int64_t(items.size());
    if (!backdrop().isNull()) {
        QPainterPath glass =
            annularSector(c, 0, G::fullTurn, G::backgroundInnerRadius, G::backgroundOuterRadius);
        glass.addEllipse(c, G::centerDiscDiameter / 2, G::centerDiscDiameter / 2);
        glass.setFillRule(Qt::WindingFill);
        paintBackdrop(painter, glass, backdrop(), canvasTransform_, backdropOrigin());
    }
    paintBackground(painter, c);
    if (n >= 1) paintHighlight(painter, c, n);
    for (std::int64_t i = 0; i < n; ++i)
        paintWedge(painter, c, items[std::size_t(i)], i, n);
    preview_.paint(painter, c);
}

} // namespace vt
