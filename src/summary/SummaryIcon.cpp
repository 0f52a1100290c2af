#include "SummaryIcon.h"

#include <QPainter>
#include <QPixmap>

namespace tk {

QIcon summaryIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        const qreal unit = size / 16.0;
        const QColor colours[] = {QColor(46, 139, 87), QColor(200, 60, 50), QColor(70, 110, 180)};
        const qreal heights[] = {7, 11, 5};
        for (int i = 0; i < 3; ++i)
            p.fillRect(QRectF(unit * (1.5 + 4.5 * i), unit * (15 - heights[i]), unit * 3.5, unit * heights[i]),
                       colours[i]);
        p.setPen(QPen(QColor(30, 80, 170), unit * 1.3));
        p.drawPolyline(QPolygonF({QPointF(unit * 2, unit * 6), QPointF(unit * 7.5, unit * 2.5),
                                  QPointF(unit * 11, unit * 5), QPointF(unit * 15, unit * 1.5)}));
        p.setPen(QPen(Qt::black, unit));
        p.drawLine(QPointF(unit * 0.5, unit * 15.5), QPointF(unit * 15.5, unit * 15.5));
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace tk
