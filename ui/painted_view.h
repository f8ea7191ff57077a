#pragma once
#include <QImage>
#include <QRectF>
#include <QRegion>
#include <QSizeF>
#include <functional>
#include <optional>

class QPainter;

namespace vt {

// A view drawn with QPainter in layout points (y down, origin top-left of its canvas). The
// overlay window hosts one; tests paint it straight into a QImage.
class PaintedView {
public:
    virtual ~PaintedView() = default;
    // The canvas size in layout points.
    virtual QSizeF canvasSize() const = 0;
    // Paints the presented state; the painter is already scaled to layout points.
    virtual void paint(QPainter& painter) = 0;
    // What the view covers in its presented state, in layout points, leaving out soft shadows
    // and glows: the window is shaped to it when no compositor blends translucent pixels (they
    // would show as black). An empty region means "nothing drawn".
    virtual QRegion drawnShape() const = 0;
    // The area, in layout points, whose pixels changed since the previous call (the call forgets
    // it), so a window covering a whole screen repaints only that part. Nothing means "assume
    // the whole canvas changed", which views without their own damage tracking answer.
    virtual std::optional<QRegion> takeDamage() { return std::nullopt; }
    // Whether the host should take a blurred picture of what lies behind the window when it
    // shows it (see backdrop()).
    virtual bool usesBackdrop() const { return true; }
    // The part of the canvas, in layout points, the view may draw on until it is shown again:
    // the host pictures only that much of the screen behind the window. The whole canvas unless
    // the view knows better (a full-screen view drawing near the pointer).
    virtual QRectF paintedArea() const { return {QPointF(0, 0), canvasSize()}; }
    // A blurred picture of what lies behind the window, taken by the host when it shows the
    // window, with its top-left corner at `origin` on the canvas (its device-independent size is
    // its size in layout points); materials paint it under their tint so they read as frosted
    // glass. A null image when there is none (then materials are plain tints).
    void setBackdrop(QImage backdrop, QPointF origin = {}) {
        backdrop_ = std::move(backdrop);
        backdropOrigin_ = origin;
    }
    const QImage& backdrop() const { return backdrop_; }
    QPointF backdropOrigin() const { return backdropOrigin_; }
    // The host installs this; the view calls it whenever its presented state changed.
    void setUpdateRequest(std::function<void()> request) { updateRequest_ = std::move(request); }

protected:
    void requestUpdate() const {
        if (updateRequest_) updateRequest_();
    }

private:
    std::function<void()> updateRequest_;
    QImage backdrop_;
    QPointF backdropOrigin_;
};

} // namespace vt
