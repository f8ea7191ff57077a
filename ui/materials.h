#pragma once
// Frosted backgrounds ("materials") as translucent fills.
#include <QPainterPath>

class QPainter;

namespace vt {

enum class Material { ultraThin, regular };
enum class Appearance { dark, light };

// Fills the shape with the material: a translucent tint that lets what lies below show
// through, a soft sheen from the top, and a fine grain that reads as frosted glass. `bounds`
// is the frame the sheen runs across (the view's frame; the shape's bounding box if empty).
void fillMaterial(QPainter& painter, const QPainterPath& shape, Material material,
                  Appearance appearance, QRectF bounds = {});

} // namespace vt
