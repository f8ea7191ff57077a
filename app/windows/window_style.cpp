#include "app/windows/window_style.h"
#include "platform/config.h"
#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QWidget>

namespace vt::WindowStyle {
namespace {

QIcon& iconSlot() {
    static QIcon icon;
    return icon;
}

QIcon drawnIcon() {
    QIcon icon;
    for (int size : {64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r(size * 0.06, size * 0.06, size * 0.88, size * 0.88);
        QLinearGradient bg(r.topLeft(), r.bottomRight());
        bg.setColorAt(0, QColor(0xff, 0x9f, 0x43));
        bg.setColorAt(1, QColor(0xf0, 0x4e, 0x98));
        p.setPen(Qt::NoPen);
        p.setBrush(bg);
        p.drawRoundedRect(r, size * 0.22, size * 0.22);
        // A clipboard sheet with a fan of three lines.
        const QRectF sheet(size * 0.3, size * 0.24, size * 0.4, size * 0.52);
        p.setBrush(QColor(255, 255, 255, 235));
        p.drawRoundedRect(sheet, size * 0.05, size * 0.05);
        p.setBrush(QColor(0xf0, 0x4e, 0x98));
        for (int i = 0; i < 3; ++i) {
            const double y = sheet.top() + sheet.height() * (0.3 + 0.2 * i);
            p.drawRoundedRect(QRectF(sheet.left() + size * 0.06, y,
                                     sheet.width() * (0.7 - 0.15 * i), size * 0.045),
                              size * 0.02, size * 0.02);
        }
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

QFont baseFont() {
    static const QString family = [] {
        const QStringList families = QFontDatabase::families();
        for (const char* name : {"Noto Sans CJK JP", "Noto Sans JP", "IPAexGothic", "IPAGothic"}) {
            if (families.contains(QLatin1String(name))) return QString::fromLatin1(name);
        }
        return QString();
    }();
    QFont f = QApplication::font();
    if (!family.isEmpty()) f.setFamilies({family});
    return f;
}

QFont font(Text text) {
    QFont f = baseFont();
    const double body = f.pointSizeF() > 0 ? f.pointSizeF() : 10.0;
    switch (text) {
    case Text::body:
        break;
    case Text::title2:
        f.setPointSizeF(body * 1.3);
        f.setBold(true);
        break;
    case Text::title3:
        f.setPointSizeF(body * 1.15);
        f.setBold(true);
        break;
    case Text::headline:
        f.setBold(true);
        break;
    case Text::callout:
        f.setPointSizeF(body * 0.93);
        break;
    case Text::caption:
        f.setPointSizeF(body * 0.85);
        break;
    }
    return f;
}

QColor accent() {
    return QApplication::palette().color(QPalette::Active, QPalette::Highlight);
}

QColor green() {
    return QColor(0x2e, 0xa0, 0x43);
}

QColor color(Tone tone) {
    QColor text = QApplication::palette().color(QPalette::Active, QPalette::WindowText);
    switch (tone) {
    case Tone::primary:
        return text;
    case Tone::secondary:
        text.setAlphaF(0.62F);
        return text;
    case Tone::tertiary:
        text.setAlphaF(0.42F);
        return text;
    case Tone::green:
        return green();
    case Tone::destructive:
        return QColor(0xd7, 0x26, 0x1e);
    }
    return text;
}

QLabel* label(const QString& text, Text style, Tone tone, bool wrap) {
    auto* l = new QLabel(text);
    l->setFont(font(style));
    if (tone != Tone::primary) {
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, color(tone));
        l->setPalette(pal);
    }
    l->setWordWrap(wrap);
    l->setTextFormat(Qt::PlainText);
    return l;
}

void applyWindowFont(QWidget* window) {
    window->setFont(baseFont());
}

QIcon appIcon() {
    QIcon& icon = iconSlot();
    if (!icon.isNull()) return icon;
    const QIcon themed = QIcon::fromTheme(QString::fromLatin1(kAppId));
    if (!themed.isNull()) return themed;
    if (!QApplication::windowIcon().isNull()) return QApplication::windowIcon();
    static const QIcon drawn = drawnIcon();
    return drawn;
}

void setAppIcon(const QIcon& icon) {
    iconSlot() = icon;
}

QString displayName(const QString& name) {
    QString out = name;
    out.remove(QLatin1String(".app"));
    return out;
}

} // namespace vt::WindowStyle

namespace vt {
QUrl appendingPathComponent(const QUrl& url, const QString& component) {
    QUrl out = url;
    QString path = out.path();
    if (!path.endsWith(u'/')) path += u'/';
    out.setPath(path + component);
    return out;
}
} // namespace vt
