#include "digitize/reference_length.h"

#include "base/measurement_state.h"
#include "base/numbers.h"
#include "digitize/digitizing_state.h"

#include <QPainter>
#include <cmath>

namespace {
const QColor kRed(255, 0, 0);
}

void ReferenceDrawing::paint(QPainter &painter) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (band) {
        // White in difference mode inverts every pixel under the line, so
        // the band stays visible on any picture.
        painter.setCompositionMode(QPainter::CompositionMode_Difference);
        painter.setPen(QPen(Qt::white, 1));
        painter.drawLine(*band);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    if (line) {
        painter.setPen(QPen(kRed, 1));
        painter.drawLine(*line);
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(kRed, 5));
    painter.setBrush(Qt::NoBrush);
    for (const QPointF &dot : dots)
        painter.drawEllipse(dot, 1.0, 1.0);
    painter.restore();
}

ReferenceLength::ReferenceLength(DigitizingState &clicks, ReferenceDrawing &drawing)
    : m_clicks(clicks), m_drawing(drawing)
{
}

ReferenceLength::Pick ReferenceLength::click(QPointF position)
{
    const float x = static_cast<float>(position.x());
    const float y = static_cast<float>(position.y());
    if (!m_clicks.RefFirstClickDone) {
        // A new pair: earlier dots and lines go.
        m_drawing.clear();
        m_clicks.FirstClickX = x;
        m_clicks.FirstClickY = y;
        m_drawing.dots.append(QPointF(x, y));
        m_clicks.BandEndX = x + 1;
        m_clicks.BandEndY = y;
        m_drawing.band = QLineF(x, y, m_clicks.BandEndX, m_clicks.BandEndY);
        m_clicks.RefFirstClickDone = true;
        return Pick::First;
    }
    m_drawing.dots.append(QPointF(x, y));
    m_clicks.SecondClickX = x;
    m_clicks.SecondClickY = y;
    m_drawing.band.reset();
    m_drawing.line = QLineF(m_clicks.FirstClickX, m_clicks.FirstClickY, x, y);
    m_clicks.RefFirstClickDone = false;
    return Pick::Second;
}

void ReferenceLength::mouseMoved(QPointF position)
{
    if (!m_clicks.RefFirstClickDone)
        return;
    m_clicks.BandEndX = static_cast<float>(position.x());
    m_clicks.BandEndY = static_cast<float>(position.y());
    m_drawing.band =
        QLineF(m_clicks.FirstClickX, m_clicks.FirstClickY, m_clicks.BandEndX, m_clicks.BandEndY);
}

float ReferenceLength::storedDistance(const DigitizingState &clicks)
{
    const double dx = double(clicks.FirstClickX) - double(clicks.SecondClickX);
    const double dy = double(clicks.FirstClickY) - double(clicks.SecondClickY);
    return static_cast<float>(std::sqrt(dx * dx + dy * dy));
}

QString ReferenceLength::tooLongMessage()
{
    return QStringLiteral("長さは３２７６７までの数で入力して下さい。");
}

ReferenceLength::Key ReferenceLength::classifyKey(int key, const QString &text)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Key::Finish;
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return Key::Pass;
    default:
        break;
    }
    if (text.isEmpty())
        return Key::Pass;
    if (text.size() == 1 && text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9'))
        return Key::Pass;
    return Key::Refuse;
}

ReferenceLength::Finish ReferenceLength::finish(const QString &lengthText, const QString &unit,
                                                MeasurementState &state)
{
    const std::optional<qint16> value = num::toInt16(num::leadingNumber(lengthText));
    if (!value)
        return {false, tooLongMessage()};
    state.RefLengthValue = *value;
    state.RefLengthPixels = storedDistance(m_clicks);
    state.LengthUnit = unit;
    // A lone first point is forgotten: no band follows the mouse afterwards
    // and the next setting starts with a first point again.
    m_clicks.RefFirstClickDone = false;
    m_drawing.clear();
    return {true, QString()};
}
