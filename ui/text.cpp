#include "ui/text.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QTextOption>
#include <algorithm>
#include <cmath>

namespace vt {
namespace {

QStringList interfaceFamilies() {
    static const QStringList families = [] {
        // Latin letters from a Latin face, Japanese from the CJK face after it: a text without
        // Japanese never loads the CJK face (megabytes of tables for each weight).
        QStringList wanted = {QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans"),
                              QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Sans JP")};
        const QStringList installed = QFontDatabase::families();
        QStringList out;
        for (const QString& f : wanted)
            if (installed.contains(f)) out << f;
        if (out.isEmpty()) out << QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
        return out;
    }();
    return families;
}

// A block shows a few lines of a few dozen characters: it never looks further into a text than
// this, so a clip of many megabytes costs what a page costs.
constexpr qsizetype kShownCharacters = 4096;

// The part of `text` a block may show; `cut` tells whether more follows.
QStringView shownPart(const QString& text, bool& cut) {
    cut = text.size() > kShownCharacters;
    if (!cut) return text;
    qsizetype n = kShownCharacters;
    if (text.at(n - 1).isHighSurrogate()) --n; // never half a character
    return QStringView(text).first(n);
}

} // namespace

QFont uiFont(double size, QFont::Weight weight, bool rounded) {
    QFont font;
    QStringList families = interfaceFamilies();
    if (rounded) families.prepend(QStringLiteral("M PLUS Rounded 1c"));
    font.setFamilies(families);
    // Pixel sizes are integral in QFont; point sizes are not. At 96 dpi one pixel is 0.75 pt,
    // and every device the pickers paint on is treated as 96 dpi logical (see TextBlock).
    font.setPointSizeF(size * 0.75);
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

TextBlock::TextBlock(const QString& text, const QFont& font, double maxWidth, int maxLines,
                     Qt::Alignment alignment)
    : font_(font) {
    if (text.isEmpty() || maxLines == 0) return;
    const QFontMetricsF metrics(font_);
    const double lineHeight = metrics.lineSpacing();
    const double wrapWidth = maxWidth > 0 ? maxWidth : 1e6;
    bool cut = false;
    QString source = shownPart(text, cut).toString();
    source.replace(QLatin1Char('\n'), QChar::LineSeparator);
    source.replace(QLatin1Char('\t'), QLatin1Char(' '));
    QTextLayout layout(source, font_);
    QTextOption option;
    option.setWrapMode(maxWidth > 0 ? QTextOption::WrapAtWordBoundaryOrAnywhere
                                    : QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    std::vector<std::pair<int, int>> ranges;
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid()) break;
        line.setLineWidth(wrapWidth);
        ranges.push_back({line.textStart(), line.textLength()});
        if (maxLines > 0 && int(ranges.size()) > maxLines) break;
    }
    layout.endLayout();
    const bool overflowed = maxLines > 0 && int(ranges.size()) > maxLines;
    if (overflowed) ranges.resize(std::size_t(maxLines));
    // Text beyond what was looked at continues the last line just as lines beyond the limit do.
    const bool truncated = overflowed || cut;

    double widest = 0;
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        QString lineText = source.mid(ranges[i].first, ranges[i].second);
        while (!lineText.isEmpty() &&
               (lineText.back() == QChar::LineSeparator || lineText.back().isSpace()))
            lineText.chop(1);
        if (truncated && i + 1 == ranges.size()) {
            // The last kept line carries on into the cut text, so it always ends in an ellipsis.
            // Exactly one ellipsis: appended when it fits, else the line is shortened for it.
            const QString withEllipsis = lineText + QChar(0x2026);
            lineText = metrics.horizontalAdvance(withEllipsis) <= wrapWidth
                           ? withEllipsis
                           : metrics.elidedText(withEllipsis, Qt::ElideRight, wrapWidth);
        } else if (maxWidth > 0 && metrics.horizontalAdvance(lineText) > wrapWidth) {
            lineText = metrics.elidedText(lineText, Qt::ElideRight, wrapWidth);
        }
        const double w = metrics.horizontalAdvance(lineText);
        widest = std::max(widest, w);
        lines_.push_back({lineText, w, metrics.ascent() + double(i) * lineHeight});
    }
    const double blockWidth =
        maxWidth > 0 && (alignment & Qt::AlignHCenter) ? std::min(widest, wrapWidth) : widest;
    for (Line& line : lines_) {
        const double w = line.x; // width stored temporarily
        if (alignment & Qt::AlignHCenter)
            line.x = (blockWidth - w) / 2;
        else if (alignment & Qt::AlignRight)
            line.x = blockWidth - w;
        else
            line.x = 0;
    }
    size_ = {blockWidth, double(lines_.size()) * lineHeight};
}

void TextBlock::draw(QPainter& painter, QPointF topLeft, const QColor& color) const {
    if (lines_.empty()) return;
    painter.save();
    painter.setFont(font_);
    painter.setPen(color);
    for (const Line& line : lines_)
        painter.drawText(QPointF(topLeft.x() + line.x, topLeft.y() + line.baseline), line.text);
    painter.restore();
}

TabularLine::TabularLine(const QString& text, const QFont& font) : text_(text), font_(font) {
    const QFontMetricsF metrics(font_);
    for (char d = '0'; d <= '9'; ++d)
        digitWidth_ = std::max(digitWidth_, metrics.horizontalAdvance(QLatin1Char(d)));
    double width = 0;
    for (const QChar c : text_)
        width += c.isDigit() ? digitWidth_ : metrics.horizontalAdvance(c);
    ascent_ = metrics.ascent();
    size_ = {width, metrics.height()};
}

void TabularLine::draw(QPainter& painter, QPointF topLeft, const QColor& color) const {
    const QFontMetricsF metrics(font_);
    painter.save();
    painter.setFont(font_);
    painter.setPen(color);
    double x = topLeft.x();
    for (const QChar c : text_) {
        const double advance = metrics.horizontalAdvance(c);
        const double cell = c.isDigit() ? digitWidth_ : advance;
        // A digit sits in the middle of its cell.
        painter.drawText(QPointF(x + (cell - advance) / 2, topLeft.y() + ascent_), QString(c));
        x += cell;
    }
    painter.restore();
}

QStringList TextBlock::lineTexts() const {
    QStringList out;
    for (const Line& line : lines_)
        out << line.text;
    return out;
}

const TextBlock& cachedTextBlock(const QString& text, const QFont& font, double maxWidth,
                                 int maxLines, Qt::Alignment alignment) {
    static QHash<QString, TextBlock> cache;
    // Keyed by what the block can show, so a huge text is neither copied nor kept whole.
    bool cut = false;
    const QStringView shown = shownPart(text, cut);
    const QString key = QStringLiteral("%1|%2|%3|%4|%5|")
                            .arg(font.key())
                            .arg(maxWidth)
                            .arg(maxLines)
                            .arg(int(alignment))
                            .arg(cut ? 1 : 0) +
                        shown.toString();
    auto it = cache.find(key);
    if (it != cache.end()) return *it;
    if (cache.size() > 512) cache.clear();
    return *cache.insert(key, TextBlock(text, font, maxWidth, maxLines, alignment));
}

} // namespace vt
