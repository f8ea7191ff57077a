#include "ui/symbols.h"

#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace vt {
namespace {

// Glyph boxes relative to the font size (width, height), roughly as symbol fonts set them.
QSizeF unitSize(const QString& name) {
    if (name == QLatin1String("photo")) return {1.25, 0.98};
    if (name == QLatin1String("doc")) return {0.82, 1.04};
    if (name == QLatin1String("text.alignleft")) return {1.0, 0.82};
    if (name == QLatin1String("checkmark")) return {0.95, 0.9};
    if (name == QLatin1String("plus") || name == QLatin1String("minus")) return {0.9, 0.9};
    if (name == QLatin1String("clock.arrow.circlepath")) return {1.12, 1.0};
    return {1.0, 1.0};
}

double strokeFor(QFont::Weight weight, double size) {
    // Stem thickness of a sans at this weight, relative to the em.
    const double w = std::clamp((double(weight) - 100.0) / 800.0, 0.0, 1.0);
    return size * (0.055 + 0.075 * w);
}

} // namespace

bool hasSymbol(const QString& name) {
    static const QStringList names = {QStringLiteral("text.alignleft"),
                                      QStringLiteral("photo"),
                                      QStringLiteral("doc"),
                                      QStringLiteral("xmark.circle"),
                                      QStringLiteral("checkmark"),
                                      QStringLiteral("plus"),
                                      QStringLiteral("minus"),
                                      QStringLiteral("app.dashed"),
                                      QStringLiteral("gearshape"),
                                      QStringLiteral("clock.arrow.circlepath"),
                                      QStringLiteral("info.circle")};
    return names.contains(name);
}

QSizeF symbolSize(const QString& name, double fontSize) {
    const QSizeF u = unitSize(name);
    return {u.width() * fontSize, u.height() * fontSize};
}

