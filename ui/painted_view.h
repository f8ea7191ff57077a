#pragma once
#include <QImage>
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
    // shows it (see backdrop()); a full-screen view that never draws it says no.
    virtual bool usesBackdrop() const { return true; }
    // A blurred picture of what lies behind the window (canvas-sized in layout points), taken by
    // the host when it shows the window; materials paint it under their tint so they read as
    // frosted glass. A null image when there is none (then materials are plain tints).
    void setBackdrop(QImage backdrop) { backdrop_ = std::move(backdrop); }
    const QImage& backdrop() const { return backdrop_; }
    // The host installs this; the view calls it whenever its presented state changed.
    void setUpdateRequest(std::function<void()> request) { updateRequest_ = std::move(request); }

protected:
    void requestUpdate() const {
        if (updateRequest_) updateRequest_();
    }

private:
    std::function<void()> updateRequest_;
    QImage backdrop_;
};

} // namespace vt
