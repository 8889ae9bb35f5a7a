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
    m_results = results;
    m_low = 0;
    m_high = 0;
    for (const ComponentRow &row : results.rows) {
        m_low = std::min({m_low, row.vx, row.vy});
        m_high = std::max({m_high, row.vx, row.vy});
    }
    m_graph = ComponentGraph{};
    m_graph.timeAxis.load(1);
}

bool ComponentGraphScales::resetScales()
{
    const double maxTime = m_results.rows.empty() ? 0 : m_results.rows.back().time;
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
    for (const ComponentRow &row : m_results.rows) {
        g.horizontal.emplace_back(x(row.time), y(row.vx));
        g.vertical.emplace_back(x(row.time), y(row.vy));
    }
    auto lineOf = [&](const LineFit &fit) -> std::optional<QLineF> {
        if (!fit.valid)
            return std::nullopt;
        const double t0 = m_results.rows.front().time;
        const double t1 = m_results.rows.back().time;
        return QLineF(x(t0), y(fit.intercept + fit.slope * t0), x(t1),
                      y(fit.intercept + fit.slope * t1));
    };
    g.horizontalLine = lineOf(m_results.horizontal);
    g.verticalLine = lineOf(m_results.vertical);
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
                     Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("水平"));
    painter.drawText(QRectF(key + QPointF(1100, -20), QSizeF(500, 240)),
                     Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("鉛直"));
}

} // namespace results
