#pragma once
// Symbol glyphs drawn as vector shapes, named as the views name them: "text.alignleft",
// "photo", "doc", "xmark.circle", "checkmark", "plus", "minus", "app.dashed", "gearshape",
// "clock.arrow.circlepath", "info.circle".
#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;

namespace vt {

// Size of a symbol set at a font size (layout points), like a glyph of that font.
QSizeF symbolSize(const QString& name, double fontSize);
// True when the name is one of the drawn symbols.
bool hasSymbol(const QString& name);
// Draws the symbol centred in `box`; the stroke follows the weight as a font's stems would.
// Unknown names draw nothing.
void drawSymbol(QPainter& painter, const QString& name, const QRectF& box, const QColor& color,
                QFont::Weight weight = QFont::Normal);

} // namespace vt
