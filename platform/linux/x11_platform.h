#pragma once
#include "platform/platform_services.h"

namespace vt {

// The services of an X11 session (or of XWayland, when asked for): the X11 clipboard, active
// window, screens, event tap and trust check, and the desktop-neutral session services.
PlatformServices makeX11Platform();

} // namespace vt
