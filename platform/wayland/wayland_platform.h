#pragma once
#include "platform/platform_services.h"

namespace vt {

// The services of a Wayland session: the clipboard through data-control, the active window
// through foreign-toplevel where offered, the desktop-neutral session services, screens from
// Qt, and hold-to-paste through WaylandEventTap (the chord from the user's compositor bindings,
// handed over with relayWord; pastes typed by the virtual keyboard).
PlatformServices makeWaylandPlatform();

} // namespace vt
