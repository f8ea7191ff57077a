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
const QString kEAccents = QStringLiteral("e\u0301\u0323");

TEST(OneLine, CollapsesWhitespaceAndShortensByUserPerceivedCharacters) {
    // clang-format off
    const OneLineCase cases[] = {
    OneLineCase{"twoWordsAmongSpacesAndLineFeeds", "  hello \n\nworld  ", 20, "hello world"},
    OneLineCase{"sixLettersToFour", "abcdef", 4, "abc\u2026"},
    OneLineCase{"exactLengthIsKept", "abcd", 4, "abcd"},
    OneLineCase{"maxLengthZeroGivesTheEllipsis", "abc", 0, "\u2026"},
    OneLineCase{"blankBecomesEmpty", " \t\r\n ", 5, ""},
    OneLineCase{"ideographicSpaceSeparatesJapaneseWords", QStringLiteral("\u3000日本語\u3000\u3000テキスト\u3000"), 20, QStringLiteral("日本語 テキスト")},
    OneLineCase{"verticalTabFormFeedAndNoBreakSpaces", QStringLiteral("a\u000Bb\u000Cc\u00A0d\u2007e\u202Ff\u205Fg"), 20, "a b c d e f g"},
    OneLineCase{"aTitleLooksNoFurtherThanItNeeds", "a" + QString(9000, u' ') + "b", 20, "a\u2026"},
    OneLineCase{"zeroWidthSpaceIsNotWhitespace", QStringLiteral("a\u200Bb"), 20, QStringLiteral("a\u200Bb")},
    OneLineCase{"familySequenceIsOneCharacter", kFamily + kFamily + kFamily, 2, kFamily + "\u2026"},
    OneLineCase{"combiningMarksStayWithTheirLetter", kEAccents + kEAccents + kEAccents, 2, kEAccents + "\u2026"},
    OneLineCase{"cutNeverSplitsACluster", "a" + kFamily + "b", 2, "a\u2026"}
    };
    // clang-format on
    for (const OneLineCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ClipText::oneLine(c.input, c.maxLength), c.expected);
    }
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

} // namespace
} // namespace vt
