#include "results/momentum_graph.h"

#include "base/measurement_objects.h"
#include "base/numbers.h"
#include "digitize/object_markers.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace results {

namespace {

struct Range
{
    double low = 0;
    double high = 1;
};

Range timeRange(const MomentumResults &r)
{
    if (r.rows.empty())
        return {0, 1};
    const double last = r.rows.back().time;
    return {0, last > 0 ? last * 1.05 : 1};
}

Range valueRange(const MomentumResults &r)
{
    double low = 0, high = 0;
    for (const MomentumRow &row : r.rows) {
        low = std::min({low, row.totalX, *std::min_element(row.px.begin(), row.px.end())});
        high = std::max({high, row.totalX, *std::max_element(row.px.begin(), row.px.end())});
    }
    if (high - low <= 0)
        return {-1, 1};
    const double margin = (high - low) * 0.08;
    return {low - margin, high + margin};
}

// A round step that gives about five divisions.
double niceStep(double span)
{
    const double rough = span / 5;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double f : {1.0, 2.0, 5.0})
        if (f * power >= rough)
            return f * power;
    return 10 * power;
}

} // namespace

QRectF momentumPlotArea(const QRectF &box)
{
    return box.adjusted(52, 22, -12, -34);
}

double momentumTimeAt(const MomentumResults &results, const QRectF &box, double x)
{
    const QRectF area = momentumPlotArea(box);
    const Range t = timeRange(results);
    return t.low + (x - area.left()) / area.width() * (t.high - t.low);
}

void paintMomentumGraph(QPainter &painter, const QRectF &box, const MomentumResults &results)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillRect(box, Qt::white);
    const QRectF area = momentumPlotArea(box);
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(box.left() + 4, box.top() + 2, box.width(), 18),
                     Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("運動量 x (kg·m/秒)"));
    painter.drawText(QRectF(area.left(), area.bottom() + 14, area.width(), 18), Qt::AlignRight,
                     QStringLiteral("時間 (秒)"));
    painter.drawRect(area);
    if (results.rows.empty() || results.objects.empty()) {
        painter.restore();
        return;
    }
    const Range t = timeRange(results);
    const Range v = valueRange(results);
    auto X = [&](double time) {
        return area.left() + (time - t.low) / (t.high - t.low) * area.width();
    };
    auto Y = [&](double value) {
        return area.bottom() - (value - v.low) / (v.high - v.low) * area.height();
    };

    // Grid and numbers.
    painter.setPen(QPen(QColor(210, 210, 210), 1));
    const double vStep = niceStep(v.high - v.low);
    for (double value = std::ceil(v.low / vStep) * vStep; value <= v.high; value += vStep) {
        painter.setPen(QPen(QColor(210, 210, 210), 1));
        painter.drawLine(QPointF(area.left(), Y(value)), QPointF(area.right(), Y(value)));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(box.left(), Y(value) - 8, area.left() - box.left() - 4, 16),
                         Qt::AlignRight | Qt::AlignVCenter,
                         num::significantText(std::fabs(value) < vStep / 1e6 ? 0 : value, 3));
    }
    const double tStep = niceStep(t.high - t.low);
    for (double time = 0; time <= t.high; time += tStep) {
        painter.setPen(QPen(QColor(210, 210, 210), 1));
        painter.drawLine(QPointF(X(time), area.top()), QPointF(X(time), area.bottom()));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(X(time) - 30, area.bottom() + 2, 60, 14), Qt::AlignCenter,
                         num::significantText(time, 3));
    }
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(QPointF(area.left(), Y(0)), QPointF(area.right(), Y(0)));

    auto series = [&](auto value, const QColor &colour, qreal width) {
        QPainterPath path;
        for (size_t r = 0; r < results.rows.size(); ++r) {
            const QPointF at(X(results.rows[r].time), Y(value(results.rows[r])));
            if (r == 0)
                path.moveTo(at);
            else
                path.lineTo(at);
        }
        painter.setPen(QPen(colour, width));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
        painter.setBrush(colour);
        for (const MomentumRow &row : results.rows)
            painter.drawEllipse(QPointF(X(row.time), Y(value(row))), 2.5, 2.5);
    };
    for (size_t i = 0; i < results.objects.size(); ++i) {
        // Ａ's black is the total's; Ａ is drawn in grey.
        const QColor colour =
            results.objects[i] == 0 ? QColor(120, 120, 120) : objects::ink(results.objects[i]);
        series([i](const MomentumRow &row) { return row.px[i]; }, colour, 1.5);
    }
    series([](const MomentumRow &row) { return row.totalX; }, Qt::black, 2.5);

    if (results.collision > 0) {
        painter.setPen(QPen(QColor(220, 0, 0), 1.5, Qt::DashLine));
        const double x = X(results.collisionTime);
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        painter.drawText(QRectF(x + 3, area.top() + 2, 60, 14), Qt::AlignLeft,
                         QStringLiteral("衝突"));
    }

    // The legend.
    qreal legendX = area.left() + 140;
    auto legend = [&](const QString &text, const QColor &colour) {
        painter.setPen(QPen(colour, 2.5));
        painter.drawLine(QPointF(legendX, box.top() + 11), QPointF(legendX + 14, box.top() + 11));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(legendX + 17, box.top() + 2, 60, 18),
                         Qt::AlignLeft | Qt::AlignVCenter, text);
        legendX += 20 + painter.fontMetrics().horizontalAdvance(text) + 8;
    };
    legend(QStringLiteral("和"), Qt::black);
    for (int object : results.objects)
        legend(objects::letter(object), object == 0 ? QColor(120, 120, 120) : objects::ink(object));
    painter.restore();
}

} // namespace results
