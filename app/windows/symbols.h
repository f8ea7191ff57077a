#pragma once
#include "ui/symbols.h"
#include <QColor>
#include <QIcon>

namespace vt {

// The symbol in `color` as an icon sized for `points` (drawn sharp for high-density screens
// too), so that the windows' pictograms look alike on every desktop.
QIcon symbolIcon(Symbol symbol, const QColor& color, int points = 16);

} // namespace vt
