#include "results/graph_scales.h"

#include "base/numbers.h"

#include <algorithm>

namespace results {

const std::array<ScaleRow, TimeScaleRows + 1> &TimeScaleTable()
{
    static const std::array<ScaleRow, TimeScaleRows + 1> table{{
        {0, 0, 0, 0},
        {0.3f, 1120, 2240, 0.1f},
        {0.5f, 1340, 1340, 0.1f},
        {0.7f, 960, 1920, 0.2f},
        {1, 670, 1340, 0.2f},
        {1.5f, 2240, 2240, 0.5f},
        {2, 1680, 1680, 0.5f},
        {3, 1120, 2240, 1},
        {5, 1340, 1340, 1},
        {7, 960, 1920, 2},
        {10, 670, 1340, 2},
        {15, 2240, 2240, 5},
        {20, 1680, 1680, 5},
    }};
    return table;
}

const std::array<ScaleRow, SpeedScaleRows + 1> &SpeedScaleTable()
{
    static const std::array<ScaleRow, SpeedScaleRows + 1> table{{
        {0, 0, 0, 0},
        {10, 460, 920, 2},
        {15, 1560, 1560, 5},
        {20, 1170, 1170, 5},
        {30, 780, 1560, 10},
        {50, 930, 930, 10},
        {70, 660, 1320, 20},
        {100, 460, 920, 20},
        {150, 1560, 1560, 50},
        {200, 1170, 1170, 50},
        {300, 780, 1560, 100},
        {500, 930, 930, 100},
        {700, 660, 1320, 200},
        {1000, 460, 920, 200},
        {1500, 1560, 1560, 500},
        {2000, 1170, 1170, 500},
        {3000, 780, 1560, 1000},
        {5000, 930, 930, 1000},
        {7000, 660, 1320, 2000},
        {10000, 460, 920, 2000},
        {15000, 1560, 1560, 5000},
    }};
    return table;
}

const std::array<ScaleRow, DistanceScaleRows + 1> &DistanceScaleTable()
{
    static const std::array<ScaleRow, DistanceScaleRows + 1> table{{
        {0, 0, 0, 0},
        {100, 460, 920, 20},
        {150, 1560, 1560, 50},
        {200, 1170, 1170, 50},
        {300, 780, 1560, 100},
        {500, 930, 930, 100},
        {700, 660, 1320, 200},
        {1000, 460, 920, 200},
        {1500, 1560, 1560, 500},
        {2000, 1170, 1170, 500},
    }};
    return table;
}

void GraphState::load(int markerCount)
{
    for (int i = 0; i < 10; ++i) {
        LineX[i] = {GraphOriginX + 100.0f * float(i), true};
        LineY[i] = {GraphOriginY - 100.0f * float(i), true};
    }
    for (int i = 0; i < 5; ++i) {
        Labelxx[i] = {0, QString(), true};
        Labelyy[i] = {0, QString(), true};
    }
    // Markers beyond the new count are dropped, so none of an earlier, longer
    // measurement stays on the graph after a re-display.
    Shapep.assign(std::max(markerCount, 1), GraphMarker{});
    for (int i = 0; i < int(Shapep.size()); ++i)
        Shapep[i] = {1000.0f + 100.0f * float(i), 720, false};
}

void drawTimeAxis(GraphState &graph, const ScaleRow &row, const std::vector<float> &markerTimes,
                  bool hideAtZero)
{
    const float g = row.gridSpacing;
    const float s = row.numberSpacing;
    const float d = row.numberStep;
    // The test uses j while the line stands at j + 1, so the last line shown
    // may lie up to one spacing beyond the axis.
    for (int j = 0; j < 10; ++j) {
        GridLine &line = graph.LineX[j];
        if (float(j) * g > TimeAxisLength) {
            line.visible = false;
        } else {
            line.position = GraphOriginX + float(j + 1) * g;
            line.visible = true;
        }
    }
    for (int k = 0; k < 5; ++k) {
        AxisNumber &number = graph.Labelxx[k];
        if (float(k) * s > TimeAxisLength) {
            number.visible = false;
        } else {
            number.position = TimeNumberOffset + float(k + 1) * s;
            number.caption = num::numberText(float(k + 1) * d);
            number.visible = true;
        }
    }
    const int markers = std::min<int>(int(markerTimes.size()), int(graph.Shapep.size()));
    for (int l = 0; l < markers; ++l) {
        GraphMarker &marker = graph.Shapep[l];
        marker.left = GraphOriginX - MarkerSize / 2 + s * (markerTimes[l] / d);
        marker.visible = !(hideAtZero && markerTimes[l] == 0);
    }
}

void drawValueAxis(GraphState &graph, const ScaleRow &row, const std::vector<float> &markerValues)
{
    const float g = row.gridSpacing;
    const float s = row.numberSpacing;
    const float d = row.numberStep;
    for (int j = 0; j < 10; ++j) {
        GridLine &line = graph.LineY[j];
        if (float(j) * g > ValueAxisLength) {
            line.visible = false;
        } else {
            line.position = GraphOriginY - float(j + 1) * g;
            line.visible = true;
        }
    }
    for (int i = 0; i < 5; ++i) {
        AxisNumber &number = graph.Labelyy[i];
        if (float(i) * s > ValueAxisLength) {
            number.visible = false;
        } else {
            number.position = ValueNumberOffset - float(i + 1) * s;
            number.caption = num::numberText(float(i + 1) * d);
            number.visible = true;
        }
    }
    // Values above the axis land above the visible graph.
    const int markers = std::min<int>(int(markerValues.size()), int(graph.Shapep.size()));
    for (int l = 0; l < markers; ++l)
        graph.Shapep[l].top = GraphOriginY - MarkerSize / 2 - s * (markerValues[l] / d);
}

QString graphLimitMessage()
{
    return QStringLiteral("グラフの表示限界を超えました。\r\n"
                          "手動で目盛りを設定してください。\r\n"
                          "ただし、すべての打点を表示することはできません。");
}

} // namespace results
