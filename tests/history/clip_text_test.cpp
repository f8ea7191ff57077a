#include "history/clip_text.h"
#include "history_test_items.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

struct OneLineCase {
    const char* name;
    QString input;
    qsizetype maxLength;
    QString expected;
};

// Clusters that count as one character each.
const QString kFamily =
    QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467\u200D\U0001F466");
const QString kFlagJapan = QStringLiteral("\U0001F1EF\U0001F1F5");
const QString kFlagFrance = QStringLiteral("\U0001F1EB\U0001F1F7");
const QString kEAccents = QStringLiteral("e\u0301\u0323");

TEST(OneLine, CollapsesWhitespaceAndShortensByUserPerceivedCharacters) {
    // clang-format off
    const OneLineCase cases[] = {
    OneLineCase{"twoWordsAmongSpacesAndLineFeeds", "  hello \n\nworld  ", 20, "hello world"},
    OneLineCase{"sixLettersToFour", "abcdef", 4, "abc\u2026"},
    OneLineCase{"exactLengthIsKept", "abcd", 4, "abcd"},
    OneLineCase{"maxLengthZeroGivesTheEllipsis", "abc", 0, "\u2026"},
    OneLineCase{"negativeMaxLengthGivesTheEllipsis", "abc", -3, "\u2026"},
    OneLineCase{"blankBecomesEmpty", " \t\r\n ", 5, ""},
    OneLineCase{"ideographicSpaceSeparatesJapaneseWords", QStringLiteral("\u3000日本語\u3000\u3000テキスト\u3000"), 20, QStringLiteral("日本語 テキスト")},
    OneLineCase{"lineAndParagraphSeparators", QStringLiteral("a\u2028b\u2029c\u0085d"), 20, "a b c d"},
    OneLineCase{"verticalTabFormFeedAndNoBreakSpaces", QStringLiteral("a\u000Bb\u000Cc\u00A0d\u2007e\u202Ff\u205Fg"), 20, "a b c d e f g"},
    OneLineCase{"aTitleLooksNoFurtherThanItNeeds", "a" + QString(9000, u' ') + "b", 20, "a\u2026"},
    OneLineCase{"zeroWidthSpaceIsNotWhitespace", QStringLiteral("a\u200Bb"), 20, QStringLiteral("a\u200Bb")},
    OneLineCase{"familySequenceIsOneCharacter", kFamily + kFamily + kFamily, 2, kFamily + "\u2026"},
    OneLineCase{"flagsAreOneCharacterEach", kFlagJapan + kFlagFrance + kFlagJapan, 2, kFlagJapan + "\u2026"},
    OneLineCase{"combiningMarksStayWithTheirLetter", kEAccents + kEAccents + kEAccents, 2, kEAccents + "\u2026"},
    OneLineCase{"cutNeverSplitsACluster", "a" + kFamily + "b", 2, "a\u2026"}
    };
    // clang-format on
    for (const OneLineCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ClipText::oneLine(c.input, c.maxLength), c.expected);
    }
}

TEST(OneLineLongText, ReadsOnlyWhatTheTitleNeedsAndStaysExact) {
    // Clusters straddle the boundaries of the windows in which the text is read.
    QString text;
    for (int i = 0; i < 3000; ++i)
        text += kFamily + QStringLiteral("\u3000\n ");
    const QString title = ClipText::oneLine(text, 5);
    EXPECT_EQ(title, kFamily + " " + kFamily + " \u2026");
    QString expectedWhole;
    for (int i = 0; i < 3000; ++i)
        expectedWhole += (i ? " " : "") + kFamily;
    EXPECT_EQ(ClipText::oneLine(text, 100000), expectedWhole);
}

TEST(OneLineLongText, OneClusterLongerThanAReadingWindow) {
    const QString zalgo = "x" + QString(10000, QChar(0x0301));
    EXPECT_EQ(ClipText::oneLine(zalgo + " y", 2), zalgo + "\u2026");
    EXPECT_EQ(ClipText::oneLine(zalgo + " y", 3), zalgo + " y");
}

