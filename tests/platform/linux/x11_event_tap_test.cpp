// The X11 tap on a real X server, without the controller: the chord is held, lost and taken back
// (what the tap reports, that our own keystrokes and other chords pass it and that a stalled main
// thread never keeps the keyboard frozen: the end-to-end tests).
#include "platform/linux/x11_event_tap.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>
#include <gtest/gtest.h>

// After Qt and gtest: Xlib's macros collide with their names.
#include <X11/Xlib.h>
#include <X11/keysym.h>

using namespace vt;

namespace {

class X11EventTapTest : public ::testing::Test {
protected:
    Display* keyboard = XOpenDisplay(nullptr);

    void TearDown() override {
        if (keyboard) XCloseDisplay(keyboard);
    }
    bool spinUntil(const std::function<bool()>& done, int ms = 3000) {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > ms) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return true;
    }
};

// After a keymap change V is on a key another program has grabbed with Ctrl: the tap says it
// lost the chord (the tray warns) and takes it back once it is free.
TEST_F(X11EventTapTest, AChordLostAfterAKeymapChangeIsReportedAndTakenBack) {
    X11EventTap tap;
    ASSERT_TRUE(tap.create(0x401C66, [](std::uint32_t, const TapEvent&) { return false; }));
    EXPECT_TRUE(tap.holdsChord());
    const Window root = DefaultRootWindow(keyboard);
    const KeyCode oldV = XKeysymToKeycode(keyboard, XK_v);
    const KeyCode newV = 200; // unused on a default Xvfb keymap
    XGrabKey(keyboard, newV, ControlMask, root, False, GrabModeAsync, GrabModeAsync);
    auto remap = [&](KeyCode code, KeySym sym) {
        XChangeKeyboardMapping(keyboard, code, 1, &sym, 1);
        XSync(keyboard, False);
    };
    remap(oldV, NoSymbol);
    remap(newV, XK_v);
    EXPECT_TRUE(spinUntil([&] { return !tap.holdsChord(); }));
    XUngrabKey(keyboard, newV, ControlMask, root);
    XSync(keyboard, False);
    EXPECT_TRUE(spinUntil([&] { return tap.holdsChord(); }, 3000));
    remap(newV, NoSymbol);
    remap(oldV, XK_v);
}

} // namespace
