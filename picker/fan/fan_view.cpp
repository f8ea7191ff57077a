#include "picker/fan/fan_view.h"

#include "history/thumbnail_cache.h"

#include "picker/fan/fan_row.h"
#include "picker/fan/fan_view_style.h"
#include "ui/animation_transaction.h"
#include "ui/painting.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace vt {
namespace {

enum Property : std::uint32_t {
    kAngle = 1,
    kReach,
    kPush,
    kOpacity,
    kSelected,
    kBubbleOpacity,
    kBubbleScale,
    kContentFade,
};

constexpr std::uint64_t kBubbleOwner = 1;
constexpr std::uint64_t kRowBase = std::uint64_t{1} << 40;

AnimKey rowKey(std::int64_t index, Property property) {
    return {kRowBase + std::uint64_t(index), property};
}

bool isRowOwner(std::uint64_t owner) {
    return owner >= kRowBase;
}

// Reach of a row by phase: out on the arc while shown; on commit the chosen row flies into the
// pointer while the others shrink a little and vanish.
double reachFor(PickerPhase phase, bool selected) {
    switch (phase) {
    case PickerPhase::shown:
        return 1;
    case PickerPhase::committing:
        return selected ? 0 : 0.85;
    case PickerPhase::hidden:
    case PickerPhase::cancelling:
        return 0;
    }
    return 0;
}

// The curve a row follows when the phase changes: the rows spring out one after the other from
// the top of the drawing window, and retract with quick ease-ins.
Animation phaseAnimation(PickerPhase phase, std::int64_t rank) {
    switch (phase) {
    case PickerPhase::shown:
        return Animation::spring(0.26, 0.78)
            .delayed(double(std::max<std::int64_t>(rank, 0)) * 0.006);
    case PickerPhase::committing:
        return Animation::easeIn(0.2);
    case PickerPhase::hidden:
    case PickerPhase::cancelling:
        return Animation::easeIn(0.16);
    }
    return Animation::none();
}

void setTarget(AnimatedValues& values, AnimKey key, double target,
               const std::optional<Animation>& bound) {
    if (bound)
        values.setTarget(key, target, *bound);
    else
        values.setTarget(key, target);
}

QString rowCacheKey(const ClipItem& item, std::int64_t number, bool selected, bool flipX,
                    Appearance appearance, double dpr) {
    return QStringLiteral("%1|%2|%3%4%5|%6")
        .arg(item.idString())
        .arg(number)
        .arg(selected ? 's' : 'p')
        .arg(flipX ? 'l' : 'r')
        .arg(appearance == Appearance::dark ? 'd' : 'l')
        .arg(dpr);
}

} // namespace

FanView::FanView(FanModel& model, const AnimationClock& clock) : model_(model), values_(clock) {
    driver_.attach(values_, [this] { frameAdvanced(); });
    refreshAppearance();
    token_ = model_.observe([this] { sync(); });
    withoutAnimation([this] { sync(); });
    // Rows and the bubble drawn before their picture was decoded are drawn again with it.
    thumbnailToken_ = ThumbnailCache::shared().addObserver([this] {
        rowImages_.clear();
        bubbleImages_.clear();
        damage_ += shownShape_;
        frameAdvanced();
    });
}

FanView::~FanView() {
    ThumbnailCache::shared().removeObserver(thumbnailToken_);
    model_.unobserve(token_);
}

QSizeF FanView::canvasSize() const {
    return {model_.canvas().width, model_.canvas().height};
}

QPointF FanView::origin() const {
    const SizeD canvas = model_.canvas();
    const SizeD anchor = model_.anchor();
    return {canvas.width / 2 + anchor.width, canvas.height / 2 + anchor.height};
}

void FanView::setAppearance(std::optional<Appearance> appearance) {
    appearanceOverride_ = appearance;
    refreshAppearance();
    frameAdvanced();
}

