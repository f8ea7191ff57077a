#pragma once
#include <QString>
#include <functional>

namespace vt {

// The window systems the program can run on; each is one backend folder.
enum class PlatformKind { x11, wayland };

// The backend chosen for this run, and why (for the log).
struct PlatformChoice {
    PlatformKind kind = PlatformKind::x11;
    QString reason;
};

// Chooses the backend: the command line's "--platform x11|wayland" (or "--platform=..."), else
// $VANTREL_PLATFORM, else the session: WAYLAND_DISPLAY, then DISPLAY, then XDG_SESSION_TYPE; X11
// when nothing says. Runs before the QApplication is made and removes the option from argv
// (Qt would take "--platform" for its own), as Qt removes its options. An unknown name is logged
// and ignored. `environment` looks a variable up (empty: unset).
PlatformChoice choosePlatform(int& argc, char** argv,
                              const std::function<QString(const char*)>& environment);
// The Qt platform plugin that matches the backend ("xcb" through XWayland for X11).
const char* qtPlatformPlugin(PlatformKind kind);
const char* platformName(PlatformKind kind);

} // namespace vt
