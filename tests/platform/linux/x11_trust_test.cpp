#include "platform/linux/x11_trust.h"
#include <gtest/gtest.h>
// Xlib after gtest: its macros (None, Bool) would break gtest's templates.
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace vt {
namespace {

const QUrl kSupport(QStringLiteral("https://example.org/vantrel/support/"));

struct TrustFixture : ::testing::Test {
    QList<QUrl> opened;
    X11Trust trust{[] { return kSupport; }, [this](const QUrl& url) { opened << url; }};
};

TEST_F(TrustFixture, TrustedWhenTheChordIsFree) {
    EXPECT_EQ(trust.check(), X11Trust::Check::trusted);
    EXPECT_TRUE(trust.isTrusted());
    trust.openAccessibility();
    EXPECT_TRUE(opened.isEmpty()) << "nothing to show when the tap can be installed";
    // The probe released its grab: a second probe succeeds too.
    EXPECT_TRUE(trust.isTrusted());
}

TEST_F(TrustFixture, ChordHeldByAnotherProgramIsNotTrustedAndOpensSupport) {
    Display* other = XOpenDisplay(nullptr);
    ASSERT_NE(other, nullptr);
    const KeyCode v = XKeysymToKeycode(other, XK_v);
    XGrabKey(other, v, ControlMask, DefaultRootWindow(other), False, GrabModeAsync, GrabModeAsync);
    XSync(other, False);

    EXPECT_EQ(trust.check(), X11Trust::Check::chordTaken);
    trust.openAccessibility();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.front(), kSupport);

    // Our own running tap holds exactly such a grab: it counts as trusted.
    trust.setTapRunning([] { return true; });
    EXPECT_TRUE(trust.isTrusted());
    trust.setTapRunning([] { return false; });
    EXPECT_FALSE(trust.isTrusted());

    XUngrabKey(other, v, ControlMask, DefaultRootWindow(other));
    XCloseDisplay(other);
    EXPECT_TRUE(trust.isTrusted());
}

TEST(Trust, NoDisplayIsNotTrustedAndOpensSupport) {
    QList<QUrl> opened;
    X11Trust trust([] { return kSupport; }, [&](const QUrl& url) { opened << url; },
                   QByteArray(":987"));
    EXPECT_EQ(trust.check(), X11Trust::Check::noDisplay);
    trust.openAccessibility();
    EXPECT_EQ(opened, QList<QUrl>{kSupport});
}

} // namespace
} // namespace vt
