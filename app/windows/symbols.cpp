#include "app/windows/symbols.h"
#include <QPainter>
#include <QPixmap>

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

} // namespace vt
