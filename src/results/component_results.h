#pragma once
// The components of the velocity and the acceleration: for every interval
// between two consecutive points (in frame order) its middle time and the
// horizontal and vertical velocity, with x to the right and y up, in
// LengthUnit per second; along x and y when the student has set axes. A straight line fitted by
// least squares through each component against time gives the acceleration as its slope.
//
// Everything is worked out in double precision from the stored whole-pixel
// points; nothing is cut down as the distances of the other windows are,
// since a component changes sign and the fit needs the decimals.

#include "results/result_computation.h"
#include "results/table_export.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace results {

struct ComponentRow
{
    double time = 0; // the interval's middle, from the first point, in seconds
    double vx = 0;   // to the right
    double vy = 0;   // upwards
};

// A least-squares line v = intercept + slope * t. Valid with three or more
// values (the slope's standard error needs one value more than the line).
struct LineFit
{
    bool valid = false;
    double slope = 0;
    double intercept = 0;
    double slopeError = 0; // standard error of the slope
};

LineFit fitLine(const std::vector<double> &t, const std::vector<double> &v);

struct ComponentResults
{
    int count = 0; // points computed
    std::vector<ComponentRow> rows;
    LineFit horizontal;
    LineFit vertical;
    double meanVx = 0;    // the whole horizontal displacement over the whole time
    bool axesSet = false; // along the student's axes: "x方向" and "y方向"
};

// On a data problem (no frame rate, no reference, two points on one frame)
// the results stay empty and the problem is returned.
DataCheck computeComponentResults(const MeasurementState &state, ComponentResults &out);

// The summary lines, joined by CR LF.
QString componentSummary(const ComponentResults &results, const QString &unit);

// Row captions of the table: "時　間 (秒)", "水平 (cm/秒)", "鉛直 (cm/秒)";
// "x方向" and "y方向" in place of 水平 and 鉛直 along set axes.
QStringList componentHeaders(const QString &unit, bool axesSet = false);
// "水平" and "鉛直", or "x方向" and "y方向".
QStringList componentNames(bool axesSet);

// The texts of one interval as the table shows them: time "0.000",
// velocities signed with one decimal.
QStringList componentCells(const ComponentRow &row);

// The table for a spreadsheet (copy, and "表をCSVで書き出す"): the header
// row, then one row per interval. The time has up to seven significant
// digits there, so that a fit in the spreadsheet matches the window's even
// at high capture rates; the velocities are as shown.
TextTable componentTable(const ComponentResults &results, const QString &unit);

} // namespace results
