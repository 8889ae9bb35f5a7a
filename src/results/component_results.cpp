#include "results/component_results.h"

#include "base/numbers.h"

#include <algorithm>
#include <cmath>

namespace results {

namespace {

const QString CrLf = QStringLiteral("\r\n");

double mean(const std::vector<double> &values)
{
    double sum = 0;
    for (double v : values)
        sum += v;
    return sum / double(values.size());
}

bool allFinite(const ComponentResults &r)
{
    for (const ComponentRow &row : r.rows)
        if (!std::isfinite(row.time) || !std::isfinite(row.vx) || !std::isfinite(row.vy))
            return false;
    return std::isfinite(r.meanVx);
}

QString accelerationLine(const QString &lead, const LineFit &fit, const QString &unit)
{
    return lead + num::significantText(fit.slope, 3) + QStringLiteral("　") + unit +
           QStringLiteral("/秒²（±") + num::significantText(fit.slopeError, 2) +
           QStringLiteral("）です。");
}

} // namespace

LineFit fitLine(const std::vector<double> &t, const std::vector<double> &v)
{
    LineFit fit;
    const size_t n = t.size();
    if (n < 3 || v.size() != n)
        return fit;
    const double tMean = mean(t);
    const double vMean = mean(v);
    double stt = 0, stv = 0;
    for (size_t i = 0; i < n; ++i) {
        stt += (t[i] - tMean) * (t[i] - tMean);
        stv += (t[i] - tMean) * (v[i] - vMean);
    }
    if (!(stt > 0))
        return fit;
    fit.slope = stv / stt;
    fit.intercept = vMean - fit.slope * tMean;
    double residuals = 0;
    for (size_t i = 0; i < n; ++i) {
        const double r = v[i] - (fit.intercept + fit.slope * t[i]);
        residuals += r * r;
    }
    fit.slopeError = std::sqrt(residuals / double(n - 2) / stt);
    // What is left of an exact zero after rounding (1e-14 of the values) is
    // shown as zero, not as a number of fifteen places.
    double largest = 0;
    for (double value : v)
        largest = std::max(largest, std::fabs(value));
    const double noise = 1e-9 * largest / std::sqrt(stt);
    for (double *value : {&fit.slope, &fit.slopeError})
        if (std::fabs(*value) < noise)
            *value = 0;
    fit.valid = true;
    return fit;
}

DataCheck computeComponentResults(const MeasurementState &state, ComponentResults &out)
{
    out = ComponentResults{};
    const DataCheck check = checkResultData(state);
    if (!check.ok())
        return check;
    const int n = resultPointCount(state);
    const ResultTable sorted = sortPoints(state);
    // Pixels over frames to LengthUnit per second, as one quotient of the
    // stored whole numbers, so that even steps give exactly even velocities.
    // The picture's Y grows downwards, the result's upwards.
    const double scale = double(state.RefLengthValue) * state.FrameRate;
    // Along set axes the pixel steps are taken along their directions.
    const AxesFrame axes = axesFrame(state.Axes, QPointF());
    auto velocity = [&](int from, int to, int column) {
        double pixels = double(sorted[to][column]) - double(sorted[from][column]);
        if (state.Axes.set) {
            const QPointF step(double(sorted[to][SortedX]) - double(sorted[from][SortedX]),
                               double(sorted[to][SortedY]) - double(sorted[from][SortedY]));
            // Y down in the picture, so the y velocity is negated below again.
            pixels = column == SortedX ? QPointF::dotProduct(step, axes.xDirection)
                                       : -QPointF::dotProduct(step, axes.yDirection);
        }
        const double frames = double(sorted[to][SortedFrame]) - double(sorted[from][SortedFrame]);
        return pixels * scale / (double(state.RefLengthPixels) * frames);
    };
    const double first = sorted[0][SortedFrame];

    out.count = n;
    out.axesSet = state.Axes.set;
    std::vector<double> times, vx, vy;
    for (int l = 0; l + 1 < n; ++l) {
        ComponentRow row;
        row.time =
            (double(sorted[l][SortedFrame]) + double(sorted[l + 1][SortedFrame]) - 2 * first) /
            (2 * state.FrameRate);
        row.vx = velocity(l, l + 1, SortedX);
        row.vy = -velocity(l, l + 1, SortedY);
        out.rows.push_back(row);
        times.push_back(row.time);
        vx.push_back(row.vx);
        vy.push_back(row.vy);
    }
    if (n >= 2)
        out.meanVx = velocity(0, n - 1, SortedX);
    out.horizontal = fitLine(times, vx);
    out.vertical = fitLine(times, vy);

    if (!allFinite(out)) {
        out = ComponentResults{};
        return {DataProblem::NotFinite, 0};
    }
    return {};
}

QString componentSummary(const ComponentResults &results, const QString &unit)
{
    QString text;
    const QStringList names = results.axesSet
                                  ? QStringList{QStringLiteral("x"), QStringLiteral("y")}
                                  : componentNames(false);
    if (results.horizontal.valid && results.vertical.valid) {
        text = accelerationLine(QStringLiteral(" %1方向の加速度は　").arg(names[0]),
                                results.horizontal, unit) +
               CrLf +
               accelerationLine(QStringLiteral("  %1方向の加速度は　").arg(names[1]),
                                results.vertical, unit);
    } else {
        text = QStringLiteral("  加速度を求めるには、打点が４点以上必要です。");
    }
    return text + CrLf + QStringLiteral("  %1方向の速さの平均は　").arg(names[0]) +
           num::significantText(results.meanVx, 3) + QStringLiteral("　") + unit +
           QStringLiteral("/秒です。");
}

QStringList componentNames(bool axesSet)
{
    if (axesSet)
        return {QStringLiteral("x方向"), QStringLiteral("y方向")};
    return {QStringLiteral("水平"), QStringLiteral("鉛直")};
}

QStringList componentHeaders(const QString &unit, bool axesSet)
{
    const QStringList names = componentNames(axesSet);
    return {QStringLiteral("時　間 (秒)"),
            names[0] + QStringLiteral(" (") + unit + QStringLiteral("/秒)"),
            names[1] + QStringLiteral(" (") + unit + QStringLiteral("/秒)")};
}

QStringList componentCells(const ComponentRow &row)
{
    return {num::fixed3(row.time), num::fixed1(row.vx), num::fixed1(row.vy)};
}

TextTable componentTable(const ComponentResults &results, const QString &unit)
{
    TextTable table{componentHeaders(unit, results.axesSet)};
    for (const ComponentRow &row : results.rows)
        table.append({num::numberText(float(row.time)), num::fixed1(row.vx), num::fixed1(row.vy)});
    return table;
}

} // namespace results
