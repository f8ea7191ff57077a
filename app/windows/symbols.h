#pragma once
#include "ui/symbols.h"
#include <QColor>
#include <QIcon>

class QToolButton;

namespace vt {

// The symbol in `color` as an icon sized for `points` (drawn sharp for high-density screens
// too), so that the windows' pictograms look alike on every desktop.
QIcon symbolIcon(Symbol symbol, const QColor& color, int points = 16);

// A small flat button showing the symbol, named for tests and labelled for screen readers by
// `tip` (the "+" and "−" under the application lists).
QToolButton* symbolButton(Symbol symbol, const QString& objectName, const QString& tip);

} // namespace vt
