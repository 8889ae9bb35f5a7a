#pragma once
// Scales of the time-distance graph: one marker per row of DistanceRows,
// the standard view is the smallest distance scale that holds every value.

#include "results/graph_scales.h"
#include "results/result_computation.h"

#include <QtGlobal>
#include <vector>

namespace results {

class DistanceGraphScales
{
public:
    // Takes the values of the last computation and puts the graph pieces into
    // their load state. Under DistanceMethod 2 a marker whose time is exactly
    // 0 (the cleared last row) is hidden.
    void load(const DistanceResults &results, int distanceMethod);

    // The standard view; true when the distance is beyond the largest scale
    // and the limit message is to be shown (the graph is then at row 9).
    bool resetScales();
    void redrawScales();

    void timeLonger();
    void timeShorter();
    void valueCoarser(); // "▼"
    void valueFiner();   // "▲"

    const GraphState &graph() const { return m_graph; }
    qint16 TimeScaleIndex = 1;
    qint16 DistanceScaleIndex = 1;

private:
    void drawTimeAxis();
    void drawDistanceAxis();

    GraphState m_graph;
    bool m_hideAtZero = false;
    std::vector<float> m_times;
    std::vector<float> m_distances;
    float m_maxTime = 0;
    float m_maxDistance = 0;
};

} // namespace results