void FanView::refreshAppearance() {
    const Appearance now = appearanceOverride_.value_or(fan_style::desktopAppearance());
    if (now == appearance_) return;
    appearance_ = now;
    rowImages_.clear();
    bubbleImages_.clear();
}

void FanView::sync() {
    const PickerPhase phase = model_.phase();
    const bool phaseChanged = phase != seen_.phase;
    if (phaseChanged && phase == PickerPhase::hidden) {
        // Opening starts from rows collapsed into the pointer. Dropping the keys makes that
        // instant even when a closing animation was still heading to the same values.
        values_.clear();
        rowSelected_.clear();
        previousBubble_.reset();
        refreshAppearance();
    }
    syncRows(phaseChanged);
    syncBubble(phaseChanged);
    seen_.phase = phase;
    seen_.outside = model_.outside();
    frameAdvanced();
}

void FanView::syncRows(bool phaseChanged) {
    const FanGeometry& g = model_.geometry();
    const auto n = std::int64_t(model_.items().size());
    const PickerPhase phase = model_.phase();
    const std::int64_t selected = model_.selected();
    const bool outside = model_.outside();
    const double scroll = model_.scroll();
    window_ = fanDrawingWindow(n, g.visibleSlots, scroll);

    std::unordered_map<std::int64_t, bool> current;
    if (window_) {
        const auto [first, last] = *window_;
        for (std::int64_t i = first; i <= last; ++i) {
            const bool isSelected = !outside && i == selected;
            const auto before = rowSelected_.find(i);
            std::optional<Animation> bound;
            if (phaseChanged)
                bound = phaseAnimation(phase, i - first);
            else if (before != rowSelected_.end() && before->second != isSelected)
                bound = Animation::spring(0.28, 0.72);
            values_.setTarget(rowKey(i, kAngle), g.rowAngle(i, scroll));
            setTarget(values_, rowKey(i, kReach), reachFor(phase, isSelected), bound);
            setTarget(values_, rowKey(i, kPush),
                      isSelected && phase == PickerPhase::shown ? FanGeometry::selectedPush : 0,
                      bound);
            setTarget(values_, rowKey(i, kOpacity),
                      phase == PickerPhase::committing && !isSelected ? 0 : 1, bound);
            setTarget(values_, rowKey(i, kSelected), isSelected ? 1 : 0, bound);
            current[i] = isSelected;
        }
    }
    // Rows that left the drawing window are not drawn; a row entering it starts at its place.
    values_.retainOnly([&current](const AnimKey& key) {
        return !isRowOwner(key.owner) || current.count(std::int64_t(key.owner - kRowBase)) > 0;
    });
    rowSelected_ = std::move(current);
}

void FanView::syncBubble(bool phaseChanged) {
    (void)phaseChanged;
    const auto& items = model_.items();
    const auto n = std::int64_t(items.size());
    const std::int64_t selected = model_.selected();
    const PickerPhase phase = model_.phase();
    PreviewBubble bubble;
    if (selected >= 0 && selected < n) bubble.item = items[std::size_t(selected)];
    bubble.position = selected + 1;
    bubble.total = n;
    bubble.outside = model_.outside();

    const bool shown = phase == PickerPhase::shown;
    values_.setTarget({kBubbleOwner, kBubbleOpacity}, shown ? 1 : 0);
    values_.setTarget({kBubbleOwner, kBubbleScale}, shown ? 1 : 0.9);

    const QString key = bubble.contentKey();
    const AnimKey fade{kBubbleOwner, kContentFade};
    if (key != seen_.contentKey || !values_.contains(fade)) {
        const bool outsideChanged = bubble.outside != seen_.outside;
        previousBubble_ = bubble_;
        values_.remove(fade);
        values_.setTarget(fade, 0);
        values_.setTarget(fade, 1, Animation::easeOut(outsideChanged ? 0.15 : 0.12));
        seen_.contentKey = key;
    }
    bubble_ = std::move(bubble);
}

