#pragma once
#include <QColor>
#include <QIcon>

namespace vt {

// The small pictograms the windows show, drawn so that they look alike on every desktop.
enum class Symbol {
    gearshape,
    clockArrowCirclepath,
    infoCircle,
    plus,
    minus,
    appDashed,
    checkmark
};

// The symbol in `color`, sized for `points` (drawn sharp for high-density screens too).
QIcon symbolIcon(Symbol symbol, const QColor& color, int points = 16);

} // namespace vt
