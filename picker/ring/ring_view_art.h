#pragma once
#include "history/clip_item.h"
#include "picker/ring/ring_style.h"
#include "picker/ring/ring_style_qt.h"
#include "ui/painting.h"
#include <QColor>
#include <QHash>
#include <QImage>
#include <QLinearGradient>

namespace vt {

// Pieces of the ring drawn once and reused every frame: fitted, rounded thumbnails and the
// blurred shadows and glows.
class RingArt {
public:
    // The clip's thumbnail scaled to fit within maxSize (aspect kept), clipped to a rounded
    // rectangle with continuous corners and optionally outlined; a null image without one.
    // The image's device-independent size is its size in points.
    QImage thumbnail(const ClipItem& item, QSizeF maxSize, double radius, double outlineWidth,
                     const QColor& outline, double devicePixelRatio);

    ShadowCache& shadows() { return shadows_; }

private:
    QHash<QString, QImage> thumbnails_;
    ShadowCache shadows_;
};

} // namespace vt