void drawSymbol(QPainter& painter, const QString& name, const QRectF& box, const QColor& color,
                QFont::Weight weight) {
    if (!hasSymbol(name)) return;
    const QSizeF u = unitSize(name);
    // The em of the symbol that fits the box.
    const double em = std::min(box.width() / u.width(), box.height() / u.height());
    const QRectF r(box.center().x() - u.width() * em / 2, box.center().y() - u.height() * em / 2,
                   u.width() * em, u.height() * em);
    const double sw = strokeFor(weight, em);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(color, sw, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const QPointF c = r.center();
    auto circle = [&](double inset) {
        painter.drawEllipse(r.adjusted(inset, inset, -inset, -inset));
    };

    if (name == QLatin1String("text.alignleft")) {
        const double lengths[] = {1.0, 0.62, 1.0, 0.62};
        for (int i = 0; i < 4; ++i) {
            const double y = r.top() + sw / 2 + (r.height() - sw) * i / 3.0;
            painter.drawLine(QPointF(r.left() + sw / 2, y),
                             QPointF(r.left() + sw / 2 + (r.width() - sw) * lengths[i], y));
        }
    } else if (name == QLatin1String("photo")) {
        const QRectF frame = r.adjusted(sw / 2, sw / 2, -sw / 2, -sw / 2);
        painter.drawRoundedRect(frame, em * 0.16, em * 0.16);
        painter.save();
        painter.setClipRect(frame);
        QPainterPath hills;
        hills.moveTo(frame.left(), frame.bottom() - frame.height() * 0.12);
        hills.lineTo(frame.left() + frame.width() * 0.36, frame.top() + frame.height() * 0.48);
        hills.lineTo(frame.left() + frame.width() * 0.6, frame.bottom() - frame.height() * 0.28);
        hills.lineTo(frame.left() + frame.width() * 0.74, frame.top() + frame.height() * 0.6);
        hills.lineTo(frame.right(), frame.bottom() - frame.height() * 0.1);
        hills.lineTo(frame.right(), frame.bottom());
        hills.lineTo(frame.left(), frame.bottom());
        hills.closeSubpath();
        painter.fillPath(hills, color);
        painter.restore();
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        painter.drawEllipse(
            QPointF(frame.left() + frame.width() * 0.72, frame.top() + frame.height() * 0.3),
            em * 0.1, em * 0.1);
    } else if (name == QLatin1String("doc")) {
        const QRectF p = r.adjusted(sw / 2, sw / 2, -sw / 2, -sw / 2);
        const double fold = p.width() * 0.38;
        QPainterPath page;
        page.moveTo(p.left() + p.width() * 0.12, p.top());
        page.lineTo(p.right() - fold, p.top());
        page.lineTo(p.right(), p.top() + fold);
        page.lineTo(p.right(), p.bottom() - p.width() * 0.12);
        page.quadTo(p.right(), p.bottom(), p.right() - p.width() * 0.12, p.bottom());
        page.lineTo(p.left() + p.width() * 0.12, p.bottom());
        page.quadTo(p.left(), p.bottom(), p.left(), p.bottom() - p.width() * 0.12);
        page.lineTo(p.left(), p.top() + p.width() * 0.12);
        page.quadTo(p.left(), p.top(), p.left() + p.width() * 0.12, p.top());
        page.closeSubpath();
        painter.drawPath(page);
        painter.drawPolyline(QPolygonF({QPointF(p.right() - fold, p.top()),
                                        QPointF(p.right() - fold, p.top() + fold),
                                        QPointF(p.right(), p.top() + fold)}));
    } else if (name == QLatin1String("xmark.circle") || name == QLatin1String("info.circle")) {
        circle(sw / 2);
        if (name == QLatin1String("xmark.circle")) {
            const double d = em * 0.17;
            painter.drawLine(QPointF(c.x() - d, c.y() - d), QPointF(c.x() + d, c.y() + d));
            painter.drawLine(QPointF(c.x() + d, c.y() - d), QPointF(c.x() - d, c.y() + d));
        } else {
            painter.drawLine(QPointF(c.x(), c.y() - em * 0.04), QPointF(c.x(), c.y() + em * 0.24));
            painter.setPen(Qt::NoPen);
            painter.setBrush(color);
            painter.drawEllipse(QPointF(c.x(), c.y() - em * 0.22), sw * 0.8, sw * 0.8);
        }
    } else if (name == QLatin1String("checkmark")) {
        painter.drawPolyline(QPolygonF({QPointF(r.left() + r.width() * 0.1, c.y() + em * 0.02),
                                        QPointF(r.left() + r.width() * 0.38, r.bottom() - sw),
                                        QPointF(r.right() - sw / 2, r.top() + sw)}));
    } else if (name == QLatin1String("plus") || name == QLatin1String("minus")) {
        const double d = r.width() / 2 - sw / 2;
        painter.drawLine(QPointF(c.x() - d, c.y()), QPointF(c.x() + d, c.y()));
        if (name == QLatin1String("plus"))
            painter.drawLine(QPointF(c.x(), c.y() - d), QPointF(c.x(), c.y() + d));
    } else if (name == QLatin1String("app.dashed")) {
        QPen dashed = pen;
        dashed.setCapStyle(Qt::FlatCap);
        dashed.setDashPattern({2.2, 1.6});
        painter.setPen(dashed);
        painter.drawRoundedRect(r.adjusted(sw / 2, sw / 2, -sw / 2, -sw / 2), em * 0.24, em * 0.24);
    } else if (name == QLatin1String("gearshape")) {
        QPainterPath gear;
        const int teeth = 8;
        const double ro = r.width() / 2 - sw / 2;
        const double ri = ro * 0.78;
        for (int i = 0; i < teeth * 4; ++i) {
            const double a = 2 * std::numbers::pi * (i - 0.5) / (teeth * 4);
            const double rad = (i % 4 == 0 || i % 4 == 1) ? ro : ri;
            const QPointF p(c.x() + rad * std::cos(a), c.y() + rad * std::sin(a));
            if (i == 0)
                gear.moveTo(p);
            else
                gear.lineTo(p);
        }
        gear.closeSubpath();
        painter.drawPath(gear);
        painter.drawEllipse(c, ro * 0.34, ro * 0.34);
    } else if (name == QLatin1String("clock.arrow.circlepath")) {
        const double rad = r.height() / 2 - sw / 2;
        const QRectF circ(c.x() - rad + r.width() * 0.05, c.y() - rad, 2 * rad, 2 * rad);
        painter.drawArc(circ, 200 * 16, -290 * 16);
        const QPointF cc = circ.center();
        // Arrow head at the open end of the circle path (lower left).
        const double a = 200.0 * std::numbers::pi / 180.0;
        const QPointF tip(cc.x() + rad * std::cos(a), cc.y() - rad * std::sin(a));
        painter.drawPolyline(QPolygonF({QPointF(tip.x() - em * 0.2, tip.y() - em * 0.05), tip,
                                        QPointF(tip.x() + em * 0.02, tip.y() - em * 0.22)}));
        painter.drawPolyline(QPolygonF({QPointF(cc.x(), cc.y() - rad * 0.55), cc,
                                        QPointF(cc.x() + rad * 0.4, cc.y() + rad * 0.25)}));
    }
    painter.restore();
}

} // namespace vt
