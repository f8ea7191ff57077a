#pragma once
#include "history/clip_item.h"
#include "picker/fan/fan_geometry.h"
#include "ui/materials.h"

#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <cstdint>

class QPainter;

namespace vt {

// One row of the fan: the tile then the numbered label capsule ("pill"), mirrored when the fan
// opens to the left so the tile always sits at the end nearest the pointer. Coordinates are the
// row's own: its 260 x 28 frame centred on (0, 0).
struct FanRow {
    static constexpr double width = FanGeometry::rowLength;
    static constexpr double height = FanGeometry::rowHeight;
    static constexpr double pillHeight = 20;
    static constexpr double pillPadding = 9;
    static constexpr double pillSpacing = 7;
    static constexpr double badgeMinWidth = 14;
    static constexpr int titleMaxLength = 60;
    // Room around the frame for shadows and the enlarged tile.
    static constexpr double margin = 18;

    ClipItem item;
    std::int64_t number = 1; // shown in the badge, 1-based
    bool selected = false;
    bool flipX = false;

    // The frame of the rendered image in row coordinates.
    static QRectF imageRect();
    QRectF tileFrame() const;
    QRectF pillFrame() const;

    // Paints the row with (0, 0) at its centre.
    void paint(QPainter& painter, Appearance appearance, double devicePixelRatio) const;
    // The row rendered once, to be drawn at imageRect() under the spoke's transform.
    QImage render(Appearance appearance, double devicePixelRatio) const;
};

// A blurred shadow of `shape`, as the platform's views cast them: `radius` is the blur radius
// in points.
void paintShadow(QPainter& painter, const QPainterPath& shape, const QColor& color, double radius,
                 QPointF offset, double devicePixelRatio);

} // namespace vt
