#include "ui/file_icons.h"

#include <QFileInfo>
#include <QHash>
#include <QIcon>
#include <QMimeDatabase>
#include <QPainter>

#include "ui/painting.h"
#include "ui/text.h"

namespace vt {
namespace {

void ensureThemeFallback() {
    static const bool once = [] {
        // Outside a desktop session Qt knows no theme; Adwaita is the usual installed one.
        if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
            QIcon::setThemeName(QStringLiteral("Adwaita"));
        return true;
    }();
    (void)once;
}

QPixmap drawnPage(const QString& suffix, QSize size, double dpr) {
    QPixmap pm(QSize(int(size.width() * dpr), int(size.height() * dpr)));
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = size.width(), h = size.height();
    const QRectF page(w * 0.16, h * 0.06, w * 0.68, h * 0.88);
    const double fold = page.width() * 0.3;
    QPainterPath path;
    path.moveTo(page.topLeft());
    path.lineTo(page.right() - fold, page.top());
    path.lineTo(page.right(), page.top() + fold);
    path.lineTo(page.bottomRight());
    path.lineTo(page.bottomLeft());
    path.closeSubpath();
    p.fillPath(path, QColor(246, 246, 248));
    p.setPen(QPen(QColor(0, 0, 0, 60), 0.8));
    p.drawPath(path);
    QPainterPath corner;
    corner.moveTo(page.right() - fold, page.top());
    corner.lineTo(page.right() - fold, page.top() + fold);
    corner.lineTo(page.right(), page.top() + fold);
    corner.closeSubpath();
    p.fillPath(corner, QColor(210, 210, 216));
    if (!suffix.isEmpty()) {
        const QString label = suffix.left(4).toUpper();
        const TextBlock text(label, uiFont(std::max(5.0, h * 0.2), QFont::Bold), page.width(), 1,
                             Qt::AlignHCenter);
        text.draw(p,
                  QPointF(page.center().x() - text.size().width() / 2,
                          page.bottom() - text.size().height() - h * 0.08),
                  QColor(90, 90, 100));
    }
    return pm;
}

} // namespace

QPixmap fileIcon(const QString& path, QSize size, double devicePixelRatio) {
    ensureThemeFallback();
    static QMimeDatabase db;
    static QHash<QString, QPixmap> cache;  // by type
    static QHash<QString, QPixmap> byPath; // views ask every frame; the type lookup reads files
    const QString pathKey = QStringLiteral("%1|%2x%3|%4")
                                .arg(path)
                                .arg(size.width())
                                .arg(size.height())
                                .arg(devicePixelRatio);
    if (auto it = byPath.constFind(pathKey); it != byPath.constEnd()) return *it;
    if (byPath.size() > 256) byPath.clear();
    const QFileInfo info(path);
    const QMimeType mime = info.isDir() ? db.mimeTypeForName(QStringLiteral("inode/directory"))
                                        : db.mimeTypeForFile(info);
    const QString key = QStringLiteral("%1|%2x%3|%4")
                            .arg(mime.name())
                            .arg(size.width())
                            .arg(size.height())
                            .arg(devicePixelRatio);
    if (auto it = cache.constFind(key); it != cache.constEnd()) {
        byPath.insert(pathKey, *it);
        return *it;
    }

    QIcon icon = QIcon::fromTheme(mime.iconName());
    if (icon.isNull()) icon = QIcon::fromTheme(mime.genericIconName());
    if (icon.isNull() && info.isDir()) icon = QIcon::fromTheme(QStringLiteral("folder"));
    if (icon.isNull()) icon = QIcon::fromTheme(QStringLiteral("text-x-generic"));
    QPixmap pm;
    if (!icon.isNull()) pm = icon.pixmap(size, devicePixelRatio);
    if (pm.isNull()) pm = drawnPage(info.suffix(), size, devicePixelRatio);
    if (cache.size() > 128) cache.clear();
    cache.insert(key, pm);
    byPath.insert(pathKey, pm);
    return pm;
}

} // namespace vt