std::vector<FanView::RowPlacement> FanView::placements() const {
    std::vector<RowPlacement> out;
    if (!window_) return out;
    const FanGeometry& g = model_.geometry();
    const QPointF o = origin();
    const std::int64_t selected = model_.outside() ? -1 : model_.selected();
    std::optional<RowPlacement> top;
    for (std::int64_t i = window_->first; i <= window_->second; ++i) {
        Spoke spoke;
        spoke.angle = values_.value(rowKey(i, kAngle));
        spoke.reach = values_.value(rowKey(i, kReach));
        spoke.push = values_.value(rowKey(i, kPush));
        spoke.inner = g.inner();
        spoke.flipX = g.flipX;
        spoke.lo = g.lo();
        spoke.hi = g.hi();
        spoke.step = g.step();
        const SpokeTransform t = spokeTransform(spoke);
        const double opacity =
            t.opacity * std::clamp(values_.value(rowKey(i, kOpacity), 1), 0.0, 1.0);
        if (opacity <= 0.002) continue;
        RowPlacement p;
        p.index = i;
        p.opacity = opacity;
        p.selected = std::clamp(values_.value(rowKey(i, kSelected)), 0.0, 1.0);
        p.transform.translate(o.x() + t.offsetX, o.y() + t.offsetY);
        p.transform.rotateRadians(t.rotation);
        p.transform.scale(t.scale, t.scale);
        if (i == selected)
            top = p; // drawn over its neighbours
        else
            out.push_back(p);
    }
    if (top) out.push_back(*top);
    return out;
}

QRectF FanView::room() const {
    const RectD b = model_.bounds();
    const QRectF all(QPointF(0, 0), canvasSize());
    const QRectF r = b.width > 0 && b.height > 0 ? QRectF(b.x, b.y, b.width, b.height) : all;
    const double m = FanGeometry::screenMargin;
    return r.adjusted(m, m, -m, -m);
}

QRectF FanView::bubbleRect(double h) const {
    // The card sits on the side away from the fan, its inner edge 22 points clear of the
    // pointer (a 236-wide frame moved 140 points across). Where the screen ends there, it goes
    // just past the far ends of the rows instead; and it always stays on the screen.
    const QPointF o = origin();
    const FanGeometry& g = model_.geometry();
    const double w = PreviewBubble::width;
    const double gap = 140 - w / 2;
    const QRectF r = room();
    double left = g.flipX ? o.x() + gap : o.x() - gap - w;
    if (left < r.left() || left + w > r.right()) {
        const double reach = g.rowEnd() + FanGeometry::selectedPush + gap;
        left = g.flipX ? o.x() - reach - w : o.x() + reach;
    }
    left = std::max(std::min(left, r.right() - w), r.left());
    const double top = std::max(std::min(o.y() - h / 2, r.bottom() - h), r.top());
    return {left, top, w, h};
}

QRectF FanView::paintedArea() const {
    // The rows out on the arc (springs overshoot a little), collapsed at the origin, and the
    // bubble at its tallest, each with room for its shadow.
    const QPointF o = origin();
    const RectD e = model_.geometry().rowsExtent(true);
    const double m = FanRow::margin + 4;
    QRectF area(o.x() + e.x * 1.06 - m, o.y() + e.y * 1.06 - m, e.width * 1.06 + 2 * m,
                e.height * 1.06 + 2 * m);
    const double collapsed = (FanRow::width / 2 + FanRow::margin) * 0.4 + 4;
    area |= QRectF(o.x() - collapsed, o.y() - collapsed, 2 * collapsed, 2 * collapsed);
    const double bm = PreviewBubble::margin;
    area |= bubbleRect(PreviewBubble::maxHeight).adjusted(-bm, -bm, bm, bm);
    return area;
}

