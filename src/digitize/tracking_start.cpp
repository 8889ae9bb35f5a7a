#include "digitize/tracking_start.h"

#include "base/measurement_state.h"
#include "digitize/marker_set.h"
#include "digitize/point_plotter.h"

using MS = MeasurementState;

std::optional<TrackingStart> trackingStartFor(const MeasurementState &measurement, qint32 shown,
                                              qint32 intervalBack, bool shakeCorrection)
{
    const auto whole = [&](int point) {
        if (point < 1 || point > measurement.PointCount)
            return false;
        const auto &row = measurement.PointTable[point];
        return !shakeCorrection || row[MS::ColRefX] != 0 || row[MS::ColRefY] != 0;
    };
    const auto position = [&](int point) {
        return TrackedPosition{measurement.PointTable[point][MS::ColFrame],
                               MarkerSet::displayedPosition(measurement, point, shakeCorrection),
                               MarkerSet::referencePosition(measurement, point)};
    };

    TrackingStart start;
    int point = PointPlotter::pointOnFrame(measurement, shown);
    if (point == 0) {
        if (intervalBack < shown)
            point = PointPlotter::pointOnFrame(measurement, intervalBack);
        start.onFrameShown = false;
    }
    if (!whole(point))
        return std::nullopt;
    start.from = position(point);
    int before = 0;
    for (int row = 1; row <= measurement.PointCount; ++row) {
        const qint32 frame = measurement.PointTable[row][MS::ColFrame];
        if (frame < start.from.frame && whole(row) &&
            (before == 0 || frame > measurement.PointTable[before][MS::ColFrame]))
            before = row;
    }
    if (before != 0)
        start.before = position(before);
    return start;
}
