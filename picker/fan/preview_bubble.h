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
    // The reminder shown while the pointer is outside the fan.
    static QString cancelText() { return QCoreApplication::translate("Vantrel", "離すとやめる"); }

    std::optional<ClipItem> item;
    std::int64_t position = 1; // 1-based
    std::int64_t total = 0;
    bool outside = false;

    // Identifies what the card shows: a new key replaces the content with a cross-fade.
    QString contentKey() const;
    // The card's height for its content (its width is always `width`).
    double height() const;
    // Paints the card with its top-left corner at (0, 0).
    void paint(QPainter& painter, Appearance appearance, double devicePixelRatio) const;
    // The card rendered once, its top-left corner at (margin, margin) in the image.
    QImage render(Appearance appearance, double devicePixelRatio) const;
};

} // namespace vt
