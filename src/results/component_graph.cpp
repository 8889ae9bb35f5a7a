#include "results/component_graph.h"

#include "base/numbers.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace results {

namespace {

constexpr float AxisTop = GraphOriginY - ValueAxisLength;
constexpr float AxisRight = GraphOriginX + TimeAxisLength;
const QColor Blue(0, 0, 255);
const QColor Red(255, 0, 0);

// The lowest value of the axis for a row: a whole number of steps at or
// below the smallest value, so that zero falls on a number.
double axisBottom(const ScaleRow &row, double low)
{
    return std::floor(low / row.numberStep) * row.numberStep;
}

bool rowHolds(const ScaleRow &row, double low, double high)
{
    const double perUnit = row.numberSpacing / row.numberStep;
    return high <= axisBottom(row, low) + ValueAxisLength / perUnit;
}

} // namespace

void ComponentGraphScales::load(const ComponentResults &results)
{
    GraphSeries series;
    for (const ComponentRow &row : results.rows) {
        series.times.push_back(row.time);
        series.first.push_back(row.vx);
        series.second.push_back(row.vy);
    }
    auto lineOf = [&](const LineFit &fit) -> std::optional<GraphCurve> {
        if (!fit.valid)
            return std::nullopt;
        return GraphCurve{[fit](double t) { return fit.intercept + fit.slope * t; },
                          results.rows.front().time, results.rows.back().time, true};
    };
    series.firstCurve = lineOf(results.horizontal);
    series.secondCurve = lineOf(results.vertical);
    series.names = componentNames(results.axesSet);
    load(series);
}

void ComponentGraphScales::load(const GraphSeries &series)
{
    m_series = series;
    m_low = 0;
    m_high = 0;
    for (const auto *values : {&series.first, &series.second})
        for (double v : *values) {
            m_low = std::min(m_low, v);
            m_high = std::max(m_high, v);
        }
    m_graph = ComponentGraph{};
    m_graph.names = series.names;
    m_graph.timeAxis.load(1);
}

void ComponentGraphScales::setCurves(std::optional<GraphCurve> first,
                                     std::optional<GraphCurve> second)
{
    m_series.firstCurve = std::move(first);
    m_series.secondCurve = std::move(second);
    redraw();
}

bool ComponentGraphScales::resetScales()
{
    const double maxTime = m_series.times.empty() ? 0 : m_series.times.back();
    const int timeRow = fittingRow(TimeScaleTable(), float(maxTime));
    TimeScaleIndex = qint16(timeRow ? timeRow : TimeScaleRows);

    int valueRow = 0;
    for (int k = 1; k <= SpeedScaleRows && !valueRow; ++k)
        if (rowHolds(SpeedScaleTable()[k], m_low, m_high))
            valueRow = k;
    const bool beyond = valueRow == 0;
    SpeedScaleIndex = qint16(beyond ? SpeedScaleRows : valueRow);
    redraw();
    return beyond;
}

void ComponentGraphScales::timeLonger()
{
    TimeScaleIndex = qint16(std::min<int>(TimeScaleIndex + 1, TimeScaleRows));
    redraw();
}

void ComponentGraphScales::timeShorter()
{
    TimeScaleIndex = qint16(std::max<int>(TimeScaleIndex - 1, 1));
    redraw();
}

void ComponentGraphScales::valueCoarser()
{
    SpeedScaleIndex = qint16(std::min<int>(SpeedScaleIndex + 1, SpeedScaleRows));
    redraw();
}

void ComponentGraphScales::valueFiner()
{
    SpeedScaleIndex = qint16(std::max<int>(SpeedScaleIndex - 1, 1));
    redraw();
}

void ComponentGraphScales::redraw()
{
    const ScaleRow &timeRow = TimeScaleTable()[TimeScaleIndex];
    const ScaleRow &valueRow = SpeedScaleTable()[SpeedScaleIndex];
    ComponentGraph &g = m_graph;
    drawTimeAxis(g.timeAxis, timeRow, {}, false);

    const double bottom = axisBottom(valueRow, m_low);
    const double perUnit = valueRow.numberSpacing / valueRow.numberStep;
    const double perSecond = timeRow.numberSpacing / timeRow.numberStep;
    auto x = [&](double t) { return GraphOriginX + perSecond * t; };
    auto y = [&](double v) { return GraphOriginY - perUnit * (v - bottom); };

    g.valueLines.clear();
    for (int j = 1; j * valueRow.gridSpacing <= ValueAxisLength; ++j)
        g.valueLines.push_back({GraphOriginY - float(j) * valueRow.gridSpacing, true});
    g.valueNumbers.clear();
    for (int i = 0; i * valueRow.numberSpacing <= ValueAxisLength; ++i) {
        const double value = bottom + i * valueRow.numberStep;
        g.valueNumbers.push_back({ValueNumberOffset - float(i) * valueRow.numberSpacing,
                                  num::numberText(float(value)), true});
    }
    g.zeroY = float(y(0));

    g.horizontal.clear();
    g.vertical.clear();
    for (size_t i = 0; i < m_series.times.size(); ++i) {
        g.horizontal.emplace_back(x(m_series.times[i]), y(m_series.first[i]));
        g.vertical.emplace_back(x(m_series.times[i]), y(m_series.second[i]));
    }
    auto lineOf = [&](const std::optional<GraphCurve> &curve) -> std::optional<QLineF> {
        if (!curve || !curve->straight)
            return std::nullopt;
        return QLineF(x(curve->from), y(curve->value(curve->from)), x(curve->to),
                      y(curve->value(curve->to)));
    };
    // Two hundred pieces follow a curve smoothly at any scale of the graph.
    auto polylineOf = [&](const std::optional<GraphCurve> &curve) {
        QPolygonF polyline;
        if (!curve || curve->straight)
            return polyline;
        constexpr int Pieces = 200;
        for (int i = 0; i <= Pieces; ++i) {
            const double t = curve->from + (curve->to - curve->from) * i / Pieces;
            polyline << QPointF(x(t), y(curve->value(t)));
        }
        return polyline;
    };
    g.horizontalLine = lineOf(m_series.firstCurve);
    g.verticalLine = lineOf(m_series.secondCurve);
    g.horizontalCurve = polylineOf(m_series.firstCurve);
    g.verticalCurve = polylineOf(m_series.secondCurve);
}

