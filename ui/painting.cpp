#include "ui/painting.h"

#include <QHash>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace vt {
namespace {

constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

// One box-blur pass over premultiplied ARGB pixels, along rows (step 1) or columns (step =
// the row length in pixels); `radius` pixels each side, edges treated as transparent.
void boxBlurPass(const QRgb* in, QRgb* out, int lines, int length, int lineStride, int step,
                 int radius) {
    const int window = 2 * radius + 1;
    for (int line = 0; line < lines; ++line) {
        const QRgb* src = in + std::ptrdiff_t(line) * lineStride;
        QRgb* dst = out + std::ptrdiff_t(line) * lineStride;
        int sum[4] = {0, 0, 0, 0};
        auto add = [&](int i, int sign) {
            if (i < 0 || i >= length) return;
            const QRgb p = src[std::ptrdiff_t(i) * step];
            sum[0] += sign * qAlpha(p);
            sum[1] += sign * qRed(p);
            sum[2] += sign * qGreen(p);
            sum[3] += sign * qBlue(p);
        };
        for (int i = -radius; i <= radius; ++i)
            add(i, 1);
        for (int i = 0; i < length; ++i) {
            dst[std::ptrdiff_t(i) * step] =
                qRgba(sum[1] / window, sum[2] / window, sum[3] / window, sum[0] / window);
            add(i + radius + 1, 1);
            add(i - radius, -1);
        }
    }
}

} // namespace

QPainterPath annularSector(QPointF c, double startAngle, double endAngle, double inner,
                           double outer) {
    // Ring angles to drawing angles, then to Qt's arc degrees (counter-clockwise on screen).
    const double a0 = startAngle - std::numbers::pi / 2;
    const double a1 = endAngle - std::numbers::pi / 2;
    const double sweep = (a1 - a0) * kDegreesPerRadian;
    QPainterPath path;
    path.arcMoveTo(QRectF(c.x() - outer, c.y() - outer, 2 * outer, 2 * outer),
                   -a0 * kDegreesPerRadian);
    path.arcTo(QRectF(c.x() - outer, c.y() - outer, 2 * outer, 2 * outer), -a0 * kDegreesPerRadian,
               -sweep);
    path.arcTo(QRectF(c.x() - inner, c.y() - inner, 2 * inner, 2 * inner), -a1 * kDegreesPerRadian,
               sweep);
    path.closeSubpath();
    return path;
}

QPainterPath innerBorder(QPointF c, double diameter, double lineWidth) {
    const double r = diameter / 2;
    QPainterPath path;
    path.addEllipse(c, r, r);
    path.addEllipse(c, r - lineWidth, r - lineWidth);
    path.setFillRule(Qt::OddEvenFill);
    return path;
}

QConicalGradient conicGradient(QPointF c, double startDrawingAngle, const QGradientStops& stops) {
    // Qt's conical gradients run counter-clockwise on screen; mirror the stop positions.
    QConicalGradient g(c, -startDrawingAngle * kDegreesPerRadian);
    QGradientStops mirrored;
    mirrored.reserve(stops.size());
    for (auto it = stops.rbegin(); it != stops.rend(); ++it)
        mirrored.append({1.0 - it->first, it->second});
    g.setStops(mirrored);
    return g;
}

QConicalGradient conicGradient(QPointF c, double startDrawingAngle,
                               std::initializer_list<QColor> colors) {
    QGradientStops stops;
    const qsizetype n = qsizetype(colors.size());
    qsizetype i = 0;
    for (const QColor& color : colors)
        stops.append({n > 1 ? double(i++) / double(n - 1) : 0.0, color});
    return conicGradient(c, startDrawingAngle, stops);
}

QLinearGradient diagonalGradient(const QRectF& frame, const QColor& from, const QColor& to) {
    QLinearGradient g(frame.topLeft(), frame.bottomRight());
    g.setColorAt(0, from);
    g.setColorAt(1, to);
    return g;
}

QPainterPath capsule(const QRectF& rect) {
    const double r = std::min(rect.width(), rect.height()) / 2;
    return continuousRoundedRect(rect, r);
}

