#include "app/app_info.h"
#include "platform/config.h"
#include <gtest/gtest.h>

namespace vt {
namespace {

// Built without a feed (the default), the program is updated with its package. Values of the
// wrong type fall back, and a feed that is no URL means no checks.
TEST(AppInfo, BuiltWithoutAFeedAndWrongValuesFallBack) {
    EXPECT_EQ(AppInfo::version(), QString::fromLatin1(kVersion));
    EXPECT_TRUE(AppInfo::feedURL().isEmpty());
    AppInfo::setDictionaryForTesting(QVariantMap{{"CFBundleDisplayName", QStringList{"Vantrel"}},
                                                 {"CFBundleShortVersionString", 42},
                                                 {"VTSiteURL", 7},
                                                 {"VTFeedURL", "not a url"}});
    EXPECT_EQ(AppInfo::name(), QStringLiteral("Tavuri"));
    EXPECT_EQ(AppInfo::version(), QStringLiteral("0"));
    EXPECT_EQ(AppInfo::siteURL().host(), QStringLiteral("vantrel.app"));
    EXPECT_TRUE(AppInfo::feedURL().isEmpty());
    AppInfo::setDictionaryForTesting(std::nullopt);
}

} // namespace
} // namespace vt
