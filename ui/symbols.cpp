#include "ui/symbols.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace vt {
namespace {

// Glyph boxes relative to the font size (width, height), roughly as symbol fonts set them.
QSizeF unitSize(Symbol symbol) {
    switch (symbol) {
    case Symbol::photo:
        return {1.25, 0.98};
    case Symbol::doc:
        return {0.82, 1.04};
    case Symbol::textAlignleft:
        return {1.0, 0.82};
    case Symbol::checkmark:
        return {0.95, 0.9};
    case Symbol::plus:
    case Symbol::minus:
        return {0.9, 0.9};
    case Symbol::clockArrowCirclepath:
        return {1.12, 1.0};
    default:
        return {1.0, 1.0};
    }
}

double strokeFor(QFont::Weight weight, double size) {
    // Stem thickness of a sans at this weight, relative to the em.
    const double w = std::clamp((double(weight) - 100.0) / 800.0, 0.0, 1.0);
    return size * (0.055 + 0.075 * w);
}

} // namespace

std::optional<Symbol> symbolNamed(const QString& name) {
    static const std::pair<QLatin1StringView, Symbol> names[] = {
        {QLatin1StringView("text.alignleft"), Symbol::textAlignleft},
        {QLatin1StringView("photo"), Symbol::photo},
        {QLatin1StringView("doc"), Symbol::doc},
        {QLatin1StringView("xmark.circle"), Symbol::xmarkCircle},
        {QLatin1StringView("checkmark"), Symbol::checkmark},
        {QLatin1StringView("plus"), Symbol::plus},
        {QLatin1StringView("minus"), Symbol::minus},
        {QLatin1StringView("app.dashed"), Symbol::appDashed},
        {QLatin1StringView("gearshape"), Symbol::gearshape},
        {QLatin1StringView("clock.arrow.circlepath"), Symbol::clockArrowCirclepath},
        {QLatin1StringView("info.circle"), Symbol::infoCircle}};
    for (const auto& [n, symbol] : names)
        if (name == n) return symbol;
    return std::nullopt;
}

bool hasSymbol(const QString& name) {
    return symbolNamed(name).has_value();
}

QSizeF symbolSize(Symbol symbol, double fontSize) {
    const QSizeF u = unitSize(symbol);
    return {u.width() * fontSize, u.height() * fontSize};
}

QSizeF symbolSize(const QString& name, double fontSize) {
    return symbolSize(symbolNamed(name).value_or(Symbol::infoCircle), fontSize);
}

void drawSymbol(QPainter& painter, const QString& name, const QRectF& box, const QColor& color,
                QFont::Weight weight) {
    if (const auto symbol = symbolNamed(name)) drawSymbol(painter, *symbol, box, color, weight);
}

void drawSymbol(QPainter& painter, Symbol symbol, const QRectF& box, const QColor& color,
                QFont::Weight weight) {
    const QSizeF u = unitSize(symbol);
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

    switch (symbol) {
    case Symbol::textAlignleft: {
        const double lengths[] = {1.0, 0.62, 1.0, 0.62};
        for (int i = 0; i < 4; ++i) {
            const double y = r.top() + sw / 2 + (r.height() - sw) * i / 3.0;
            painter.drawLine(QPointF(r.left() + sw / 2, y),
                             QPointF(r.left() + sw / 2 + (r.width() - sw) * lengths[i], y));
        }
        break;
    }
    case Symbol::photo: {
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
        break;
    }
    case Symbol::doc: {
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
        break;
    }
    case Symbol::xmarkCircle:
    case Symbol::infoCircle:
        circle(sw / 2);
        if (symbol == Symbol::xmarkCircle) {
            const double d = em * 0.17;
            painter.drawLine(QPointF(c.x() - d, c.y() - d), QPointF(c.x() + d, c.y() + d));
            painter.drawLine(QPointF(c.x() + d, c.y() - d), QPointF(c.x() - d, c.y() + d));
        } else {
            painter.drawLine(QPointF(c.x(), c.y() - em * 0.04), QPointF(c.x(), c.y() + em * 0.24));
            painter.setPen(Qt::NoPen);
            painter.setBrush(color);
            painter.drawEllipse(QPointF(c.x(), c.y() - em * 0.22), sw * 0.8, sw * 0.8);
        }
        break;
    case Symbol::checkmark:
        painter.drawPolyline(QPolygonF({QPointF(r.left() + r.width() * 0.1, c.y() + em * 0.02),
                                        QPointF(r.left() + r.width() * 0.38, r.bottom() - sw),
                                        QPointF(r.right() - sw / 2, r.top() + sw)}));
        break;
    case Symbol::plus:
    case Symbol::minus: {
        const double d = r.width() / 2 - sw / 2;
        painter.drawLine(QPointF(c.x() - d, c.y()), QPointF(c.x() + d, c.y()));
        if (symbol == Symbol::plus)
            painter.drawLine(QPointF(c.x(), c.y() - d), QPointF(c.x(), c.y() + d));
        break;
    }
    case Symbol::appDashed: {
        QPen dashed = pen;
        dashed.setCapStyle(Qt::FlatCap);
        dashed.setDashPattern({2.2, 1.6});
        painter.setPen(dashed);
        painter.drawRoundedRect(r.adjusted(sw / 2, sw / 2, -sw / 2, -sw / 2), em * 0.24, em * 0.24);
        break;
    }
    case Symbol::gearshape: {
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
        break;
    }
    case Symbol::clockArrowCirclepath: {
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
        break;
    }
    }
    painter.restore();
}

} // namespace vt
