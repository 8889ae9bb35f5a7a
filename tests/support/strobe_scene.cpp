#include "strobe_scene.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QThread>

#include <algorithm>
#include <cmath>

namespace {

constexpr int Margin = 40; // wall beyond the picture, for the shaking camera

QImage paintedWall(QSize size)
{
    QImage wall(size + QSize(2 * Margin, 2 * Margin), QImage::Format_RGB888);
    wall.fill(QColor(120, 130, 110));
    QPainter p(&wall);
    p.setRenderHint(QPainter::Antialiasing);
    QRandomGenerator random(2026);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 160; ++i) {
        p.setBrush(
            QColor(random.bounded(40, 220), random.bounded(40, 220), random.bounded(40, 220)));
        const double r = random.bounded(8, 60);
        p.drawEllipse(QPointF(random.bounded(wall.width()), random.bounded(wall.height())), r, r);
    }
    p.setPen(QPen(QColor(30, 30, 30), 1));
    for (int x = 0; x < wall.width(); x += 23)
        p.drawLine(x, 0, x, wall.height());
    for (int y = 0; y < wall.height(); y += 17)
        p.drawLine(0, y, wall.width(), y);
    return wall;
}

// Painted once for each size.
const QImage &fullWall(QSize size)
{
    static QImage cached;
    if (cached.size() != size + QSize(2 * Margin, 2 * Margin))
        cached = paintedWall(size);
    return cached;
}

} // namespace

QPointF StrobeScene::centre(int frame) const
{
    return path(frame) + QPointF(shakeAt(frame));
}

QImage StrobeScene::wall() const
{
    return fullWall(size).copy(Margin, Margin, size.width(), size.height());
}

QRect StrobeScene::handRect(int frame) const
{
    if (frame < handFirst || frame > handLast)
        return {};
    const double t = handLast > handFirst ? double(frame - handFirst) / (handLast - handFirst) : 0;
    const int left = int(-120 + t * (size.width() + 40));
    return QRect(left, size.height() / 12, 120, 70).translated(shakeAt(frame));
}

QImage StrobeScene::frame(int n) const
{
    const QPoint move = shakeAt(n);
    QImage image =
        fullWall(size).copy(Margin - move.x(), Margin - move.y(), size.width(), size.height());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    // Pixel (i, j) covers [i, i + 1) for the painter.
    p.setBrush(QColor(250, 120, 20));
    p.drawEllipse(centre(n) + QPointF(0.5, 0.5), radius, radius);
    if (const QRect hand = handRect(n); !hand.isEmpty()) {
        p.setBrush(QColor(225, 180, 150));
        p.drawRoundedRect(hand, 20, 20);
    }
    return image;
}

bool SceneFrameSource::open(const QString &path)
{
    m_path = path;
    return true;
}

QImage SceneFrameSource::frameAtTime(double seconds, QSize size)
{
    const int n = std::clamp(int(std::floor(seconds * m_rate + 1e-6)), 0, m_scene.frames - 1);
    m_last = n / m_rate;
    ++framesServed;
    if (delayMs > 0)
        QThread::msleep(ulong(delayMs));
    const QImage image = m_scene.frame(n);
    return size == image.size() ? image : image.scaled(size);
}
