#pragma once
// The main window's reference-length setting: "長さの設定" starts it, two
// clicks on the picture mark the ends of something of known length, the
// length and its unit are typed, and "設定終了" (or Enter) finishes it.

#include "digitize/reference_length.h"

#include <QObject>
#include <QPointF>

class DigitizingPart;
class PreviewWidget;
class QAbstractButton;
class QComboBox;
class QLineEdit;
class VideoPart;
struct WindowState;

struct LengthControls
{
    PreviewWidget *preview = nullptr;
    QAbstractButton *lengthButton = nullptr;
    QLineEdit *lengthValue = nullptr;
    QComboBox *unit = nullptr;
};

class LengthPart : public QObject
{
    Q_OBJECT
public:
    LengthPart(WindowState &state, VideoPart &video, DigitizingPart &digitizing,
               const LengthControls &controls, QObject *parent = nullptr);

    // "長さの設定" / "設定終了".
    void lengthButtonClicked();
    // The dots, the line and the rubber band gone from the preview; the
    // frame and the markers stay.
    void clearDrawing();
    const ReferenceDrawing &drawing() const { return m_drawing; }
    // Paints the setting's drawings over the frame.
    void paint(QPainter &painter) const;

signals:
    void changed();

private:
    void start();
    void finish();
    void click(QPointF position);
    void mouseMoved(QPointF position);
    // The setting ends without being finished (a video opened or closed).
    void abandon();

    WindowState &m_state;
    VideoPart &m_video;
    DigitizingPart &m_digitizing;
    LengthControls m_c;
    ReferenceDrawing m_drawing;
    ReferenceLength m_length;
};
