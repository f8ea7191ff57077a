// Qt before Xlib: Xlib defines macros (Bool, Status) that break Qt headers.
#include "platform/log.h"

#include "platform/linux/x11_error_trap.h"
#include <algorithm>
#include <mutex>
#include <vector>

namespace vt {
namespace {

struct Entry {
    Display* display;
    int count;
    int lastCode;
};

// Xlib has one error handler per process; several taps (and tests) may trap at once.
std::mutex& registryMutex() {
    static std::mutex m;
    return m;
}
std::vector<Entry>& registry() {
    static std::vector<Entry> entries;
    return entries;
}
XErrorHandler previousHandler = nullptr;
bool installed = false;

int handleError(Display* display, XErrorEvent* error) {
    {
        std::lock_guard lock(registryMutex());
        for (Entry& e : registry()) {
            if (e.display == display) {
                ++e.count;
                e.lastCode = error->error_code;
                return 0;
            }
        }
    }
    if (previousHandler) return previousHandler(display, error);
    qCWarning(vtLog) << "X error" << error->error_code << "request" << error->request_code;
    return 0;
}

} // namespace

X11ErrorTrap::X11ErrorTrap(Display* display) : display_(display) {
    std::lock_guard lock(registryMutex());
    registry().push_back({display, 0, 0});
    if (!installed) {
        previousHandler = XSetErrorHandler(handleError);
        installed = true;
    }
}

X11ErrorTrap::~X11ErrorTrap() {
    std::lock_guard lock(registryMutex());
    auto& r = registry();
    r.erase(
        std::remove_if(r.begin(), r.end(), [&](const Entry& e) { return e.display == display_; }),
        r.end());
    // The handler stays installed: restoring would race with a handler another library set since.
}

int X11ErrorTrap::count() const {
    std::lock_guard lock(registryMutex());
    for (const Entry& e : registry())
        if (e.display == display_) return e.count;
    return 0;
}

int X11ErrorTrap::lastErrorCode() const {
    std::lock_guard lock(registryMutex());
    for (const Entry& e : registry())
        if (e.display == display_) return e.lastCode;
    return 0;
}

void X11ErrorTrap::reset() {
    std::lock_guard lock(registryMutex());
    for (Entry& e : registry()) {
        if (e.display == display_) {
            e.count = 0;
            e.lastCode = 0;
        }
    }
}

} // namespace vt
