#include "metre_ruler.h"

#include <QFont>
#include <QPainter>

void paintMetreRuler(QPainter &painter, double left, double width, double zeroY,
                     double pixelsPerMetre)
{
    const double top = zeroY - pixelsPerMetre;
    const QRectF body(left, top - 8, width, pixelsPerMetre + 8);
    painter.setPen(QPen(QColor(140, 95, 40), 1.5));
    painter.setBrush(QColor(246, 214, 140));
    painter.drawRect(body);

    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPixelSize(11);
    painter.setFont(font);
    for (int cm = 0; cm <= 100; cm += 5) {
        const double y = zeroY - cm * pixelsPerMetre / 100.0;
        const bool end = cm == 0 || cm == 100;
        const bool ten = cm % 10 == 0;
        const double length = end ? width : (ten ? 14.0 : 8.0);
        painter.setPen(QPen(Qt::black, end ? 2.0 : 1.0));
        painter.drawLine(QPointF(left, y), QPointF(left + length, y));
        if (ten && !end) {
            painter.drawText(QRectF(left + 16, y - 7, width - 18, 14),
                             Qt::AlignRight | Qt::AlignVCenter, QString::number(cm));
        }
    }
    // The two end marks carry their labels outside the ruler.
    painter.setPen(Qt::black);
    painter.drawText(QRectF(left + width + 4, top - 8, 40, 16), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("1 m"));
    painter.drawText(QRectF(left + width + 4, zeroY - 8, 40, 16), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("0"));
}
