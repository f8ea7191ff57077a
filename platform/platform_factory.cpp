#include "platform/linux/x11_platform.h"
#include "platform/log.h"
#include "platform/platform_services.h"
#if VANTREL_HAVE_WAYLAND
#include "platform/wayland/wayland_platform.h"
#endif

namespace vt {

PlatformKind builtPlatform(PlatformKind kind) {
#if VANTREL_HAVE_WAYLAND
    return kind;
#else
    if (kind == PlatformKind::wayland)
        qCWarning(vtLog, "platform: this build has no Wayland backend; using X11 (XWayland)");
    return PlatformKind::x11;
#endif
}

PlatformServices makePlatformServices(PlatformKind kind) {
#if VANTREL_HAVE_WAYLAND
    if (kind == PlatformKind::wayland) return makeWaylandPlatform();
#else
    if (kind == PlatformKind::wayland)
        qCWarning(vtLog, "platform: this build has no Wayland backend; using X11 (XWayland)");
#endif
    return makeX11Platform();
}

} // namespace vt
