#pragma once
// The axes positions are measured along. The student may set them with two
// clicks: the origin, then any point on the positive x axis; y is x turned a
// quarter turn counter-clockwise as seen on the screen, so it points up when
// x points right. Without a setting the origin is the first point, x points
// right and y up, which is what the results assumed before axes could be set.
//
// The axes are kept in the pixels the points are stored in: with camera-shake
// correction those are the pixels of the frame of point 1, so the axes stay
// fixed to the scene and move with the reference point on the screen.

#include <QPointF>
#include <QString>

struct CoordinateAxes
{
    bool set = false;
    QPointF origin; // stored pixels, Y down
    QPointF xPoint; // a point on the positive x axis

    bool operator==(const CoordinateAxes &other) const
    {
        return set == other.set && (!set || (origin == other.origin && xPoint == other.xPoint));
    }
    bool operator!=(const CoordinateAxes &other) const { return !(*this == other); }
};

// The axes as an origin and two unit directions in pixels (Y down).
struct AxesFrame
{
    QPointF origin;
    QPointF xDirection{1, 0};
    QPointF yDirection{0, -1};

    // Pixels along x and along y of a stored pixel position.
    QPointF toAxes(QPointF pixel) const;
    // The pixel position of a point given in pixels along the axes.
    QPointF toPixels(QPointF along) const;
};

// The frame of set axes, or of the default ones with their origin at
// `firstPoint`.
AxesFrame axesFrame(const CoordinateAxes &axes, QPointF firstPoint);

// Two clicks on one pixel give no direction.
bool axesClicksUsable(QPointF origin, QPointF xPoint);

// The x axis' angle from the horizontal in degrees, counter-clockwise as
// seen, in (-180, 180].
double xAxisAngle(const CoordinateAxes &axes);
// "x軸の傾き　12.3°"
QString xAxisAngleText(const CoordinateAxes &axes);
QString xAxisAngleText(double degrees);
