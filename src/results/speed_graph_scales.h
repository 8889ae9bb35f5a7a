#pragma once
// Scales of the time-speed graph: the standard view chosen from the maxima,
// and the steps of the scale buttons. One marker per interval, placed at the
// interval's mid time and speed.

#include "results/graph_scales.h"
#include "results/result_computation.h"

#include <QtGlobal>
#include <vector>

namespace results {

class SpeedGraphScales
{
public:
    // Takes the values of the last computation and puts the graph pieces
    // into their load state. kindMode is the ResultKindMode of the load:
    // with 1 (distance only) the markers are placed by the points' times and
    // the vertical buttons step the distance index instead.
    void load(const SpeedResults &results, int kindMode);

    // The standard view; true when the speed is beyond the largest scale and
    // the limit message is to be shown.
    bool resetScales();
    void redrawScales();

    void timeLonger();   // one time row up, markers move left
    void timeShorter();  // one time row down
    void valueCoarser(); // "▼": markers move down
    void valueFiner();   // "▲"

    const GraphState &graph() const { return m_graph; }
    qint16 TimeScaleIndex = 1;
    qint16 SpeedScaleIndex = 1;
    qint16 DistanceScaleIndex = 1;

private:
    bool fitTimeScale();
    bool fitSpeedScale();
    void drawTimeAxis();
    void drawSpeedAxis();

    GraphState m_graph;
    int m_kindMode = 0;
    std::vector<float> m_midTimes;   // M(l)
    std::vector<float> m_pointTimes; // T(l), for the distance-only mode
    std::vector<float> m_speeds;     // V(l)
    float m_maxTime = 0;
    float m_maxSpeed = 0;
};

} // namespace results
