#include "base/measurement_state.h"

#include <algorithm>

void MeasurementState::clearPoints()
{
    const int last = std::clamp<int>(PointCount, 0, TableRows - 1);
    for (int r = 0; r <= last; ++r)
        std::fill(std::begin(PointTable[r]), std::end(PointTable[r]), 0);
    PointCount = 0;
    RefLengthPixels = 0;
    Axes = CoordinateAxes{};
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
