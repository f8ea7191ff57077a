#pragma once
// Colours of the fan. Unlike the ring, which always draws on dark, the fan follows the desktop's
// light or dark appearance for its label colours and materials; the accent is shared.
#include "picker/ring/ring_style.h"
#include "ui/materials.h"
#include "ui/text.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QRectF>

namespace vt::fan_style {

// The desktop's appearance right now: the colour-scheme hint where Qt reports one, else the
// lightness of the palette's window colour.
Appearance desktopAppearance();

// The adaptive label colours.
QColor primary(Appearance appearance);
QColor secondary(Appearance appearance);

QColor toQColor(const RgbaColor& color, double opacity = 1.0);
// The accent laid across a frame, from its top-leading to its bottom-trailing corner.
QLinearGradient accent(const QRectF& frame);

inline QColor white(double opacity) {
    return QColor::fromRgbF(1, 1, 1, float(opacity));
}
inline QColor black(double opacity) {
    return QColor::fromRgbF(0, 0, 0, float(opacity));
}

// One line of text cut at the tail with a single "…" when wider than maxWidth.
const TextBlock& singleLine(const QString& text, const QFont& font, double maxWidth);

// Device pixels per layout point of the images the fan caches, and their 96 dpi metrics so
// point-sized fonts keep their layout sizes.
void prepareImage(QImage& image, double devicePixelRatio);

} // namespace vt::fan_style
