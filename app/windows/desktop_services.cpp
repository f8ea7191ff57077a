#include "app/windows/desktop_services.h"
#include "platform/log.h"
#include "platform/platform_services.h"

namespace vt::DesktopServices {

namespace {
PlatformServices* current = nullptr;
} // namespace

void use(PlatformServices& services) {
    current = &services;
}

PlatformServices& services() {
    // Handed over by the delegate before anything shared is made; missing is a wiring fault.
    if (!current) qFatal("the platform services were used before the program handed them over");
    return *current;
}

Trust& trust() {
    return *services().trust;
}

AppCatalog& appCatalog() {
    return *services().appCatalog;
}

UserDefaults& userDefaults() {
    return *services().userDefaults;
}

LoginItemService& loginItems() {
    return *services().loginItems;
}

bool knowsFrontmostApplication() {
    return !current || current->knowsFrontmostApplication;
}

bool learnsChordFromBindings() {
    return current && current->kind == PlatformKind::wayland;
}

} // namespace vt::DesktopServices
