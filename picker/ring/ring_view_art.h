#pragma once
#include "history/clip_item.h"
#include "picker/ring/ring_style.h"
#include "picker/ring/ring_style_qt.h"
#include "ui/painting.h"
#include <QColor>
#include <QHash>
#include <QImage>
#include <QLinearGradient>

#include <functional>
#include <vector>

namespace vt {

class TextBlock;

// A column of pieces (symbols, text, pictures) centred on one vertical line, a fixed spacing
// apart: how a wedge's label and the centre preview lay out their content.
class PieceColumn {
public:
    using Draw = std::function<void(QPainter& painter, QPointF topLeft)>;

    explicit PieceColumn(double spacing) : spacing_(spacing) {}
    // Adds a piece of this size, drawn with its top-left corner at the given point; an empty
    // piece takes no room.
    void add(QSizeF size, Draw draw);
    // Adds a laid-out text (which must outlive the column) in one colour.
    void addText(const TextBlock& text, const QColor& color);
    bool isEmpty() const { return pieces_.empty(); }
    QSizeF size() const;
    // Draws the column with its centre line at `centerX` and its top edge at `top`.
    void draw(QPainter& painter, double centerX, double top) const;

private:
    struct Piece {
        QSizeF size;
        Draw draw;
    };
    std::vector<Piece> pieces_;
    double spacing_;
};

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

    // The soft shadow of everything a column draws (its alpha blurred by `radius` points, in
    // `color`), made once per key; the image's top-left corner is the column's, less `radius`
    // times two on each side.
    const QImage& columnShadow(const QString& key, const PieceColumn& column, double radius,
                               const QColor& color, double devicePixelRatio);

private:
    QHash<QString, QImage> thumbnails_;
    QHash<QString, QImage> columnShadows_;
    ShadowCache shadows_;
};

} // namespace vt
