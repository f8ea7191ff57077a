#pragma once
#include <QStringList>
// Fonts at layout-point sizes and text blocks with line limits and tail truncation.
#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>
#include <QTextLayout>
#include <memory>
#include <vector>

class QPainter;
class QPaintDevice;

namespace vt {

// The program's interface font (a sans with Japanese glyphs) at `size` layout points, so text
// is `size` pixels tall at scale 1 on any paint device. `rounded` asks for the rounded design
// where one is installed.
QFont uiFont(double size, QFont::Weight weight, bool rounded = false);

// Text laid out once for a width, a line limit and an alignment; the last line ends in "…"
// when the text does not fit. Cheap to draw many times.
class TextBlock {
public:
    TextBlock() = default;
    // maxWidth <= 0: no wrapping (one line per paragraph, as long as needed).
    TextBlock(const QString& text, const QFont& font, double maxWidth, int maxLines,
              Qt::Alignment alignment = Qt::AlignLeft);

    // Size of the laid-out text (width of the widest line).
    QSizeF size() const { return size_; }
    bool isEmpty() const { return lines_.empty(); }
    // The laid-out lines as drawn.
    QStringList lineTexts() const;
    // Draws with the top-left of the block at `topLeft`.
    void draw(QPainter& painter, QPointF topLeft, const QColor& color) const;

private:
    struct Line {
        QString text;
        double x = 0;
        double baseline = 0;
    };
    QFont font_;
    std::vector<Line> lines_;
    QSizeF size_;
};

// One line of text in which every digit takes the width of the widest digit, so a number keeps
// its width as it changes ("3 / 12", "4 / 12"): the font's tabular figures, laid out by hand.
class TabularLine {
public:
    TabularLine(const QString& text, const QFont& font);
    QSizeF size() const { return size_; }
    // Draws with the top-left of the line at `topLeft`.
    void draw(QPainter& painter, QPointF topLeft, const QColor& color) const;

private:
    QString text_;
    QFont font_;
    double digitWidth_ = 0;
    double ascent_ = 0;
    QSizeF size_;
};

// A shared cache of laid-out text blocks for views that redraw every frame.
const TextBlock& cachedTextBlock(const QString& text, const QFont& font, double maxWidth,
                                 int maxLines, Qt::Alignment alignment = Qt::AlignLeft);

} // namespace vt
