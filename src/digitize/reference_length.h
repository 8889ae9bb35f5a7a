#pragma once
// The reference-length setting: two clicks on the picture mark the ends of
// something whose real length the user types; the on-screen distance
// between them becomes RefLengthPixels. While the first point waits for its
// partner a rubber band follows the mouse; the picked points are shown as
// red dots joined by a red line. These drawings are kept as data and painted
// over the frame.

#include <QLineF>
#include <QPointF>
#include <QString>
#include <QVector>
#include <QtGlobal>
#include <optional>

class QPainter;
struct DigitizingState;
struct MeasurementState;

// What the setting has drawn on the preview.
struct ReferenceDrawing
{
    QVector<QPointF> dots;      // red dots, drawn with a 5-pixel pen
    std::optional<QLineF> line; // red line between the two points
    std::optional<QLineF> band; // the rubber band, drawn inverted

    void clear() { *this = ReferenceDrawing{}; }
    bool isEmpty() const { return dots.isEmpty() && !line && !band; }
    void paint(QPainter &painter) const;
};

class ReferenceLength
{
public:
    ReferenceLength(DigitizingState &clicks, ReferenceDrawing &drawing);

    enum class Pick
    {
        First,
        Second
    };
    // A click while the setting mode is on; the clicks alternate between
    // the first and the second point.
    Pick click(QPointF position);
    // The mouse moved: the band follows while the first point waits.
    void mouseMoved(QPointF position);

    struct Finish
    {
        bool accepted = false;
        QString message; // why the typed length was refused
    };
    // Reads the typed length and the unit and measures between the stored
    // clicks. A length that does not fit 16 bits is refused and nothing
    // changes; otherwise the first point no longer waits for a partner.
    Finish finish(const QString &lengthText, const QString &unit, MeasurementState &state);

    // Distance between the stored clicks, in single precision.
    static float storedDistance(const DigitizingState &clicks);

    static QString tooLongMessage();

    // A key typed into the length box: Enter finishes the setting, digits,
    // Backspace and keys that type nothing (arrows, Delete, Tab) pass, any
    // other character is refused with a beep.
    enum class Key
    {
        Pass,
        Finish,
        Refuse
    };
    static Key classifyKey(int key, const QString &text);

private:
    DigitizingState &m_clicks;
    ReferenceDrawing &m_drawing;
};
