#include "base/measurement_state.h"

#include <algorithm>

void MeasurementState::clearPoints()
{
    const int last = std::clamp<int>(PointCount, 0, TableRows - 1);
    for (int r = 0; r <= last; ++r)
        std::fill(std::begin(PointTable[r]), std::end(PointTable[r]), 0);
    PointCount = 0;
    TrackedScores.clear();
    RefLengthPixels = 0;
    Axes = CoordinateAxes{};
}

namespace {

QByteArray pointBytes(const MeasurementState &state)
{
    const int count = std::clamp<int>(state.PointCount, 0, MeasurementState::MaxPoints);
    return QByteArray(reinterpret_cast<const char *>(state.PointTable[1]),
                      qsizetype(count) * qsizetype(sizeof(state.PointTable[1])));
}

} // namespace

bool MeasurementState::hasUnsavedPoints() const
{
    return PointCount > 0 && pointBytes(*this) != WrittenPoints;
}

void MeasurementState::markPointsWritten()
{
    WrittenPoints = pointBytes(*this);
}

MeasurementState &measurementState()
{
    static MeasurementState state;
    return state;
}

void resetMeasurementState()
{
    measurementState() = MeasurementState{};
}
