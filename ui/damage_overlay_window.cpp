#include "ui/damage_overlay_window.h"

#include <QPaintEvent>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace vt {

class DamageOverlayWindow::Host final : public QWidget {
public:
    explicit Host(PaintedView& view)
        : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                               Qt::X11BypassWindowManagerHint | Qt::WindowTransparentForInput |
                               Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint),
          view_(view) {
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_X11DoNotAcceptFocus);
        setAttribute(Qt::WA_NoSystemBackground);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setWindowTitle(QStringLiteral("Vantrel picker"));
    }

    std::function<void()> onPainted;

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        // Only the damaged region is cleared and redrawn; the rest of the backing store keeps
        // its pixels.
        painter.setClipRegion(event->region());
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(event->rect(), Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        view_.paint(painter);
        painter.end();
        if (onPainted) onPainted();
    }

private:
    PaintedView& view_;
};

DamageOverlayWindow::DamageOverlayWindow(const Screens& screens, DamageTrackingView& view)
    : screens_(screens), view_(view), host_(std::make_unique<Host>(view)) {
    const QSizeF size = view.canvasSize();
    frame_ = {0, 0, size.width(), size.height()};
    host_->resize(qRound(size.width()), qRound(size.height()));
    view_.setUpdateRequest([this] { viewChanged(); });
}

DamageOverlayWindow::~DamageOverlayWindow() {
    view_.setUpdateRequest({});
}

QWidget* DamageOverlayWindow::widget() const {
    return host_.get();
}

void DamageOverlayWindow::setOnPainted(std::function<void()> onPainted) {
    host_->onPainted = std::move(onPainted);
}

void DamageOverlayWindow::setFrame(RectD frame) {
    frame_ = frame;
    const RectD root = screens_.rootSpace().rectFromWindow(frame);
    host_->setGeometry(int(std::lround(root.x)), int(std::lround(root.y)),
                       int(std::lround(root.width)), int(std::lround(root.height)));
}

void DamageOverlayWindow::orderFront() {
    // Checked on every show: a compositor may have started or stopped since the last one.
    compositing_ = screens_.compositingActive();
    updateShape();
    const QRegion damage = view_.takeDamage();
    if (host_->isVisible()) {
        // Reopened while still on screen (a show during the closing animation): what was drawn
        // before must be cleared too.
        host_->update(damage);
    } else {
        host_->show(); // mapping paints everything
    }
    host_->raise();
}

void DamageOverlayWindow::orderOut() {
    host_->hide();
}

bool DamageOverlayWindow::isVisible() const {
    return host_->isVisible();
}

void DamageOverlayWindow::setAlpha(double alpha) {
    host_->setWindowOpacity(std::clamp(alpha, 0.0, 1.0));
}

void DamageOverlayWindow::displayNow() {
    updateShape();
    (void)view_.takeDamage();
    host_->repaint();
}

void DamageOverlayWindow::viewChanged() {
    const QRegion damage = view_.takeDamage();
    if (!host_->isVisible() || damage.isEmpty()) return;
    updateShape();
    host_->update(damage);
}

void DamageOverlayWindow::updateShape() {
    if (compositing_) {
        if (!host_->mask().isEmpty()) host_->clearMask();
        return;
    }
    QRegion shape = view_.drawnShape();
    // An empty mask would mean "unshaped"; keep one pixel instead while nothing is drawn.
    if (shape.isEmpty()) shape = QRegion(0, 0, 1, 1);
    if (shape != host_->mask()) host_->setMask(shape);
}

} // namespace vt
