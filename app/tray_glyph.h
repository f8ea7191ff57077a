#pragma once
#include <QColor>
#include <QIcon>
#include <optional>

namespace vt::TrayGlyph {

// The tray icon: the symbolic glyph drawn in `color` at the sizes trays use, each at 1x and 2x,
// so that no size is scaled from another.
QIcon icon(const QColor& color);
// The glyph colour for the panel: what the tray asks for, else a light glyph when the desktop's
// colours are dark and a dark one when they are light.
QColor colorFor(const std::optional<QColor>& trayForeground);

} // namespace vt::TrayGlyph
