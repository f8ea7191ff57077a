#include "history/clip_history.h"
#include "history_test_items.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

using test::filesItem;
using test::imageBytes;
using test::imageItem;
using test::textItem;

constexpr int kAdded = -1; // stands for the added clip in an expected order

struct AddCase {
    const char* name;
    std::int64_t limit;
    std::vector<ClipItem> before; // newest first
    ClipItem added;
    bool changed;
    std::vector<int> after; // indices into `before`, or kAdded
};

const QString kBlank = QStringLiteral(" \t\n  \r\n ");
const QString kWideBlank = QStringLiteral("\u3000\u2028\u0085\u000B\u000C\u00A0");

ClipItem without(ClipItem item) {
    item.text.reset();
    item.imageData.reset();
    return item;
}

TEST(ClipHistoryAdd, FollowsTheDuplicateAndLimitRules) {
    // clang-format off
    const AddCase cases[] = {
    AddCase{"blankTextIsRefused", 50, {textItem("a", 1)}, textItem(kBlank, 2), false, {0}},
    AddCase{"unicodeBlankTextIsRefused", 50, {}, textItem(kWideBlank, 2), false, {}},
    AddCase{"emptyTextIsRefused", 50, {}, textItem("", 2), false, {}},
    AddCase{"absentTextIsRefused", 50, {}, without(textItem("", 2)), false, {}},
    AddCase{"paddedLetterIsKeptWithItsSpaces", 50, {}, textItem(" a ", 1), true, {kAdded}},
    AddCase{"copiedAgainMovesToTheFrontAsANewEntry", 50, {textItem("y", 2), textItem("x", 1)}, textItem("x", 3), true, {kAdded, 0}},
    AddCase{"repeatOfTheNewestChangesNothing", 50, {textItem("x", 3), textItem("y", 2)}, textItem("x", 4), false, {0, 1}},
    AddCase{"olderDuplicateLeavesTheMiddle", 50, {textItem("c", 3), textItem("x", 2), textItem("b", 1)}, textItem("x", 4), true, {kAdded, 0, 2}},
    AddCase{"trailingSpaceMakesADifferentText", 50, {textItem("x", 1)}, textItem("x ", 2), true, {kAdded, 0}},
    AddCase{"limitDropsTheOldest", 3, {textItem("c", 3), textItem("b", 2), textItem("a", 1)}, textItem("d", 4), true, {kAdded, 0, 1}},
    AddCase{"limitOneKeepsOnlyTheNewest", 1, {textItem("a", 1)}, textItem("b", 2), true, {kAdded}},
    AddCase{"limitZeroStillKeepsTheNewest", 0, {textItem("b", 2), textItem("a", 1)}, textItem("c", 3), true, {kAdded}},
    AddCase{"negativeLimitStillKeepsTheNewest", -5, {}, textItem("a", 1), true, {kAdded}},
    AddCase{"imagesWithTheSameEndsAreDuplicates", 50, {imageItem(imageBytes('m'), 1)}, imageItem(imageBytes('z'), 2), false, {0}},
    AddCase{"olderImageWithTheSameEndsIsReplaced", 50, {textItem("t", 2), imageItem(imageBytes('m'), 1)}, imageItem(imageBytes('z'), 3), true, {kAdded, 0}},
    AddCase{"imagesOfDifferentSizesDiffer", 50, {imageItem(imageBytes('m'), 1)}, imageItem(imageBytes('m', 301), 2), true, {kAdded, 0}},
    AddCase{"smallImagesCompareWhole", 50, {imageItem("abc", 1)}, imageItem("abd", 2), true, {kAdded, 0}},
    AddCase{"imageWithoutDataDiffersFromEmptyData", 50, {without(imageItem("", 1))}, imageItem("", 2), true, {kAdded, 0}},
    AddCase{"sameFilesAreDuplicates", 50, {filesItem({"/a", "/b"}, 1)}, filesItem({"/a", "/b"}, 2), false, {0}},
    AddCase{"filesInAnotherOrderDiffer", 50, {filesItem({"/a", "/b"}, 1)}, filesItem({"/b", "/a"}, 2), true, {kAdded, 0}},
    AddCase{"textNeverDuplicatesFiles", 50, {filesItem({"/a"}, 1)}, textItem("/a", 2), true, {kAdded, 0}}
    };
    // clang-format on
    for (const AddCase& c : cases) {
        SCOPED_TRACE(c.name);
        ClipHistory history{c.before, c.limit};
        EXPECT_EQ(history.add(c.added), c.changed);
        std::vector<ClipItem> expected;
        for (int i : c.after)
            expected.push_back(i == kAdded ? c.added : c.before.at(i));
        EXPECT_EQ(history.items, expected);
        EXPECT_EQ(history.limit, c.limit);
    }
}

} // namespace
} // namespace vt
