#pragma once
// Where automatic tracking picks the object up: the plotted point on the
// frame on show, or else on the frame one plotting interval before it, and
// the latest whole point on an earlier frame (for the first step's
// prediction). With camera-shake correction on, a point counts only with its
// reference point.

#include <QPointF>
#include <QtGlobal>
#include <optional>

struct MeasurementState;

// A plotted point as it stands on its own frame.
struct TrackedPosition
{
    qint32 frame = 0;
    QPointF object;    // preview pixels, where it was clicked on its frame
    QPointF reference; // camera-shake reference point (correction on)
};

struct TrackingStart
{
    TrackedPosition from;
    std::optional<TrackedPosition> before;
    // The point is on the frame on show (otherwise on the frame one plotting
    // interval before it, and the frame on show is the first to follow).
    bool onFrameShown = true;
};

// `shown`: the frame on show; `intervalBack`: the frame one plotting
// interval before it (equal to `shown` at the start of the video).
std::optional<TrackingStart> trackingStartFor(const MeasurementState &measurement, qint32 shown,
                                              qint32 intervalBack, bool shakeCorrection);
