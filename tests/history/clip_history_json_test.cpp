#include "history/clip_history.h"
#include "history_test_items.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

const QUuid kId = QUuid::fromString(QStringLiteral("6ba7b810-9dad-11d1-80b4-00c04fd430c8"));

QDateTime since2001(qint64 msecs) {
    return QDateTime::fromMSecsSinceEpoch(978307200000 + msecs, Qt::UTC);
}

TEST(HistoryJson, WritesEveryMemberInItsOrderAndOmitsAbsentOnes) {
    ClipItem all{kId,
                 ClipItem::Kind::files,
                 QStringLiteral("t"),
                 QByteArray("abcd"),
                 QStringList{"/a", "/b"},
                 since2001(786297600000),
                 QStringLiteral("Files")};
    ClipItem bare{kId,          ClipItem::Kind::image, std::nullopt, std::nullopt,
                  std::nullopt, since2001(-250),       std::nullopt};
    const ClipHistory history{{all, bare}, -3};
    EXPECT_EQ(history.toJson(),
              QByteArray("{\"items\":[{\"id\":\"6BA7B810-9DAD-11D1-80B4-00C04FD430C8\","
                         "\"kind\":\"files\",\"text\":\"t\",\"imageData\":\"YWJjZA==\","
                         "\"filePaths\":[\"/a\",\"/b\"],\"date\":786297600,"
                         "\"sourceApp\":\"Files\"},"
                         "{\"id\":\"6BA7B810-9DAD-11D1-80B4-00C04FD430C8\",\"kind\":\"image\","
                         "\"date\":-0.25}],\"limit\":-3}"));
}

TEST(HistoryJson, RoundTripKeepsEveryField) {
    ClipHistory history;
    history.limit = 7;
    QByteArray binary;
    for (int i = 0; i < 256; ++i)
        binary.append(static_cast<char>(i));
    history.items = {
        ClipItem::makeText(QStringLiteral("\U0001F468\u200D\U0001F469 \u3000 \"x\"\r\n\u2028"),
                           QStringLiteral("端末")),
        ClipItem::makeImage(binary),
        // A pair split by the encoder's blocks, and a lone surrogate.
        ClipItem::makeText(QString(65535, u'a') + QStringLiteral("\U0001F600") + QChar(0xD800)),
        ClipItem::makeImage("a"),
        ClipItem::makeImage("ab"),
        ClipItem::makeImage("abc"),
        ClipItem::makeImage(""),
        ClipItem::makeFiles({"/tmp/a b", QStringLiteral("/home/ユーザー/ファイル.txt")}),
        ClipItem::makeFiles({}),
        ClipItem{kId, ClipItem::Kind::text, QString(), std::nullopt, std::nullopt,
                 since2001(-123456789), std::nullopt},
    };
    const auto decoded = ClipHistory::fromJson(history.toJson());
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, history);
    EXPECT_EQ(decoded->toJson(), history.toJson());
}

ClipHistory oneText(std::int64_t limit, std::optional<QString> sourceApp = std::nullopt) {
    return ClipHistory{{ClipItem{kId, ClipItem::Kind::text, QStringLiteral("hi"), std::nullopt,
                                 std::nullopt, since2001(2000), std::move(sourceApp)}},
                       limit};
}

