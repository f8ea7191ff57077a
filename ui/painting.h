#pragma once
// Drawing primitives shared by the pickers. Lengths are layout points, y down. Ring angles are
// 0 at 12 o'clock growing clockwise; "drawing angles" are 0 along +x growing clockwise on screen.
#include <QColor>
#include <QConicalGradient>
#include <QGradientStops>
#include <QHash>
#include <QImage>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRectF>
#include <QString>
#include <cstdint>

class QPainter;

namespace vt {

// A ring sector around c between two ring angles and two radii: outer arc clockwise from
// start to end, straight join, inner arc back, closed. 0 to 2π gives a full annulus.
QPainterPath annularSector(QPointF c, double startAngle, double endAngle, double inner,
                           double outer);

// A circle band of width lineWidth lying inside the circle of the given diameter (a border
// drawn inside the shape's edge).
QPainterPath innerBorder(QPointF c, double diameter, double lineWidth);

// Angular gradient around c whose colours run clockwise from the drawing angle start; stops
// are (position 0..1 along the turn, colour).
QConicalGradient conicGradient(QPointF c, double startDrawingAngle, const QGradientStops& stops);
// The same with evenly spaced stops (the last meets the first after a full turn).
QConicalGradient conicGradient(QPointF c, double startDrawingAngle,
                               std::initializer_list<QColor> colors);

// Linear gradient across a shape's frame from its top-leading to its bottom-trailing corner.
QLinearGradient diagonalGradient(const QRectF& frame, const QColor& from, const QColor& to);

// Capsule (stadium) filling the rectangle.
QPainterPath capsule(const QRectF& rect);
// Rounded rectangle with continuous (curvature-smooth, squircle-like) corners.
QPainterPath continuousRoundedRect(const QRectF& rect, double radius);

// Gaussian-looking blur of a premultiplied ARGB image (three box passes), sigma in pixels.
QImage blurred(const QImage& image, double sigma);

// Blurred drop shadows of shapes, rendered once per key and reused while painting frames.
// The key names the shape (the shape itself is only read on a cache miss); the blur radius is
// the spread of the shadow in layout points.
class ShadowCache {
public:
    void draw(QPainter& painter, const QString& key, const QPainterPath& shape, const QColor& color,
              double blurRadius, QPointF offset);
    void clear();

private:
    struct Entry {
        QImage image;
        QPointF topLeft;
    };
    QHash<QString, Entry> entries_;
};

} // namespace vt
