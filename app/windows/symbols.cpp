#include "app/windows/symbols.h"
#include "app/windows/window_style.h"
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

namespace vt {

QIcon symbolIcon(Symbol symbol, const QColor& color, int points) {
    QIcon icon;
    for (int scale : {1, 2}) {
        const int side = points * scale;
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        // A small margin, as icon themes leave one.
        const double inset = side / 12.0;
        drawSymbol(p, symbol, QRectF(inset, inset, side - 2 * inset, side - 2 * inset), color,
                   QFont::DemiBold);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QToolButton* symbolButton(Symbol symbol, const QString& objectName, const QString& tip) {
    auto* b = new QToolButton;
    b->setObjectName(objectName);
    b->setAutoRaise(true);
    b->setIcon(symbolIcon(symbol, WindowStyle::color(WindowStyle::Tone::primary), 14));
    b->setIconSize(QSize(14, 14));
    b->setFixedSize(26, 24);
    b->setToolTip(tip);
    b->setAccessibleName(tip);
    return b;
}

} // namespace vt
