#pragma once
#include "picker/fan/fan_model.h"
#include "picker/fan/preview_bubble.h"
#include "ui/animation_clock.h"
#include "ui/animation_driver.h"
#include "ui/animation_values.h"
#include "ui/materials.h"
#include "ui/painted_view.h"

#include <QBrush>
#include <QImage>
#include <QPainterPath>
#include <QTransform>
#include <optional>
#include <unordered_map>
#include <vector>

namespace vt {

// Draws a FanModel: the rows of the drawing window placed by their spokes, the selected row on
// top, and the preview bubble on the other side of the pointer. A pure function of the model
// through the animation engine: every model change (observed synchronously, so inside the
// panel's transaction) becomes targets keyed by row index, and painting reads presented values.
// Rows and the bubble are rendered once into images and drawn transformed, and the view reports
// the area that changed, so a frame of a full-screen overlay costs only the fan's own pixels.
class FanView final : public PaintedView {
public:
    // The clock times the animations. Model and clock must outlive the view.
    FanView(FanModel& model, const AnimationClock& clock);
    ~FanView() override;
    FanView(const FanView&) = delete;
    FanView& operator=(const FanView&) = delete;

    QSizeF canvasSize() const override;
    void paint(QPainter& painter) override;
    QRegion drawnShape() const override;
    std::optional<QRegion> takeDamage() override;
    // The fan covers a whole screen but draws only around its origin: only that much of the
    // screen is pictured (its frosted picture sits under the rows' and the bubble's materials).
    QRectF paintedArea() const override;

    // Advances the animations to `time` on the view's clock and paints the whole canvas into a
    // new image at the given scale. Tests and benchmarks use it.
    QImage renderAt(double time, double scale = 1.0);
    // Moves the presented values to `time` without painting (tests, offline frames).
    void advanceTo(double time);
    // Renders the current rows and bubble into the caches, so the first real frame finds its
    // fonts, materials and images ready.
    void prewarm(double devicePixelRatio = 1.0);

    // Light or dark; by default the desktop's appearance, read whenever the fan opens.
    void setAppearance(std::optional<Appearance> appearance);
    Appearance appearance() const { return appearance_; }

    const AnimatedValues& values() const { return values_; }
    bool animating() const { return !values_.settled(); }
    // The pointer's place on the canvas, in layout points.
    QPointF origin() const;

    // Where the bubble's card is drawn when fully shown, in canvas points.
    QRectF bubbleFrame() const { return bubbleRect(bubble_.height()); }

    // Where one row is drawn right now.
    struct RowPlacement {
        std::int64_t index = 0;
        QTransform transform; // row coordinates (frame centred on 0, 0) to canvas points
        double opacity = 0;
        double selected = 0; // 0 plain look, 1 selected look; springs overshoot
    };
    // The visible rows in drawing order (the selected row last).
    std::vector<RowPlacement> placements() const;

private:
    struct Seen {
        PickerPhase phase = PickerPhase::hidden;
        bool outside = false;
        QString contentKey;
    };

    void sync();
    void syncRows(bool phaseChanged);
    void syncBubble(bool phaseChanged);
    void frameAdvanced();
    void refreshAppearance();
    QRegion currentShape() const;
    QRectF bubbleRect(double height) const;
    QRectF room() const;
    // A row rendered once, with its label capsule's outline (row coordinates) for the backdrop.
    struct RowArt {
        QImage image;
        QPainterPath pill;
    };
    const RowArt& rowArt(std::int64_t index, bool selected, double dpr);
    const QImage& bubbleImage(const PreviewBubble& bubble, int layers, double dpr);
    void paintBubble(QPainter& painter, double opacity, double dpr);
    void fillBackdrop(QPainter& painter, const QPainterPath& canvasShape);

    FanModel& model_;
    AnimatedValues values_;
    AnimationDriver driver_;
    Observable::Token token_ = 0;
    int thumbnailToken_ = 0;
    Seen seen_;
    std::optional<std::pair<std::int64_t, std::int64_t>> window_;
    std::unordered_map<std::int64_t, bool> rowSelected_;
    PreviewBubble bubble_;
    std::optional<PreviewBubble> previousBubble_;
    std::optional<Appearance> appearanceOverride_;
    Appearance appearance_ = Appearance::dark;
    std::unordered_map<QString, RowArt> rowImages_;
    std::unordered_map<QString, QImage> bubbleImages_;
    QBrush backdropBrush_;
    qint64 backdropKey_ = 0;
    QRegion shownShape_;
    QRegion damage_;
};

} // namespace vt