// What other writers may produce is read.
TEST(HistoryJson, Accepts) {
    const std::pair<const char*, ClipHistory> cases[] = {
        {R"({"items":[],"limit":50})", ClipHistory{}},
        {R"( { "limit" : 3 , "items" : [ { "date" : 2.0 , "text" : "hi" ,
                       "kind" : "text" , "id" : "6BA7B810-9DAD-11D1-80B4-00C04FD430C8" } ] } )",
         oneText(3)},
        {R"({"items":[{"id":"6ba7b810-9dad-11d1-80b4-00c04fd430c8","kind":"text","text":"hi","date":2}],"limit":50})",
         oneText(50)},
        {R"({"items":[{"id":"6BA7B810-9DAD-11D1-80B4-00C04FD430C8","kind":"text","text":"hi","imageData":null,"filePaths":null,"date":2,"sourceApp":null}],"limit":50})",
         oneText(50)},
        {R"({"items":[{"id":"6BA7B810-9DAD-11D1-80B4-00C04FD430C8","kind":"text","text":"hi","date":2,"sourceApp":"App","pinned":true}],"limit":50,"version":2})",
         oneText(50, QStringLiteral("App"))},
        {R"({"items":[{"id":"6BA7B810-9DAD-11D1-80B4-00C04FD430C8","kind":"image","imageData":"YWJjZA==","date":2}],"limit":50})",
         ClipHistory{{ClipItem{kId, ClipItem::Kind::image, std::nullopt, QByteArray("abcd"),
                               std::nullopt, since2001(2000), std::nullopt}},
                     50}},
        {R"({"items":[],"limit":0})", ClipHistory{{}, 0}},
        {R"({"items":[],"limit":20.0})", ClipHistory{{}, 20}}};
    for (const auto& [json, expected] : cases) {
        const auto decoded = ClipHistory::fromJson(json);
        ASSERT_TRUE(decoded.has_value()) << json;
        EXPECT_EQ(*decoded, expected) << json;
    }
}

#define VT_ITEM(members) "{\"items\":[" members "],\"limit\":50}"
#define VT_ID "\"id\":\"6BA7B810-9DAD-11D1-80B4-00C04FD430C8\""

// A document with any fault is refused as a whole.
TEST(HistoryJson, RejectsTheWholeDocument) {
    const QByteArray cases[] = {
        "",
        R"({"items":[],"limit":50)",
        R"({"items":[],"limit":50} x)",
        R"([{"items":[],"limit":50}])",
        R"({"items":[]})",
        R"({"limit":50})",
        R"({"items":[],"limit":50.5})",
        R"({"items":{},"limit":50})",
        VT_ITEM("1"),
        VT_ITEM(R"({"kind":"text","text":"a","date":1})"),
        VT_ITEM("{" VT_ID R"(,"text":"a","date":1})"),
        VT_ITEM("{" VT_ID R"(,"kind":"text","text":"a"})"),
        VT_ITEM("{" VT_ID R"(,"kind":"video","date":1})"),
        VT_ITEM(R"({"id":"clip-1","kind":"text","date":1})"),
        VT_ITEM(R"({"id":"{6BA7B810-9DAD-11D1-80B4-00C04FD430C8}","kind":"text","date":1})"),
        VT_ITEM(R"({"id":"6BA7B8109DAD11D180B400C04FD430C8","kind":"text","date":1})"),
        VT_ITEM("{" VT_ID R"(,"kind":"text","date":"2024-01-01"})"),
        VT_ITEM("{" VT_ID R"(,"kind":"text","date":1e300})"),
        VT_ITEM("{" VT_ID R"(,"kind":"image","imageData":"**not base64**","date":1})"),
        VT_ITEM("{" VT_ID R"(,"kind":"image","imageData":"YWJjZA","date":1})"),
        VT_ITEM("{" VT_ID R"(,"kind":"image","imageData":"YW==YWJj","date":1})"),
        VT_ITEM("{" VT_ID R"(,"kind":"image","imageData":"Y===","date":1})"),
        VT_ITEM("{" VT_ID R"(,"kind":"image","imageData":"YWJ\u00e9","date":1})"),
        VT_ITEM("{" VT_ID R"(,"kind":"files","filePaths":["/a",2],"date":1})"),
        VT_ITEM("{" VT_ID R"(,"kind":"text","text":"a","date":1,"sourceApp":{}})"),
        VT_ITEM("{" VT_ID R"(,"kind":"text","text":"a","date":1},{)" VT_ID
                R"(,"kind":"sound","date":1})")};
    for (const QByteArray& json : cases)
        EXPECT_EQ(ClipHistory::fromJson(json), std::nullopt) << json.constData();
}

} // namespace
} // namespace vt
