#include "results/momentum_results.h"

#include "base/measurement_objects.h"
#include "base/numbers.h"
#include "results/result_computation.h"

#include <QSet>
#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace results {

namespace {

const QString CrLf = QStringLiteral("\r\n");
const QString Gap = QStringLiteral("　");

using Interval = std::pair<qint32, qint32>;
struct Velocity
{
    double vx = 0;
    double vy = 0;
};

// Every interval between consecutive points of one object, with its
// velocity in m/s. Two points on one frame give no interval.
std::map<Interval, Velocity> intervalsOf(const MeasurementState &one, double metres)
{
    std::map<Interval, Velocity> out;
    const int n = resultPointCount(one);
    const ResultTable sorted = sortPoints(one);
    const double scale =
        double(one.RefLengthValue) * metres * one.FrameRate / double(one.RefLengthPixels);
    for (int l = 0; l + 1 < n; ++l) {
        const qint32 from = qint32(sorted[l][SortedFrame]);
        const qint32 to = qint32(sorted[l + 1][SortedFrame]);
        if (to <= from)
            continue;
        const double frames = double(to) - double(from);
        Velocity v;
        v.vx = (double(sorted[l + 1][SortedX]) - double(sorted[l][SortedX])) * scale / frames;
        v.vy = -(double(sorted[l + 1][SortedY]) - double(sorted[l][SortedY])) * scale / frames;
        out[{from, to}] = v;
    }
    return out;
}

double meanOf(const std::vector<MomentumRow> &rows, int begin, int end, double MomentumRow::*value)
{
    double sum = 0;
    for (int r = begin; r < end; ++r)
        sum += rows[r].*value;
    return end > begin ? sum / (end - begin) : 0;
}

QString value(double v)
{
    return num::significantText(v, 3);
}

QString percentChange(double before, double after)
{
    if (before == 0)
        return QString();
    const double percent = (after - before) / std::fabs(before) * 100;
    QString text = num::fixed1(std::fabs(percent));
    if (text != QStringLiteral("0.0"))
        text.prepend(percent < 0 ? QChar(0x2212) : QChar(u'+'));
    return QStringLiteral("（") + text + QStringLiteral(" %）");
}

} // namespace

std::optional<double> readMass(const QString &text, MassUnit unit)
{
    const QString plain = text.normalized(QString::NormalizationForm_KC).trimmed();
    bool ok = false;
    const double value = plain.toDouble(&ok);
    if (!ok || !std::isfinite(value) || !(value > 0))
        return std::nullopt;
    const double kg = unit == MassUnit::Gram ? value / 1000 : value;
    if (!(kg > 0) || !std::isfinite(kg))
        return std::nullopt;
    return kg;
}

QString massRefusedMessage()
{
    return QStringLiteral("質量には、0 より大きい数を入れてください。");
}

QString massText(double kilograms, MassUnit unit)
{
    if (!(kilograms > 0))
        return QString();
    return num::numberText(float(unit == MassUnit::Gram ? kilograms * 1000 : kilograms));
}

std::optional<double> metresPerUnit(const QString &unit)
{
    const QString u = unit.trimmed();
    if (u == QStringLiteral("mm"))
        return 0.001;
    if (u == QStringLiteral("cm"))
        return 0.01;
    if (u == QStringLiteral("m"))
        return 1.0;
    if (u == QStringLiteral("km"))
        return 1000.0;
    return std::nullopt;
}

MomentumProblem momentumOpeningProblem(const MeasurementState &state)
{
    int withTwo = 0;
    for (int object = 0; object < objects::Count; ++object)
        withTwo += objects::pointCount(state, object) >= 2 ? 1 : 0;
    if (withTwo < 2)
        return MomentumProblem::TooFewObjects;
    if (!(state.RefLengthPixels > 0) || state.RefLengthValue == 0)
        return MomentumProblem::NoLength;
    if (!(state.FrameRate > 0) || !std::isfinite(state.FrameRate))
        return MomentumProblem::NoFrameRate;
    if (!metresPerUnit(state.LengthUnit))
        return MomentumProblem::UnknownUnit;
    return MomentumProblem::None;
}

QString momentumProblemMessage(MomentumProblem problem)
{
    switch (problem) {
    case MomentumProblem::TooFewObjects:
        return QStringLiteral("運動量を求めるには、２つ以上の物体に、それぞれ２点以上の打点が"
                              "必要です。「物体」で物体を選んで打点してください。");
    case MomentumProblem::NoLength:
        return QStringLiteral("運動量を求めるには、長さの設定が必要です。");
    case MomentumProblem::NoFrameRate:
        return QStringLiteral("運動量を求めるには、フレームレートが必要です。");
    case MomentumProblem::UnknownUnit:
        return QStringLiteral("運動量を求めるには、長さの単位を mm、cm、m、km のどれかに"
                              "してください。");
    case MomentumProblem::None:
        break;
    }
    return QString();
}

