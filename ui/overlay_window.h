#pragma once
#include "platform/screens.h"
#include "ui/overlay_surface.h"
#include "ui/painted_view.h"
#include <functional>
#include <memory>

class QWidget;

namespace vt {

// The Qt overlay window: an override-redirect, always-on-top top-level that never takes focus
// and lets every click through, hosting one PaintedView. Where a compositor runs, its
// translucent pixels blend with the desktop. Where none does they would show black, so the
// window is then shaped to what the view draws and paints, under the view, the picture of the
// screen it took when it was shown: soft edges, shadows and fades blend with the real desktop.
// A view that reports its damage gets only that region repainted, which keeps a window
// covering a whole screen cheap.
class OverlayWindow final : public OverlaySurface {
public:
    // The view must outlive the window.
    OverlayWindow(const Screens& screens, PaintedView& view);
    ~OverlayWindow() override;
    OverlayWindow(const OverlayWindow&) = delete;
    OverlayWindow& operator=(const OverlayWindow&) = delete;

    void setFrame(RectD frame) override;
    RectD frame() const override { return frame_; }
    void orderFront() override;
    void orderOut() override;
    bool isVisible() const override;
    void setAlpha(double alpha) override;
    void displayNow() override;

    // The hosting widget (tests look up its window id and flags).
    QWidget* widget() const;
    // Runs after every paint of the window (benchmarks wait for the first frame with it).
    void setOnPainted(std::function<void()> onPainted);

private:
    class Host;
    void viewChanged();
    void updateShape();
    void takePictures();
    QImage pictureOf(const QRect& area) const;

    const Screens& screens_;
    PaintedView& view_;
    std::unique_ptr<Host> host_;
    RectD frame_;
    bool compositing_ = false;
    // What lay behind the window when it was shown, in device pixels, and where (Qt's global
    // coordinates, layout points); kept only while the window is on screen.
    QImage screen_;
    QRect screenArea_;
};

} // namespace vt
