#include "picker/ring/ring_view_art.h"

#include <QPainter>
#include <cmath>

namespace vt {

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
