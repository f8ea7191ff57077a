// The X11 tap on a real X server, without the controller: what it reports, and that a stalled
// main thread never keeps the keyboard frozen.
#include "platform/linux/x11_event_tap.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>
#include <vector>

// After Qt and gtest: Xlib's macros collide with their names.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

using namespace vt;

namespace {

struct Seen {
    std::uint32_t type;
    TapEvent event;
};

class X11EventTapTest : public ::testing::Test {
protected:
    Display* keyboard = XOpenDisplay(nullptr);
    std::vector<Seen> seen;

    void TearDown() override {
        if (keyboard) XCloseDisplay(keyboard);
    }
    void key(KeySym sym, bool down) {
        XTestFakeKeyEvent(keyboard, XKeysymToKeycode(keyboard, sym), down ? True : False,
                          CurrentTime);
        XFlush(keyboard);
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
    std::size_t count(std::uint32_t type) const {
        std::size_t n = 0;
        for (const Seen& s : seen)
            n += s.type == type;
        return n;
    }
};

// Our own posted keystrokes go past the tap, which then catches the chord again; other chords
// pass unseen.
TEST_F(X11EventTapTest, ReportsTheChordWithTheCommandFlagAndPassesTheRestUnseen) {
    ASSERT_NE(keyboard, nullptr);
    X11EventTap tap;
    ASSERT_TRUE(tap.create(0x401C66, [&](std::uint32_t type, const TapEvent& e) {
        seen.push_back({type, e});
        return false;
    }));
    EXPECT_TRUE(tap.isPresent());
    EXPECT_TRUE(tap.isTrusted());
    tap.postKeyboardEvent(TapKeyCode::v, true, TapEventFlag::command, kSyntheticEventMarker);
    tap.postKeyboardEvent(TapKeyCode::v, false, TapEventFlag::command, kSyntheticEventMarker);
    spinUntil([] { return false; }, 200); // the tap has its chord back
    key(XK_Shift_L, true); // Shift+Ctrl+V is not ours: the passive grab never sees it
    key(XK_Control_L, true);
    key(XK_v, true);
    key(XK_v, false);
    key(XK_Shift_L, false);
    key(XK_v, true); // Ctrl+V is
    key(XK_v, false);
    key(XK_Control_L, false);
    ASSERT_TRUE(spinUntil([&] { return count(TapEventType::keyDown) >= 1; }));
    QThread::msleep(100);
    QCoreApplication::processEvents();
    ASSERT_EQ(count(TapEventType::keyDown), 1u);
    const Seen& down = seen.front();
    EXPECT_EQ(down.type, TapEventType::keyDown);
    EXPECT_EQ(down.event.keycode, TapKeyCode::v);
    EXPECT_EQ(down.event.flags & ~TapEventFlag::alphaShift, TapEventFlag::command);
    EXPECT_EQ(down.event.autorepeat, 0);
    EXPECT_EQ(down.event.userData, 0);
    tap.invalidate();
    EXPECT_FALSE(tap.isPresent());
}

TEST_F(X11EventTapTest, AStalledAnswerLetsTheEventThroughAndReportsTheTimeout) {
    X11EventTap tap(std::chrono::milliseconds(100));
    int calls = 0;
    ASSERT_TRUE(tap.create(0x401C66, [&](std::uint32_t type, const TapEvent& e) {
        seen.push_back({type, e});
        if (type == TapEventType::keyDown && ++calls == 1) QThread::msleep(400); // a stall
        return type == TapEventType::keyDown;
    }));
    key(XK_Control_L, true);
    key(XK_v, true);
    ASSERT_TRUE(spinUntil([&] { return count(TapEventType::tapDisabledByTimeout) == 1; }));
    // The press went on to the application; so do its auto-repeats while V is held.
    spinUntil([] { return false; }, 900);
    EXPECT_EQ(count(TapEventType::keyDown), 1u);
    key(XK_v, false);
    const std::size_t before = count(TapEventType::keyDown);
    spinUntil([] { return false; }, 100);
    // V is up: the next press is caught by the chord's grab again.
    key(XK_v, true);
    key(XK_v, false);
    key(XK_Control_L, false);
    EXPECT_TRUE(spinUntil([&] { return count(TapEventType::keyDown) > before; }));
    EXPECT_EQ(seen.back().event.autorepeat, 0);
}

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

TEST_F(X11EventTapTest, ASecondTapCannotTakeTheChordAndFailsCleanly) {
    X11EventTap first;
    X11EventTap second;
    ASSERT_TRUE(first.create(0x401C66, [](std::uint32_t, const TapEvent&) { return false; }));
    EXPECT_FALSE(second.create(0x401C66, [](std::uint32_t, const TapEvent&) { return false; }));
    EXPECT_FALSE(second.isPresent());
    EXPECT_TRUE(second.isTrusted());
    first.invalidate();
    EXPECT_TRUE(second.create(0x401C66, [](std::uint32_t, const TapEvent&) { return false; }));
}

} // namespace
