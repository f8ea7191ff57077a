#include "app/windows/symbols.h"
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>
#include <numbers>

namespace vt {
namespace {

// Draws into a 24 × 24 unit box.
void draw(QPainter& p, Symbol symbol, const QColor& color) {
    QPen pen(color, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    constexpr double pi = std::numbers::pi;
    switch (symbol) {
    case Symbol::gearshape: {
        QPainterPath gear;
        const int teeth = 8;
        for (int i = 0; i < teeth * 4; ++i) {
            const double a = (i / double(teeth * 4)) * 2 * pi;
            const double r = (i % 4 == 0 || i % 4 == 1) ? 10.0 : 7.6;
            const QPointF pt(12 + r * std::cos(a), 12 + r * std::sin(a));
            if (i == 0)
                gear.moveTo(pt);
            else
                gear.lineTo(pt);
        }
        gear.closeSubpath();
        gear.addEllipse(QPointF(12, 12), 3.2, 3.2);
        gear.setFillRule(Qt::OddEvenFill);
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawPath(gear);
        break;
    }
    case Symbol::clockArrowCirclepath: {
        // An open circle with an arrow head (going back in time) and clock hands.
        p.drawArc(QRectF(3, 3, 18, 18), 200 * 16, -320 * 16);
        const double a = 200 * pi / 180;
        const QPointF tip(12 + 9 * std::cos(a), 12 - 9 * std::sin(a));
        QPainterPath head;
        head.moveTo(tip + QPointF(-3.2, -1.4));
        head.lineTo(tip);
        head.lineTo(tip + QPointF(1.6, -3.4));
        p.drawPath(head);
        p.drawLine(QPointF(12, 12), QPointF(12, 7.5));
        p.drawLine(QPointF(12, 12), QPointF(15.2, 14));
        break;
    }
    case Symbol::infoCircle:
        p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawEllipse(QPointF(12, 7.6), 1.4, 1.4);
        p.drawRoundedRect(QRectF(10.9, 10.2, 2.2, 7.6), 1.1, 1.1);
        break;
    case Symbol::plus:
        p.drawLine(QPointF(12, 5), QPointF(12, 19));
        p.drawLine(QPointF(5, 12), QPointF(19, 12));
        break;
    case Symbol::minus:
        p.drawLine(QPointF(5, 12), QPointF(19, 12));
        break;
    case Symbol::appDashed:
        pen.setWidthF(1.6);
        pen.setDashPattern({2.2, 1.8});
        p.setPen(pen);
        p.drawRoundedRect(QRectF(3, 3, 18, 18), 4.5, 4.5);
        break;
    case Symbol::checkmark: {
        pen.setWidthF(3.0);
        p.setPen(pen);
        QPainterPath check;
        check.moveTo(5, 12.5);
        check.lineTo(10, 17.5);
        check.lineTo(19, 6.5);
        p.drawPath(check);
        break;
    }
    }
}

} // namespace

QIcon symbolIcon(Symbol symbol, const QColor& color, int points) {
    QIcon icon;
    for (int scale : {1, 2}) {
        const int side = points * scale;
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(side / 24.0, side / 24.0);
        draw(p, symbol, color);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace vt
