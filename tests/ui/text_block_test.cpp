// Text cut to a line limit: the last kept line ends in exactly one ellipsis and fits its width.
#include "ui/text.h"

#include <QFontMetricsF>
#include <gtest/gtest.h>
#include <tuple>

namespace vt {
namespace {

TEST(TextBlock, TheLastLineOfACutEndsInOneEllipsisWithinTheWidth) {
    const QFont font = uiFont(11, QFont::Normal);
    for (const auto& [text, width, maxLines] :
         {std::tuple{"short words for many users of the program today", 90.0, 2},
          {"a b c d e f g h i j k l m n o p q r s t u v w x y z", 60.0, 3},
          {"Averyveryverylongwordthatcannotwrapanywhereatall and more", 80.0, 1},
          {"日本語の文章がとても長く続いて、二行には収まりません。まだ続きます。", 100.0, 2}}) {
        const QStringList lines =
            TextBlock(QString::fromUtf8(text), font, width, maxLines).lineTexts();
        ASSERT_EQ(lines.size(), maxLines) << text;
        EXPECT_EQ(lines.join(u'\n').count(QChar(0x2026)), 1) << text;
        EXPECT_TRUE(lines.back().endsWith(QChar(0x2026))) << text;
        EXPECT_LE(QFontMetricsF(font).horizontalAdvance(lines.back()), width + 0.5) << text;
    }
}

TEST(TextBlock, TextThatFitsIsNotCut) {
    const TextBlock block(QStringLiteral("fits"), uiFont(11, QFont::Normal), 200, 2);
    EXPECT_EQ(block.lineTexts(), QStringList{QStringLiteral("fits")});
}

} // namespace
} // namespace vt
