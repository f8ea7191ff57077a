#pragma once
// Colours of the fan. Unlike the ring, which always draws on dark, the fan follows the desktop's
// light or dark appearance for its label colours and materials; the accent is shared.
#include "picker/ring/ring_style.h"
#include "picker/ring/ring_style_qt.h"
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

// One line of text cut at the tail with a single "…" when wider than maxWidth.
const TextBlock& singleLine(const QString& text, const QFont& font, double maxWidth);

// Device pixels per layout point of the images the fan caches, and their 96 dpi metrics so
// point-sized fonts keep their layout sizes.
void prepareImage(QImage& image, double devicePixelRatio);

} // namespace vt::fan_style
