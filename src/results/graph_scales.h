#pragma once
// The result graphs are built from fixed sets of pieces that are moved, shown
// and hidden: ten vertical and ten horizontal grid lines, five numbers on
// each axis and one marker per plotted value. GraphState holds where each
// piece is (in twips within the graph, 15 twips to a pixel) and whether it is
// shown; the drawing functions below move them for one row of a scale table.
// Pieces a drawing does not touch keep their place, as on screen.

#include <QString>
#include <array>
#include <vector>

namespace results {

// One row of a scale table: the largest value it holds, the spacing of grid
// lines and of numbers in twips, and the value step between two numbers.
struct ScaleRow
{
    float maximum;
    float gridSpacing;
    float numberSpacing;
    float numberStep;
};

// Tables indexed from 1 like the scale indices; row 0 is unused.
constexpr int TimeScaleRows = 12;
constexpr int SpeedScaleRows = 20;
constexpr int DistanceScaleRows = 9;
const std::array<ScaleRow, TimeScaleRows + 1> &TimeScaleTable();
const std::array<ScaleRow, SpeedScaleRows + 1> &SpeedScaleTable();
const std::array<ScaleRow, DistanceScaleRows + 1> &DistanceScaleTable();

// Graph geometry in twips.
constexpr float GraphOriginX = 840;  // time 0
constexpr float GraphOriginY = 4920; // value 0
constexpr float TimeAxisLength = 6720;
constexpr float ValueAxisLength = 4680;
constexpr float TimeNumberOffset = 770;   // left of a time number, plus its place
constexpr float ValueNumberOffset = 4850; // top of a value number, minus its place
constexpr float MarkerSize = 200;
constexpr float GraphWidth = 7815;
constexpr float GraphHeight = 5655;
constexpr float TwipsPerPixel = 15;

struct GridLine
{
    float position = 0; // x of a vertical line, y of a horizontal one
    bool visible = false;
};

struct AxisNumber
{
    float position = 0; // left edge of a time number, top edge of a value number
    QString caption;
    bool visible = false;
};

struct GraphMarker
{
    float left = 0;
    float top = 0;
    bool visible = false;
};

struct GraphState
{
    std::array<GridLine, 10> LineX;    // vertical lines, the time grid
    std::array<GridLine, 10> LineY;    // horizontal lines, the value grid
    std::array<AxisNumber, 5> Labelxx; // time numbers
    std::array<AxisNumber, 5> Labelyy; // value numbers
    std::vector<GraphMarker> Shapep;   // markers, element 0 always present

    // The pieces as every load leaves them: closely spaced lines, empty
    // numbers, markerCount hidden markers in a row near the top.
    void load(int markerCount);
};

// Time axis for one row: grid lines, numbers, and the markers' horizontal
// place from their times (marker l takes markerTimes[l]). With hideAtZero a
// marker whose time is exactly 0 is hidden, otherwise every placed marker is
// shown.
void drawTimeAxis(GraphState &graph, const ScaleRow &row, const std::vector<float> &markerTimes,
                  bool hideAtZero);

// Value axis (speed or distance) for one row: grid lines, numbers, and the
// markers' vertical place from their values. Visibility of markers is left
// to the time axis.
void drawValueAxis(GraphState &graph, const ScaleRow &row, const std::vector<float> &markerValues);

// The smallest row (1..N) whose maximum is not below the value, or 0 when the
// value is beyond the last row.
template <size_t Size> int fittingRow(const std::array<ScaleRow, Size> &table, float maximum)
{
    for (int i = 1; i < int(Size); ++i)
        if (!(maximum > table[i].maximum))
            return i;
    return 0;
}

// The text both result windows show when a value is beyond the largest scale.
QString graphLimitMessage();

} // namespace results
