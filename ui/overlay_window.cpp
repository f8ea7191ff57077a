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
    // Painted under the view where no compositor blends the window with the desktop.
    const QImage* under = nullptr;
    QRect underArea;

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        // Only the damaged region is cleared and redrawn; the rest of the backing store keeps
        // its pixels.
        painter.setClipRegion(event->region());
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        if (under && !under->isNull()) {
            // The picture replaces what was there; only what lies beyond it is cleared.
            for (const QRect& r : event->region() - underArea)
                painter.fillRect(r, Qt::transparent);
            painter.drawImage(underArea, *under);
        } else {
            painter.fillRect(event->rect(), Qt::transparent);
        }
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
    // The native window is made now, with its translucent visual, whether or not a compositor
    // runs yet, and marked for compositors that may start later.
    if (const auto* pictures = dynamic_cast<const ScreenPictures*>(&screens_))
        pictures->markOverlay(static_cast<unsigned long>(host_->winId()));
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
    const bool wasCompositing = compositing_;
    compositing_ = screens_.compositingActive();
    takePictures();
    host_->under = compositing_ ? nullptr : &screen_;
    const RectD root = screens_.rootSpace().rectFromWindow(frame_);
    host_->underArea = screenArea_.translated(-int(std::lround(root.x)), -int(std::lround(root.y)));
    // Without a compositor the window is shaped before it appears. With one, the shape changes
    // only while the window is mapped: a compositor that sees an unmapped window change shape
    // may take it for an opaque one and give it a shadow over its whole frame (xcompmgr does).
    if (!compositing_) updateShape();
    const std::optional<QRegion> damage = view_.takeDamage();
    if (!host_->isVisible()) {
        if (compositing_ && !wasCompositing) {
            // A compositor started since the last show. One that met the window unmapped may
            // still hold it for an opaque one and shadow its whole frame on the first map
            // (xcompmgr does); it forgets that when the window is unmapped. So the window is
            // mapped and unmapped once, unseen, before it really appears.
            host_->setWindowOpacity(0);
            host_->show();
            QCoreApplication::sendPostedEvents();
            host_->hide();
            host_->setWindowOpacity(1);
        }
        host_->show(); // mapping paints everything
        if (compositing_) updateShape();
        // A compositor that started meanwhile shows the whole window, also what lay outside the
        // old shape and was never painted: paint all of it now.
        if (compositing_ != wasCompositing) host_->repaint();
    } else if (damage) {
        // Reopened while still on screen: what was drawn before must be cleared too.
        host_->update(*damage);
    } else {
        host_->update();
    }
    if (compositing_) updateShape();
    host_->raise();
}

void OverlayWindow::orderOut() {
    host_->hide();
    (void)view_.takeDamage(); // the next show repaints everything
    // The picture is only needed while the window is on screen.
    host_->under = nullptr;
    screen_ = QImage();
    screenArea_ = QRect();
}

QImage OverlayWindow::pictureOf(const QRect& area) const {
    // The canvas area as Qt's global (device-independent) coordinates, then as device pixels of
    // the screen it lies on: Qt keeps each screen's top-left corner where it is in device pixels
    // and scales from there.
    const RectD root = screens_.rootSpace().rectFromWindow(frame_);
    const QRect global = area.translated(int(std::lround(root.x)), int(std::lround(root.y)));
    QScreen* screen = QGuiApplication::screenAt(global.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return {};
    const double dpr = screen->devicePixelRatio();
    const QPoint o = screen->geometry().topLeft();
    const QRect device(
        o + (global.topLeft() - o) * dpr,
        QSize(int(std::lround(global.width() * dpr)), int(std::lround(global.height() * dpr))));
    QImage picture;
    if (const auto* pictures = dynamic_cast<const ScreenPictures*>(&screens_))
        picture = pictures->grabRoot(device).copy(); // the shared memory is reused by the next grab
    if (picture.isNull()) {
        const QRect g = screen->geometry();
        picture = screen
                      ->grabWindow(0, global.x() - g.x(), global.y() - g.y(), global.width(),
                                   global.height())
                      .toImage();
    }
    if (picture.isNull()) return {};
    picture = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(double(picture.width()) / std::max(1, area.width()));
    return picture;
}

void OverlayWindow::takePictures() {
    // Nothing behind a window that shows nothing needs picturing (the unseen show that readies
    // the window): at one pixel per point the picture's memory is then taken only when the
    // window is first seen, which costs that show little. On denser screens the first picture
    // costs that show several milliseconds more, so the unseen show takes it already.
    if (host_->windowOpacity() <= 0 && host_->devicePixelRatio() <= 1) return;
    const QSizeF canvas = view_.canvasSize();
    const QRect area = view_.paintedArea().toAlignedRect().intersected(
        QRect(0, 0, int(std::lround(canvas.width())), int(std::lround(canvas.height()))));
    // Pictures are kept in global coordinates: the window may have moved since the last one.
    const RectD root = screens_.rootSpace().rectFromWindow(frame_);
    const QPoint offset(int(std::lround(root.x)), int(std::lround(root.y)));
    const bool visible = host_->isVisible();
    if (visible && !screen_.isNull() && screenArea_.contains(area.translated(offset))) {
        // Still valid (shown again while on screen, within what was pictured).
        if (view_.usesBackdrop() && !view_.backdrop().isNull())
            view_.setBackdrop(view_.backdrop(), screenArea_.topLeft() - offset);
        return;
    }
    QImage picture = area.isEmpty() ? QImage() : pictureOf(area);
    if (visible && !screen_.isNull() && !picture.isNull()) {
        // Shown again while still on screen (reopened during the close): the new picture shows
        // the window itself where the old one lies, and everything the window drew lies there,
        // so the old picture fills that part.
        QPainter p(&picture);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.translate(-(area.topLeft() + offset));
        p.drawImage(screenArea_, screen_);
    }
    screen_ = picture;
    screenArea_ = picture.isNull() ? QRect() : area.translated(offset);
    if (!view_.usesBackdrop()) return;
    if (picture.isNull()) {
        view_.setBackdrop({});
        return;
    }
    // A quarter of the size, blurred: the frosting needs no detail, and it stays cheap to draw.
    const QSize small(std::max(1, area.width() / 4), std::max(1, area.height() / 4));
    QImage frosted =
        blurred(picture.scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), 3.0);
    frosted.setDevicePixelRatio(double(small.width()) / std::max(1, area.width()));
    view_.setBackdrop(std::move(frosted), area.topLeft());
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
