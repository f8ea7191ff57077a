#include "platform/linux/x11_platform.h"

#include "platform/linux/desktop_app_catalog.h"
#include "platform/linux/screens_linux.h"
#include "platform/linux/session_login_items.h"
#include "platform/linux/session_user_defaults.h"
#include "platform/linux/x11_event_tap.h"
#include "platform/linux/x11_pasteboard.h"
#include "platform/linux/x11_tray_colors.h"
#include "platform/linux/x11_trust.h"
#include "platform/linux/x11_workspace.h"

// Qt before Xlib: Xlib defines macros (Bool, Status) that break Qt headers.
#include <X11/Xlib.h>

namespace vt {

namespace {

void (*displayLost)() = nullptr;

int onConnectionLost(Display*) {
    if (displayLost) displayLost();
    return 0; // Xlib ends the process when the handler returns
}

} // namespace

PlatformServices makeX11Platform() {
    PlatformServices s;
    s.kind = PlatformKind::x11;
    auto pasteboard = std::make_unique<X11Pasteboard>();
    s.recordsClipboard = pasteboard->isValid();
    s.pasteboard = std::move(pasteboard);
    s.workspace = std::make_unique<X11Workspace>();
    s.knowsFrontmostApplication = true;
    auto screens = std::make_unique<LinuxScreens>();
    s.screenPictures = screens.get();
    auto tap = std::make_unique<X11EventTap>();
    // Pointer locations are measured from the primary screen, which need not sit at the root
    // window's origin, in the same points as the pickers (scaled screens count in points).
    s.screensChanged = [tap = tap.get(), screens = screens.get()] {
        tap->setRootSpace(screens->rootSpace());
    };
    s.screensChanged();
    // Our own grab makes a fresh probe of the paste chord fail: a running tap means trusted.
    auto trust = std::make_unique<X11Trust>();
    trust->setTapRunning([tap = tap.get()] { return tap->isPresent(); });
    s.holdToPaste = true;
    s.screens = std::move(screens);
    s.eventTap = std::move(tap);
    s.trust = std::move(trust);
    s.trayForegroundColor = [] { return systemTrayForegroundColor(); };
    // After the application's own connection is made: Qt installs a handler of its own there,
    // which returns and so lets Xlib end the process from whichever thread saw the error.
    s.watchDisplayLoss = [](void (*lost)()) {
        displayLost = lost;
        XSetIOErrorHandler(onConnectionLost);
    };
    s.appCatalog = std::make_unique<DesktopAppCatalog>();
    s.userDefaults = std::make_unique<QSettingsUserDefaults>();
    s.loginItems = std::make_unique<XdgAutostartLoginItems>();
    return s;
}

} // namespace vt
