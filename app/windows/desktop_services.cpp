#include "app/windows/desktop_services.h"
#include "platform/linux/desktop_app_catalog.h"
#include "platform/linux/x11_trust.h"

namespace vt::DesktopServices {

X11Trust& trust() {
    static X11Trust instance;
    return instance;
}

DesktopAppCatalog& appCatalog() {
    static DesktopAppCatalog instance;
    return instance;
}

} // namespace vt::DesktopServices
