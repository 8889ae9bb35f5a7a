#include "pendulum_scene.h"

#include "metre_ruler.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <cmath>

const std::vector<double> &PendulumScene::angles()
{
    static const std::vector<double> angles = [] {
        // θ'' = -(g/L) sin θ, by classical Runge–Kutta in steps of 1/3000 s.
        const double k = Gravity / Length;
        const int stepsPerFrame = 100;
        const double h = 1.0 / (FramesPerSecond * stepsPerFrame);
        double theta = Amplitude * M_PI / 180, omega = 0;
        std::vector<double> out;
        for (int f = 0; f < Frames; ++f) {
            out.push_back(theta);
            for (int s = 0; s < stepsPerFrame; ++s) {
                auto accel = [k](double a) { return -k * std::sin(a); };
                const double k1t = omega, k1w = accel(theta);
                const double k2t = omega + h / 2 * k1w, k2w = accel(theta + h / 2 * k1t);
                const double k3t = omega + h / 2 * k2w, k3w = accel(theta + h / 2 * k2t);
                const double k4t = omega + h * k3w, k4w = accel(theta + h * k3t);
                theta += h / 6 * (k1t + 2 * k2t + 2 * k3t + k4t);
                omega += h / 6 * (k1w + 2 * k2w + 2 * k3w + k4w);
            }
        }
        return out;
    }();
    return angles;
}

QPointF PendulumScene::ballCentre(int frame)
{
    const double theta = angles().at(size_t(frame));
    const double r = Length * PixelsPerMetre;
    return {PivotX + r * std::sin(theta), PivotY + r * std::cos(theta)};
}

QImage PendulumScene::frame(int frame)
{
    QImage image(size(), QImage::Format_RGB888);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient wall(0, 0, 0, Height);
    wall.setColorAt(0, QColor(214, 226, 238));
    wall.setColorAt(1, QColor(236, 240, 244));
    painter.fillRect(QRectF(0, 0, Width, Height), wall);

    // The bar the string hangs from.
    painter.setPen(QPen(QColor(60, 60, 70), 1));
    painter.setBrush(QColor(110, 110, 125));
    painter.drawRect(QRectF(PivotX - 120, PivotY - 14, 240, 10));
    painter.drawRect(QRectF(PivotX - 3, PivotY - 6, 6, 8));

    paintMetreRuler(painter, RulerLeft, RulerWidth, RulerZeroY, PixelsPerMetre);

    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPixelSize(14);
    painter.setFont(font);
    painter.setPen(QColor(30, 45, 60));
    painter.drawText(QRectF(120, Height - 26, 500, 20), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("サンプル：振り子（糸の長さ 1 m、１秒間に30コマ）"));

    const QPointF centre = ballCentre(frame);
    painter.setPen(QPen(QColor(40, 40, 40), 1.2));
    painter.drawLine(QPointF(PivotX, PivotY), centre);
    QRadialGradient shine(centre - QPointF(3, 3), BallRadius * 1.4);
    shine.setColorAt(0, QColor(255, 170, 90));
    shine.setColorAt(1, QColor(230, 70, 10));
    painter.setPen(QPen(QColor(150, 40, 0), 1.0));
    painter.setBrush(shine);
    painter.drawEllipse(centre, BallRadius, BallRadius);
    painter.end();
    return image;
}
