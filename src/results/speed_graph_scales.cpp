#include "results/speed_graph_scales.h"

namespace results {

namespace {

bool speedShown(int kindMode)
{
    return kindMode == 0 || kindMode == 2;
}

} // namespace

void SpeedGraphScales::load(const SpeedResults &results, int kindMode)
{
    m_kindMode = kindMode;
    m_maxTime = results.MaxTime;
    m_maxSpeed = results.MaxSpeed;
    m_midTimes.clear();
    m_pointTimes.clear();
    m_speeds.clear();
    for (int l = 0; l + 1 < results.count; ++l) {
        m_midTimes.push_back(results.SpeedRows[l][RowTime]);
        m_speeds.push_back(results.SpeedRows[l][RowValue]);
        m_pointTimes.push_back(results.ResultRows[l][RowTime]);
    }
    m_graph.load(results.count);
}

void SpeedGraphScales::drawTimeAxis()
{
    const ScaleRow &row = TimeScaleTable()[TimeScaleIndex];
    if (speedShown(m_kindMode))
        results::drawTimeAxis(m_graph, row, m_midTimes, true);
    else
        results::drawTimeAxis(m_graph, row, m_pointTimes, false);
}

void SpeedGraphScales::drawSpeedAxis()
{
    drawValueAxis(m_graph, SpeedScaleTable()[SpeedScaleIndex], m_speeds);
}

bool SpeedGraphScales::fitTimeScale()
{
    const int row = fittingRow(TimeScaleTable(), m_maxTime);
    TimeScaleIndex = qint16(row ? row : TimeScaleRows);
    if (row)
        drawTimeAxis();
    return row != 0;
}

bool SpeedGraphScales::fitSpeedScale()
{
    const int row = fittingRow(SpeedScaleTable(), m_maxSpeed);
    SpeedScaleIndex = qint16(row ? row : SpeedScaleRows);
    if (row)
        drawSpeedAxis();
    return row != 0;
}

bool SpeedGraphScales::resetScales()
{
    if (m_kindMode == 1) {
        fitTimeScale();
        return false;
    }
    if (!speedShown(m_kindMode))
        return false;
    fitTimeScale();
    const bool fits = fitSpeedScale();
    // The standard speed scale is two rows coarser than the smallest one that
    // holds every speed, which leaves room above the fastest marker.
    valueCoarser();
    valueCoarser();
    return !fits;
}

void SpeedGraphScales::redrawScales()
{
    drawTimeAxis();
    if (m_kindMode != 1)
        drawSpeedAxis();
}

void SpeedGraphScales::timeLonger()
{
    if (TimeScaleIndex < TimeScaleRows)
        ++TimeScaleIndex;
    redrawScales();
}

void SpeedGraphScales::timeShorter()
{
    if (TimeScaleIndex > 1)
        --TimeScaleIndex;
    redrawScales();
}

void SpeedGraphScales::valueCoarser()
{
    if (m_kindMode == 1) {
        if (DistanceScaleIndex < DistanceScaleRows)
            ++DistanceScaleIndex;
    } else if (SpeedScaleIndex < SpeedScaleRows) {
        ++SpeedScaleIndex;
    }
    redrawScales();
}

void SpeedGraphScales::valueFiner()
{
    if (m_kindMode == 1) {
        if (DistanceScaleIndex > 1)
            --DistanceScaleIndex;
    } else if (SpeedScaleIndex > 1) {
        --SpeedScaleIndex;
    }
    redrawScales();
}

} // namespace results
