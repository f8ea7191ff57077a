#include "app/windows/windows_platform.h"
#include "app/app_info.h"
#include "app/windows/window_style.h"
#include "platform/linux/desktop_app_catalog.h"
#include "platform/linux/x11_trust.h"

namespace vt::WindowsPlatform {

X11Trust& trust() {
    static X11Trust instance(
        [] { return appendingPathComponent(AppInfo::siteURL(), QStringLiteral("support/")); });
    return instance;
}

DesktopAppCatalog& appCatalog() {
    static DesktopAppCatalog instance;
    return instance;
}

} // namespace vt::WindowsPlatform
