#pragma once
// Frosted backgrounds ("materials") as translucent fills.
#include <QImage>
#include <QPainterPath>
#include <QTransform>

class QPainter;

namespace vt {

enum class Material { ultraThin, regular };
enum class Appearance { dark, light };

// Fills the shape with the material: a translucent tint that lets what lies below show
// through, a soft sheen from the top, and a fine grain that reads as frosted glass. `bounds`
// is the frame the sheen runs across (the view's frame; the shape's bounding box if empty).
void fillMaterial(QPainter& painter, const QPainterPath& shape, Material material,
                  Appearance appearance, QRectF bounds = {});

// Paints the frosted picture of what lies behind the window (PaintedView::backdrop()) inside
// `shape` (in the painter's current coordinates). The picture stays put on the screen whatever
// the view's own scale or turn: `canvas` is the painter transform of the unscaled, unturned
// canvas and `origin` the canvas point of the picture's top-left corner. Draw the material's
// fill over it. Does nothing for a null backdrop.
void paintBackdrop(QPainter& painter, const QPainterPath& shape, const QImage& backdrop,
                   const QTransform& canvas, QPointF origin = {});

} // namespace vt
