#include "ui/materials.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>

namespace vt {
namespace {

struct Tint {
    QColor base;
    QColor sheenTop;
    QColor sheenBottom;
    double grain;
};

Tint tintFor(Material material, Appearance appearance) {
    const bool thin = material == Material::ultraThin;
    if (appearance == Appearance::dark)
        return {thin ? QColor(28, 28, 34, 150) : QColor(30, 30, 36, 205),
                QColor(255, 255, 255, thin ? 18 : 22), QColor(255, 255, 255, 0), 0.045};
    return {thin ? QColor(246, 246, 248, 140) : QColor(248, 248, 250, 210),
            QColor(255, 255, 255, thin ? 60 : 80), QColor(255, 255, 255, 0), 0.035};
}

// A small tile of monochrome noise; tiled as a brush it gives the frosted grain.
const QImage& grainTile() {
    static const QImage tile = [] {
        QImage img(64, 64, QImage::Format_ARGB32_Premultiplied);
        QRandomGenerator rng(0x5eed);
        for (int y = 0; y < img.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x) {
                const int a = int(rng.bounded(256u));
                row[x] = qPremultiply(qRgba(255, 255, 255, a));
            }
        }
        return img;
    }();
    return tile;
}

} // namespace

void fillMaterial(QPainter& painter, const QPainterPath& shape, Material material,
                  Appearance appearance, QRectF bounds) {
    const Tint tint = tintFor(material, appearance);
    if (bounds.isEmpty()) bounds = shape.boundingRect();
    painter.save();
    painter.fillPath(shape, tint.base);
    QLinearGradient sheen(bounds.topLeft(), bounds.bottomLeft());
    sheen.setColorAt(0, tint.sheenTop);
    sheen.setColorAt(0.55, tint.sheenBottom);
    painter.fillPath(shape, sheen);
    painter.setOpacity(painter.opacity() * tint.grain);
    painter.fillPath(shape, QBrush(grainTile()));
    painter.restore();
}

void paintBackdrop(QPainter& painter, const QPainterPath& shape, const QImage& backdrop,
                   const QTransform& canvas, QPointF origin) {
    if (backdrop.isNull()) return;
    painter.save();
    painter.setClipPath(shape, Qt::IntersectClip);
    painter.setWorldTransform(canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(origin, backdrop.deviceIndependentSize()), backdrop);
    painter.restore();
}

} // namespace vt
