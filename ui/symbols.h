#pragma once
// Symbol glyphs drawn as vector shapes. The pickers name them as their views do
// ("text.alignleft", "photo", "doc", "xmark.circle", …); the windows wrap the same glyphs as
// icons (app/windows/symbols.h).
#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>
#include <optional>

class QPainter;

namespace vt {

enum class Symbol {
    textAlignleft,
    photo,
    doc,
    xmarkCircle,
    checkmark,
    plus,
    minus,
    appDashed,
    gearshape,
    clockArrowCirclepath,
    infoCircle
};

// The symbol of a name such as "clock.arrow.circlepath"; nothing for unknown names.
std::optional<Symbol> symbolNamed(const QString& name);

// Size of a symbol set at a font size (layout points), like a glyph of that font.
QSizeF symbolSize(Symbol symbol, double fontSize);
QSizeF symbolSize(const QString& name, double fontSize);
// True when the name is one of the drawn symbols.
bool hasSymbol(const QString& name);
// Draws the symbol centred in `box`; the stroke follows the weight as a font's stems would.
// Unknown names draw nothing.
void drawSymbol(QPainter& painter, Symbol symbol, const QRectF& box, const QColor& color,
                QFont::Weight weight = QFont::Normal);
void drawSymbol(QPainter& painter, const QString& name, const QRectF& box, const QColor& color,
                QFont::Weight weight = QFont::Normal);

} // namespace vt
