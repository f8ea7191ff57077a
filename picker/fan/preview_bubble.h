#pragma once
#include "history/clip_item.h"
#include "ui/materials.h"

#include <QCoreApplication>
#include <QImage>
#include <QString>
#include <cstdint>
#include <optional>

class QPainter;

namespace vt {

// The card beside the pointer, on the side away from the fan: "3 / 12", the source
// application and the selected clip's body; while the pointer is outside the fan only the
// reminder that releasing cancels.
struct PreviewBubble {
    static constexpr double width = 236;
    static constexpr double padding = 9;
    static constexpr double bodyWidth = 216;
    static constexpr double corner = 12;
    // Room around the card for its shadow (radius 16, 6 down).
    static constexpr double margin = 40;
    // The tallest card any clip gives (an image body, 140 high, under the header).
    static constexpr double maxHeight = 220;
    // What a paint or render covers: the card itself (shadow, material, outline), the header
    // ("3 / 12" and the source application) and the body (the clip, or the cancel reminder).
    enum Layer : int { card = 1, header = 2, body = 4, all = 7 };
    // The reminder shown while the pointer is outside the fan.
    static QString cancelText() { return QCoreApplication::translate("Vantrel", "離すとやめる"); }

    std::optional<ClipItem> item;
    std::int64_t position = 1; // 1-based
    std::int64_t total = 0;
    bool outside = false;

    // Identifies what the card shows: a new key replaces the content with a cross-fade.
    QString contentKey() const;
    // Identifies the body alone: only a new body fades in; the card and the header stay.
    QString bodyKey() const;
    // Whether the header is shown (a clip, and the pointer not outside).
    bool hasHeader() const { return item && !outside; }
    // The card's height for its content (its width is always `width`).
    double height() const;
    // Paints the chosen layers with the card's top-left corner at (0, 0).
    void paint(QPainter& painter, Appearance appearance, double devicePixelRatio,
               int layers = all) const;
    // The layers rendered once, the card's top-left corner at (margin, margin) in the image
    // when the card is among them, else at (0, 0) of a card-sized image.
    QImage render(Appearance appearance, double devicePixelRatio, int layers = all) const;
};

} // namespace vt
