#include "base/coordinate_axes.h"

#include "base/numbers.h"

#include <cmath>

QPointF AxesFrame::toAxes(QPointF pixel) const
{
    const QPointF d = pixel - origin;
    return {QPointF::dotProduct(d, xDirection), QPointF::dotProduct(d, yDirection)};
}

QPointF AxesFrame::toPixels(QPointF along) const
{
    return origin + along.x() * xDirection + along.y() * yDirection;
}

AxesFrame axesFrame(const CoordinateAxes &axes, QPointF firstPoint)
{
    AxesFrame frame;
    if (!axes.set || !axesClicksUsable(axes.origin, axes.xPoint)) {
        frame.origin = firstPoint;
        return frame;
    }
    const QPointF d = axes.xPoint - axes.origin;
    const double length = std::hypot(d.x(), d.y());
    frame.origin = axes.origin;
    frame.xDirection = d / length;
    // A quarter turn counter-clockwise on a screen whose Y grows downwards.
    frame.yDirection = QPointF(frame.xDirection.y(), -frame.xDirection.x());
    return frame;
}

bool axesClicksUsable(QPointF origin, QPointF xPoint)
{
    return std::floor(origin.x()) != std::floor(xPoint.x()) ||
           std::floor(origin.y()) != std::floor(xPoint.y());
}

double xAxisAngle(const CoordinateAxes &axes)
{
    if (!axes.set)
        return 0;
    const QPointF d = axes.xPoint - axes.origin;
    const double degrees = std::atan2(-d.y(), d.x()) * 180.0 / M_PI;
    return degrees == -180 ? 180 : degrees;
}

QString xAxisAngleText(const CoordinateAxes &axes)
{
    return xAxisAngleText(xAxisAngle(axes));
}

QString xAxisAngleText(double degrees)
{
    return QStringLiteral("x軸の傾き　") + num::fixed1(degrees) + QStringLiteral("°");
}
