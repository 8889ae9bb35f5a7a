#include "results/distance_graph_scales.h"

namespace results {

void DistanceGraphScales::load(const DistanceResults &results, int distanceMethod)
{
    m_hideAtZero = distanceMethod == 2;
    m_maxTime = results.MaxTime;
    m_maxDistance = results.MaxDistance;
    m_times.clear();
    m_distances.clear();
    for (int l = 0; l < results.count; ++l) {
        m_times.push_back(results.DistanceRows[l][RowTime]);
        m_distances.push_back(results.DistanceRows[l][RowValue]);
    }
    m_graph.load(results.count);
}

void DistanceGraphScales::drawTimeAxis()
{
    results::drawTimeAxis(m_graph, TimeScaleTable()[TimeScaleIndex], m_times, m_hideAtZero);
}

void DistanceGraphScales::drawDistanceAxis()
{
    drawValueAxis(m_graph, DistanceScaleTable()[DistanceScaleIndex], m_distances);
}

bool DistanceGraphScales::resetScales()
{
    const int timeRow = fittingRow(TimeScaleTable(), m_maxTime);
    TimeScaleIndex = qint16(timeRow ? timeRow : TimeScaleRows);
    if (timeRow)
        drawTimeAxis();
    // Unlike the speed graph, a distance beyond the last row is still drawn
    // with that row before the limit message.
    const int distanceRow = fittingRow(DistanceScaleTable(), m_maxDistance);
    DistanceScaleIndex = qint16(distanceRow ? distanceRow : DistanceScaleRows);
    drawDistanceAxis();
    return distanceRow == 0;
}

void DistanceGraphScales::redrawScales()
{
    drawTimeAxis();
    drawDistanceAxis();
}

void DistanceGraphScales::timeLonger()
{
    if (TimeScaleIndex < TimeScaleRows)
        ++TimeScaleIndex;
    redrawScales();
}

void DistanceGraphScales::timeShorter()
{
    if (TimeScaleIndex > 1)
        --TimeScaleIndex;
    redrawScales();
}

void DistanceGraphScales::valueCoarser()
{
    if (DistanceScaleIndex < DistanceScaleRows)
        ++DistanceScaleIndex;
    redrawScales();
}

void DistanceGraphScales::valueFiner()
{
    if (DistanceScaleIndex > 1)
        --DistanceScaleIndex;
    redrawScales();
}

} // namespace results
