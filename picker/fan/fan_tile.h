#pragma once
#include "history/clip_item.h"
#include <QColor>
#include <QRectF>

class QPainter;

namespace vt {

// The small square at a fan row's inner end: a miniature page for text, a cropped thumbnail for
// an image, the file type's icon for files.
struct FanTile {
    static constexpr double size = 22;

    // Paints the tile of `item` into `frame` (a 22 x 22 square in layout points); `dpr` picks the
    // resolution of thumbnails and icons; symbols standing in for a missing image or path are
    // drawn in `symbolColor`.
    static void paint(QPainter& painter, const ClipItem& item, const QRectF& frame, double dpr,
                      const QColor& symbolColor);
};

} // namespace vt
