#include "platform/linux/clipboard_mime.h"
#include "platform/pasteboard.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

TEST(Targets, MapToTheProgramsTypes) {
    // clang-format off
    const std::pair<const char*, std::optional<QString>> cases[] = {
    {"UTF8_STRING", PasteboardType::plainText},
    {"text/plain;charset=utf-8", PasteboardType::plainText},
    {"text/plain", PasteboardType::plainText},
    {"STRING", PasteboardType::plainText},
    {"image/png", PasteboardType::png},
    {"image/tiff", PasteboardType::tiff},
    {"text/uri-list", PasteboardType::fileURL},
    {"x-special/gnome-copied-files", QString("x-special/gnome-copied-files")},
    {"org.nspasteboard.TransientType", QString("org.nspasteboard.TransientType")},
    {"x-kde-passwordManagerHint", std::nullopt},
    {"TARGETS", std::nullopt},
    {"MULTIPLE", std::nullopt},
    {"TIMESTAMP", std::nullopt},
    {"SAVE_TARGETS", std::nullopt},
    {"", std::nullopt}};
    // clang-format on
    for (const auto& [target, type] : cases)
        EXPECT_EQ(ClipboardMime::typeForTarget(target), type) << target;
}

TEST(TextTarget, Utf8IsPreferredAndStringIsLatin1) {
    EXPECT_GT(ClipboardMime::textRank("UTF8_STRING"), ClipboardMime::textRank("STRING"));
    EXPECT_GT(ClipboardMime::textRank("text/plain;charset=utf-8"),
              ClipboardMime::textRank("text/plain"));
    EXPECT_EQ(ClipboardMime::textRank("image/png"), 0);
    EXPECT_EQ(ClipboardMime::decodeText("caf\xc3\xa9", "UTF8_STRING"), QString::fromUtf8("café"));
    EXPECT_EQ(ClipboardMime::decodeText("caf\xe9", "STRING"), QString::fromUtf8("café"));
    EXPECT_EQ(ClipboardMime::decodeText(QByteArray("end\0", 4), "UTF8_STRING"), QString("end"));
}

// A URI list yields local files only; one broken line refuses the whole list.
TEST(UriList, YieldsLocalFilesOnly) {
    const std::pair<QByteArray, QStringList> cases[] = {
        {"file:///tmp/a.txt\r\nfile:///tmp/b%20c.txt\r\n", {"/tmp/a.txt", "/tmp/b c.txt"}},
        {"# copied\nfile:///home/u/x\n", {"/home/u/x"}},
        {"file://localhost/etc/hosts", {"/etc/hosts"}},
        {"file://elsewhere/etc/hosts", {}},
        {"https://example.org/\r\n", {}},
        {"https://example.org/\r\nfile:///tmp/a\r\n", {"/tmp/a"}},
        {"/tmp/a.txt\n", {}},
        {"\x01\x02 not a url", {}},
        {"file:///tmp/a\r\nhttp://[broken\r\n", {}},
        {"", {}}};
    for (const auto& [list, expected] : cases) {
        QStringList paths;
        for (const QUrl& url : ClipboardMime::fileURLsFromUriList(list))
            paths.append(url.toLocalFile());
        EXPECT_EQ(paths, expected) << list.constData();
    }
}

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
