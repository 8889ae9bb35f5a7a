#include "results/result_computation.h"

#include "base/numbers.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace results {

namespace {

const QString CrLf = QStringLiteral("\r\n");

struct WorkEntry
{
    qint32 frame;
    int row; // the PointTable row the entry came from
};

// Times from the first point: T(k) = (frame k - frame 0) / FrameRate, worked
// out in double precision, stored in single.
float timeFromFirst(const ResultTable &sorted, int k, double frameRate)
{
    const double frames = double(sorted[k][SortedFrame]) - double(sorted[0][SortedFrame]);
    return float(frames / frameRate);
}

float segmentLength(const MeasurementState &state, const ResultTable &sorted, int from, int to)
{
    // Pixel differences of single-precision cells, taken in single precision.
    const float dx = sorted[to][SortedX] - sorted[from][SortedX];
    const float dy = sorted[to][SortedY] - sorted[from][SortedY];
    return scaledLength(dx, dy, state.RefLengthPixels, state.RefLengthValue);
}

// ResultRows (and DistanceRows under methods 0 and 1): ordinal, T, D.
void fillPointRows(const MeasurementState &state, const ResultTable &sorted, int n,
                   ResultTable &rows)
{
    if (n <= 0)
        return;
    rows[0][RowOrdinal] = 0;
    rows[0][RowTime] = 0;
    rows[0][RowValue] = 0;
    for (int k = 1; k < n; ++k) {
        rows[k][RowOrdinal] = float(k);
        rows[k][RowTime] = timeFromFirst(sorted, k, state.FrameRate);
        switch (state.DistanceMethod) {
        case 0: // running sum of segments, each cut to 0.1 before adding
            rows[k][RowValue] = rows[k - 1][RowValue] + segmentLength(state, sorted, k - 1, k);
            break;
        case 1: // straight distance from the first point
            rows[k][RowValue] = segmentLength(state, sorted, 0, k);
            break;
        case 2: // the interval that ends at point k, not summed
            rows[k][RowValue] = segmentLength(state, sorted, k - 1, k);
            break;
        default:
            break;
        }
    }
}

bool allFinite(const ResultTable &table)
{
    for (const auto &row : table)
        for (float cell : row)
            if (!std::isfinite(cell))
                return false;
    return true;
}

float maxOver(const ResultTable &table, int column, int rows)
{
    float best = 0;
    for (int r = 0; r < rows; ++r)
        if (table[r][column] > best)
            best = table[r][column];
    return best;
}

} // namespace

QString dataProblemMessage(const DataCheck &check)
{
    switch (check.problem) {
    case DataProblem::None:
        return {};
    case DataProblem::NoFrameRate:
        return QStringLiteral(
                   "映像のコマ数（フレームレート）が分からないため、時間を計算できません。") +
               CrLf + QStringLiteral("映像を開き直すか、データを読み込み直してください。");
    case DataProblem::NoReference:
        return QStringLiteral("「長さの基準」が決まっていないため、距離を計算できません。") + CrLf +
               QStringLiteral("「設定」ボタンを押し、基準となる長さを決めてください。");
    case DataProblem::SameFrame:
        return QStringLiteral("同じコマ（%1）に２つ以上の点が記録されているため、")
                   .arg(check.frame) +
               CrLf + QStringLiteral("結果を計算できません。点を打ち直してください。");
    case DataProblem::NotFinite:
        return QStringLiteral("計算結果の値が大きすぎるため、結果を表示できません。") + CrLf +
               QStringLiteral("「長さの基準」を確かめてください。");
    }
    return {};
}

float scaledLength(double dx, double dy, float refLengthPixels, double refLengthValue)
{
    const double pixels = std::sqrt(dx * dx + dy * dy);
    const double value = pixels / double(refLengthPixels) * refLengthValue * 10.0;
    return float(std::floor(value) / 10.0);
}

int resultPointCount(const MeasurementState &state)
{
    return std::clamp<int>(state.PointCount, 0, MeasurementState::TableRows - 1);
}

ResultTable sortPoints(const MeasurementState &state)
{
    const int n = resultPointCount(state);
    std::vector<WorkEntry> work;
    work.reserve(n);
    for (int r = 1; r <= n; ++r)
        work.push_back({state.PointTable[r][MeasurementState::ColFrame], r});

    // Exchange sort: equal frames are never swapped.
    for (int i = 0; i + 1 < n; ++i)
        for (int j = i + 1; j < n; ++j)
            if (work[j].frame < work[i].frame)
                std::swap(work[i], work[j]);

    // The entry carries its own row, so point numbers that are not 1..n (a
    // hand-edited file) cannot send the copy outside the table.
    ResultTable sorted{};
    for (int j = 0; j < n; ++j) {
        const auto &row = state.PointTable[work[j].row];
        sorted[j][SortedNumber] = float(row[MeasurementState::ColNumber]);
        sorted[j][SortedFrame] = float(row[MeasurementState::ColFrame]);
        sorted[j][SortedX] = float(row[MeasurementState::ColX]);
        sorted[j][SortedY] = float(row[MeasurementState::ColY]);
    }
    return sorted;
}

