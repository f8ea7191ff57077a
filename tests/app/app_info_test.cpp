#include "app/app_info.h"
#include "platform/config.h"
#include <gtest/gtest.h>

namespace vt {
namespace {

class AppInfoTest : public ::testing::Test {
protected:
    void TearDown() override { AppInfo::setDictionaryForTesting(std::nullopt); }
};

// Built without a feed (the default), the program is updated with its package. Missing keys,
// and values that are not text, fall back; a feed that is no URL means no checks.
TEST_F(AppInfoTest, MissingOrWrongValuesFallBack) {
    EXPECT_EQ(AppInfo::version(), QString::fromLatin1(kVersion));
    EXPECT_TRUE(AppInfo::feedURL().isEmpty());
    for (const QVariantMap& dictionary :
         {QVariantMap{}, QVariantMap{{"CFBundleDisplayName", QStringList{"Vantrel"}},
                                     {"CFBundleVersion", 42},
                                     {"NSHumanReadableCopyright", true},
                                     {"VTSiteURL", 7},
                                     {"VTFeedURL", "not a url"}}}) {
        AppInfo::setDictionaryForTesting(dictionary);
        EXPECT_EQ(AppInfo::name(), QStringLiteral("Tavuri"));
        EXPECT_EQ(AppInfo::version(), QStringLiteral("0"));
        EXPECT_EQ(AppInfo::build(), QStringLiteral("0"));
        EXPECT_EQ(AppInfo::copyright(), QString());
        EXPECT_EQ(AppInfo::siteURL().host(), QStringLiteral("vantrel.app"));
        EXPECT_TRUE(AppInfo::feedURL().isEmpty());
    }
    AppInfo::setDictionaryForTesting(QVariantMap{{"CFBundleShortVersionString", "2.1"},
                                                 {"VTSiteURL", "https://example.org/vantrel"}});
    EXPECT_EQ(AppInfo::version(), QStringLiteral("2.1"));
    EXPECT_EQ(AppInfo::siteURL(), QUrl(QStringLiteral("https://example.org/vantrel")));
}

} // namespace
} // namespace vt
