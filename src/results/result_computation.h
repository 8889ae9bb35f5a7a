#pragma once
// Time, distance and speed from the plotted points. Each result window owns
// one of the result records below and refills it from the measurement on
// every load and re-display; nothing is written back to the measurement.
//
// Precision follows the tables: every table cell is single precision, and
// arithmetic between single-precision cells stays in single precision (so a
// distance of 3.0 over 0.1 s is a speed of 30, not 29). Times and scaled
// lengths are worked out in double precision and then stored as single.

#include "base/measurement_state.h"
#include "datafile/measurement_csv.h"

#include <QString>
#include <array>

namespace results {

// Rows 0..201, columns 0..3, indexed like PointTable.
constexpr int ResultTableRows = MeasurementState::TableRows;
using ResultTable = std::array<std::array<float, 4>, ResultTableRows>;

// Columns of SortedPoints.
enum SortedColumn
{
    SortedNumber = 0,
    SortedFrame = 1,
    SortedX = 2,
    SortedY = 3
};
// Columns of ResultRows, SpeedRows and DistanceRows.
enum RowColumn
{
    RowOrdinal = 1,
    RowTime = 2,
    RowValue = 3
};

// Times and values of a table's rows, as a result window writes them into
// the measurement file (row i on line i).
datafile::TimedValues fileColumns(const ResultTable &rows);

// Why a measurement cannot be turned into results without dividing by zero.
enum class DataProblem
{
    None,
    NoFrameRate, // FrameRate 0, negative or not a number: no times at all
    NoReference, // RefLengthPixels 0: no scale from pixels to the unit
    SameFrame,   // two points on one frame: an interval of no duration
    NotFinite,   // a value grew beyond what single precision holds
};

struct DataCheck
{
    DataProblem problem = DataProblem::None;
    qint32 frame = 0; // the shared frame number for SameFrame
    bool ok() const { return problem == DataProblem::None; }
};

// The message box text for a problem (empty for None).
QString dataProblemMessage(const DataCheck &check);

// Pixel offsets to LengthUnit, cut down to a multiple of 0.1. The caller
// makes sure refLengthPixels is not 0.
float scaledLength(double dx, double dy, float refLengthPixels, double refLengthValue);

// Number of points that take part: PointCount, kept within the table.
int resultPointCount(const MeasurementState &state);

// SortedPoints: rows 1..PointCount of PointTable in ascending frame order by an
// exchange sort (points on equal frames keep their plotting order).
ResultTable sortPoints(const MeasurementState &state);

// Everything that would make the computation divide by zero or leave the
// range of single precision, found before anything is shown.
DataCheck checkResultData(const MeasurementState &state);

// The time-speed window's tables and maxima.
struct SpeedResults
{
    int count = 0; // n, the number of points computed
    ResultTable SortedPoints{};
    ResultTable ResultRows{}; // rows 0..n-1: ordinal, T, D
    ResultTable SpeedRows{};  // rows 0..n-2: ordinal, mid time M, speed V
    float MaxTime = 0;
    float MaxDistance = 0;
    float MaxSpeed = 0;
};

// The time-distance window's tables and maxima.
struct DistanceResults
{
    int count = 0;
    ResultTable SortedPoints{};
    ResultTable DistanceRows{}; // ordinal, time, distance
    float MaxTime = 0;
    float MaxDistance = 0;
};

// Clear the tables and fill them for the current DistanceMethod. On a data
// problem the tables stay cleared and the problem is returned; nothing
// infinite or undefined is ever stored.
DataCheck computeSpeedResults(const MeasurementState &state, SpeedResults &out);
DataCheck computeDistanceResults(const MeasurementState &state, DistanceResults &out);

// Maxima over the filled rows, each starting at 0.
void computeMaxima(SpeedResults &results);
void computeMaxima(DistanceResults &results);

// The summary lines under the preview picture, joined by CR LF.
QString speedSummary(const SpeedResults &results, const QString &unit);
QString distanceSummary(const DistanceResults &results, const QString &unit);

} // namespace results