DataCheck checkResultData(const MeasurementState &state)
{
    if (!(state.FrameRate > 0) || !std::isfinite(state.FrameRate))
        return {DataProblem::NoFrameRate, 0};
    if (state.RefLengthPixels == 0 || !std::isfinite(state.RefLengthPixels))
        return {DataProblem::NoReference, 0};
    const int n = resultPointCount(state);
    const ResultTable sorted = sortPoints(state);
    for (int k = 1; k < n; ++k) {
        // Compared as stored, in single precision: frames that only differ
        // beyond its range would still make an interval of no duration.
        if (sorted[k][SortedFrame] == sorted[k - 1][SortedFrame])
            return {DataProblem::SameFrame, qint32(sorted[k][SortedFrame])};
    }
    return {};
}

DataCheck computeSpeedResults(const MeasurementState &state, SpeedResults &out)
{
    out = SpeedResults{};
    const DataCheck check = checkResultData(state);
    if (!check.ok())
        return check;
    const int n = resultPointCount(state);
    out.count = n;
    out.SortedPoints = sortPoints(state);
    if (state.DistanceMethod < 0 || state.DistanceMethod > 2)
        return {};
    fillPointRows(state, out.SortedPoints, n, out.ResultRows);

    for (int l = 0; l + 1 < n; ++l) {
        const auto &a = out.ResultRows[l];
        const auto &b = out.ResultRows[l + 1];
        auto &row = out.SpeedRows[l];
        row[RowOrdinal] = float(l);
        row[RowTime] = (a[RowTime] + b[RowTime]) / 2.0f;
        const float dd = state.DistanceMethod == 2 ? b[RowValue] : b[RowValue] - a[RowValue];
        const float dt = b[RowTime] - a[RowTime];
        if (!(dt > 0)) {
            const auto frame = qint32(out.SortedPoints[l][SortedFrame]);
            out = SpeedResults{};
            return {DataProblem::SameFrame, frame};
        }
        // Floor before the absolute value: -3.2 gives 4, 3.8 gives 3.
        row[RowValue] = std::fabs(std::floor(dd / dt));
    }

    if (!allFinite(out.ResultRows) || !allFinite(out.SpeedRows)) {
        out = SpeedResults{};
        return {DataProblem::NotFinite, 0};
    }
    return {};
}

DataCheck computeDistanceResults(const MeasurementState &state, DistanceResults &out)
{
    out = DistanceResults{};
    const DataCheck check = checkResultData(state);
    if (!check.ok())
        return check;
    const int n = resultPointCount(state);
    out.count = n;
    out.SortedPoints = sortPoints(state);

    switch (state.DistanceMethod) {
    case 0:
    case 1:
        fillPointRows(state, out.SortedPoints, n, out.DistanceRows);
        break;
    case 2:
        // One row per interval; its time is the interval's middle counted
        // from frame 0 of the video. The last row stays cleared.
        for (int k = 0; k + 1 < n; ++k) {
            const float middle =
                (out.SortedPoints[k][SortedFrame] + out.SortedPoints[k + 1][SortedFrame]) / 2.0f;
            out.DistanceRows[k][RowOrdinal] = float(k);
            out.DistanceRows[k][RowTime] = float(double(middle) / state.FrameRate);
            out.DistanceRows[k][RowValue] = segmentLength(state, out.SortedPoints, k, k + 1);
        }
        break;
    default:
        break;
    }

    if (!allFinite(out.DistanceRows)) {
        out = DistanceResults{};
        return {DataProblem::NotFinite, 0};
    }
    return {};
}

void computeMaxima(SpeedResults &results)
{
    results.MaxTime = maxOver(results.ResultRows, RowTime, results.count);
    results.MaxDistance = maxOver(results.ResultRows, RowValue, results.count);
    results.MaxSpeed = maxOver(results.SpeedRows, RowValue, std::max(0, results.count - 1));
}

void computeMaxima(DistanceResults &results)
{
    // Rows 0..n: row n is always cleared, so it never raises a maximum.
    const int rows = std::min(results.count + 1, ResultTableRows);
    results.MaxTime = maxOver(results.DistanceRows, RowTime, rows);
    results.MaxDistance = maxOver(results.DistanceRows, RowValue, rows);
}

QString speedSummary(const SpeedResults &results, const QString &unit)
{
    return QStringLiteral(" 記録時間は　") + num::numberText(results.MaxTime) +
           QStringLiteral("　秒です。") + CrLf + QStringLiteral("  最大距離は　") +
           num::numberText(results.MaxDistance) + QStringLiteral("　") + unit +
           QStringLiteral("です。") + CrLf + QStringLiteral("  最高速度は　") +
           num::numberText(results.MaxSpeed) + QStringLiteral("　") + unit +
           QStringLiteral("/秒です。");
}

QString distanceSummary(const DistanceResults &results, const QString &unit)
{
    return QStringLiteral(" 記録時間は　") + num::numberText(results.MaxTime) +
           QStringLiteral("　秒です。") + CrLf + QStringLiteral("  最大距離は　") +
           num::numberText(results.MaxDistance) + QStringLiteral("　") + unit +
           QStringLiteral("です。");
}

datafile::TimedValues fileColumns(const ResultTable &rows)
{
    datafile::TimedValues columns;
    columns.reserve(int(rows.size()));
    for (const auto &row : rows)
        columns.append({row[RowTime], row[RowValue]});
    return columns;
}

} // namespace results
