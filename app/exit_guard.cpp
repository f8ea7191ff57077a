// Qt before Xlib: Xlib defines macros (Bool, Status) that break Qt headers.
#include "app/exit_guard.h"
#include "history/history_saver.h"
#include "platform/log.h"

#include <X11/Xlib.h>
#include <atomic>
#include <cstdlib>
#include <mutex>
#include <unistd.h>

namespace vt::ExitGuard {

namespace {

constexpr std::chrono::seconds kSaveTimeout{30};

std::atomic<bool> armed{false};
std::once_flag ending;

[[noreturn]] void end(const char* why) {
    // The first caller saves and ends the process; any other waits here until it has.
    std::call_once(ending, [why] {
        qCInfo(vtLog, "%s: saving the history and quitting", why);
        HistorySaver::flushAll(kSaveTimeout);
        ::_exit(0);
    });
    for (;;)
        ::pause();
}

int onConnectionLost(Display*) {
    end("the X server went away");
}

void onExit() {
    if (armed.load()) end("exit() outside the event loop");
}

} // namespace

void arm() {
    static std::once_flag installed;
    std::call_once(installed, [] { std::atexit(onExit); });
    // After the application's own connection is made: Qt installs a handler of its own there,
    // which returns and so lets Xlib end the process from whichever thread saw the error.
    XSetIOErrorHandler(onConnectionLost);
    armed = true;
}

void disarm() {
    armed = false;
}

} // namespace vt::ExitGuard
