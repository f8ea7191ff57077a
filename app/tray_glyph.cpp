#include "app/tray_glyph.h"
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QSvgRenderer>

namespace vt::TrayGlyph {

QIcon icon(const QColor& color) {
    QFile file(QStringLiteral(":/vantrel/io.vantrel.Vantrel-symbolic.svg"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    QByteArray svg = file.readAll();
    svg.replace("#2e3436", color.name(QColor::HexRgb).toLatin1());
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) return {};
    QIcon out;
    for (int size : {16, 22, 24, 32, 48}) {
        for (int scale : {1, 2}) {
            QPixmap pixmap(size * scale, size * scale);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            painter.setRenderHint(QPainter::Antialiasing);
            renderer.render(&painter, QRectF(0, 0, size * scale, size * scale));
            painter.end();
            pixmap.setDevicePixelRatio(scale);
            out.addPixmap(pixmap);
        }
    }
    return out;
}

QColor colorFor(const std::optional<QColor>& trayForeground) {
    if (trayForeground && trayForeground->isValid()) return *trayForeground;
    const QColor window = QGuiApplication::palette().color(QPalette::Window);
    return window.lightnessF() < 0.5F ? QColor(0xf2, 0xf2, 0xf2) : QColor(0x2e, 0x34, 0x36);
}

} // namespace vt::TrayGlyph
