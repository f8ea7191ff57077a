// The X11 backend's factory under a private Xvfb: every service is there, and the trust check
// keeps saying "trusted" while our own tap holds the paste chord.
#include "platform/platform_services.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

namespace vt {
namespace {

TEST(X11Platform, BuildsEveryServiceAndTiesTheTrustCheckToTheTap) {
    PlatformServices s = makePlatformServices(PlatformKind::x11);
    ASSERT_TRUE(s.pasteboard && s.workspace && s.screens && s.eventTap && s.trust && s.appCatalog &&
                s.userDefaults && s.loginItems);
    EXPECT_EQ(s.kind, PlatformKind::x11);
    EXPECT_TRUE(s.recordsClipboard && s.holdToPaste && s.knowsFrontmostApplication);
    EXPECT_NE(s.screenPictures, nullptr);
    EXPECT_TRUE(s.trust->isTrusted());
    ASSERT_TRUE(s.eventTap->create(~0ull, [](std::uint32_t, const TapEvent&) { return false; }));
    // The grab is ours now, so a fresh probe would fail; the running tap counts.
    EXPECT_TRUE(s.trust->isTrusted());
    s.screensChanged();
    s.eventTap->invalidate();
}

} // namespace
} // namespace vt

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
