#include "digitize/marker_set.h"

#include "base/measurement_state.h"

#include <QPainter>
#include <algorithm>

using MS = MeasurementState;

namespace {

const QColor kYellow(255, 255, 0);
const QColor kWhite(255, 255, 255);
const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);

MarkerShape shape(int width, int height, QColor border, QColor fill, bool filled)
{
    MarkerShape s;
    s.width = width;
    s.height = height;
    s.border = border;
    s.fillColour = fill;
    s.filled = filled;
    return s;
}

// The template markers as the preview is designed.
PointMarker templateMarker()
{
    PointMarker m;
    m[PointMarker::Outer] = shape(17, 17, kBlack, kWhite, true);
    m[PointMarker::Reference] = shape(17, 17, kRed, kRed, false);
    m[PointMarker::Middle] = shape(15, 16, kWhite, kWhite, false);
    m[PointMarker::Inner] = shape(15, 15, kBlack, kWhite, false);
    m[PointMarker::Dot] = shape(4, 4, kBlack, kBlack, false);
    return m;
}

int rowCount(const MeasurementState &state)
{
    return std::clamp<int>(state.PointCount, 0, MS::MaxPoints);
}

} // namespace

QRectF MarkerShape::rect() const
{
    const double half = width / 2.0 + 0.5;
    return QRectF(centre.x() - half, centre.y() - half, width, height);
}

MarkerSet::MarkerSet() : m_markers{templateMarker()} {}

void MarkerSet::setCount(int pointCount)
{
    const int wanted = std::clamp(pointCount, 0, MS::MaxPoints) + 1;
    if (static_cast<int>(m_markers.size()) > wanted) {
        m_markers.resize(wanted);
        return;
    }
    while (static_cast<int>(m_markers.size()) < wanted) {
        PointMarker copy = m_markers.front();
        for (MarkerShape &s : copy.shapes)
            s.visible = false;
        m_markers.push_back(copy);
    }
}

void MarkerSet::resetMarkers()
{
    for (PointMarker &m : m_markers) {
        m[PointMarker::Outer].border = m_ink;
        m[PointMarker::Middle].border = kWhite;
        m[PointMarker::Inner].border = m_ink;
        m[PointMarker::Dot].border = m_ink;
        m[PointMarker::Dot].fillColour = m_ink;
        MarkerShape &ref = m[PointMarker::Reference];
        ref.filled = false;
        ref.fillColour = kRed;
        ref.border = kRed;
        const int sizes[5] = {17, 13, 15, 13, 3};
        for (int i = 0; i < 5; ++i) {
            m.shapes[i].width = sizes[i];
            m.shapes[i].height = sizes[i];
            m.shapes[i].visible = false;
        }
    }
}

QPointF MarkerSet::displayedPosition(const MeasurementState &state, int row, bool shakeOn)
{
    const auto &r = state.PointTable[row];
    if (!shakeOn)
        return QPointF(r[MS::ColX], r[MS::ColY]);
    const auto &first = state.PointTable[1];
    return QPointF(r[MS::ColX] + r[MS::ColRefX] - first[MS::ColRefX],
                   r[MS::ColY] + r[MS::ColRefY] - first[MS::ColRefY]);
}

QPointF MarkerSet::referencePosition(const MeasurementState &state, int row)
{
    return QPointF(state.PointTable[row][MS::ColRefX], state.PointTable[row][MS::ColRefY]);
}

KijunPlacement MarkerSet::kijunAt(QPointF reference)
{
    return {KijunPlacement::Action::Show,
            QPoint(qRound(reference.x()) + 10, qRound(reference.y()))};
}

void MarkerSet::showRings(const MeasurementState &state, int row, bool shakeOn)
{
    const QPointF at = displayedPosition(state, row, shakeOn);
    PointMarker &m = m_markers[row];
    for (PointMarker::Shape s : {PointMarker::Outer, PointMarker::Middle, PointMarker::Inner}) {
        m[s].filled = false;
        m[s].centreOn(at);
        m[s].visible = true;
    }
    m[PointMarker::Dot].centreOn(at);
    m[PointMarker::Dot].visible = true;
    m[PointMarker::Inner].dashed =
        state.TrackedScores.contains(state.PointTable[row][MeasurementState::ColFrame]);
}

