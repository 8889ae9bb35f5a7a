#pragma once
// Setting the axes on the picture: the first click is the origin, the second
// any point on the positive x axis. While the second is awaited a band
// follows the mouse from the origin. Set axes are drawn as thin lines across
// the picture, x and y at their positive ends, with the x axis' angle.
//
// Clicks are taken on the frame on show. With camera-shake correction the
// points are stored in the pixels of point 1's frame; a frame whose picture
// has moved since is offset by its reference point's move, so the axes are
// stored where they lie in the scene and drawn moved along with it.

#include "base/coordinate_axes.h"

#include <QLineF>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QtGlobal>
#include <optional>

class QPainter;
struct MeasurementState;

class AxesSetting
{
public:
    enum class Click
    {
        Origin,   // the origin is down; the x axis' point is awaited
        Set,      // both are down: the axes are set
        SamePixel // the second click on the origin's pixel: refused
    };
    // `offset`: how far the picture on show lies from the stored pixels.
    Click click(QPointF position, QPointF offset, CoordinateAxes &axes);
    void mouseMoved(QPointF position);
    // The setting ends without new axes.
    void cancel();
    bool originDown() const { return m_origin.has_value(); }

    // How far the frame's picture lies from the stored pixels: the move of
    // the reference point of the frame's point since point 1, with the
    // correction on and a point on the frame; nothing otherwise.
    static QPointF shakeOffset(const MeasurementState &state, qint32 frame, bool shakeOn);

    // The origin's dot and the band while setting.
    void paintSetting(QPainter &painter) const;
    // Set axes across a picture of `size`, moved by `offset`.
    static void paintAxes(QPainter &painter, const CoordinateAxes &axes, QPointF offset,
                          QSizeF size);

    static QString samePixelMessage();

private:
    std::optional<QPointF> m_origin; // stored pixels
    QPointF m_originShown;           // as clicked, on the picture
    std::optional<QLineF> m_band;
};
