#include "collision_scene.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

namespace {

constexpr double MarkHeight = 22.0; // above the track

double positionOf(int cart, double t, bool elastic)
{
    const double contactA =
        CollisionScene::StartA + CollisionScene::SpeedA * CollisionScene::CollisionTime;
    const double startB = contactA + CollisionScene::CartLength;
    const double after = t - CollisionScene::CollisionTime;
    if (after <= 0)
        return cart == 0 ? CollisionScene::StartA + CollisionScene::SpeedA * t : startB;
    return (cart == 0 ? contactA : startB) + CollisionScene::speedAfter(cart, elastic) * after;
}

void paintCart(QPainter &painter, QPointF mark, const QColor &body, const QString &label)
{
    const double w = CollisionScene::CartLength * CollisionScene::PixelsPerMetre;
    const QRectF box(mark.x() - w / 2, CollisionScene::TrackY - 34, w, 26);
    painter.setPen(QPen(body.darker(160), 1.2));
    painter.setBrush(body);
    painter.drawRoundedRect(box, 3, 3);
    painter.setBrush(QColor(40, 40, 40));
    for (double dx : {-w / 3, w / 3})
        painter.drawEllipse(QPointF(mark.x() + dx, CollisionScene::TrackY - 5), 5, 5);
    // The mark: a white disc with a black centre.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(mark, 7, 7);
    painter.setBrush(Qt::black);
    painter.drawEllipse(mark, 3, 3);
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPixelSize(13);
    painter.setFont(font);
    painter.setPen(QColor(20, 20, 20));
    painter.drawText(QRectF(mark.x() - 40, box.top() - 20, 80, 18), Qt::AlignCenter, label);
}

} // namespace

double CollisionScene::speedAfter(int cart, bool elastic)
{
    const double total = MassA + MassB;
    if (!elastic)
        return MassA * SpeedA / total;
    return cart == 0 ? (MassA - MassB) / total * SpeedA : 2 * MassA / total * SpeedA;
}

QPointF CollisionScene::markCentre(int cart, int frame, bool elastic)
{
    const double metres = positionOf(cart, double(frame) / FramesPerSecond, elastic);
    return {RulerLeft + metres * PixelsPerMetre, TrackY - MarkHeight};
}

QImage CollisionScene::frame(int frame, bool elastic)
{
    QImage image(QSize(Width, Height), QImage::Format_RGB888);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient wall(0, 0, 0, TrackY);
    wall.setColorAt(0, QColor(214, 226, 238));
    wall.setColorAt(1, QColor(236, 240, 244));
    painter.fillRect(QRectF(0, 0, Width, Height), wall);
    // The track and the ruler lying in front of it.
    painter.fillRect(QRectF(0, TrackY, Width, 10), QColor(120, 120, 130));
    painter.fillRect(QRectF(0, TrackY + 10, Width, Height - TrackY - 10), QColor(150, 170, 150));
    const QRectF ruler(RulerLeft - 8, TrackY + 22, PixelsPerMetre + 16, 34);
    painter.setPen(QPen(QColor(140, 95, 40), 1.5));
    painter.setBrush(QColor(246, 214, 140));
    painter.drawRect(ruler);
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPixelSize(11);
    painter.setFont(font);
    for (int cm = 0; cm <= 100; cm += 5) {
        const double x = RulerLeft + cm * PixelsPerMetre / 100.0;
        const bool end = cm == 0 || cm == 100;
        const double length = end ? 34.0 : (cm % 10 == 0 ? 12.0 : 7.0);
        painter.setPen(QPen(Qt::black, end ? 2.0 : 1.0));
        painter.drawLine(QPointF(x, ruler.top()), QPointF(x, ruler.top() + length));
        if (cm % 20 == 0 && !end)
            painter.drawText(QRectF(x - 12, ruler.top() + 14, 24, 14), Qt::AlignCenter,
                             QString::number(cm));
    }
    painter.setPen(Qt::black);
    painter.drawText(QRectF(RulerLeft + PixelsPerMetre + 12, ruler.top() + 10, 40, 16),
                     Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("1 m"));

    // Ｂ first, so that the carts touching look right either way.
    paintCart(painter, markCentre(1, frame, elastic), QColor(90, 140, 230),
              QStringLiteral("Ｂ 250 g"));
    paintCart(painter, markCentre(0, frame, elastic), QColor(230, 110, 90),
              QStringLiteral("Ａ 500 g"));

    font.setPixelSize(14);
    painter.setFont(font);
    painter.setPen(QColor(30, 45, 30));
    painter.drawText(QRectF(20, Height - 40, 600, 20), Qt::AlignLeft | Qt::AlignVCenter,
                     elastic ? QStringLiteral("サンプル：台車の衝突（はね返る、１秒間に30コマ）")
                             : QStringLiteral("サンプル：台車の衝突（くっつく、１秒間に30コマ）"));
    painter.end();
    return image;
}
