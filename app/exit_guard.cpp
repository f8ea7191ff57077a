#include "app/exit_guard.h"
#include "history/history_saver.h"
#include "platform/log.h"

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

void onExit() {
    if (armed.load()) end("exit() outside the event loop");
}

} // namespace

void arm() {
    static std::once_flag installed;
    std::call_once(installed, [] { std::atexit(onExit); });
    armed = true;
}

void disarm() {
    armed = false;
}

void displayLost() {
    end("the display went away");
}

} // namespace vt::ExitGuard