struct SnippetCase {
    const char* name;
    ClipItem item;
    qsizetype maxLength;
    QString expected;
};

ClipItem withoutText() {
    ClipItem item = test::textItem("x");
    item.text.reset();
    return item;
}

ClipItem withoutPaths() {
    ClipItem item = test::filesItem({});
    item.filePaths.reset();
    return item;
}

TEST(Snippet, GivesTheTitleOfEachKind) {
    // clang-format off
    const SnippetCase cases[] = {
        SnippetCase{"textIsOneLine", test::textItem("  first\nsecond  "), 60, "first second"},
        SnippetCase{"absentTextIsEmpty", withoutText(), 10, ""},
        SnippetCase{"imageHasAFixedTitle", test::imageItem(test::imageBytes('m')), 60,
                    QStringLiteral("画像")},
        SnippetCase{"oneFileIsItsName", test::filesItem({"/home/u/report.pdf"}), 60, "report.pdf"},
        SnippetCase{"threeFiles", test::filesItem({"/x/a.txt", "/x/b", "/x/c"}), 60,
                    QStringLiteral("a.txt ほか2件")},
        SnippetCase{"fileTitlesAreNotShortened", test::filesItem({"/x/a-very-long-file-name.txt"}),
                    3, "a-very-long-file-name.txt"},
        SnippetCase{"folderWithTrailingSlash", test::filesItem({"/home/u/Photos/"}), 60, "Photos"},
        SnippetCase{"rootFolder", test::filesItem({"/"}), 60, "/"},
        SnippetCase{"noFilesIsEmpty", test::filesItem({}), 60, ""},
        SnippetCase{"absentFilesIsEmpty", withoutPaths(), 60, ""}
    };
    // clang-format on
    for (const SnippetCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.item.snippet(c.maxLength), c.expected);
    }
}

ClipItem imageWithoutData() {
    ClipItem item = test::imageItem({});
    item.imageData.reset();
    return item;
}

TEST(DedupeKeyShortcut, AgreesWithTheKeys) {
    const std::vector<ClipItem> items = {
        test::textItem("a"),
        test::textItem("a "),
        withoutText(),
        test::imageItem("abc"),
        test::imageItem("abd"),
        imageWithoutData(),
        test::imageItem(test::imageBytes('m')),
        test::imageItem(test::imageBytes('z')),
        test::filesItem({"/a", "/b"}),
        test::filesItem({"/a\n/b"}),
        withoutPaths(),
    };
    for (const ClipItem& a : items) {
        for (const ClipItem& b : items) {
            EXPECT_EQ(a.hasSameDedupeKey(b), a.dedupeKey() == b.dedupeKey())
                << a.dedupeKey().toStdString() << " vs " << b.dedupeKey().toStdString();
        }
    }
}

TEST(ClipItemMake, GivesFreshIdsAndTheCurrentTime) {
    const QDateTime before = QDateTime::currentDateTimeUtc();
    const ClipItem a = ClipItem::makeText("x", QStringLiteral("Editor"));
    const ClipItem b = ClipItem::makeText("x");
    EXPECT_NE(a.id, b.id);
    EXPECT_GE(a.date, before);
    EXPECT_LE(a.date, QDateTime::currentDateTimeUtc());
    EXPECT_EQ(a.sourceApp, QStringLiteral("Editor"));
    EXPECT_EQ(ClipItem::makeImage("png").kind, ClipItem::Kind::image);
    EXPECT_EQ(ClipItem::makeFiles({"/a"}).filePaths, QStringList{"/a"});
    const QString id = a.idString();
    EXPECT_EQ(id, id.toUpper());
    EXPECT_EQ(id.size(), 36);
}

} // namespace
} // namespace vt
