#include "picker/ring/ring_view_art.h"

#include "ui/text.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace vt {

void PieceColumn::add(QSizeF size, Draw draw) {
    if (size.isEmpty()) return;
    pieces_.push_back({size, std::move(draw)});
}

void PieceColumn::addText(const TextBlock& text, const QColor& color) {
    add(text.size(), [&text, color](QPainter& p, QPointF at) { text.draw(p, at, color); });
}

QSizeF PieceColumn::size() const {
    double width = 0, height = 0;
    for (const Piece& piece : pieces_) {
        width = std::max(width, piece.size.width());
        height += piece.size.height();
    }
    if (!pieces_.empty()) height += spacing_ * double(pieces_.size() - 1);
    return {width, height};
}

void PieceColumn::draw(QPainter& painter, double centerX, double top) const {
    double y = top;
    for (const Piece& piece : pieces_) {
        piece.draw(painter, QPointF(centerX - piece.size.width() / 2, y));
        y += piece.size.height() + spacing_;
    }
}

const QImage& RingArt::columnShadow(const QString& key, const PieceColumn& column, double radius,
                                    const QColor& color, double dpr) {
    if (auto it = columnShadows_.constFind(key); it != columnShadows_.constEnd()) return *it;
    const double spread = 2 * radius;
    const QSizeF size = column.size() + QSizeF(2 * spread, 2 * spread);
    QImage mask(std::max(1, int(std::ceil(size.width() * dpr))),
                std::max(1, int(std::ceil(size.height() * dpr))),
                QImage::Format_ARGB32_Premultiplied);
    mask.setDevicePixelRatio(dpr);
    mask.setDotsPerMeterX(3780);
    mask.setDotsPerMeterY(3780);
    mask.fill(Qt::transparent);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        column.draw(p, size.width() / 2, spread);
    }
    QImage shadow = blurred(mask, radius / 2 * dpr);
    {
        QPainter p(&shadow);
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        p.fillRect(shadow.rect(), color);
    }
    shadow.setDevicePixelRatio(dpr);
    if (columnShadows_.size() > 64) columnShadows_.clear();
    return *columnShadows_.insert(key, shadow);
}

QImage RingArt::thumbnail(const ClipItem& item, QSizeF maxSize, double radius, double outlineWidth,
                          const QColor& outline, double devicePixelRatio) {
    const QString key = QStringLiteral("%1|%2x%3|%4|%5|%6|%7")
                            .arg(item.idString())
                            .arg(maxSize.width())
                            .arg(maxSize.height())
                            .arg(radius)
                            .arg(outlineWidth)
                            .arg(outline.rgba(), 0, 16)
                            .arg(devicePixelRatio);
    if (auto it = thumbnails_.constFind(key); it != thumbnails_.constEnd()) return *it;
    const std::optional<QImage> source = item.thumbnail();
    // Not decoded yet: nothing is kept, so the next frame asks again.
    if (!source || source->isNull()) return {};
    QImage art;
    if (source && !source->isNull()) {
        const QSizeF fitted = QSizeF(source->size()).scaled(maxSize, Qt::KeepAspectRatio);
        const QSize pixels(std::max(1, int(std::lround(fitted.width() * devicePixelRatio))),
                           std::max(1, int(std::lround(fitted.height() * devicePixelRatio))));
        art = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        art.setDevicePixelRatio(devicePixelRatio);
        art.fill(Qt::transparent);
        QPainter p(&art);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        const QRectF frame(QPointF(0, 0), fitted);
        const QPainterPath shape = continuousRoundedRect(frame, radius);
        p.setClipPath(shape);
        p.drawImage(frame, source->scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        p.setClipping(false);
        if (outlineWidth > 0) {
            const double h = outlineWidth / 2;
            p.setPen(QPen(outline, outlineWidth));
            p.drawPath(continuousRoundedRect(frame.adjusted(h, h, -h, -h), radius - h));
        }
    }
    if (thumbnails_.size() > 64) thumbnails_.clear();
    thumbnails_.insert(key, art);
    return art;
}

} // namespace vt
