#include "app/app_info.h"
#include "platform/config.h"
#include <gtest/gtest.h>

namespace vt {
namespace {

class AppInfoTest : public ::testing::Test {
protected:
    void TearDown() override { AppInfo::setDictionaryForTesting(std::nullopt); }
};

TEST_F(AppInfoTest, CompiledInDictionaryNamesTheProgramAndItsBuild) {
    EXPECT_EQ(AppInfo::name(), QStringLiteral("Vantrel"));
    EXPECT_EQ(AppInfo::version(), QString::fromLatin1(kVersion));
    EXPECT_EQ(AppInfo::build(), QString::fromLatin1(kBuildNumber));
    EXPECT_FALSE(AppInfo::copyright().isEmpty());
    EXPECT_EQ(AppInfo::siteURL().scheme(), QStringLiteral("https"));
    // Built without a feed (the default), the program is updated with its package.
    EXPECT_TRUE(AppInfo::feedURL().isEmpty());
}

TEST_F(AppInfoTest, MissingKeysFallBack) {
    AppInfo::setDictionaryForTesting(QVariantMap{});
    EXPECT_EQ(AppInfo::name(), QStringLiteral("Tavuri"));
    EXPECT_EQ(AppInfo::version(), QStringLiteral("0"));
    EXPECT_EQ(AppInfo::build(), QStringLiteral("0"));
    EXPECT_EQ(AppInfo::copyright(), QString());
    EXPECT_TRUE(AppInfo::siteURL().isValid());
    EXPECT_TRUE(AppInfo::feedURL().isEmpty()); // no feed: no update checks
}

TEST_F(AppInfoTest, ValuesThatAreNotTextFallBack) {
    AppInfo::setDictionaryForTesting(QVariantMap{
        {QStringLiteral("CFBundleDisplayName"), QStringList{QStringLiteral("Vantrel")}},
        {QStringLiteral("CFBundleShortVersionString"), QStringLiteral("2.1")},
        {QStringLiteral("CFBundleVersion"), 42},
        {QStringLiteral("NSHumanReadableCopyright"), true},
        {QStringLiteral("VTSiteURL"), 7},
    });
    EXPECT_EQ(AppInfo::name(), QStringLiteral("Tavuri"));
    EXPECT_EQ(AppInfo::version(), QStringLiteral("2.1"));
    EXPECT_EQ(AppInfo::build(), QStringLiteral("0"));
    EXPECT_EQ(AppInfo::copyright(), QString());
    EXPECT_EQ(AppInfo::siteURL(), AppInfo::siteURL()); // stable built-in default
    EXPECT_EQ(AppInfo::siteURL().host(), QStringLiteral("vantrel.app"));
}

TEST_F(AppInfoTest, ReadEveryTimeNotCached) {
    AppInfo::setDictionaryForTesting(
        QVariantMap{{QStringLiteral("CFBundleDisplayName"), QStringLiteral("First")}});
    EXPECT_EQ(AppInfo::name(), QStringLiteral("First"));
    AppInfo::setDictionaryForTesting(
        QVariantMap{{QStringLiteral("CFBundleDisplayName"), QStringLiteral("Second")},
                    {QStringLiteral("VTSiteURL"), QStringLiteral("https://example.org/vantrel")},
                    {QStringLiteral("VTFeedURL"), QStringLiteral("not a url")}});
    EXPECT_EQ(AppInfo::name(), QStringLiteral("Second"));
    EXPECT_EQ(AppInfo::siteURL(), QUrl(QStringLiteral("https://example.org/vantrel")));
    EXPECT_TRUE(AppInfo::feedURL().isEmpty());
    AppInfo::setDictionaryForTesting(std::nullopt);
    EXPECT_EQ(AppInfo::name(), QStringLiteral("Vantrel"));
}

} // namespace
} // namespace vt
