#pragma once
// The markers laid over the preview, kept as data: for every point number
// five concentric circles (outer disc, shake reference marker, middle ring,
// inner ring, centre dot) with their size, colours, fill and visibility.
// Index 0 is the template new points are copied from; in camera-shake mode
// its outer disc is also the temporary marker of an object awaiting its
// reference click. The preview paints the set; tests read it.

#include <QColor>
#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QtGlobal>
#include <array>
#include <vector>

class QPainter;
struct MeasurementState;

struct MarkerShape
{
    int width = 0;
    int height = 0;
    QColor border = Qt::black;
    QColor fillColour = Qt::black;
    bool filled = false; // solid fill; transparent otherwise
    bool visible = false;
    // Outlined in dashes: the inner ring of a point automatic tracking
    // plotted, so that it tells itself from a clicked one.
    bool dashed = false;
    QPointF centre;

    // Left edge X - W/2 - 0.5, top edge Y - W/2 - 0.5: the width is used for
    // both directions.
    QRectF rect() const;
    void centreOn(QPointF point) { centre = point; }
};

struct PointMarker
{
    // Bottom to top: outer disc, shake reference marker, middle ring, inner
    // ring, centre dot.
    enum Shape
    {
        Outer = 0,
        Reference = 1,
        Middle = 2,
        Inner = 3,
        Dot = 4
    };
    std::array<MarkerShape, 5> shapes;
    MarkerShape &operator[](Shape s) { return shapes[s]; }
    const MarkerShape &operator[](Shape s) const { return shapes[s]; }
};

// What a marker operation wants done with the "基準" label.
struct KijunPlacement
{
    enum class Action
    {
        Keep,
        Hide,
        Show
    };
    Action action = Action::Keep;
    QPoint topLeft; // for Show: 10 pixels right of the reference point, at its height
};

class MarkerSet
{
public:
    MarkerSet();

    int count() const { return static_cast<int>(m_markers.size()) - 1; }
    PointMarker &marker(int number) { return m_markers.at(number); }
    const PointMarker &marker(int number) const { return m_markers.at(number); }

    // Markers for numbers 1..pointCount: missing ones are made as hidden
    // copies of the template, higher ones are destroyed.
    void setCount(int pointCount);

    // Black / white / black borders, red reference marker with transparent
    // fill, sizes 17, 13, 15, 13, 3, everything hidden (template included).
    // The black parts take the ink of the chosen object (black for Ａ).
    void resetMarkers();
    void setInk(const QColor &ink) { m_ink = ink; }

    // Highlights the point(s) on `frame`.
    KijunPlacement showFrameMarkers(const MeasurementState &state, qint32 frame, bool shakeOn);
    // Every point as rings (and its reference ring with correction on).
    KijunPlacement showAllMarkers(const MeasurementState &state, bool shakeOn);
    // The all-points button: every point as a white disc.
    KijunPlacement showAllPointsDiscs(const MeasurementState &state, bool shakeOn);

    // Camera-shake mode: the white object marker until the reference click.
    void showTemporaryObjectMarker(QPointF click);
    void hideTemporaryObjectMarker();

    // Where a point is drawn: its position, or with correction on where the
    // object was clicked on its own frame (the corrected position moved back
    // by the reference point's drift since point 1).
    static QPointF displayedPosition(const MeasurementState &state, int row, bool shakeOn);
    static QPointF referencePosition(const MeasurementState &state, int row);

    // Paints every visible shape in stacking order.
    void paint(QPainter &painter) const;

private:
    void showRings(const MeasurementState &state, int row, bool shakeOn);
    static KijunPlacement kijunAt(QPointF reference);

    std::vector<PointMarker> m_markers;
    QColor m_ink = Qt::black;
};
