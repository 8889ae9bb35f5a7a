#include "digitize/object_markers.h"

#include "base/measurement_objects.h"
#include "digitize/marker_set.h"

#include <QFont>
#include <QPainter>

namespace objects {

namespace {

using MS = MeasurementState;

void paintRing(QPainter &painter, QPointF at, const QColor &colour, bool newest)
{
    painter.setPen(QPen(Qt::white, 4));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(at, 7.0, 7.0);
    painter.setPen(QPen(colour, 2));
    painter.drawEllipse(at, 7.0, 7.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(newest ? colour : QColor(Qt::white));
    painter.drawEllipse(at, 2.5, 2.5);
}

void paintLetter(QPainter &painter, QPointF point, int object)
{
    const QRectF box(letterPosition(point), QSizeF(15, 15));
    painter.setPen(QPen(ink(object), 1));
    painter.setBrush(Qt::white);
    painter.drawRect(box);
    painter.setPen(ink(object));
    painter.drawText(box, Qt::AlignCenter, letter(object));
}

} // namespace

QColor ink(int object)
{
    switch (object) {
    case 1:
        return QColor(0, 70, 255);
    case 2:
        return QColor(0, 150, 0);
    case 3:
        return QColor(210, 0, 210);
    default:
        return QColor(0, 0, 0);
    }
}

QPointF letterPosition(QPointF point)
{
    return point + QPointF(8, -22);
}

void paintObjectMarkers(QPainter &painter, const MeasurementState &state, qint32 frame,
                        bool shakeOn, bool allShown)
{
    if (!severalInUse(state))
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    QFont font = painter.font();
    font.setPixelSize(12);
    font.setBold(true);
    painter.setFont(font);
    const bool everyPoint = allShown || state.AllPointsMode == 1;
    for (int object = 0; object < Count; ++object) {
        const int points = pointCount(state, object);
        if (points == 0)
            continue;
        const MeasurementState one = object == state.ChosenObject ? state : stateOf(state, object);
        if (object != state.ChosenObject) {
            for (int row = 1; row <= points; ++row) {
                if (row == points || everyPoint || one.PointTable[row][MS::ColFrame] == frame)
                    paintRing(painter, MarkerSet::displayedPosition(one, row, shakeOn), ink(object),
                              row == points);
            }
        }
        paintLetter(painter, MarkerSet::displayedPosition(one, points, shakeOn), object);
    }
    painter.restore();
}

} // namespace objects