MomentumResults computeMomentum(const MeasurementState &state)
{
    MomentumResults out;
    const std::optional<double> metres = metresPerUnit(state.LengthUnit);
    if (!metres || !(state.RefLengthPixels > 0) || !(state.FrameRate > 0) ||
        !std::isfinite(state.FrameRate))
        return out;

    std::vector<std::map<Interval, Velocity>> intervals;
    double firstFrame = 0;
    bool anyFirst = false;
    for (int object = 0; object < objects::Count; ++object) {
        const double mass = state.ObjectMass[object];
        if (!(mass > 0) || objects::pointCount(state, object) < 2)
            continue;
        const MeasurementState one = objects::stateOf(state, object);
        std::map<Interval, Velocity> own = intervalsOf(one, *metres);
        if (own.empty())
            continue;
        const double first = sortPoints(one)[0][SortedFrame];
        firstFrame = anyFirst ? std::min(firstFrame, first) : first;
        anyFirst = true;
        out.objects.push_back(object);
        out.masses.push_back(mass);
        intervals.push_back(std::move(own));
    }
    if (intervals.empty())
        return out;

    QSet<qint64> all;
    double largestVx = 0, largestVy = 0;
    for (const auto &[interval, v] : intervals.front()) {
        MomentumRow row;
        row.fromFrame = interval.first;
        row.toFrame = interval.second;
        row.time =
            ((double(interval.first) + double(interval.second)) / 2 - firstFrame) / state.FrameRate;
        bool shared = true;
        for (size_t i = 0; i < intervals.size() && shared; ++i) {
            const auto found = intervals[i].find(interval);
            if (found == intervals[i].end()) {
                shared = false;
                break;
            }
            const Velocity &own = found->second;
            const double m = out.masses[i];
            row.vx.push_back(own.vx);
            row.vy.push_back(own.vy);
            row.px.push_back(m * own.vx);
            row.py.push_back(m * own.vy);
            row.totalX += m * own.vx;
            row.totalY += m * own.vy;
            row.energy += m * (own.vx * own.vx + own.vy * own.vy) / 2;
        }
        if (!shared)
            continue;
        for (size_t i = 0; i < row.vx.size(); ++i) {
            largestVx = std::max(largestVx, std::fabs(row.vx[i]));
            largestVy = std::max(largestVy, std::fabs(row.vy[i]));
        }
        out.rows.push_back(std::move(row));
    }
    for (const auto &own : intervals)
        for (const auto &entry : own)
            all.insert(qint64(entry.first.first) << 32 | quint32(entry.first.second));
    out.leftOut = int(all.size()) - int(out.rows.size());
    // The y part of a motion along a track is only the clicks' scatter.
    out.hasY = largestVy > 0.25 * largestVx;

    double totalMass = 0;
    for (double m : out.masses)
        totalMass += m;
    const int n = int(out.rows.size());
    if (n > 0) {
        out.centreVx = meanOf(out.rows, 0, n, &MomentumRow::totalX) / totalMass;
        out.centreVy = meanOf(out.rows, 0, n, &MomentumRow::totalY) / totalMass;
    }

    // Where the velocities change most: change[k] between rows k - 1 and k.
    std::vector<double> change(size_t(std::max(n, 1)), 0.0);
    int best = -1;
    for (int k = 1; k < n; ++k) {
        for (size_t i = 0; i < out.objects.size(); ++i)
            change[k] += std::hypot(out.rows[k].vx[i] - out.rows[k - 1].vx[i],
                                    out.rows[k].vy[i] - out.rows[k - 1].vy[i]);
        if (best < 0 || change[k] > change[best])
            best = k;
    }
    setCollision(out, best);
    // Carts touch between two frames more often than on one: the change is
    // then shared by the two ends of the interval they touched in, and the
    // collision is put in its middle.
    if (best > 0) {
        const double next = best + 1 < n ? change[best + 1] : 0;
        const double previous = best > 1 ? change[best - 1] : 0;
        if (std::max(next, previous) >= 0.25 * change[best])
            out.collisionTime = out.rows[next >= previous ? best : best - 1].time;
    }
    return out;
}

