#pragma once
// Automatic tracking, "自動追跡": from a plotted point the program follows
// the object forward by the plotting interval and plots it on every frame it
// reaches, exactly as a click there would (the same limit, markers, labels
// and moving on). With camera-shake correction on it follows the reference
// point too and plots both clicks. The frames are matched at the video's
// full resolution (ObjectTracker).
//
// It runs in steps on the user-interface thread, one frame a step, with the
// event loop turning between short runs of steps: the preview, the labels,
// "追跡停止" and Esc stay live. A frame where the object cannot be
// confirmed gets no point; after more than ObjectTracker::MaxCoast such
// frames in a row it stops on the first of them, saying so. It stops too at
// the end of the video, at the point limit, when the object reaches the edge
// of the picture, and when the user stops it. What was plotted stays.

#include "digitize/tracking/object_tracker.h"
#include "digitize/tracking/reference_tracker.h"

#include <QObject>
#include <QTimer>

class DigitizingPart;
class QAbstractButton;
class QShortcut;
class QWidget;
class VideoPart;
struct WindowState;

struct TrackingControls
{
    QWidget *window = nullptr; // Esc stops tracking anywhere in it
    QAbstractButton *track = nullptr;
};

class TrackingPart : public QObject
{
    Q_OBJECT
public:
    enum class Stop
    {
        None,        // not stopped yet
        LastFrame,   // no frame further on
        PointLimit,  // 200 points
        LeftPicture, // the object reached the edge of the picture
        Lost,        // the object could not be confirmed
        ByUser,      // "追跡停止" or Esc
        Interrupted, // the video or the measurement changed under it
    };

    TrackingPart(WindowState &state, VideoPart &video, DigitizingPart &digitizing,
                 const TrackingControls &controls, QObject *parent = nullptr);
    ~TrackingPart() override;

    // "自動追跡"; false when there is nothing to follow from.
    bool start();
    void stop(Stop why = Stop::ByUser);

    // Why the last tracking ended, and how many frames it plotted.
    Stop lastStop() const { return m_lastStop; }
    int stepsPlotted() const { return m_steps; }

    // How long a run of steps may last before the event loop turns again;
    // 0: one step a turn.
    void setSliceMilliseconds(int ms) { m_sliceMs = ms; }

    // "見失いました。この先は、クリックで印をつけて下さい。"
    static QString lostMessage();
    // "追跡した点の一致度は、最も低いもので 0.87 でした。" after a line break,
    // for the message that ends tracking; empty when nothing was plotted.
    QString scoreLine() const;
    // The lowest confirmation score of the points the last tracking plotted.
    double lowestScore() const { return m_lowestScore; }

signals:
    void changed();
    // Tracking has ended (lastStop() says why).
    void finished();

private:
    void run();
    void step();
    void finish(Stop why);
    // Ends where the object was last confirmed or could not be followed.
    void lose(Stop why);
    // Ends by itself (the last frame, the point limit, the edge of the
    // picture), saying so.
    void endBy(Stop why);

    WindowState &m_state;
    VideoPart &m_video;
    DigitizingPart &m_digitizing;
    TrackingControls m_c;
    QShortcut *m_escape = nullptr;
    QTimer m_next;
    ObjectTracker m_object;
    ReferenceTracker m_reference;
    bool m_withReference = false;
    QPointF m_referenceStart;
    QPointF m_referencePosition;    // where the reference point was on the start frame
    qint32 m_firstUnconfirmed = -1; // the first frame of a run without a point
    bool m_moveFirst = false;       // the next step moves the video on itself
    qint32 m_lastFrame = 0;         // the last frame followed
    double m_lastSeconds = -1;      // the time of its picture in the video
    Stop m_lastStop = Stop::None;
    int m_steps = 0;
    double m_lowestScore = 0;
    int m_sliceMs = 40;
};
