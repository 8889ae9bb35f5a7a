#include "plotted_measurement.h"

MeasurementState plottedMeasurement(const std::vector<PlottedPoint> &points, double frameRate,
                                    float refPixels, qint16 refValue, qint16 distanceMethod)
{
    MeasurementState s;
    s.FrameRate = frameRate;
    s.RefLengthPixels = refPixels;
    s.RefLengthValue = refValue;
    s.DistanceMethod = distanceMethod;
    s.LengthUnit = QStringLiteral("cm");
    for (size_t i = 0; i < points.size(); ++i) {
        const PlottedPoint &p = points[i];
        const int r = int(i) + 1;
        s.PointTable[r][0] = r;
        s.PointTable[r][1] = p.frame;
        s.PointTable[r][2] = p.x;
        s.PointTable[r][3] = p.y;
        s.PointTable[r][4] = p.refX;
        s.PointTable[r][5] = p.refY;
    }
    s.PointCount = qint16(points.size());
    return s;
}
