#pragma once
// What a click on the preview does to the point table while plotting: one
// point per frame, at most 200, whole preview pixels with halves to even;
// with camera-shake correction two clicks per point (object, then a fixed
// reference point). Also erasing the point of a frame.
//
// A camera-shake point goes into the table whole, at its reference click:
// until then the object click is kept aside, so the table never holds a
// point that is half made.

#include <QPointF>
#include <QString>
#include <QtGlobal>

struct DigitizingState;
struct MeasurementState;
struct WindowState;

class PointPlotter
{
public:
    enum class Outcome
    {
        Refused,         // 200 points already: the limit message, nothing changed
        Plotted,         // correction off: the point is written
        ObjectMarked,    // correction on: the object is kept, its reference is awaited
        ReferenceMarked, // correction on: the pair is complete and written
        PairDropped,     // correction on: the frame changed under the pair; nothing written
    };
    struct Result
    {
        Outcome outcome = Outcome::Refused;
        int point = 0;         // the point number written (ObjectMarked: the frame's
                               // point that the pair will replace, 0 for a new one)
        bool newPoint = false; // a point is (or, for ObjectMarked, will be) added
        bool completes() const
        {
            return outcome == Outcome::Plotted || outcome == Outcome::ReferenceMarked;
        }
    };

    // Reads the correction and the pair's progress from `window`.
    PointPlotter(MeasurementState &state, DigitizingState &clicks, WindowState &window);

    // The point plotted on `frame`: among rows 1..PointCount the last whose
    // frame matches; 0 when there is none.
    int pointOnFrame(qint32 frame) const;
    static int pointOnFrame(const MeasurementState &state, qint32 frame);

    // A click at `position` (preview pixels) while `frame` is shown.
    Result click(qint32 frame, QPointF position);

    // Ends a half-made camera-shake pair; nothing is written. False when
    // none was waiting.
    bool dropPair();

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
    WindowState &m_window;
};
