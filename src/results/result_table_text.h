#pragma once
// The captions of the paged result tables: twenty columns, each a time (or
// time span) over a value, starting at the first row shown.

#include "results/result_computation.h"
#include "results/table_export.h"

#include <QString>
#include <array>

namespace results {

constexpr int TableColumns = 20;

struct TableColumn
{
    QString time;   // Labelx(c)
    QString value;  // Labely(c)
    QString value2; // Labelz(c), in a table of two values
};
using TablePage = std::array<TableColumn, TableColumns>;

// The time-speed table from interval `first` on: the span of each interval
// ("0-0.10" for the very first, "0.10-0.20" for the others) over its speed.
TablePage speedTablePage(const SpeedResults &results, int first);

// The time-distance table from row `first` on: the row's time ("0.00") over
// its distance ("0.0"); the first page starts with "0" over "0".
TablePage distanceTablePage(const DistanceResults &results, int first);

// The tables for a spreadsheet: the header row, then one row per interval
// (its mid time and speed) or per row (its time and distance), the time with
// up to seven significant digits, the value as the table shows it.
TextTable speedCopyTable(const SpeedResults &results, const QString &unit);
// Under DistanceMethod 2 the distance table has one row per interval.
TextTable distanceCopyTable(const DistanceResults &results, int distanceMethod,
                            const QString &unit);

// Largest value of the table's scroll bar for a number of points, so that
// the last page ends at the last interval (speed) or the last point (distance).
int speedScrollMaximum(int pointCount);
int distanceScrollMaximum(int pointCount);

} // namespace results
