#pragma once
// The position of every point along the axes (base/coordinate_axes.h), in
// LengthUnit, against its time from the first point, and the fits the
// student chose for x and for y over the points chosen in the table.

#include "results/motion_fits.h"
#include "results/result_computation.h"
#include "results/table_export.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace results {

struct PositionRow
{
    double time = 0; // from the first point, in seconds
    double x = 0;
    double y = 0;
};

struct PositionResults
{
    int count = 0;
    bool axesSet = false; // the student's axes, not the default ones
    std::vector<PositionRow> rows;
};

// On a data problem (no frame rate, no reference, two points on one frame)
// the results stay empty and the problem is returned.
DataCheck computePositionResults(const MeasurementState &state, PositionResults &out);

// The fits of x and of y over rows first..last (every row when first < 0).
struct PositionFits
{
    MotionFit x;
    MotionFit y;
};
PositionFits fitPositions(const PositionResults &results, FitModel xModel, FitModel yModel,
                          int first = -1, int last = -1);

// The summary: the fitted coordinates' lines, x first; a hint when neither
// is fitted.
QString positionSummary(const PositionFits &fits, const QString &unit);

// "時　間 (秒)", "x (cm)", "y (cm)".
QStringList positionHeaders(const QString &unit);
// Time "0.000", x and y signed with one decimal.
QStringList positionCells(const PositionRow &row);
// For a spreadsheet: the header, then a row per point, the time with up to
// seven significant digits, x and y as shown.
TextTable positionTable(const PositionResults &results, const QString &unit);

// The choices of the fit boxes, in order: なし / 直線 / 放物線 / 振動.
QStringList fitModelNames();

} // namespace results
