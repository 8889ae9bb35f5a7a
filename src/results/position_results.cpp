#include "results/position_results.h"

#include "base/numbers.h"

#include <cmath>

namespace results {

DataCheck computePositionResults(const MeasurementState &state, PositionResults &out)
{
    out = PositionResults{};
    const DataCheck check = checkResultData(state);
    if (!check.ok())
        return check;
    const int n = resultPointCount(state);
    const ResultTable sorted = sortPoints(state);
    const QPointF first(sorted[0][SortedX], sorted[0][SortedY]);
    const AxesFrame axes = axesFrame(state.Axes, first);
    const double unitsPerPixel = double(state.RefLengthValue) / double(state.RefLengthPixels);
    out.count = n;
    out.axesSet = state.Axes.set;
    for (int k = 0; k < n; ++k) {
        const QPointF along = axes.toAxes(QPointF(sorted[k][SortedX], sorted[k][SortedY]));
        PositionRow row;
        row.time =
            (double(sorted[k][SortedFrame]) - double(sorted[0][SortedFrame])) / state.FrameRate;
        row.x = along.x() * unitsPerPixel;
        row.y = along.y() * unitsPerPixel;
        if (!std::isfinite(row.time) || !std::isfinite(row.x) || !std::isfinite(row.y)) {
            out = PositionResults{};
            return {DataProblem::NotFinite, 0};
        }
        out.rows.push_back(row);
    }
    return {};
}

PositionFits fitPositions(const PositionResults &results, FitModel xModel, FitModel yModel,
                          int first, int last)
{
    const int rows = int(results.rows.size());
    if (first < 0 || last < first) {
        first = 0;
        last = rows - 1;
    }
    last = std::min(last, rows - 1);
    std::vector<double> t, x, y;
    for (int i = std::max(first, 0); i <= last; ++i) {
        t.push_back(results.rows[size_t(i)].time);
        x.push_back(results.rows[size_t(i)].x);
        y.push_back(results.rows[size_t(i)].y);
    }
    return {fitMotion(xModel, t, x), fitMotion(yModel, t, y)};
}

QString positionSummary(const PositionFits &fits, const QString &unit)
{
    QStringList parts;
    for (const auto &[fit, name] :
         {std::pair{&fits.x, QStringLiteral("x")}, std::pair{&fits.y, QStringLiteral("y")}}) {
        const QString text = fitSummary(*fit, name, unit);
        if (!text.isEmpty())
            parts << text;
    }
    if (parts.isEmpty())
        return QStringLiteral("  「近似」で、x と y に直線・放物線・振動の式を当てはめられます。");
    return parts.join(QStringLiteral("\r\n"));
}

QStringList positionHeaders(const QString &unit)
{
    return {QStringLiteral("時　間 (秒)"), QStringLiteral("x (") + unit + QStringLiteral(")"),
            QStringLiteral("y (") + unit + QStringLiteral(")")};
}

QStringList positionCells(const PositionRow &row)
{
    return {num::fixed3(row.time), num::fixed1(row.x), num::fixed1(row.y)};
}

TextTable positionTable(const PositionResults &results, const QString &unit)
{
    TextTable table{positionHeaders(unit)};
    for (const PositionRow &row : results.rows)
        table.append({num::numberText(float(row.time)), num::fixed1(row.x), num::fixed1(row.y)});
    return table;
}

QStringList fitModelNames()
{
    return {QStringLiteral("なし"), QStringLiteral("直線"), QStringLiteral("放物線"),
            QStringLiteral("振動")};
}

} // namespace results
