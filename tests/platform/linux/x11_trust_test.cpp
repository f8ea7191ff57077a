#include "platform/linux/x11_trust.h"
#include <gtest/gtest.h>
// Xlib after gtest: its macros (None, Bool) would break gtest's templates.
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace vt {
namespace {

struct TrustFixture : ::testing::Test {
    X11Trust trust;
};

TEST_F(TrustFixture, TrustedWhenTheChordIsFree) {
    EXPECT_EQ(trust.check(), X11Trust::Check::trusted);
    EXPECT_TRUE(trust.isTrusted());
    // The probe released its grab: a second probe succeeds too.
    EXPECT_TRUE(trust.isTrusted());
}

TEST_F(TrustFixture, ChordHeldByAnotherProgramIsTheProblem) {
    Display* other = XOpenDisplay(nullptr);
    ASSERT_NE(other, nullptr);
    const KeyCode v = XKeysymToKeycode(other, XK_v);
    XGrabKey(other, v, ControlMask, DefaultRootWindow(other), False, GrabModeAsync, GrabModeAsync);
    XSync(other, False);

    // (Our own running tap holds exactly such a grab and counts as trusted: see the platform
    // services test.)
    EXPECT_EQ(trust.problem(), TrustProblem::chordTaken);
    EXPECT_FALSE(trust.isTrusted());

    XUngrabKey(other, v, ControlMask, DefaultRootWindow(other));
    XCloseDisplay(other);
    EXPECT_TRUE(trust.isTrusted());
}

TEST(Trust, AnUnreachableDisplayIsToldApartInAWaylandSession) {
    X11Trust trust(QByteArray(":987"));
    const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
    qunsetenv("WAYLAND_DISPLAY");
    EXPECT_EQ(trust.problem(), TrustProblem::noDisplay);
    qputenv("WAYLAND_DISPLAY", "wayland-0");
    EXPECT_EQ(trust.problem(), TrustProblem::waylandWithoutX);
    if (wayland.isNull())
        qunsetenv("WAYLAND_DISPLAY");
    else
        qputenv("WAYLAND_DISPLAY", wayland);
}

} // namespace
} // namespace vt
