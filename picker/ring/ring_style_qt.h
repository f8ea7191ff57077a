#pragma once
// The style's colours and the accent gradient as Qt paints them; shared by the ring and the fan.
#include "picker/ring/ring_style.h"
#include <QColor>
#include <QLinearGradient>
#include <QRectF>

namespace vt {

// A style colour as a QColor, at an extra opacity.
inline QColor toQColor(const RgbaColor& color, double opacity = 1.0) {
    return QColor::fromRgbF(float(color.red), float(color.green), float(color.blue),
                            float(color.alpha * opacity));
}

// The accent gradient laid across a frame, from its top-leading to its bottom-trailing corner.
inline QLinearGradient accentGradient(const QRectF& frame) {
    const LinearGradient& g = RingStyle::accent;
    QLinearGradient out(
        QPointF(frame.left() + g.startX * frame.width(), frame.top() + g.startY * frame.height()),
        QPointF(frame.left() + g.endX * frame.width(), frame.top() + g.endY * frame.height()));
    out.setColorAt(0, toQColor(g.from));
    out.setColorAt(1, toQColor(g.to));
    return out;
}

// White and black at an opacity, as the style gives colours.
inline QColor white(double opacity) {
    return QColor::fromRgbF(1, 1, 1, float(opacity));
}
inline QColor black(double opacity) {
    return QColor::fromRgbF(0, 0, 0, float(opacity));
}

} // namespace vt
