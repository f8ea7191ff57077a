#pragma once

namespace vt {
class X11Trust;
class DesktopAppCatalog;

// The desktop services the shared windows use. The application tells the trust check that its
// event tap is running (setTapRunning), because the tap's own grab makes a fresh probe fail.
namespace DesktopServices {
X11Trust& trust();
DesktopAppCatalog& appCatalog();
} // namespace DesktopServices
} // namespace vt
