#include "app/windows/window_activation.h"
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace vt {

void centerOnScreen(QWidget* window) {
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QSize size = window->size().expandedTo(window->sizeHint());
    window->move(area.center() - QPoint(size.width() / 2, size.height() / 2));
}

void bringToFront(QWidget* window) {
    window->show();
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->raise();
    window->activateWindow();
}

} // namespace vt
