#include "results/result_table_text.h"

#include "base/numbers.h"

namespace results {

namespace {

QString span(const SpeedResults &r, int interval)
{
    return num::fixed2(r.ResultRows[interval][RowTime]) + QLatin1Char('-') +
           num::fixed2(r.ResultRows[interval + 1][RowTime]);
}

TableColumn intervalColumn(const SpeedResults &r, int interval)
{
    return {span(r, interval), num::numberText(r.SpeedRows[interval][RowValue]), {}};
}

TableColumn rowColumn(const DistanceResults &r, int row)
{
    return {
        num::fixed2(r.DistanceRows[row][RowTime]), num::fixed1(r.DistanceRows[row][RowValue]), {}};
}

} // namespace

TablePage speedTablePage(const SpeedResults &results, int first)
{
    // Columns are read only up to the last computed interval, whatever the
    // measurement has become since.
    const int intervals = results.count - 1;
    TablePage page;
    if (first == 0) {
        if (intervals >= 1)
            page[0] = {QStringLiteral("0-") + num::fixed2(results.ResultRows[1][RowTime]),
                       num::numberText(results.SpeedRows[0][RowValue]),
                       {}};
    } else if (first >= 0 && first < intervals) {
        page[0] = intervalColumn(results, first);
    }
    for (int c = 1; c < TableColumns; ++c)
        if (first >= 0 && c < intervals - first)
            page[c] = intervalColumn(results, first + c);
    return page;
}

TablePage distanceTablePage(const DistanceResults &results, int first)
{
    const int rows = results.count;
    TablePage page;
    if (first == 0)
        page[0] = {QStringLiteral("0"), QStringLiteral("0"), {}};
    else if (first > 0 && first < rows)
        page[0] = rowColumn(results, first);
    for (int c = 1; c < TableColumns; ++c)
        if (first >= 0 && c < rows - first)
            page[c] = rowColumn(results, first + c);
    return page;
}

TextTable speedCopyTable(const SpeedResults &results, const QString &unit)
{
    TextTable table{{QStringLiteral("時　間 (秒)"),
                     QStringLiteral("速　さ (") + unit + QStringLiteral("/秒)")}};
    for (int l = 0; l + 1 < results.count; ++l)
        table.append({num::numberText(results.SpeedRows[l][RowTime]),
                      num::numberText(results.SpeedRows[l][RowValue])});
    return table;
}

TextTable distanceCopyTable(const DistanceResults &results, int distanceMethod, const QString &unit)
{
    const int rows = distanceMethod == 2 ? results.count - 1 : results.count;
    TextTable table{
        {QStringLiteral("時　間 (秒)"), QStringLiteral("移動距離 (") + unit + QStringLiteral(")")}};
    for (int k = 0; k < rows; ++k)
        table.append({num::numberText(results.DistanceRows[k][RowTime]),
                      num::fixed1(results.DistanceRows[k][RowValue])});
    return table;
}

int speedScrollMaximum(int pointCount)
{
    return pointCount > 20 ? pointCount - 21 : 1;
}

int distanceScrollMaximum(int pointCount)
{
    return pointCount >= 20 ? pointCount - 20 : 1;
}

} // namespace results
