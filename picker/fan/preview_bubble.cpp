#include "picker/fan/preview_bubble.h"

#include "picker/fan/fan_row.h"
#include "picker/fan/fan_view_style.h"
#include "ui/file_icons.h"
#include "ui/painting.h"
#include "ui/symbols.h"
#include "ui/text.h"

#include <QFileInfo>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace vt {
namespace {

using namespace fan_style;

constexpr double kSpacing = 6;
constexpr double kContentWidth = PreviewBubble::width - 2 * PreviewBubble::padding;
constexpr double kIcon = 32;
constexpr QSizeF kImageBox(PreviewBubble::bodyWidth, 140);

QString positionText(const PreviewBubble& b) {
    return QString::asprintf("%lld", static_cast<long long>(b.position)) + QStringLiteral(" / ") +
           QString::asprintf("%lld", static_cast<long long>(b.total));
}

TabularLine positionLine(const PreviewBubble& b) {
    return TabularLine(positionText(b), uiFont(10, QFont::Bold, true));
}

QSizeF positionCapsule(const PreviewBubble& b) {
    const QSizeF t = positionLine(b).size();
    return {t.width() + 12, t.height() + 3};
}

const TextBlock& sourceBlock(const PreviewBubble& b) {
    const double room = kContentWidth - positionCapsule(b).width() - kSpacing;
    return singleLine(b.item->sourceApp.value_or(QString()), uiFont(10, QFont::Normal), room);
}

const TextBlock& cancelBlock() {
    return cachedTextBlock(PreviewBubble::cancelText(), uiFont(12, QFont::DemiBold), 0, 1);
}

QSizeF cancelSymbol() {
    return symbolSize(QStringLiteral("xmark.circle"), 12);
}

const TextBlock& bodyText(const ClipItem& item) {
    return cachedTextBlock(item.text.value_or(QString()), uiFont(11, QFont::Normal),
                           PreviewBubble::bodyWidth, 8);
}

constexpr int kFileLines = 6;

QString fileNames(const ClipItem& item) {
    // One name more than the card shows, so the last line still ends in "…" when more follow.
    QStringList names;
    for (const QString& path : item.filePaths.value_or(QStringList())) {
        if (names.size() > kFileLines) break;
        names << QFileInfo(path).fileName();
    }
    return names.join(QLatin1Char('\n'));
}

bool hasIcon(const ClipItem& item) {
    return item.filePaths && !item.filePaths->isEmpty();
}

const TextBlock& fileText(const ClipItem& item) {
    const double room = kContentWidth - (hasIcon(item) ? kIcon + 8 : 0);
    return cachedTextBlock(fileNames(item), uiFont(11, QFont::Normal), room, kFileLines);
}

QSizeF imageSize(const ClipItem& item) {
    const std::optional<QImage> thumb = item.thumbnail();
    if (!thumb || thumb->isNull()) return {};
    return QSizeF(thumb->size()).scaled(kImageBox, Qt::KeepAspectRatio);
}

QSizeF bodySize(const ClipItem& item) {
    switch (item.kind) {
    case ClipItem::Kind::text:
        return bodyText(item).size();
    case ClipItem::Kind::image:
        return imageSize(item);
    case ClipItem::Kind::files: {
        const QSizeF t = fileText(item).size();
        const double icon = hasIcon(item) ? kIcon : 0;
        return {icon + (icon > 0 && !t.isEmpty() ? 8 : 0) + t.width(), std::max(icon, t.height())};
    }
    }
    return {};
}

double headerHeight(const PreviewBubble& b) {
    double h = positionCapsule(b).height();
    if (b.item->sourceApp && !b.item->sourceApp->isEmpty())
        h = std::max(h, sourceBlock(b).size().height());
    return h;
}

void paintBody(QPainter& painter, const ClipItem& item, QPointF at, Appearance appearance,
               double dpr) {
    switch (item.kind) {
    case ClipItem::Kind::text:
        bodyText(item).draw(painter, at, primary(appearance));
        return;
    case ClipItem::Kind::image: {
        const std::optional<QImage> thumb = item.thumbnail();
        const QSizeF size = imageSize(item);
        if (!thumb || size.isEmpty()) return;
        const QRectF frame(at, size);
        painter.save();
        painter.setClipPath(continuousRoundedRect(frame, 8), Qt::IntersectClip);
        const QSize pixels(int(std::lround(size.width() * dpr)),
                           int(std::lround(size.height() * dpr)));
        painter.drawImage(frame,
                          thumb->scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        painter.restore();
        return;
    }
    case ClipItem::Kind::files: {
        const QSizeF size = bodySize(item);
        double x = at.x();
        if (hasIcon(item)) {
            const QPixmap icon =
                fileIcon(item.filePaths->first(), QSize(int(kIcon), int(kIcon)), dpr);
            painter.drawPixmap(QRectF(x, at.y() + (size.height() - kIcon) / 2, kIcon, kIcon), icon,
                               QRectF(icon.rect()));
            x += kIcon + 8;
        }
        const TextBlock& names = fileText(item);
        names.draw(painter, QPointF(x, at.y() + (size.height() - names.size().height()) / 2),
                   primary(appearance));
        return;
    }
    }
}

} // namespace

QString PreviewBubble::bodyKey() const {
    if (outside) return QStringLiteral("outside");
    return item ? item->idString() : QString();
}

QString PreviewBubble::contentKey() const {
    if (outside) return QStringLiteral("outside");
    if (!item) return {};
    return item->idString() + QLatin1Char('|') + positionText(*this);
}

double PreviewBubble::height() const {
    double h = 2 * padding;
    if (outside) return h + std::max(cancelSymbol().height(), cancelBlock().size().height());
    if (!item) return h;
    h += headerHeight(*this);
    const QSizeF content = bodySize(*item);
    if (!content.isEmpty()) h += kSpacing + content.height();
    return h;
}

void PreviewBubble::paint(QPainter& painter, Appearance appearance, double dpr, int layers) const {
    if (layers & card) {
        const QRectF frame(0, 0, width, height());
        const QPainterPath shape = continuousRoundedRect(frame, corner);
        paintShadow(painter, shape, black(0.2), 16, {0, 6}, dpr);
        fillMaterial(painter, shape, Material::regular, appearance, frame);
        painter.setPen(QPen(white(0.3), 0.6));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(continuousRoundedRect(frame.adjusted(0.3, 0.3, -0.3, -0.3), corner - 0.3));
    }

    const QPointF origin(padding, padding);
    if (outside) {
        if (!(layers & body)) return;
        const QSizeF sym = cancelSymbol();
        const TextBlock& text = cancelBlock();
        const double h = std::max(sym.height(), text.size().height());
        const QColor color = secondary(appearance);
        drawSymbol(painter, QStringLiteral("xmark.circle"),
                   QRectF(origin + QPointF(0, (h - sym.height()) / 2), sym), color,
                   QFont::DemiBold);
        text.draw(painter, origin + QPointF(sym.width() + 4, (h - text.size().height()) / 2),
                  color);
        return;
    }
    if (!item) return;

    // Header: the accent capsule with "position / total", then the source application.
    const double hh = headerHeight(*this);
    if (layers & body)
        paintBody(painter, *item, origin + QPointF(0, hh + kSpacing), appearance, dpr);
    if (!(layers & header)) return;
    const QSizeF cap = positionCapsule(*this);
    const QRectF capFrame(origin + QPointF(0, (hh - cap.height()) / 2), cap);
    painter.fillPath(capsule(capFrame), accentGradient(capFrame));
    positionLine(*this).draw(painter, capFrame.topLeft() + QPointF(6, 1.5), Qt::white);
    if (item->sourceApp && !item->sourceApp->isEmpty()) {
        const TextBlock& source = sourceBlock(*this);
        source.draw(
            painter,
            QPointF(capFrame.right() + kSpacing, origin.y() + (hh - source.size().height()) / 2),
            secondary(appearance));
    }
}

QImage PreviewBubble::render(Appearance appearance, double dpr, int layers) const {
    const double m = (layers & card) ? margin : 0;
    const QSizeF size(width + 2 * m, height() + 2 * m);
    QImage image(int(std::ceil(size.width() * dpr)), int(std::ceil(size.height() * dpr)),
                 QImage::Format_ARGB32_Premultiplied);
    prepareImage(image, dpr);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(m, m);
    paint(painter, appearance, dpr, layers);
    return image;
}

} // namespace vt
