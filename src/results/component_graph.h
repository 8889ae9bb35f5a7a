#pragma once
// The graph of the velocity components: the horizontal (blue ○) and the
// vertical velocity (red ●) of every interval against its middle time, on
// one pair of axes, each with its least-squares line across the data. The
// time axis uses the time scales of the other result graphs; the velocity
// axis uses the speed scales, placed so that zero and every value (which
// may be negative) are on it. Positions are twips within the graph.
//
// The position window draws its x and y against time on the same graph,
// with the curves fitted to them (GraphSeries).

#include "results/component_results.h"
#include "results/graph_scales.h"

#include <QLineF>
#include <QPolygonF>
#include <QStringList>
#include <QtGlobal>
#include <functional>
#include <optional>
#include <vector>

class QPainter;

namespace results {

struct ComponentGraph
{
    GraphState timeAxis; // LineX and Labelxx of the time scale
    std::vector<GridLine> valueLines;
    std::vector<AxisNumber> valueNumbers;
    float zeroY = GraphOriginY;      // where velocity 0 lies
    std::vector<QPointF> horizontal; // marker centres
    std::vector<QPointF> vertical;
    std::optional<QLineF> horizontalLine;
    std::optional<QLineF> verticalLine;
    // Fitted curves that are not straight, as polylines.
    QPolygonF horizontalCurve;
    QPolygonF verticalCurve;
    QStringList names{QStringLiteral("水平"), QStringLiteral("鉛直")}; // the key's captions
};

// A curve over a range of time; a straight one is drawn as a line.
struct GraphCurve
{
    std::function<double(double)> value;
    double from = 0;
    double to = 0;
    bool straight = false;
};

// Two values against time, blue ○ and red ●, each with its curve.
struct GraphSeries
{
    std::vector<double> times;
    std::vector<double> first;
    std::vector<double> second;
    std::optional<GraphCurve> firstCurve;
    std::optional<GraphCurve> secondCurve;
    QStringList names{QStringLiteral("水平"), QStringLiteral("鉛直")};
};

class ComponentGraphScales
{
public:
    void load(const ComponentResults &results);
    void load(const GraphSeries &series);
    // New curves over the same values; the scales stay as they are.
    void setCurves(std::optional<GraphCurve> first, std::optional<GraphCurve> second);
    // The standard view: the smallest scales that hold every value (the
    // velocity axis starts a whole step below the lowest one, which leaves
    // room); true when the velocities are beyond the largest scale (the
    // limit message is then shown).
    bool resetScales();
    void timeLonger();   // one time row up, markers move left
    void timeShorter();  // one time row down
    void valueCoarser(); // "▼"
    void valueFiner();   // "▲"

    const ComponentGraph &graph() const { return m_graph; }
    qint16 TimeScaleIndex = 1;
    qint16 SpeedScaleIndex = 1;

private:
    void redraw();

    GraphSeries m_series;
    double m_low = 0;  // the smallest value, or 0
    double m_high = 0; // the largest value, or 0
    ComponentGraph m_graph;
};

// Draws the graph in twips (the painter already scaled to them).
void paintComponentGraph(QPainter &painter, const ComponentGraph &graph, float valueNumberLeft);

} // namespace results