QRegion FanView::currentShape() const {
    QRegion shape;
    for (const RowPlacement& p : placements())
        shape += p.transform.mapRect(FanRow::imageRect()).toAlignedRect();
    if (values_.value({kBubbleOwner, kBubbleOpacity}) > 0.002) {
        const double m = PreviewBubble::margin;
        shape += bubbleRect(bubble_.height()).adjusted(-m, -m, m, m).toAlignedRect();
        if (previousBubble_ && values_.value({kBubbleOwner, kContentFade}, 1) < 0.998)
            shape += bubbleRect(previousBubble_->height()).adjusted(-m, -m, m, m).toAlignedRect();
    }
    return shape;
}

void FanView::frameAdvanced() {
    const QRegion now = currentShape();
    damage_ += now;
    damage_ += shownShape_;
    shownShape_ = now;
    requestUpdate();
}

std::optional<QRegion> FanView::takeDamage() {
    QRegion out;
    std::swap(out, damage_);
    return out;
}

QRegion FanView::drawnShape() const {
    return currentShape();
}

const FanView::RowArt& FanView::rowArt(std::int64_t index, bool selected, double dpr) {
    const ClipItem& item = model_.items()[std::size_t(index)];
    const bool flipX = model_.geometry().flipX;
    const QString key = rowCacheKey(item, index + 1, selected, flipX, appearance_, dpr);
    if (auto it = rowImages_.find(key); it != rowImages_.end()) return it->second;
    if (rowImages_.size() > 256) rowImages_.clear();
    const FanRow row{item, index + 1, selected, flipX};
    return rowImages_.emplace(key, RowArt{row.render(appearance_, dpr), capsule(row.pillFrame())})
        .first->second;
}

const QImage& FanView::bubbleImage(const PreviewBubble& bubble, int layers, double dpr) {
    QString what;
    if (layers & PreviewBubble::card) what = QString::number(bubble.height());
    if (layers & PreviewBubble::header)
        what = bubble.contentKey() + QLatin1Char('|') +
               (bubble.item ? bubble.item->sourceApp.value_or(QString()) : QString());
    if (layers & PreviewBubble::body) what = bubble.bodyKey();
    const QString key = QStringLiteral("%1|%2|%3|%4")
                            .arg(layers)
                            .arg(what)
                            .arg(appearance_ == Appearance::dark ? 'd' : 'l')
                            .arg(dpr);
    if (auto it = bubbleImages_.find(key); it != bubbleImages_.end()) return it->second;
    if (bubbleImages_.size() > 24) bubbleImages_.clear();
    return bubbleImages_.emplace(key, bubble.render(appearance_, dpr, layers)).first->second;
}

