#include "picker/ring/center_preview.h"

#include "picker/ring/ring_view_art.h"
#include "ui/animation_transaction.h"
#include "ui/file_icons.h"
#include "ui/materials.h"
#include "ui/symbols.h"
#include "ui/text.h"

#include <QCoreApplication>
#include <QPainter>
#include <algorithm>

namespace vt {
namespace {

constexpr std::uint64_t kDiscOwner = 2;
constexpr std::uint64_t kHintOwner = 3;
enum Property : std::uint32_t { kDiscScale = 1, kLayerOpacity, kLayerScale };

constexpr double kEnterScale = 0.92;
QString cancelHint() {
    return QCoreApplication::translate("Vantrel", "離すとやめる");
}

std::uint64_t ownerFor(const QUuid& id) {
    // Clip previews live beside the wedges in one store; a distinct salt keeps their keys apart.
    return (std::uint64_t(qHash(id, 0x5eed)) << 1) | 1u | (std::uint64_t{1} << 63);
}

double devicePixelRatio(const QPainter& painter) {
    return painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
}

} // namespace

CenterPreview::CenterPreview(AnimatedValues& values, RingArt& art) : values_(values), art_(art) {}

void CenterPreview::setTarget(AnimKey key, double target, const Animation* bound) {
    if (bound)
        values_.setTarget(key, target, *bound);
    else
        values_.setTarget(key, target);
}

void CenterPreview::update(const std::optional<ClipItem>& item, PickerPhase phase, bool outside) {
    const std::optional<QUuid> id = item ? std::optional<QUuid>(item->id) : std::nullopt;
    // The disc's own animations: one for a change of the shown clip, one for the outside state.
    std::optional<Animation> bound;
    if (!first_) {
        if (outside != outside_)
            bound = Animation::easeOut(0.15);
        else if (id != itemId_)
            bound = Animation::spring(0.25, 0.8);
    }
    first_ = false;
    itemId_ = id;
    outside_ = outside;
    const Animation* b = bound ? &*bound : nullptr;

    setTarget({kDiscOwner, kDiscScale}, phase == PickerPhase::committing ? 1.12 : 1.0, b);

    if (outside) {
        leaveAllBut(kHintOwner, b);
        enter(Layer{true, {}, kHintOwner, false}, b);
    } else if (item) {
        const std::uint64_t owner = ownerFor(item->id);
        leaveAllBut(owner, b);
        enter(Layer{false, *item, owner, false}, b);
    } else {
        leaveAllBut(0, b);
    }
    std::erase_if(layers_, [this](const Layer& layer) {
        const AnimKey key{layer.owner, kLayerOpacity};
        const bool gone = layer.leaving && values_.value(key) <= 0 && !values_.isAnimating(key);
        if (gone) {
            values_.remove(key);
            values_.remove({layer.owner, kLayerScale});
        }
        return gone;
    });
}

void CenterPreview::enter(Layer layer, const Animation* bound) {
    auto it = std::find_if(layers_.begin(), layers_.end(),
                           [&](const Layer& l) { return l.owner == layer.owner; });
    if (it == layers_.end()) {
        // New content starts faded and slightly small, then grows in with the disc's curve.
        withoutAnimation([&] {
            values_.setTarget({layer.owner, kLayerOpacity}, 0);
            values_.setTarget({layer.owner, kLayerScale}, kEnterScale);
        });
        layers_.push_back(std::move(layer));
        it = std::prev(layers_.end());
    } else {
        it->leaving = false;
        if (!layer.hint) it->item = std::move(layer.item);
    }
    setTarget({it->owner, kLayerOpacity}, 1, bound);
    setTarget({it->owner, kLayerScale}, 1, bound);
}

void CenterPreview::leaveAllBut(std::uint64_t owner, const Animation* bound) {
    for (Layer& layer : layers_) {
        if (layer.owner == owner) continue;
        layer.leaving = true;
        setTarget({layer.owner, kLayerOpacity}, 0, bound);
        // The hint shrinks as it fades; a clip preview only fades.
        if (layer.hint) setTarget({layer.owner, kLayerScale}, kEnterScale, bound);
    }
}

void CenterPreview::paint(QPainter& painter, QPointF center) {
    const double radius = kDiameter / 2;
    const double scale = values_.value({kDiscOwner, kDiscScale}, 1);
    painter.save();
    painter.translate(center);
    painter.scale(scale, scale);
    painter.translate(-center);

    QPainterPath circle;
    circle.addEllipse(center, radius, radius);
    // The disc itself is the same every frame: drawn once per pixel ratio.
    const double dpr = devicePixelRatio(painter);
    QImage& disc = discs_[dpr];
    if (disc.isNull()) {
        const int side = int(std::ceil(kDiameter * dpr));
        disc = QImage(side, side, QImage::Format_ARGB32_Premultiplied);
        disc.setDevicePixelRatio(dpr);
        disc.fill(Qt::transparent);
        QPainter p(&disc);
        p.setRenderHint(QPainter::Antialiasing);
        const QPointF c(radius, radius);
        QPainterPath local;
        local.addEllipse(c, radius, radius);
        fillMaterial(p, local, Material::regular, Appearance::dark);
        p.fillPath(local, black(0.06));
        p.fillPath(
            innerBorder(c, kDiameter, 1.2),
            conicGradient(c, 0,
                          {toQColor(RingStyle::accentA, 0.8), toQColor(RingStyle::accentB, 0.8),
                           white(0.15), toQColor(RingStyle::accentA, 0.8)}));
    }
    painter.drawImage(QRectF(center.x() - radius, center.y() - radius, kDiameter, kDiameter), disc);
    painter.setClipPath(circle, Qt::IntersectClip);

    const QRectF box(center.x() - radius + kInset, center.y() - radius + kInset,
                     kDiameter - 2 * kInset, kDiameter - 2 * kInset);
    for (const Layer& layer : layers_) {
        const double opacity = values_.value({layer.owner, kLayerOpacity}, 0);
        if (opacity <= 0.002) continue;
        const double s = values_.value({layer.owner, kLayerScale}, 1);
        painter.save();
        painter.setOpacity(painter.opacity() * std::min(opacity, 1.0));
        painter.translate(center);
        painter.scale(s, s);
        painter.translate(-center);
        if (layer.hint)
            paintHint(painter, box);
        else
            paintPreview(painter, layer.item, box);
        painter.restore();
    }
    painter.restore();
}

void CenterPreview::paintHint(QPainter& painter, const QRectF& box) {
    const QColor color = white(0.7);
    const QSizeF symbol = symbolSize(QStringLiteral("xmark.circle"), 22);
    const TextBlock& text = cachedTextBlock(cancelHint(), uiFont(11, QFont::DemiBold), box.width(),
                                            1, Qt::AlignHCenter);
    const double height = symbol.height() + 6 + text.size().height();
    const double top = box.center().y() - height / 2;
    drawSymbol(painter, QStringLiteral("xmark.circle"),
               QRectF(QPointF(box.center().x() - symbol.width() / 2, top), symbol), color,
               QFont::Light);
    text.draw(painter,
              QPointF(box.center().x() - text.size().width() / 2, top + symbol.height() + 6),
              color);
}

void CenterPreview::paintPreview(QPainter& painter, const ClipItem& item, const QRectF& box) {
    // The preview is a centred column: the body pieces, then the source application.
    PieceColumn column(5);
    const double dpr = devicePixelRatio(painter);
    switch (item.kind) {
    case ClipItem::Kind::text:
        column.addText(
            cachedTextBlock(item.text.value_or(QString()), uiFont(10, QFont::Normal), 108, 5),
            white(0.92));
        break;
    case ClipItem::Kind::image: {
        const QImage art = art_.thumbnail(item, {104, 76}, 6, 0, {}, dpr);
        column.add(art.deviceIndependentSize(), [art](QPainter& p, QPointF at) {
            p.drawImage(QRectF(at, art.deviceIndependentSize()), art);
        });
        break;
    }
    case ClipItem::Kind::files:
        if (item.filePaths && !item.filePaths->isEmpty()) {
            const QPixmap icon = fileIcon(item.filePaths->first(), QSize(40, 40), dpr);
            column.add(QSizeF(40, 40), [icon](QPainter& p, QPointF at) {
                p.drawPixmap(QRectF(at, QSizeF(40, 40)), icon, QRectF(icon.rect()));
            });
        }
        column.addText(cachedTextBlock(item.snippet(30), uiFont(10, QFont::Medium), box.width(), 3),
                       white(0.92));
        break;
    }
    if (item.sourceApp && !item.sourceApp->isEmpty())
        column.addText(cachedTextBlock(*item.sourceApp, uiFont(8.5, QFont::Medium), box.width(), 1,
                                       Qt::AlignHCenter),
                       white(0.45));
    if (column.isEmpty()) return;
    column.draw(painter, box.center().x(), box.center().y() - column.size().height() / 2);
}

} // namespace vt
