#pragma once
#include "platform/screens.h"
#include "ui/overlay_surface.h"
#include "ui/painted_view.h"
#include <QRegion>
#include <functional>
#include <memory>

class QWidget;

namespace vt {

// A painted view that knows which part of its canvas changed since it was last asked, so a
// window covering a whole screen repaints only that part.
class DamageTrackingView : public PaintedView {
public:
    // The area, in layout points, whose pixels changed since the previous call; the call
    // forgets it.
    virtual QRegion takeDamage() = 0;
};

// The overlay window for views that report their damage: the same override-redirect,
// click-through, never-focused top-level as OverlayWindow, but an update repaints only the
// damaged region (the painter arrives clipped to it), which keeps a full-screen overlay cheap.
class DamageOverlayWindow final : public OverlaySurface {
public:
    // The view must outlive the window.
    DamageOverlayWindow(const Screens& screens, DamageTrackingView& view);
    ~DamageOverlayWindow() override;
    DamageOverlayWindow(const DamageOverlayWindow&) = delete;
    DamageOverlayWindow& operator=(const DamageOverlayWindow&) = delete;

    void setFrame(RectD frame) override;
    RectD frame() const override { return frame_; }
    void orderFront() override;
    void orderOut() override;
    bool isVisible() const override;
    void setAlpha(double alpha) override;
    void displayNow() override;

    // The hosting widget (tests look up its window id and flags).
    QWidget* widget() const;
    // Runs after every paint of the window (benchmarks wait for frames with it).
    void setOnPainted(std::function<void()> onPainted);

private:
    class Host;
    void viewChanged();
    void updateShape();

    const Screens& screens_;
    DamageTrackingView& view_;
    std::unique_ptr<Host> host_;
    RectD frame_;
    bool compositing_ = false;
};

} // namespace vt
