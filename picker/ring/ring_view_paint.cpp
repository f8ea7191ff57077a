// The ring's layers: background, highlight, wedges and their labels.
#include "picker/ring/ring_geometry.h"
#include "picker/ring/ring_view.h"
#include "picker/ring/ring_view_keys.h"
#include "ui/file_icons.h"
#include "ui/materials.h"
#include "ui/symbols.h"
#include "ui/text.h"

#include <QPainter>
#include <cmath>
#include <functional>
#include <numbers>

namespace vt {
namespace {

namespace G = RingGeometry;

using namespace ring_keys;

constexpr double kHighlightGap = 0.03;
constexpr double kLabelWidth = 88;

double degrees(double radians) {
    return radians * 180.0 / std::numbers::pi;
}

const QRectF kCanvas(0, 0, G::canvasSize, G::canvasSize);

QString symbolFor(ClipItem::Kind kind) {
    switch (kind) {
    case ClipItem::Kind::text:
        return QStringLiteral("text.alignleft");
    case ClipItem::Kind::image:
        return QStringLiteral("photo");
    case ClipItem::Kind::files:
        return QStringLiteral("doc");
    }
    return {};
}

void rotateAbout(QPainter& painter, QPointF c, double radians) {
    painter.translate(c);
    painter.rotate(degrees(radians));
    painter.translate(-c);
}

} // namespace

void RingView::paintBackground(QPainter& painter, QPointF c) {
    // The background never changes but for its turn, so it is drawn once per pixel ratio
    // (blurred phases paint at a reduced one).
    const double dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    QImage& background = backgrounds_[dpr];
    if (background.isNull()) {
        const int side = int(std::lround(G::canvasSize * dpr));
        background = QImage(side, side, QImage::Format_ARGB32_Premultiplied);
        background.setDevicePixelRatio(dpr);
        background.fill(Qt::transparent);
        QPainter p(&background);
        p.setRenderHint(QPainter::Antialiasing);
        const QPainterPath annulus =
            annularSector(c, 0, G::fullTurn, G::backgroundInnerRadius, G::backgroundOuterRadius);
        art_.shadows().draw(p, QStringLiteral("ring.background"), annulus, black(0.25), 24,
                            QPointF(0, 10));
        fillMaterial(p, annulus, Material::ultraThin, Appearance::dark, kCanvas);
        p.fillPath(annulus, black(0.08));
        p.fillPath(
            innerBorder(c, G::rimDiameter, 1),
            conicGradient(c, 0, {white(0.35), white(0.05), white(0.25), white(0.05), white(0.35)}));
    }
    painter.save();
    rotateAbout(painter, c, values_.value({kRingOwner, kRotation}));
    painter.drawImage(kCanvas, background);
    painter.restore();
}

const QImage& RingView::glowMask(std::int64_t n, double dpr) {
    const QString key = QStringLiteral("%1|%2").arg(n).arg(dpr);
    auto it = glowMasks_.find(key);
    if (it != glowMasks_.end()) return *it;
    // The glow is soft, so half resolution is plenty; drawn at angle 0, rotated when painted.
    const double res = dpr * 0.5;
    const int side = int(std::lround(G::canvasSize * res));
    QImage mask(side, side, QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(res, res);
        const double half = G::wedgePitch(n) / 2;
        p.fillPath(annularSector(QPointF(G::center, G::center), -half + kHighlightGap,
                                 half - kHighlightGap, G::glowOuterInnerRadius,
                                 G::glowOuterOuterRadius),
                   Qt::white);
    }
    QImage soft = blurred(mask, 3 * res);
    if (glowMasks_.size() > 16) glowMasks_.clear();
    return *glowMasks_.insert(key, soft);
}

void RingView::paintHighlight(QPainter& painter, QPointF c, std::int64_t n) {
    const double opacity = std::clamp(values_.value({kRingOwner, kHighlightOpacity}), 0.0, 1.0);
    if (opacity <= 0.002) return;
    const double angle = values_.value({kRingOwner, kHighlightAngle});
    const double flash = std::clamp(values_.value({kRingOwner, kFlash}), 0.0, 1.0);
    const double half = G::wedgePitch(n) / 2;
    const double dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QLinearGradient accent = accentGradient(kCanvas);
    painter.save();
    painter.setOpacity(painter.opacity() * opacity);

    // 1. Outer glow: the blurred band, rotated into place, then coloured with the accent.
    const QImage& mask = glowMask(n, dpr);
    QImage glow(mask.size(), QImage::Format_ARGB32_Premultiplied);
    glow.fill(Qt::transparent);
    {
        QPainter p(&glow);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        const double res = double(mask.width()) / G::canvasSize;
        p.scale(res, res);
        rotateAbout(p, c, angle);
        p.drawImage(kCanvas, mask);
        p.resetTransform();
        p.scale(res, res);
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        p.fillRect(kCanvas, accent);
    }
    painter.save();
    painter.setOpacity(painter.opacity() * 0.9);
    painter.drawImage(kCanvas, glow);
    painter.restore();

    // 2. Outer line.
    painter.fillPath(annularSector(c, angle - half + 2 * kHighlightGap,
                                   angle + half - 2 * kHighlightGap, G::glowInnerInnerRadius,
                                   G::glowInnerOuterRadius),
                     accent);

    // 3. Body, with its pink glow (wider while flashing on commit).
    const QPainterPath body =
        annularSector(c, angle - half + kHighlightGap, angle + half - kHighlightGap,
                      G::wedgeInnerRadius, G::wedgeOuterRadius);
    {
        const QPainterPath upright = annularSector(c, -half + kHighlightGap, half - kHighlightGap,
                                                   G::wedgeInnerRadius, G::wedgeOuterRadius);
        const QString key = QStringLiteral("ring.body.%1").arg(n);
        painter.save();
        rotateAbout(painter, c, angle);
        const QColor glowColor = toQColor(RingStyle::accentB, 0.55);
        if (flash < 0.999) {
            painter.setOpacity(painter.opacity() * (1 - flash));
            art_.shadows().draw(painter, key, upright, glowColor, 14, {});
            painter.setOpacity(painter.opacity() / (1 - flash));
        }
        if (flash > 0.001) {
            painter.setOpacity(painter.opacity() * flash);
            art_.shadows().draw(painter, key, upright, glowColor, 26, {});
        }
        painter.restore();
    }
    painter.fillPath(body, accent);
    if (flash > 0.001) {
        // Brightening adds the same amount to each colour channel.
        painter.save();
        painter.setCompositionMode(QPainter::CompositionMode_Plus);
        painter.fillPath(body, QColor::fromRgbF(1, 1, 1, float(0.25 * flash)));
        painter.restore();
    }
    painter.setPen(QPen(white(0.45), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(body);
    painter.restore();
}

void RingView::paintWedge(QPainter& painter, QPointF c, const ClipItem& item, std::int64_t index,
                          std::int64_t n) {
    const std::uint64_t owner = wedgeOwner(item.id);
    const double visible = values_.value({owner, kWedgeVisible});
    if (visible <= 0.002) return;
    const double sel = std::clamp(values_.value({owner, kWedgeSelected}), 0.0, 1.0);
    const double scale = 0.55 + 0.45 * visible;
    painter.save();
    painter.setOpacity(painter.opacity() * std::min(visible, 1.0));
    painter.translate(c);
    painter.scale(scale, scale);
    painter.translate(-c);

    const double fill = 0.07 * (1 - sel);
    if (fill > 0.0005) {
        const QPainterPath sector =
            annularSector(c, G::wedgeStartAngle(index, n), G::wedgeEndAngle(index, n),
                          G::wedgeInnerRadius, G::wedgeOuterRadius);
        painter.fillPath(sector, white(fill));
        painter.setPen(QPen(white(0.1 * (1 - sel)), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(sector);
    }
    const double mid = G::wedgeCenterAngle(index, n);
    const double r = G::labelRadius + (G::selectedLabelRadius - G::labelRadius) * sel;
    const QPointF offset(r * std::sin(mid), -r * std::cos(mid));
    paintLabel(painter, item, index + 1, sel, c + offset, 1 + 0.08 * sel,
               QPointF(0.5 + offset.x() / G::canvasSize, 0.5 + offset.y() / G::canvasSize));
    painter.restore();
}

void RingView::paintLabel(QPainter& painter, const ClipItem& item, std::int64_t number, double sel,
                          QPointF labelCenter, double scale, QPointF anchorUnit) {
    const bool selectedStyle = sel >= 0.5;
    const double dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QColor headerColor = white(0.45 + 0.5 * sel);
    const QColor bodyColor = white(0.78 + 0.22 * sel);
    const QFont bodyFont = uiFont(11, selectedStyle ? QFont::Bold : QFont::Medium);

    PieceColumn column(4);
    // Header: kind symbol and the wedge number.
    const QString symbol = symbolFor(item.kind);
    const QSizeF symSize = symbolSize(symbol, 8);
    const TextBlock& numberText =
        cachedTextBlock(QString::number(number), uiFont(10, QFont::ExtraBold, true), 0, 1);
    const QSizeF header(symSize.width() + 3 + numberText.size().width(),
                        std::max(symSize.height(), numberText.size().height()));
    column.add(header, [&](QPainter& p, QPointF at) {
        drawSymbol(
            p, symbol,
            QRectF(QPointF(at.x(), at.y() + (header.height() - symSize.height()) / 2), symSize),
            headerColor, QFont::Bold);
        numberText.draw(p,
                        QPointF(at.x() + symSize.width() + 3,
                                at.y() + (header.height() - numberText.size().height()) / 2),
                        headerColor);
    });
    switch (item.kind) {
    case ClipItem::Kind::text:
        column.addText(
            cachedTextBlock(item.snippet(24), bodyFont, kLabelWidth, 2, Qt::AlignHCenter),
            bodyColor);
        break;
    case ClipItem::Kind::image: {
        const QImage art = art_.thumbnail(item, {58, 40}, 5, 0.5, white(0.25), dpr);
        column.add(art.deviceIndependentSize(), [art](QPainter& p, QPointF at) {
            p.drawImage(QRectF(at, art.deviceIndependentSize()), art);
        });
        break;
    }
    case ClipItem::Kind::files:
        if (item.filePaths && !item.filePaths->isEmpty()) {
            const QPixmap icon = fileIcon(item.filePaths->first(), QSize(28, 28), dpr);
            column.add(QSizeF(28, 28), [icon](QPainter& p, QPointF at) {
                p.drawPixmap(QRectF(at, QSizeF(28, 28)), icon, QRectF(icon.rect()));
            });
        }
        column.addText(
            cachedTextBlock(item.snippet(14), bodyFont, kLabelWidth, 1, Qt::AlignHCenter),
            bodyColor);
        break;
    }

    const double height = column.size().height();
    const QRectF frame(labelCenter.x() - kLabelWidth / 2, labelCenter.y() - height / 2, kLabelWidth,
                       height);
    const QPointF anchor(frame.left() + frame.width() * anchorUnit.x(),
                         frame.top() + frame.height() * anchorUnit.y());
    painter.save();
    painter.translate(anchor);
    painter.scale(scale, scale);
    painter.translate(-anchor);
    if (sel > 0.01) {
        // The selected label's soft shadow: the whole label, blurred by 2 points, 1 point down.
        constexpr double radius = 2;
        const QString key = QStringLiteral("%1|%2|%3|%4")
                                .arg(item.idString())
                                .arg(number)
                                .arg(selectedStyle ? 's' : 'p')
                                .arg(dpr);
        const QImage& shadow = art_.columnShadow(key, column, radius, Qt::black, dpr);
        const QSizeF box = shadow.deviceIndependentSize();
        painter.save();
        painter.setOpacity(painter.opacity() * 0.25 * sel);
        painter.drawImage(
            QRectF(QPointF(frame.center().x() - box.width() / 2, frame.top() - 2 * radius + 1),
                   box),
            shadow);
        painter.restore();
    }
    column.draw(painter, frame.center().x(), frame.top());
    painter.restore();
}

} // namespace vt
