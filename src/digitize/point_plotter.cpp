#include "digitize/point_plotter.h"

#include "base/measurement_state.h"
#include "base/numbers.h"
#include "base/window_state.h"
#include "digitize/digitizing_state.h"

#include <algorithm>
#include <cmath>
#include <limits>

using MS = MeasurementState;

PointPlotter::PointPlotter(MeasurementState &state, DigitizingState &clicks, WindowState &window)
    : m_state(state), m_clicks(clicks), m_window(window)
{
}

qint16 PointPlotter::wholePixels(double value)
{
    if (std::isnan(value))
        return 0;
    const double rounded = num::roundHalfEven(value);
    return static_cast<qint16>(std::clamp<double>(rounded, std::numeric_limits<qint16>::min(),
                                                  std::numeric_limits<qint16>::max()));
}

QString PointPlotter::limitMessage()
{
    return QStringLiteral("点は２００個までしか打てません。") + QStringLiteral("\r\n") +
           QStringLiteral("不必要な点を消して下さい。");
}

int PointPlotter::pointOnFrame(qint32 frame) const
{
    return pointOnFrame(m_state, frame);
}

int PointPlotter::pointOnFrame(const MeasurementState &state, qint32 frame)
{
    int found = 0;
    const int count = std::clamp<int>(state.PointCount, 0, MS::MaxPoints);
    for (int row = 1; row <= count; ++row) {
        if (state.PointTable[row][MS::ColFrame] == frame)
            found = state.PointTable[row][MS::ColNumber];
    }
    return found;
}

PointPlotter::Result PointPlotter::click(qint32 frame, QPointF position)
{
    // A reference click finishes a point its object click was let through
    // for, so the limit only stops clicks that could start a new point.
    const bool finishesPair = m_window.ShakeCorrectionOn && m_window.AwaitingShakeReference;
    if (m_state.PointCount >= MS::MaxPoints && !finishesPair)
        return {Outcome::Refused};
    if (!m_window.ShakeCorrectionOn)
        return plot(frame, position);
    if (!m_window.AwaitingShakeReference)
        return markObject(frame, position);
    return markReference(frame, position);
}

bool PointPlotter::dropPair()
{
    const bool pending = m_window.AwaitingShakeReference;
    m_window.AwaitingShakeReference = false;
    return pending;
}

int PointPlotter::addPoint(qint32 frame)
{
    ++m_state.PointCount;
    const int point = m_state.PointCount;
    m_state.PointTable[point][MS::ColNumber] = point;
    m_state.PointTable[point][MS::ColFrame] = frame;
    return point;
}

PointPlotter::Result PointPlotter::plot(qint32 frame, QPointF position)
{
    Result result{Outcome::Plotted, pointOnFrame(frame), false};
    if (result.point == 0) {
        result.point = addPoint(frame);
        result.newPoint = true;
    }
    auto &row = m_state.PointTable[result.point];
    row[MS::ColNumber] = result.point;
    row[MS::ColFrame] = frame;
    // Whole pixels from the single-precision click, as the mouse reported it.
    row[MS::ColX] = wholePixels(static_cast<float>(position.x()));
    row[MS::ColY] = wholePixels(static_cast<float>(position.y()));
    return result;
}

PointPlotter::Result PointPlotter::markObject(qint32 frame, QPointF position)
{
    const int point = pointOnFrame(frame);
    m_clicks.FirstClickX = static_cast<float>(position.x());
    m_clicks.FirstClickY = static_cast<float>(position.y());
    m_clicks.PendingFrame = frame;
    m_window.AwaitingShakeReference = true;
    return {Outcome::ObjectMarked, point, point == 0};
}

PointPlotter::Result PointPlotter::markReference(qint32 frame, QPointF position)
{
    m_window.AwaitingShakeReference = false;
    // The object belongs to the frame it was clicked on.
    if (frame != m_clicks.PendingFrame)
        return {Outcome::PairDropped};
    int point = pointOnFrame(frame);
    const bool newPoint = point == 0;
    if (newPoint) {
        if (m_state.PointCount >= MS::MaxPoints)
            return {Outcome::Refused};
        point = addPoint(frame);
    }

    const float refX = static_cast<float>(position.x());
    const float refY = static_cast<float>(position.y());
    if (point == 1) {
        m_clicks.ShakeOriginX = wholePixels(refX);
        m_clicks.ShakeOriginY = wholePixels(refY);
    }
    m_clicks.SecondClickX = refX;
    m_clicks.SecondClickY = refY;

    // The reference point's drift since point 1 is the camera's own movement.
    const float objectX = m_clicks.FirstClickX - (refX - m_clicks.ShakeOriginX);
    const float objectY = m_clicks.FirstClickY - (refY - m_clicks.ShakeOriginY);
    auto &row = m_state.PointTable[point];
    row[MS::ColNumber] = point;
    row[MS::ColFrame] = frame;
    row[MS::ColX] = wholePixels(objectX);
    row[MS::ColY] = wholePixels(objectY);
    row[MS::ColRefX] = wholePixels(refX);
    row[MS::ColRefY] = wholePixels(refY);
    return {Outcome::ReferenceMarked, point, newPoint};
}

int PointPlotter::eraseFramePoint(qint32 frame)
{
    const int target = pointOnFrame(frame);
    if (target < 1 || target > m_state.PointCount)
        return 0;
    const int lastBefore = m_state.PointCount;
    // Each later point moves up one row; column 0 stays, so every row keeps
    // its own number.
    for (int row = target; row < lastBefore; ++row) {
        for (int col = MS::ColFrame; col < MS::TableColumns; ++col)
            m_state.PointTable[row][col] = m_state.PointTable[row + 1][col];
    }
    std::fill(std::begin(m_state.PointTable[lastBefore]), std::end(m_state.PointTable[lastBefore]),
              0);
    m_state.PointCount = static_cast<qint16>(lastBefore - 1);
    return target;
}
