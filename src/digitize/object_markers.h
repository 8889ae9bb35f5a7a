#pragma once
// The markers of the objects that are not chosen, drawn beside the chosen
// object's own (MarkerSet), each in its object's colour, and every object's
// letter beside its newest point, so that colour is not the only clue. With
// one object (Ａ) nothing is drawn here and the preview looks as it always
// has.

#include <QColor>
#include <QPointF>
#include <QtGlobal>

class QPainter;
struct MeasurementState;

namespace objects {

// Ａ black (the markers as they always were), Ｂ blue, Ｃ green, Ｄ magenta.
QColor ink(int object);

// The markers of the objects not chosen: their point on `frame`, or every
// point while all points are shown; their newest point always. Then every
// object's letter beside its newest point.
void paintObjectMarkers(QPainter &painter, const MeasurementState &state, qint32 frame,
                        bool shakeOn, bool allShown);

// Where the letter of an object's newest point goes (its top-left corner).
QPointF letterPosition(QPointF point);

} // namespace objects
