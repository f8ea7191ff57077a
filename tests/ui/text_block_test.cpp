// Text cut to a line limit: the last kept line ends in exactly one ellipsis and fits its width.
#include "ui/text.h"

#include <QFontMetricsF>
#include <gtest/gtest.h>

namespace vt {
namespace {

struct CutCase {
    const char* text;
    double width;
    int maxLines;
};

class TextBlockCut : public testing::TestWithParam<CutCase> {};

TEST_P(TextBlockCut, LastLineEndsInOneEllipsisWithinTheWidth) {
    const QFont font = uiFont(11, QFont::Normal);
    const TextBlock block(QString::fromUtf8(GetParam().text), font, GetParam().width,
                          GetParam().maxLines);
    const QStringList lines = block.lineTexts();
    ASSERT_EQ(lines.size(), GetParam().maxLines);
    const QString last = lines.back();
    EXPECT_TRUE(last.endsWith(QChar(0x2026))) << last.toStdString();
    EXPECT_EQ(last.count(QChar(0x2026)), 1) << last.toStdString();
    EXPECT_LE(QFontMetricsF(font).horizontalAdvance(last), GetParam().width + 0.5);
    for (int i = 0; i + 1 < lines.size(); ++i)
        EXPECT_FALSE(lines[i].contains(QChar(0x2026)));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cuts, TextBlockCut, testing::Values(
    CutCase{"short words for many users of the program today", 90, 2},
    CutCase{"a b c d e f g h i j k l m n o p q r s t u v w x y z", 60, 3},
    CutCase{"Averyveryverylongwordthatcannotwrapanywhereatall and more", 80, 1},
    CutCase{"日本語の文章がとても長く続いて、二行には収まりません。まだ続きます。", 100, 2}
));
// clang-format on

TEST(TextBlock, TextThatFitsIsNotCut) {
    const TextBlock block(QStringLiteral("fits"), uiFont(11, QFont::Normal), 200, 2);
    EXPECT_EQ(block.lineTexts(), QStringList{QStringLiteral("fits")});
}

} // namespace
} // namespace vt
