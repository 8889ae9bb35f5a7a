#include "results/strobe_plan.h"

#include "base/measurement_state.h"
#include "base/numbers.h"

#include <algorithm>
#include <cmath>

namespace strobe {

using MS = MeasurementState;

int Plan::pointCount() const
{
    int n = 0;
    for (const PlottedObject &o : objects)
        n += int(o.points.size());
    return n;
}

QPointF Plan::cameraMoveAt(qint32 frame) const
{
    if (objects.empty() || objects.front().points.empty())
        return {};
    const std::vector<PlottedPoint> &p = objects.front().points;
    if (frame <= p.front().frame)
        return p.front().cameraMove;
    for (size_t i = 1; i < p.size(); ++i) {
        if (frame > p[i].frame)
            continue;
        const double span = p[i].frame - p[i - 1].frame;
        const double t = span > 0 ? (frame - p[i - 1].frame) / span : 1.0;
        return p[i - 1].cameraMove + t * (p[i].cameraMove - p[i - 1].cameraMove);
    }
    return p.back().cameraMove;
}

std::vector<qint32> Plan::backgroundFrames(int count) const
{
    std::vector<qint32> plotted;
    for (const PlottedObject &o : objects)
        for (const PlottedPoint &p : o.points)
            plotted.push_back(p.frame);
    std::sort(plotted.begin(), plotted.end());
    plotted.erase(std::unique(plotted.begin(), plotted.end()), plotted.end());
    std::vector<qint32> frames;
    if (plotted.empty() || count <= 0)
        return frames;
    // Evenly among the plotted frames, which are read anyway; among all
    // frames between the first and the last when there are too few of them
    // (except where only the plotted frames' camera movement is known).
    const bool amongPlotted = cameraCorrected || qint64(plotted.size()) >= count;
    const qint64 first = amongPlotted ? 0 : plotted.front();
    const qint64 span = amongPlotted ? qint64(plotted.size()) - 1 : plotted.back() - first;
    const int n = int(std::min<qint64>(count, span + 1));
    for (int i = 0; i < n; ++i) {
        const qint64 k = n == 1 ? first : first + std::llround(double(span) * i / (n - 1));
        const qint32 f = amongPlotted ? plotted[size_t(k)] : qint32(k);
        if (frames.empty() || frames.back() != f)
            frames.push_back(f);
    }
    return frames;
}

Plan planOf(const MeasurementState &m, bool shakeCorrection, QSize previewSize)
{
    Plan plan;
    plan.videoPath = m.VideoPath;
    plan.previewSize = previewSize;
    plan.frameRate = m.FrameRate;
    plan.cameraCorrected = shakeCorrection;
    PlottedObject object;
    const auto &first = m.PointTable[1];
    for (int r = 1; r <= m.PointCount; ++r) {
        const auto &row = m.PointTable[r];
        PlottedPoint p;
        p.number = r;
        p.frame = row[MS::ColFrame];
        p.position = QPointF(row[MS::ColX], row[MS::ColY]);
        if (shakeCorrection)
            p.cameraMove = QPointF(row[MS::ColRefX] - first[MS::ColRefX],
                                   row[MS::ColRefY] - first[MS::ColRefY]);
        object.points.push_back(p);
    }
    std::stable_sort(
        object.points.begin(), object.points.end(),
        [](const PlottedPoint &a, const PlottedPoint &b) { return a.frame < b.frame; });
    plan.objects.push_back(std::move(object));
    return plan;
}

std::vector<const PlottedPoint *> chosenPoints(const PlottedObject &object, int every)
{
    std::vector<const PlottedPoint *> out;
    const size_t step = size_t(std::max(1, every));
    for (size_t i = 0; i < object.points.size(); i += step)
        out.push_back(&object.points[i]);
    return out;
}

QString timeStepText(const std::vector<const PlottedPoint *> &points, double frameRate)
{
    if (points.size() < 2 || frameRate <= 0)
        return {};
    qint64 step = 0;
    for (size_t i = 1; i < points.size(); ++i) {
        const qint64 gap = qint64(points[i]->frame) - points[i - 1]->frame;
        if (gap > 0)
            step = step == 0 ? gap : std::min(step, gap);
    }
    if (step == 0)
        return {};
    for (size_t i = 1; i < points.size(); ++i)
        if ((qint64(points[i]->frame) - points[i - 1]->frame) % step != 0)
            return {};
    const double seconds = step / frameRate;
    const auto whole = [](double v) {
        return std::abs(v - std::round(v)) < 1e-6 * std::max(1.0, v);
    };
    QString text;
    if (whole(seconds * 100))
        text = num::fixed2(seconds);
    else if (whole(1 / seconds))
        text = QStringLiteral("1/") + num::numberText(float(std::round(1 / seconds)));
    else
        text = num::significantText(seconds, 3);
    return text + QStringLiteral("秒ごと");
}

} // namespace strobe
