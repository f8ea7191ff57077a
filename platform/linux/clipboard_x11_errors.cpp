#include "platform/linux/clipboard_x11_errors.h"

#include "platform/log.h"

#include <X11/Xlib.h>
#include <mutex>

namespace vt {

namespace {
int logX11Error(Display*, XErrorEvent* e) {
    qCDebug(vtLog, "X error %d (request %d.%d) on resource 0x%lx", e->error_code, e->request_code,
            e->minor_code, e->resourceid);
    return 0;
}
} // namespace

void ensureQuietX11Errors() {
    static std::once_flag once;
    std::call_once(once, [] {
        XErrorHandler previous = XSetErrorHandler(nullptr);
        XErrorHandler standard = XSetErrorHandler(nullptr);
        XSetErrorHandler(previous == standard ? logX11Error : previous);
    });
}

} // namespace vt
