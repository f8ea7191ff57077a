#include "platform/linux/clipboard_x11_errors.h"

#include "platform/log.h"

#include <X11/Xlib.h>
#include <algorithm>
#include <mutex>
#include <vector>

namespace vt {

namespace {

std::mutex registryMutex;
std::vector<Display*> quietDisplays;
XErrorHandler chained = nullptr;

int handleError(Display* display, XErrorEvent* e) {
    bool ours = false;
    {
        std::lock_guard lock(registryMutex);
        ours =
            std::find(quietDisplays.begin(), quietDisplays.end(), display) != quietDisplays.end();
    }
    if (!ours && chained) return chained(display, e);
    qCDebug(vtLog, "X error %d (request %d.%d) on resource 0x%lx", e->error_code, e->request_code,
            e->minor_code, e->resourceid);
    return 0;
}

} // namespace

void quietX11Errors(Display* display) {
    static std::once_flag once;
    std::call_once(once, [] {
        XErrorHandler previous = XSetErrorHandler(nullptr);
        XErrorHandler standard = XSetErrorHandler(nullptr);
        // Xlib's default would end the process: never chain to it.
        chained = previous == standard ? nullptr : previous;
        XSetErrorHandler(handleError);
    });
    std::lock_guard lock(registryMutex);
    quietDisplays.push_back(display);
}

void forgetQuietX11Display(Display* display) {
    std::lock_guard lock(registryMutex);
    quietDisplays.erase(std::remove(quietDisplays.begin(), quietDisplays.end(), display),
                        quietDisplays.end());
}

} // namespace vt
