#include "ui/overlay_window.h"
#include "platform/screen_pictures.h"

#include "ui/painting.h"

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace vt {

class OverlayWindow::Host final : public QWidget {
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

OverlayWindow::OverlayWindow(const Screens& screens, PaintedView& view)
    : screens_(screens), view_(view), host_(std::make_unique<Host>(view)) {
    const QSizeF size = view.canvasSize();
    frame_ = {0, 0, size.width(), size.height()};
    host_->resize(qRound(size.width()), qRound(size.height()));
    view_.setUpdateRequest([this] { viewChanged(); });
}

OverlayWindow::~OverlayWindow() {
    view_.setUpdateRequest({});
}

QWidget* OverlayWindow::widget() const {
    return host_.get();
}

void OverlayWindow::setOnPainted(std::function<void()> onPainted) {
    host_->onPainted = std::move(onPainted);
}

void OverlayWindow::setFrame(RectD frame) {
    frame_ = frame;
    const RectD root = screens_.rootSpace().rectFromWindow(frame);
    host_->setGeometry(int(std::lround(root.x)), int(std::lround(root.y)),
                       int(std::lround(root.width)), int(std::lround(root.height)));
}

void OverlayWindow::orderFront() {
    // Checked on every show: a compositor may have started or stopped since the last one.
    compositing_ = screens_.compositingActive();
    if (view_.usesBackdrop()) {
        if (!host_->isVisible()) takeBackdrop();
        // Still on screen (shown again while closing): a new picture would show the window
        // itself, so the old one stays while the window has not moved.
        else if (frame_ != backdropFrame_)
            view_.setBackdrop({});
    }
    updateShape();
    const std::optional<QRegion> damage = view_.takeDamage();
    if (!host_->isVisible()) {
        host_->show(); // mapping paints everything
    } else if (damage) {
        // Reopened while still on screen: what was drawn before must be cleared too.
        host_->update(*damage);
    } else {
        host_->update();
    }
    host_->raise();
}

void OverlayWindow::orderOut() {
    host_->hide();
    (void)view_.takeDamage(); // the next show repaints everything
}

void OverlayWindow::takeBackdrop() {
    const RectD root = screens_.rootSpace().rectFromWindow(frame_);
    const QRect rect(int(std::lround(root.x)), int(std::lround(root.y)),
                     int(std::lround(root.width)), int(std::lround(root.height)));
    QScreen* screen = QGuiApplication::screenAt(rect.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    QImage picture;
    // Straight from the X server when the screens can (one device pixel per point only).
    const auto* pictures = dynamic_cast<const ScreenPictures*>(&screens_);
    if (pictures && screen && screen->devicePixelRatio() == 1.0) picture = pictures->grabRoot(rect);
    if (picture.isNull() && screen) {
        const QRect g = screen->geometry();
        picture =
            screen->grabWindow(0, rect.x() - g.x(), rect.y() - g.y(), rect.width(), rect.height())
                .toImage();
    }
    if (picture.isNull()) {
        view_.setBackdrop({});
        return;
    }
    // A quarter of the size, blurred: the frosting needs no detail, and it stays cheap to draw.
    const QSize small(std::max(1, rect.width() / 4), std::max(1, rect.height() / 4));
    QImage frosted =
        blurred(picture.scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), 3.0);
    frosted.setDevicePixelRatio(double(small.width()) / std::max(1.0, frame_.width));
    view_.setBackdrop(std::move(frosted));
    backdropFrame_ = frame_;
}

bool OverlayWindow::isVisible() const {
    return host_->isVisible();
}

void OverlayWindow::setAlpha(double alpha) {
    host_->setWindowOpacity(std::clamp(alpha, 0.0, 1.0));
}

void OverlayWindow::displayNow() {
    updateShape();
    (void)view_.takeDamage();
    host_->repaint();
}

void OverlayWindow::viewChanged() {
    const std::optional<QRegion> damage = view_.takeDamage();
    if (!host_->isVisible() || (damage && damage->isEmpty())) return;
    updateShape();
    if (damage)
        host_->update(*damage);
    else
        host_->update();
}

void OverlayWindow::updateShape() {
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