void FanView::fillBackdrop(QPainter& painter, const QPainterPath& canvasShape) {
    const QImage& picture = backdrop();
    if (picture.isNull()) return;
    if (picture.cacheKey() != backdropKey_) {
        // The picture as a brush, one texel per image pixel, placed where it was taken.
        QImage texels = picture;
        texels.setDevicePixelRatio(1);
        const double toPoints = 1 / picture.devicePixelRatio();
        QTransform t;
        t.translate(backdropOrigin().x(), backdropOrigin().y());
        t.scale(toPoints, toPoints);
        backdropBrush_ = QBrush(texels);
        backdropBrush_.setTransform(t);
        backdropKey_ = picture.cacheKey();
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.fillPath(canvasShape, backdropBrush_);
    painter.restore();
}

void FanView::paintBubble(QPainter& painter, double opacity, double dpr) {
    if (opacity <= 0.002) return;
    const QPointF o = origin();
    const QRectF card = bubbleRect(bubble_.height());
    const double scale = values_.value({kBubbleOwner, kBubbleScale}, 1);
    // Scaled about the edge that faces the fan's origin.
    const QPointF pivot(card.center().x() < o.x() ? card.right() : card.left(), card.center().y());
    QTransform toCanvas;
    toCanvas.translate(pivot.x(), pivot.y());
    toCanvas.scale(scale, scale);
    toCanvas.translate(-pivot.x(), -pivot.y());
    painter.save();
    painter.setOpacity(painter.opacity() * opacity);
    const QPainterPath shape = continuousRoundedRect(card, PreviewBubble::corner);
    fillBackdrop(painter, toCanvas.map(shape));
    painter.setTransform(toCanvas, true);
    const double m = PreviewBubble::margin;
    painter.drawImage(card.topLeft() - QPointF(m, m),
                      bubbleImage(bubble_, PreviewBubble::card, dpr));
    // The card and its header stay; only the body (or the cancel reminder, header included)
    // cross-fades when the selection moves.
    painter.setClipPath(shape, Qt::IntersectClip);
    const double fade = std::clamp(values_.value({kBubbleOwner, kContentFade}, 1), 0.0, 1.0);
    const bool fading = previousBubble_ && fade < 0.998;
    const double base = painter.opacity();
    auto layer = [&](const PreviewBubble& b, int layers, double alpha) {
        if (alpha <= 0.002) return;
        painter.setOpacity(base * alpha);
        painter.drawImage(card.topLeft(), bubbleImage(b, layers, dpr));
    };
    if (fading) {
        layer(*previousBubble_, PreviewBubble::body, 1 - fade);
        if (previousBubble_->hasHeader() && !bubble_.hasHeader())
            layer(*previousBubble_, PreviewBubble::header, 1 - fade);
    }
    layer(bubble_, PreviewBubble::body, fading ? fade : 1);
    if (bubble_.hasHeader())
        layer(bubble_, PreviewBubble::header, fading && !previousBubble_->hasHeader() ? fade : 1);
    painter.restore();
}

void FanView::paint(QPainter& painter) {
    if (model_.items().empty() && model_.phase() == PickerPhase::hidden) return;
    const double dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QRectF clip = painter.hasClipping() ? painter.clipBoundingRect() : QRectF();
    const QRectF rowBox = FanRow::imageRect();
    for (const RowPlacement& p : placements()) {
        if (!clip.isNull() && !p.transform.mapRect(rowBox).intersects(clip)) continue;
        painter.save();
        const double base = painter.opacity();
        if (!backdrop().isNull()) {
            // The frosted picture of what lies behind, under the label capsule's material.
            painter.setOpacity(base * p.opacity);
            fillBackdrop(painter, p.transform.map(rowArt(p.index, p.selected >= 0.5, dpr).pill));
        }
        painter.setTransform(p.transform, true);
        // The selected look is laid over the plain one while the selection spring runs.
        if (p.selected < 0.999) {
            painter.setOpacity(base * p.opacity);
            painter.drawImage(rowBox.topLeft(), rowArt(p.index, false, dpr).image);
        }
        if (p.selected > 0.001) {
            painter.setOpacity(base * p.opacity * p.selected);
            painter.drawImage(rowBox.topLeft(), rowArt(p.index, true, dpr).image);
        }
        painter.restore();
    }

    paintBubble(painter, std::clamp(values_.value({kBubbleOwner, kBubbleOpacity}), 0.0, 1.0), dpr);
}

void FanView::advanceTo(double time) {
    values_.advance(time);
    frameAdvanced();
}

QImage FanView::renderAt(double time, double scale) {
    values_.advance(time);
    const QSizeF size = canvasSize();
    QImage image(int(std::lround(size.width() * scale)), int(std::lround(size.height() * scale)),
                 QImage::Format_ARGB32_Premultiplied);
    fan_style::prepareImage(image, scale);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    paint(painter);
    return image;
}

void FanView::prewarm(double dpr) {
    if (window_)
        for (std::int64_t i = window_->first; i <= window_->second; ++i) {
            (void)rowArt(i, false, dpr);
            (void)rowArt(i, true, dpr);
        }
    PreviewBubble outside = bubble_;
    outside.outside = true;
    for (const PreviewBubble* b : {&bubble_, &outside})
        for (const int layers :
             {int(PreviewBubble::card), int(PreviewBubble::header), int(PreviewBubble::body)})
            (void)bubbleImage(*b, layers, dpr);
}

} // namespace vt