void paintComponentGraph(QPainter &painter, const ComponentGraph &graph, float valueNumberLeft)
{
    painter.setPen(QPen(QColor(160, 160, 160), 0, Qt::DotLine));
    for (const GridLine &line : graph.timeAxis.LineX)
        if (line.visible)
            painter.drawLine(QPointF(line.position, AxisTop), QPointF(line.position, GraphOriginY));
    for (const GridLine &line : graph.valueLines)
        painter.drawLine(QPointF(GraphOriginX, line.position), QPointF(AxisRight, line.position));

    painter.setPen(QPen(Qt::black, 0));
    painter.drawLine(QPointF(GraphOriginX, AxisTop), QPointF(GraphOriginX, GraphOriginY));
    painter.drawLine(QPointF(GraphOriginX, GraphOriginY), QPointF(AxisRight, GraphOriginY));
    // The time axis itself stands at velocity 0.
    if (graph.zeroY < GraphOriginY && graph.zeroY >= AxisTop)
        painter.drawLine(QPointF(GraphOriginX, graph.zeroY), QPointF(AxisRight, graph.zeroY));

    QFont font = painter.font();
    font.setPixelSize(165);
    painter.setFont(font);
    for (const AxisNumber &number : graph.timeAxis.Labelxx)
        if (number.visible && !number.caption.isEmpty())
            painter.drawText(QRectF(number.position, 4950, 1200, 200), Qt::AlignLeft | Qt::AlignTop,
                             number.caption);
    for (const AxisNumber &number : graph.valueNumbers)
        painter.drawText(
            QRectF(valueNumberLeft, number.position, GraphOriginX - 40 - valueNumberLeft, 200),
            Qt::AlignRight | Qt::AlignTop, number.caption);

    // The lines first, the markers over them.
    for (const auto &[line, colour] :
         {std::pair{graph.horizontalLine, Blue}, std::pair{graph.verticalLine, Red}}) {
        if (!line)
            continue;
        painter.setPen(QPen(colour, 20));
        painter.drawLine(*line);
    }
    // A curve may leave the axes (a sine beyond its points): it is cut at them.
    painter.save();
    painter.setClipRect(QRectF(GraphOriginX, AxisTop, TimeAxisLength, ValueAxisLength));
    for (const auto &[curve, colour] :
         {std::pair{&graph.horizontalCurve, Blue}, std::pair{&graph.verticalCurve, Red}}) {
        painter.setPen(QPen(colour, 20));
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(*curve);
    }
    painter.restore();
    const float r = MarkerSize / 2;
    painter.setPen(QPen(Blue, 20));
    painter.setBrush(Qt::white);
    for (const QPointF &p : graph.horizontal)
        painter.drawEllipse(p, r, r);
    painter.setPen(QPen(Red, 20));
    painter.setBrush(Red);
    for (const QPointF &p : graph.vertical)
        painter.drawEllipse(p, r, r);

    // Which marker is which.
    const QPointF key(AxisRight - 1500, AxisTop + 60);
    painter.setPen(QPen(Blue, 20));
    painter.setBrush(Qt::white);
    painter.drawEllipse(key + QPointF(r, r), r, r);
    painter.setPen(QPen(Red, 20));
    painter.setBrush(Red);
    painter.drawEllipse(key + QPointF(800 + r, r), r, r);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(key + QPointF(300, -20), QSizeF(500, 240)),
                     Qt::AlignLeft | Qt::AlignVCenter, graph.names.value(0));
    painter.drawText(QRectF(key + QPointF(1100, -20), QSizeF(500, 240)),
                     Qt::AlignLeft | Qt::AlignVCenter, graph.names.value(1));
}

} // namespace results
