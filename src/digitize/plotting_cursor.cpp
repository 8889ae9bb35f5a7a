#include "digitize/plotting_cursor.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace plotting_cursor {

QImage image()
{
    QImage img(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QPointF c(kHotSpot + 0.5, kHotSpot + 0.5);

    // One arrowhead pointing right at the centre from the left; the other
    // three are the same turned by quarter turns.
    QPainterPath head;
    head.moveTo(-3, 0);
    head.lineTo(-10, -5);
    head.lineTo(-10, -2);
    head.lineTo(-15, -2);
    head.lineTo(-15, 2);
    head.lineTo(-10, 2);
    head.lineTo(-10, 5);
    head.closeSubpath();
    for (int quarter = 0; quarter < 4; ++quarter) {
        p.save();
        p.translate(c);
        p.rotate(90.0 * quarter);
        p.setPen(QPen(Qt::white, 1));
        p.setBrush(Qt::black);
        p.drawPath(head);
        p.restore();
    }
    // The aimed pixel itself.
    p.fillRect(kHotSpot, kHotSpot, 1, 1, Qt::black);
    return img;
}

QCursor cursor()
{
    return QCursor(QPixmap::fromImage(image()), kHotSpot, kHotSpot);
}

} // namespace plotting_cursor
