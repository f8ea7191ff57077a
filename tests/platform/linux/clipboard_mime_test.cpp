#include "platform/linux/clipboard_mime.h"
#include "platform/pasteboard.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

struct TargetCase {
    const char* target;
    std::optional<QString> type;
};

class TargetTest : public ::testing::TestWithParam<TargetCase> {};

TEST_P(TargetTest, MapsToTheProgramsTypes) {
    EXPECT_EQ(ClipboardMime::typeForTarget(GetParam().target), GetParam().type);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Targets, TargetTest, ::testing::Values(
    TargetCase{"UTF8_STRING", PasteboardType::plainText},
    TargetCase{"text/plain;charset=utf-8", PasteboardType::plainText},
    TargetCase{"text/plain", PasteboardType::plainText},
    TargetCase{"STRING", PasteboardType::plainText},
    TargetCase{"image/png", PasteboardType::png},
    TargetCase{"image/tiff", PasteboardType::tiff},
    TargetCase{"text/uri-list", PasteboardType::fileURL},
    TargetCase{"x-special/gnome-copied-files", QString("x-special/gnome-copied-files")},
    TargetCase{"org.nspasteboard.TransientType", QString("org.nspasteboard.TransientType")},
    TargetCase{"x-kde-passwordManagerHint", std::nullopt},
    TargetCase{"TARGETS", std::nullopt},
    TargetCase{"MULTIPLE", std::nullopt},
    TargetCase{"TIMESTAMP", std::nullopt},
    TargetCase{"SAVE_TARGETS", std::nullopt},
    TargetCase{"", std::nullopt}
));
// clang-format on

TEST(TextTarget, Utf8IsPreferredAndStringIsLatin1) {
    EXPECT_GT(ClipboardMime::textRank("UTF8_STRING"), ClipboardMime::textRank("STRING"));
    EXPECT_GT(ClipboardMime::textRank("text/plain;charset=utf-8"),
              ClipboardMime::textRank("text/plain"));
    EXPECT_EQ(ClipboardMime::textRank("image/png"), 0);
    EXPECT_EQ(ClipboardMime::decodeText("caf\xc3\xa9", "UTF8_STRING"), QString::fromUtf8("café"));
    EXPECT_EQ(ClipboardMime::decodeText("caf\xe9", "STRING"), QString::fromUtf8("café"));
    EXPECT_EQ(ClipboardMime::decodeText(QByteArray("end\0", 4), "UTF8_STRING"), QString("end"));
}

struct UriCase {
    const char* name;
    QByteArray list;
    QStringList paths;
};

class UriListTest : public ::testing::TestWithParam<UriCase> {};

TEST_P(UriListTest, YieldsLocalFilesOnly) {
    QStringList paths;
    for (const QUrl& url : ClipboardMime::fileURLsFromUriList(GetParam().list))
        paths.append(url.toLocalFile());
    EXPECT_EQ(paths, GetParam().paths);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, UriListTest,
    ::testing::Values(
        UriCase{"crlf",
                "file:///tmp/a.txt\r\nfile:///tmp/b%20c.txt\r\n",
                {"/tmp/a.txt", "/tmp/b c.txt"}},
        UriCase{"lfAndComment", "# copied\nfile:///home/u/x\n", {"/home/u/x"}},
        UriCase{"localhost", "file://localhost/etc/hosts", {"/etc/hosts"}},
        UriCase{"remoteHost", "file://elsewhere/etc/hosts", {}},
        UriCase{"webOnly", "https://example.org/\r\n", {}},
        UriCase{"mixedKeepsFiles", "https://example.org/\r\nfile:///tmp/a\r\n", {"/tmp/a"}},
        UriCase{"plainPath", "/tmp/a.txt\n", {}}, UriCase{"garbage", "\x01\x02 not a url", {}},
        UriCase{"oneBrokenLine", "file:///tmp/a\r\nhttp://[broken\r\n", {}},
        UriCase{"empty", "", {}}),
    [](const auto& tc) { return std::string(tc.param.name); });

TEST(FileWriteBack, OffersUriListGnomeCopyAndPaths) {
    const QList<QUrl> urls = {QUrl::fromLocalFile("/tmp/a b.txt"), QUrl::fromLocalFile("/x")};
    EXPECT_EQ(ClipboardMime::uriList(urls), QByteArray("file:///tmp/a%20b.txt\r\nfile:///x\r\n"));
    EXPECT_EQ(ClipboardMime::gnomeCopiedFiles(urls),
              QByteArray("copy\nfile:///tmp/a%20b.txt\nfile:///x"));
    EXPECT_EQ(ClipboardMime::pathsText(urls), QString("/tmp/a b.txt\n/x"));
    EXPECT_EQ(ClipboardMime::fileURLsFromUriList(ClipboardMime::uriList(urls)), urls);
}

} // namespace
} // namespace vt
