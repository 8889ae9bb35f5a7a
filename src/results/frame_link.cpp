#include "results/frame_link.h"

#include <cmath>

namespace results {

std::vector<qint32> sortedFrames(const MeasurementState &state)
{
    const ResultTable sorted = sortPoints(state);
    const int n = resultPointCount(state);
    std::vector<qint32> frames;
    frames.reserve(n);
    for (int k = 0; k < n; ++k)
        frames.push_back(qint32(sorted[k][SortedFrame]));
    return frames;
}

std::vector<LinkedItem> linkedItems(const std::vector<qint32> &frames, LinkedItems kind)
{
    std::vector<LinkedItem> items;
    if (kind == LinkedItems::Points) {
        for (qint32 frame : frames)
            items.push_back({frame, frame});
        return items;
    }
    for (size_t l = 0; l + 1 < frames.size(); ++l)
        items.push_back({frames[l] + 1, frames[l + 1]});
    return items;
}

int itemOfFrame(const std::vector<LinkedItem> &items, qint32 frame)
{
    for (size_t i = 0; i < items.size(); ++i)
        if (frame >= items[i].first && frame <= items[i].frame)
            return int(i);
    return -1;
}

std::vector<GraphSpot> markerSpots(const GraphState &graph)
{
    std::vector<GraphSpot> spots;
    for (size_t l = 0; l < graph.Shapep.size(); ++l) {
        const GraphMarker &marker = graph.Shapep[l];
        if (marker.visible)
            spots.push_back(
                {QPointF(marker.left + MarkerSize / 2, marker.top + MarkerSize / 2), int(l)});
    }
    return spots;
}

std::vector<GraphSpot> markerSpots(const ComponentGraph &graph)
{
    std::vector<GraphSpot> spots;
    for (size_t l = 0; l < graph.horizontal.size(); ++l)
        spots.push_back({graph.horizontal[l], int(l)});
    for (size_t l = 0; l < graph.vertical.size(); ++l)
        spots.push_back({graph.vertical[l], int(l)});
    return spots;
}

int itemAt(const std::vector<GraphSpot> &spots, QPointF twips)
{
    int found = -1;
    double nearest = MarkerSize;
    for (const GraphSpot &spot : spots) {
        const double distance =
            std::hypot(spot.centre.x() - twips.x(), spot.centre.y() - twips.y());
        if (distance <= nearest) {
            nearest = distance;
            found = spot.item;
        }
    }
    return found;
}

std::optional<float> timeAxisX(const ScaleRow &row, double seconds)
{
    if (!(row.numberStep > 0) || !(seconds >= 0))
        return std::nullopt;
    const double x = GraphOriginX + row.numberSpacing * (seconds / row.numberStep);
    if (x > GraphOriginX + TimeAxisLength)
        return std::nullopt;
    return float(x);
}

} // namespace results
