#include "tests/doubles/fake_keys.h"
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

namespace vt::test {

bool fakeKeys(std::initializer_list<const char*> steps) {
    std::unique_ptr<Display, int (*)(Display*)> display(XOpenDisplay(nullptr), XCloseDisplay);
    if (!display) return false;
    for (const char* step : steps) {
        if (step[0] == '~') {
            std::this_thread::sleep_for(
                std::chrono::milliseconds(std::strtoul(step + 1, nullptr, 10)));
            continue;
        }
        const KeySym sym = XStringToKeysym(step + 1);
        const KeyCode code = sym == NoSymbol ? 0 : XKeysymToKeycode(display.get(), sym);
        if (code == 0) return false;
        XTestFakeKeyEvent(display.get(), code, step[0] == '+' ? True : False, CurrentTime);
        XSync(display.get(), False);
        std::this_thread::sleep_for(std::chrono::milliseconds(12)); // a fast typist's pace
    }
    return true;
}

} // namespace vt::test
