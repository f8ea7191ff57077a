#include "app/appcast.h"
#include <gtest/gtest.h>
#include <tuple>

namespace vt {
namespace {

TEST(Appcast, VersionsCompareNumericallyByComponent) {
    for (const auto& [a, b, expected] : {std::tuple{"1.10", "1.9", 1},
                                         {"0.1.0", "0.1", 0},
                                         {"0.1.1", "0.1", 1},
                                         {"2", "10", -1},
                                         {"v1.2", "1.2", 0},
                                         {"1.02", "1.2", 0}}) {
        const int result = Appcast::compareVersions(QString::fromLatin1(a), QString::fromLatin1(b));
        EXPECT_EQ((result > 0) - (result < 0), expected) << a << " vs " << b;
    }
}

TEST(Appcast, ValidVersions) {
    for (const char* good : {"1", "0.1.0", "v2.3", "10.20.30"})
        EXPECT_TRUE(Appcast::isValidVersion(QString::fromLatin1(good))) << good;
    for (const char* bad : {"", "1.", ".1", "1..2", "1.2-beta", "latest", "1.2.x", "99999999999"})
        EXPECT_FALSE(Appcast::isValidVersion(QString::fromLatin1(bad))) << bad;
}

const char* const kFeed = R"(<?xml version="1.0" encoding="utf-8"?>
<rss version="2.0" xmlns:sparkle="http://www.andymatuschak.org/xml-namespaces/sparkle">
  <channel>
    <title>Vantrel</title>
    <item>
      <title>Vantrel 0.3.0</title>
      <link>https://vantrel.app/download/0.3.0</link>
      <sparkle:version>31</sparkle:version>
      <sparkle:shortVersionString>0.3.0</sparkle:shortVersionString>
      <description><![CDATA[<ul><li>Faster fan</li></ul>]]></description>
      <enclosure url="https://vantrel.app/Vantrel-0.3.0.AppImage" length="1" type="application/octet-stream"/>
    </item>
    <item>
      <title>Vantrel 0.2.0</title>
      <enclosure url="https://vantrel.app/Vantrel-0.2.0.AppImage" sparkle:version="20" sparkle:shortVersionString="0.2.0"/>
    </item>
    <item>
      <title>Broken</title>
      <sparkle:shortVersionString>next</sparkle:shortVersionString>
    </item>
  </channel>
</rss>)";

// The items with a version are read (the best update is the newest newer one); garbage versions
// are left out.
TEST(Appcast, ParsesItemsAndLeavesOutGarbageVersions) {
    QString error;
    const auto items = Appcast::parse(kFeed, &error);
    ASSERT_TRUE(items) << error.toStdString();
    ASSERT_EQ(items->size(), 2u);
    EXPECT_EQ((*items)[0].displayVersion(), QStringLiteral("0.3.0"));
    EXPECT_EQ((*items)[0].downloadURL, QUrl(QStringLiteral("https://vantrel.app/download/0.3.0")));
    EXPECT_TRUE((*items)[0].releaseNotes.contains(QStringLiteral("Faster fan")));
    EXPECT_EQ((*items)[1].version, QStringLiteral("20"));
    EXPECT_EQ((*items)[1].downloadURL,
              QUrl(QStringLiteral("https://vantrel.app/Vantrel-0.2.0.AppImage")));
    for (const char* current : {"0.1.0", "0.2.5"})
        EXPECT_EQ(Appcast::bestUpdate(*items, QString::fromLatin1(current))->displayVersion(),
                  QStringLiteral("0.3.0"));
    EXPECT_FALSE(Appcast::bestUpdate(*items, QStringLiteral("0.3")));
    EXPECT_FALSE(Appcast::bestUpdate(*items, QStringLiteral("garbage")));
}

TEST(Appcast, OnlyWebAddressesAreKept) {
    const char* const feed = R"x(<rss><channel><item>
        <link>file:///etc/passwd</link><title>x</title>
        <enclosure url="javascript:alert(1)" xmlns:s="urn:feed" s:shortVersionString="2.0"/>
        </item></channel></rss>)x";
    const auto items = Appcast::parse(feed, nullptr);
    ASSERT_TRUE(items);
    ASSERT_EQ(items->size(), 1u);
    EXPECT_TRUE((*items)[0].downloadURL.isEmpty());
}

TEST(Appcast, NotXmlOrNotRssIsAFailure) {
    for (const char* document :
         {"", "this is not xml", "<rss><channel><item>", "<html></html>", "\x89PNG\r\n\x1a\n"}) {
        QString error;
        EXPECT_FALSE(Appcast::parse(QByteArray(document), &error)) << document;
        EXPECT_FALSE(error.isEmpty());
    }
}

} // namespace
} // namespace vt
