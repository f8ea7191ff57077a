#pragma once
#include "platform/platform_services.h"

namespace vt {

// The services of a Wayland session, stage one: the clipboard through data-control, the active
// window through foreign-toplevel where offered, the desktop-neutral session services, screens
// from Qt, and no hold-to-paste yet (the tap never installs; the trust check says why).
PlatformServices makeWaylandPlatform();

} // namespace vt
