#include "picker/fan/fan_view_style.h"

#include "ui/text.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPalette>
#include <QStyleHints>

namespace vt::fan_style {

Appearance desktopAppearance() {
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    if (const QStyleHints* hints = QGuiApplication::styleHints()) {
        if (hints->colorScheme() == Qt::ColorScheme::Dark) return Appearance::dark;
        if (hints->colorScheme() == Qt::ColorScheme::Light) return Appearance::light;
    }
#endif
    const QColor window = QGuiApplication::palette().color(QPalette::Window);
    return window.lightnessF() < 0.5f ? Appearance::dark : Appearance::light;
}

QColor primary(Appearance appearance) {
    return appearance == Appearance::dark ? white(0.9) : black(0.85);
}

QColor secondary(Appearance appearance) {
    return appearance == Appearance::dark ? white(0.55) : black(0.5);
}

const TextBlock& singleLine(const QString& text, const QFont& font, double maxWidth) {
    QString line = text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    line = QFontMetricsF(font).elidedText(line, Qt::ElideRight, maxWidth);
    return cachedTextBlock(line, font, 0, 1);
}

void prepareImage(QImage& image, double devicePixelRatio) {
    image.setDevicePixelRatio(devicePixelRatio);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::transparent);
}

} // namespace vt::fan_style