QPainterPath continuousRoundedRect(const QRectF& rect, double radius) {
    QPainterPath path;
    const double r = std::clamp(radius, 0.0, std::min(rect.width(), rect.height()) / 2);
    if (r <= 0) {
        path.addRect(rect);
        return path;
    }
    // Continuous corners start bending before the circular corner would (about 1.28 r) and
    // reach the corner with a flatter cubic, so the curvature has no jump at the joins.
    const double ext = std::min(r * 1.28, std::min(rect.width(), rect.height()) / 2);
    const double k = ext * 0.64; // control distance from the corner
    const double l = rect.left(), t = rect.top(), ri = rect.right(), b = rect.bottom();
    path.moveTo(l + ext, t);
    path.lineTo(ri - ext, t);
    path.cubicTo(ri - ext + k, t, ri, t + ext - k, ri, t + ext);
    path.lineTo(ri, b - ext);
    path.cubicTo(ri, b - ext + k, ri - ext + k, b, ri - ext, b);
    path.lineTo(l + ext, b);
    path.cubicTo(l + ext - k, b, l, b - ext + k, l, b - ext);
    path.lineTo(l, t + ext);
    path.cubicTo(l, t + ext - k, l + ext - k, t, l + ext, t);
    path.closeSubpath();
    return path;
}

QImage blurred(const QImage& image, double sigma) {
    QImage src = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (sigma < 0.3 || src.isNull()) return src;
    // Three box passes of this width approximate a Gaussian of the given sigma.
    const double width = std::sqrt(12.0 * sigma * sigma / 3.0 + 1);
    const int radius = std::max(1, int(std::lround((width - 1) / 2)));
    QImage tmp(src.size(), src.format());
    // Scan lines are contiguous (32-bit pixels, stride a multiple of 4 bytes).
    const int stride = int(src.bytesPerLine() / 4);
    const int w = src.width();
    const int h = src.height();
    auto* a = reinterpret_cast<QRgb*>(src.bits());
    auto* b = reinterpret_cast<QRgb*>(tmp.bits());
    for (int pass = 0; pass < 3; ++pass) {
        boxBlurPass(a, b, h, w, stride, 1, radius);
        std::swap(a, b);
    }
    for (int pass = 0; pass < 3; ++pass) {
        // Columns: one "line" per x, walking down by the stride.
        for (int x = 0; x < w; ++x)
            boxBlurPass(a + x, b + x, 1, h, 0, stride, radius);
        std::swap(a, b);
    }
    // Six passes: the result is back in src.
    QImage out = src;
    out.setDevicePixelRatio(image.devicePixelRatio());
    return out;
}

void ShadowCache::draw(QPainter& painter, const QString& key, const QPainterPath& shape,
                       const QColor& color, double blurRadius, QPointF offset) {
    const double dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QString fullKey =
        QStringLiteral("%1|%2|%3|%4").arg(key).arg(color.rgba(), 0, 16).arg(blurRadius).arg(dpr);
    auto it = entries_.find(fullKey);
    if (it == entries_.end()) {
        // Shadows are blurred at reduced resolution: they are soft, and this keeps a miss cheap.
        const double sigma = blurRadius / 2;
        const double margin = std::ceil(sigma * 3 + 2);
        const QRectF bounds = shape.boundingRect().adjusted(-margin, -margin, margin, margin);
        const double res = std::min(dpr, sigma >= 3 ? 0.5 * dpr : dpr);
        QImage mask(std::max(1, int(std::ceil(bounds.width() * res))),
                    std::max(1, int(std::ceil(bounds.height() * res))),
                    QImage::Format_ARGB32_Premultiplied);
        mask.fill(Qt::transparent);
        {
            QPainter p(&mask);
            p.setRenderHint(QPainter::Antialiasing);
            p.scale(res, res);
            p.translate(-bounds.topLeft());
            p.fillPath(shape, color);
        }
        QImage image = blurred(mask, sigma * res);
        image.setDevicePixelRatio(res);
        it = entries_.insert(fullKey, {image, bounds.topLeft()});
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(it->topLeft + offset, it->image.deviceIndependentSize()), it->image);
    painter.restore();
}

void ShadowCache::clear() {
    entries_.clear();
}

} // namespace vt
