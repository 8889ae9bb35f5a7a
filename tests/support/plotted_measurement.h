#pragma once
// A measurement made from points as a student plots them, for the tests of
// the result computations.

#include "base/measurement_state.h"

#include <vector>

struct PlottedPoint
{
    int frame;
    int x;
    int y;
    int refX = 0; // camera-shake reference as clicked
    int refY = 0;
};

// The points numbered 1, 2, ... in the given order; `refPixels` pixels are
// `refValue` cm.
MeasurementState plottedMeasurement(const std::vector<PlottedPoint> &points, double frameRate = 30,
                                    float refPixels = 10, qint16 refValue = 1,
                                    qint16 distanceMethod = 0);
