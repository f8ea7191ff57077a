#include "picker/fan/fan_tile.h"

#include "picker/fan/fan_view_style.h"
#include "ui/file_icons.h"
#include "ui/painting.h"
#include "ui/symbols.h"
#include "ui/text.h"

#include <QPainter>
#include <cmath>

namespace vt {
namespace {

constexpr double kCorner = 5;

void paintPage(QPainter& painter, const ClipItem& item, const QRectF& frame) {
    const QPainterPath page = continuousRoundedRect(frame, kCorner);
    painter.fillPath(page, Qt::white);
    painter.save();
    painter.setClipPath(page, Qt::IntersectClip);
    const TextBlock& text = cachedTextBlock(item.text.value_or(QString()),
                                            uiFont(3.8, QFont::Normal), frame.width() - 4, 5);
    text.draw(painter, frame.topLeft() + QPointF(2, 2), black(0.75));
    painter.restore();
    painter.setPen(QPen(black(0.12), 0.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(continuousRoundedRect(frame.adjusted(0.25, 0.25, -0.25, -0.25), kCorner));
}

void paintThumbnail(QPainter& painter, const ClipItem& item, const QRectF& frame, double dpr,
                    const QColor& symbolColor) {
    const std::optional<QImage> thumb = item.thumbnail();
    if (!thumb || thumb->isNull()) {
        drawSymbol(painter, QStringLiteral("photo"), frame.adjusted(2, 2, -2, -2), symbolColor,
                   QFont::Medium);
        return;
    }
    // Fill the square, keeping the aspect ratio and cropping the excess.
    const QSize pixels(int(std::lround(frame.width() * dpr)),
                       int(std::lround(frame.height() * dpr)));
    const QImage filled =
        thumb->scaled(pixels, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    const QRect crop((filled.width() - pixels.width()) / 2, (filled.height() - pixels.height()) / 2,
                     pixels.width(), pixels.height());
    const QPainterPath shape = continuousRoundedRect(frame, kCorner);
    painter.save();
    painter.setClipPath(shape, Qt::IntersectClip);
    painter.drawImage(frame, filled, crop);
    painter.restore();
    painter.setPen(QPen(white(0.6), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(continuousRoundedRect(frame.adjusted(0.5, 0.5, -0.5, -0.5), kCorner - 0.5));
}

void paintFileIcon(QPainter& painter, const ClipItem& item, const QRectF& frame, double dpr,
                   const QColor& symbolColor) {
    if (!item.filePaths || item.filePaths->isEmpty()) {
        drawSymbol(painter, QStringLiteral("doc"), frame.adjusted(2, 2, -2, -2), symbolColor,
                   QFont::Medium);
        return;
    }
    const QPixmap icon = fileIcon(item.filePaths->first(), frame.size().toSize(), dpr);
    painter.drawPixmap(frame, icon, QRectF(icon.rect()));
}

} // namespace

void FanTile::paint(QPainter& painter, const ClipItem& item, const QRectF& frame, double dpr,
                    const QColor& symbolColor) {
    switch (item.kind) {
    case ClipItem::Kind::text:
        paintPage(painter, item, frame);
        return;
    case ClipItem::Kind::image:
        paintThumbnail(painter, item, frame, dpr, symbolColor);
        return;
    case ClipItem::Kind::files:
        paintFileIcon(painter, item, frame, dpr, symbolColor);
        return;
    }
}

} // namespace vt
