#include "video/plotting_cursor.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace plotting_cursor {

QImage image(qreal ratio)
{
    const int size = qRound(kSize * ratio);
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.scale(ratio, ratio);
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

QCursor cursor(qreal ratio)
{
    if (ratio == 1.0)
        return QCursor(QPixmap::fromImage(image()), kHotSpot, kHotSpot);
    // X11 shows a pointer picture pixel for pixel and takes the hot spot in
    // those pixels, whatever the picture's device pixel ratio says; Wayland
    // scales the picture by its ratio and takes the hot spot in preview
    // pixels.
    QPixmap picture = QPixmap::fromImage(image(ratio));
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        picture.setDevicePixelRatio(ratio);
        return QCursor(picture, kHotSpot, kHotSpot);
    }
    const int hotSpot = qRound(kHotSpot * ratio);
    return QCursor(picture, hotSpot, hotSpot);
}

} // namespace plotting_cursor
