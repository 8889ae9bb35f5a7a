#include "digitize/axes_setting.h"

#include "base/measurement_state.h"
#include "digitize/point_plotter.h"

#include <QPainter>
#include <cmath>

namespace {

const QColor kAxes(0, 150, 255);

// Where the line from `from` along `direction` leaves the rectangle.
QPointF exitPoint(QPointF from, QPointF direction, const QRectF &area)
{
    double best = HUGE_VAL;
    auto consider = [&](double distance) {
        if (distance > 0 && distance < best)
            best = distance;
    };
    if (direction.x() > 0)
        consider((area.right() - from.x()) / direction.x());
    if (direction.x() < 0)
        consider((area.left() - from.x()) / direction.x());
    if (direction.y() > 0)
        consider((area.bottom() - from.y()) / direction.y());
    if (direction.y() < 0)
        consider((area.top() - from.y()) / direction.y());
    return std::isfinite(best) ? from + best * direction : from;
}

} // namespace

AxesSetting::Click AxesSetting::click(QPointF position, QPointF offset, CoordinateAxes &axes)
{
    const QPointF stored = position - offset;
    if (!m_origin) {
        m_origin = stored;
        m_originShown = position;
        m_band = QLineF(position, position);
        return Click::Origin;
    }
    if (!axesClicksUsable(*m_origin, stored))
        return Click::SamePixel;
    axes.set = true;
    axes.origin = *m_origin;
    axes.xPoint = stored;
    cancel();
    return Click::Set;
}

void AxesSetting::mouseMoved(QPointF position)
{
    if (m_origin)
        m_band = QLineF(m_originShown, position);
}

void AxesSetting::cancel()
{
    m_origin.reset();
    m_band.reset();
}

QPointF AxesSetting::shakeOffset(const MeasurementState &state, qint32 frame, bool shakeOn)
{
    using MS = MeasurementState;
    const int row = shakeOn ? PointPlotter::pointOnFrame(state, frame) : 0;
    if (row < 1 || state.PointCount < 1)
        return {};
    return QPointF(state.PointTable[row][MS::ColRefX] - state.PointTable[1][MS::ColRefX],
                   state.PointTable[row][MS::ColRefY] - state.PointTable[1][MS::ColRefY]);
}

void AxesSetting::paintSetting(QPainter &painter) const
{
    if (!m_origin)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (m_band) {
        painter.setPen(QPen(kAxes, 1));
        painter.drawLine(*m_band);
    }
    painter.setPen(QPen(kAxes, 5));
    painter.drawEllipse(m_originShown, 1.0, 1.0);
    painter.restore();
}

void AxesSetting::paintAxes(QPainter &painter, const CoordinateAxes &axes, QPointF offset,
                            QSizeF size)
{
    if (!axes.set)
        return;
    const AxesFrame frame = axesFrame(axes, QPointF());
    const QRectF area(QPointF(0, 0), size);
    const QPointF origin = frame.origin + offset;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(kAxes, 1));
    QFont font = painter.font();
    font.setPixelSize(14);
    font.setBold(true);
    painter.setFont(font);
    for (const auto &[direction, name] : {std::pair{frame.xDirection, QStringLiteral("x")},
                                          std::pair{frame.yDirection, QStringLiteral("y")}}) {
        const QPointF end = exitPoint(origin, direction, area);
        painter.drawLine(exitPoint(origin, -direction, area), end);
        // The letter just inside the picture, beside the positive end.
        const QPointF side(-direction.y(), direction.x());
        const QPointF at = end - 12 * direction + 9 * side;
        painter.drawText(QRectF(at - QPointF(8, 9), QSizeF(16, 18)), Qt::AlignCenter, name);
    }
    painter.drawEllipse(origin, 2.5, 2.5);
    font.setBold(false);
    font.setPixelSize(12);
    painter.setFont(font);
    const QString angle = xAxisAngleText(axes);
    const QRectF box(QPointF(6, size.height() - 22), QSizeF(130, 18));
    painter.fillRect(box, QColor(255, 255, 255, 200));
    painter.drawText(box, Qt::AlignCenter, angle);
    painter.restore();
}

QString AxesSetting::samePixelMessage()
{
    return QStringLiteral(
        "原点と同じ点です。x軸の向きは、原点から離れた点をクリックして決めてください。");
}
