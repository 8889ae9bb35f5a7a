#pragma once
// What a click on the preview does to the point table while plotting: one
// point per frame, at most 200, whole preview pixels with halves to even;
// with camera-shake correction two clicks per point (object, then a fixed
// reference point). Also erasing the point of a frame.

#include <QPointF>
#include <QString>
#include <QtGlobal>

struct DigitizingState;
struct MeasurementState;

class PointPlotter
{
public:
    enum class Outcome
    {
        Refused,         // 200 points already: the limit message, nothing changed
        Plotted,         // correction off: the point is written
        ObjectMarked,    // correction on: the object is stored, its reference is awaited
        ReferenceMarked, // correction on: the pair is complete and written
        PairDropped,     // correction on: the awaited point is gone; nothing written
    };
    struct Result
    {
        Outcome outcome = Outcome::Refused;
        int point = 0;         // the point number written or started
        bool newPoint = false; // PointCount grew by this click
        bool completes() const
        {
            return outcome == Outcome::Plotted || outcome == Outcome::ReferenceMarked;
        }
    };

    PointPlotter(MeasurementState &state, DigitizingState &clicks);

    // The point plotted on `frame`: among rows 1..PointCount the last whose
    // frame matches; 0 when there is none.
    int pointOnFrame(qint32 frame) const;

    // A click at `position` (preview pixels) while `frame` is shown.
    Result click(qint32 frame, QPointF position, bool shakeCorrectionOn);

    // Removes the point of `frame` and closes the gap; the rows keep their
    // own numbers. Returns the number removed, 0 when the frame has none (then
    // nothing changes).
    int eraseFramePoint(qint32 frame);

    // Nearest whole pixel, halves to even, held within 16 bits.
    static qint16 wholePixels(double value);

    // "点は２００個までしか打てません。" CR LF "不必要な点を消して下さい。"
    static QString limitMessage();

private:
    Result plot(qint32 frame, QPointF position);
    Result markObject(qint32 frame, QPointF position);
    Result markReference(qint32 frame, QPointF position);
    int addPoint(qint32 frame);

    MeasurementState &m_state;
    DigitizingState &m_clicks;
};
