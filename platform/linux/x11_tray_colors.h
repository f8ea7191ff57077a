#pragma once
#include <QColor>
#include <optional>

namespace vt {

// The foreground colour the XEmbed system tray asks its icons to use (the first colour of
// _NET_SYSTEM_TRAY_COLORS on the tray manager's window); nothing when there is no tray or the
// tray does not say.
std::optional<QColor> systemTrayForegroundColor();

} // namespace vt
