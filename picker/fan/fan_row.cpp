#include "picker/fan/fan_row.h"

#include "picker/fan/fan_tile.h"
#include "picker/fan/fan_view_style.h"
#include "ui/painting.h"
#include "ui/text.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace vt {
namespace {

using namespace fan_style;

constexpr double kTileGap = FanGeometry::tileGap;
constexpr double kMaxPill = FanGeometry::maxLabelWidth;

const TextBlock& badgeText(std::int64_t number) {
    return cachedTextBlock(QString::asprintf("%lld", static_cast<long long>(number)),
                           uiFont(9, QFont::ExtraBold, true), 0, 1);
}

double badgeWidth(std::int64_t number) {
    return std::max(FanRow::badgeMinWidth, badgeText(number).size().width());
}

const TextBlock& titleText(const FanRow& row) {
    const double room =
        kMaxPill - 2 * FanRow::pillPadding - badgeWidth(row.number) - FanRow::pillSpacing;
    return singleLine(row.item.snippet(FanRow::titleMaxLength),
                      uiFont(12, row.selected ? QFont::DemiBold : QFont::Normal), room);
}

} // namespace

void paintShadow(QPainter& painter, const QPainterPath& shape, const QColor& color, double radius,
                 QPointF offset, double dpr) {
    const double spread = 2 * radius + 1;
    const QRectF box = shape.boundingRect().adjusted(-spread, -spread, spread, spread);
    QImage mask(int(std::ceil(box.width() * dpr)), int(std::ceil(box.height() * dpr)),
                QImage::Format_ARGB32_Premultiplied);
    prepareImage(mask, dpr);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(-box.topLeft());
        p.fillPath(shape, Qt::black);
    }
    QImage shadow = blurred(mask, radius / 2 * dpr);
    {
        QPainter p(&shadow);
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        p.fillRect(shadow.rect(), color);
    }
    shadow.setDevicePixelRatio(dpr);
    painter.drawImage(box.topLeft() + offset, shadow);
}

QRectF FanRow::imageRect() {
    return {-width / 2 - margin, -height / 2 - margin, width + 2 * margin, height + 2 * margin};
}

QRectF FanRow::tileFrame() const {
    const double s = FanTile::size;
    return flipX ? QRectF(width / 2 - s, -s / 2, s, s) : QRectF(-width / 2, -s / 2, s, s);
}

QRectF FanRow::pillFrame() const {
    const double w = std::min(kMaxPill, 2 * pillPadding + badgeWidth(number) + pillSpacing +
                                            titleText(*this).size().width());
    const double nearEnd = width / 2 - FanTile::size - kTileGap;
    return flipX ? QRectF(nearEnd - w, -pillHeight / 2, w, pillHeight)
                 : QRectF(-nearEnd, -pillHeight / 2, w, pillHeight);
}

void FanRow::paint(QPainter& painter, Appearance appearance, double dpr) const {
    // The label capsule: its shadow, the material, the accent when selected, the inner outline.
    const QRectF pill = pillFrame();
    const QPainterPath shape = capsule(pill);
    if (selected)
        paintShadow(painter, shape, toQColor(RingStyle::accentB, 0.45), 10, {0, 3}, dpr);
    else
        paintShadow(painter, shape, black(0.12), 4, {0, 1}, dpr);
    fillMaterial(painter, shape, Material::ultraThin, appearance, pill);
    if (selected) painter.fillPath(shape, accentGradient(pill));
    painter.setPen(QPen(white(selected ? 0.5 : 0.35), 0.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(capsule(pill.adjusted(0.3, 0.3, -0.3, -0.3)));

    const TextBlock& badge = badgeText(number);
    const double bw = badgeWidth(number);
    const double x = pill.left() + pillPadding;
    badge.draw(painter, QPointF(x + (bw - badge.size().width()) / 2, -badge.size().height() / 2),
               selected ? white(0.85) : secondary(appearance));
    const TextBlock& title = titleText(*this);
    title.draw(painter, QPointF(x + bw + pillSpacing, -title.size().height() / 2),
               selected ? QColor(Qt::white) : primary(appearance));

    // The tile, enlarged about its centre when selected.
    const QRectF tile = tileFrame();
    painter.save();
    const double scale = selected ? 1.25 : 1.0;
    painter.translate(tile.center());
    painter.scale(scale, scale);
    painter.translate(-tile.center());
    paintShadow(painter, continuousRoundedRect(tile, 5), black(selected ? 0.3 : 0.15),
                selected ? 6 : 2, {0, 1}, dpr * scale);
    FanTile::paint(painter, item, tile, dpr * scale, secondary(appearance));
    painter.restore();
}

QImage FanRow::render(Appearance appearance, double dpr) const {
    const QRectF box = imageRect();
    QImage image(int(std::ceil(box.width() * dpr)), int(std::ceil(box.height() * dpr)),
                 QImage::Format_ARGB32_Premultiplied);
    prepareImage(image, dpr);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(-box.topLeft());
    paint(painter, appearance, dpr);
    return image;
}

} // namespace vt
