#pragma once

namespace vt {
class AppCatalog;
class LoginItemService;
class Trust;
class UserDefaults;
struct PlatformServices;

// The platform services of this run, for the parts of the program that are reached through
// shared instances (settings, the settings and onboarding windows). The program hands them over
// once at start, before any of those is first used.
namespace DesktopServices {
void use(PlatformServices& services);
PlatformServices& services();
Trust& trust();
AppCatalog& appCatalog();
UserDefaults& userDefaults();
LoginItemService& loginItems();
// Whether this session tells which application is in front (the excluded-applications rule
// needs it); true until services are handed over.
bool knowsFrontmostApplication();
// Whether this session learns the paste chord from compositor bindings the user adds (Wayland);
// false until services are handed over.
bool learnsChordFromBindings();
} // namespace DesktopServices
} // namespace vt
