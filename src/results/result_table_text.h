#pragma once
// The captions of the paged result tables: twenty columns, each a time (or
// time span) over a value, starting at the first row shown.

#include "results/result_computation.h"

#include <QString>
#include <array>

namespace results {

constexpr int TableColumns = 20;

struct TableColumn
{
    QString time;  // Labelx(c)
    QString value; // Labely(c)
};
using TablePage = std::array<TableColumn, TableColumns>;

// The time-speed table from interval `first` on: the span of each interval
// ("0-0.10" for the very first, "0.10-0.20" for the others) over its speed.
TablePage speedTablePage(const SpeedResults &results, int first);

// The time-distance table from row `first` on: the row's time ("0.00") over
// its distance ("0.0"); the first page starts with "0" over "0".
TablePage distanceTablePage(const DistanceResults &results, int first);

// Largest value of the table's scroll bar for a number of points, so that
// the last page ends at the last interval (speed) or the last point (distance).
int speedScrollMaximum(int pointCount);
int distanceScrollMaximum(int pointCount);

} // namespace results
