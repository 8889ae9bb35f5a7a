#pragma once
// What leads from a result window back to the video: which frames each item
// of the window (a table column, a graph marker) came from, which item the
// frame on show belongs to, and where its time stands on the graph.
//
// Items are numbered from the first computed one: the point or interval that
// a table page starting at `first` shows in column c is item first + c, and
// marker l of a graph is item l.

#include "results/component_graph.h"
#include "results/graph_scales.h"
#include "results/result_computation.h"

#include <QPointF>
#include <QtGlobal>
#include <optional>
#include <vector>

namespace results {

enum class LinkedItems
{
    Points,    // item k is point k in frame order
    Intervals, // item l runs from point l to point l + 1
};

struct LinkedItem
{
    qint32 first = 0; // the first frame that belongs to it
    qint32 frame = 0; // the frame it leads to: the point's, or the interval's later point's
};

// The frames of the measurement's points in frame order, as the results
// sort them.
std::vector<qint32> sortedFrames(const MeasurementState &state);

// The items of points in `frames` order. An interval takes the frames after
// its first point up to its later point, so that every frame between two
// points belongs to the interval being measured there.
std::vector<LinkedItem> linkedItems(const std::vector<qint32> &frames, LinkedItems kind);

// The item `frame` belongs to; -1 when none does.
int itemOfFrame(const std::vector<LinkedItem> &items, qint32 frame);

// A marker on a graph, its centre in twips, and the item it shows.
struct GraphSpot
{
    QPointF centre;
    int item = 0;
};

// The markers shown on a graph of the standard kind, and on the graph of
// the velocity components (both markers of an interval).
std::vector<GraphSpot> markerSpots(const GraphState &graph);
std::vector<GraphSpot> markerSpots(const ComponentGraph &graph);

// The item whose marker is under `twips` (the nearest within a marker's
// width); -1 when none is.
int itemAt(const std::vector<GraphSpot> &spots, QPointF twips);

// Where `seconds` stand on a time axis drawn with `row`, in twips; nothing
// when the time is off the axis.
std::optional<float> timeAxisX(const ScaleRow &row, double seconds);

} // namespace results