KijunPlacement MarkerSet::showFrameMarkers(const MeasurementState &state, qint32 frame,
                                           bool shakeOn)
{
    if (state.AllPointsMode == 0)
        resetMarkers();
    KijunPlacement kijun;
    if (shakeOn)
        kijun.action = KijunPlacement::Action::Hide;
    const int rows = std::min(rowCount(state), count());
    for (int i = 1; i <= rows; ++i) {
        if (state.PointTable[i][MS::ColFrame] != frame)
            continue;
        const QPointF at = displayedPosition(state, i, shakeOn);
        PointMarker &m = m_markers[i];
        m[PointMarker::Outer].filled = true;
        m[PointMarker::Outer].fillColour = kYellow;
        m[PointMarker::Middle].filled = false;
        m[PointMarker::Inner].dashed = state.TrackedScores.contains(frame);
        m[PointMarker::Inner].fillColour = kYellow;
        m[PointMarker::Inner].filled = false;
        for (PointMarker::Shape s :
             {PointMarker::Outer, PointMarker::Middle, PointMarker::Inner, PointMarker::Dot}) {
            m[s].centreOn(at);
            m[s].visible = true;
        }
        if (shakeOn) {
            MarkerShape &ref = m[PointMarker::Reference];
            ref.filled = true;
            ref.fillColour = kRed;
            ref.border = kWhite;
            ref.centreOn(referencePosition(state, i));
            ref.visible = true;
            kijun = kijunAt(referencePosition(state, i));
        }
    }
    return kijun;
}

KijunPlacement MarkerSet::showAllMarkers(const MeasurementState &state, bool shakeOn)
{
    const int rows = std::min(rowCount(state), count());
    for (int i = 1; i <= rows; ++i) {
        showRings(state, i, shakeOn);
        if (shakeOn) {
            MarkerShape &ref = m_markers[i][PointMarker::Reference];
            ref.filled = false;
            ref.fillColour = kRed;
            ref.border = kRed;
            ref.centreOn(referencePosition(state, i));
            ref.visible = true;
        }
    }
    if (shakeOn && rows > 0)
        return kijunAt(referencePosition(state, rows));
    return {};
}

KijunPlacement MarkerSet::showAllPointsDiscs(const MeasurementState &state, bool shakeOn)
{
    const int rows = std::min(rowCount(state), count());
    for (int i = 1; i <= rows; ++i) {
        MarkerShape &outer = m_markers[i][PointMarker::Outer];
        outer.filled = true;
        outer.fillColour = kWhite;
        outer.centreOn(displayedPosition(state, i, shakeOn));
        outer.visible = true;
        if (shakeOn) {
            MarkerShape &ref = m_markers[i][PointMarker::Reference];
            ref.centreOn(referencePosition(state, i));
            ref.visible = true;
        }
    }
    if (shakeOn && rows > 0)
        return kijunAt(referencePosition(state, rows));
    return {};
}

void MarkerSet::showTemporaryObjectMarker(QPointF click)
{
    MarkerShape &outer = m_markers.front()[PointMarker::Outer];
    outer.filled = true;
    outer.fillColour = kWhite;
    // Centred with the width of a point's outer disc.
    outer.width = 17;
    outer.height = 17;
    outer.centreOn(click);
    outer.visible = true;
}

void MarkerSet::hideTemporaryObjectMarker()
{
    m_markers.front()[PointMarker::Outer].visible = false;
}

void MarkerSet::paint(QPainter &painter) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const PointMarker &m : m_markers) {
        for (const MarkerShape &s : m.shapes) {
            if (!s.visible || s.width <= 0 || s.height <= 0)
                continue;
            QPen pen(s.border, 1);
            if (s.dashed)
                pen.setDashPattern({2, 2.5});
            painter.setPen(pen);
            // A circle of a few pixels is all outline: draw it as a solid dot.
            const bool dot = s.width <= 4;
            painter.setBrush(dot        ? QBrush(s.border)
                             : s.filled ? QBrush(s.fillColour)
                                        : QBrush(Qt::NoBrush));
            // Keep the 1-pixel outline inside the shape's box.
            painter.drawEllipse(s.rect().adjusted(0.5, 0.5, -0.5, -0.5));
        }
    }
    painter.restore();
}
