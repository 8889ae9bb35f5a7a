#include "throw_scene.h"

#include "metre_ruler.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <algorithm>

namespace {
// Launch velocity that lands the ball at LandingX after FlightSeconds, back
// on the launch height: vx in pixels per second, vy upwards in metres per second.
constexpr double horizontalPixelsPerSecond =
    (ThrowScene::LandingX - ThrowScene::LaunchX) / ThrowScene::FlightSeconds;
constexpr double upwardMetresPerSecond = ThrowScene::Gravity * ThrowScene::FlightSeconds / 2.0;
} // namespace

int ThrowScene::frameCount()
{
    const int flightFrames = int(FlightSeconds * FramesPerSecond + 0.5);
    return FramesBeforeLaunch + flightFrames + 1 + FramesAfterLanding;
}

double ThrowScene::flightTime(int frame)
{
    return double(frame - FramesBeforeLaunch) / FramesPerSecond;
}

QPointF ThrowScene::ballCentre(int frame)
{
    const double t = std::clamp(flightTime(frame), 0.0, FlightSeconds);
    const double x = LaunchX + horizontalPixelsPerSecond * t;
    const double heightMetres = upwardMetresPerSecond * t - Gravity * t * t / 2.0;
    return {x, LaunchY - heightMetres * PixelsPerMetre};
}

QImage ThrowScene::frame(int frame)
{
    QImage image(size(), QImage::Format_RGB888);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintRoom(painter);
    paintRuler(painter);
    paintBall(painter, ballCentre(frame));
    painter.end();
    return image;
}

void ThrowScene::paintRoom(QPainter &painter)
{
    QLinearGradient wall(0, 0, 0, RulerZeroY);
    wall.setColorAt(0, QColor(214, 226, 238));
    wall.setColorAt(1, QColor(236, 240, 244));
    painter.fillRect(QRectF(0, 0, Width, RulerZeroY), wall);
    painter.fillRect(QRectF(0, RulerZeroY, Width, Height - RulerZeroY), QColor(150, 170, 150));

    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPixelSize(14);
    painter.setFont(font);
    painter.setPen(QColor(30, 45, 30));
    // The caption sits on the floor, out of the ball's way.
    painter.drawText(QRectF(110, RulerZeroY + 6, 500, 20), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("サンプル：投げ上げたボール（１秒間に30コマ）"));
}

void ThrowScene::paintRuler(QPainter &painter)
{
    paintMetreRuler(painter, RulerLeft, RulerWidth, RulerZeroY, PixelsPerMetre);
}

void ThrowScene::paintBall(QPainter &painter, QPointF centre)
{
    QRadialGradient shine(centre - QPointF(3, 3), BallRadius * 1.4);
    shine.setColorAt(0, QColor(255, 170, 90));
    shine.setColorAt(1, QColor(230, 70, 10));
    painter.setPen(QPen(QColor(150, 40, 0), 1.0));
    painter.setBrush(shine);
    painter.drawEllipse(centre, BallRadius, BallRadius);
}