void setCollision(MomentumResults &results, int firstAfter)
{
    const int n = int(results.rows.size());
    results.sums = MomentumSums{};
    if (n < 2) {
        results.collision = -1;
        results.collisionTime = 0;
        return;
    }
    const int k = std::clamp(firstAfter, 1, n - 1);
    results.collision = k;
    results.collisionTime = (results.rows[k - 1].time + results.rows[k].time) / 2;
    const int beforeEnd = k - 1 >= 1 ? k - 1 : k;
    const int afterBegin = n - (k + 1) >= 1 ? k + 1 : k;
    MomentumSums &s = results.sums;
    s.beforeX = meanOf(results.rows, 0, beforeEnd, &MomentumRow::totalX);
    s.afterX = meanOf(results.rows, afterBegin, n, &MomentumRow::totalX);
    s.beforeY = meanOf(results.rows, 0, beforeEnd, &MomentumRow::totalY);
    s.afterY = meanOf(results.rows, afterBegin, n, &MomentumRow::totalY);
    s.energyBefore = meanOf(results.rows, 0, beforeEnd, &MomentumRow::energy);
    s.energyAfter = meanOf(results.rows, afterBegin, n, &MomentumRow::energy);
    s.valid = true;
}

int rowAfterTime(const MomentumResults &results, double time)
{
    const int n = int(results.rows.size());
    for (int k = 0; k < n; ++k)
        if (results.rows[k].time > time)
            return k;
    return n - 1;
}

QString momentumSummary(const MomentumResults &results)
{
    if (results.objects.size() < 2)
        return QStringLiteral("  ２つ以上の物体に質量を入れると、運動量の和を求めます。");
    if (results.rows.empty())
        return QStringLiteral("  物体に共通する区間がありません。同じコマに打点してください。");
    QStringList lines;
    const MomentumSums &s = results.sums;
    if (s.valid) {
        lines << QStringLiteral("  衝突前の運動量の和は") + Gap + value(s.beforeX) + Gap +
                     QStringLiteral("kg·m/秒、衝突後は") + Gap + value(s.afterX) + Gap +
                     QStringLiteral("kg·m/秒") + percentChange(s.beforeX, s.afterX) +
                     QStringLiteral("です。");
        if (results.hasY)
            lines << QStringLiteral("  上下方向の運動量の和は　衝突前") + Gap + value(s.beforeY) +
                         Gap + QStringLiteral("kg·m/秒、衝突後") + Gap + value(s.afterY) + Gap +
                         QStringLiteral("kg·m/秒です。");
        lines << QStringLiteral("  運動エネルギーの和は　衝突前") + Gap + value(s.energyBefore) +
                     Gap + QStringLiteral("J、衝突後") + Gap + value(s.energyAfter) + Gap +
                     QStringLiteral("J　です。");
        lines << QStringLiteral("  衝突の時刻は") + Gap + num::fixed3(results.collisionTime) + Gap +
                     QStringLiteral("秒です。");
    }
    QString centre = QStringLiteral("  重心の速度は") + Gap + value(results.centreVx) + Gap;
    if (results.hasY)
        centre += QStringLiteral("m/秒（上下") + Gap + value(results.centreVy) + Gap +
                  QStringLiteral("m/秒）です。");
    else
        centre += QStringLiteral("m/秒です。");
    lines << centre;
    return lines.join(CrLf);
}

QString leftOutNote(const MomentumResults &results)
{
    if (results.leftOut == 0)
        return QStringLiteral("どの物体も同じコマに打点されているので、除いた区間はありません。");
    return QStringLiteral("物体ごとに打点したコマが違うため、%1 区間を除きました。"
                          "同じコマに打点すると（自動追跡のように）すべて使えます。")
        .arg(results.leftOut);
}

TextTable momentumTable(const MomentumResults &results)
{
    QStringList header{QStringLiteral("時　間 (秒)")};
    const QString unit = QStringLiteral(" (kg·m/秒)");
    auto columns = [&](const QString &axis) {
        for (int object : results.objects)
            header << objects::name(object) + axis + unit;
        header << QStringLiteral("和") + axis + unit;
    };
    columns(QStringLiteral(" x"));
    if (results.hasY)
        columns(QStringLiteral(" y"));
    header << QStringLiteral("運動エネルギー (J)");
    TextTable table{header};
    for (const MomentumRow &row : results.rows) {
        QStringList cells{num::fixed3(row.time)};
        for (double p : row.px)
            cells << value(p);
        cells << value(row.totalX);
        if (results.hasY) {
            for (double p : row.py)
                cells << value(p);
            cells << value(row.totalY);
        }
        cells << value(row.energy);
        table.append(cells);
    }
    return table;
}

} // namespace results
