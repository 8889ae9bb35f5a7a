#include "digitize/tracking_part.h"

#include "base/measurement_state.h"
#include "base/window_state.h"
#include "digitize/digitizing_part.h"
#include "digitize/tracking_end.h"
#include "platform/frame_source.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "video/video_part.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QShortcut>
#include <QWidget>

TrackingPart::TrackingPart(WindowState &state, VideoPart &video, DigitizingPart &digitizing,
                           const TrackingControls &controls, QObject *parent)
    : QObject(parent), m_state(state), m_video(video), m_digitizing(digitizing), m_c(controls)
{
    // Each step is queued behind whatever else waits: a repaint, a click on
    // "追跡停止", Esc.
    m_next.setSingleShot(true);
    m_next.setInterval(0);
    connect(&m_next, &QTimer::timeout, this, &TrackingPart::run);

    connect(m_c.track, &QAbstractButton::clicked, this, [this] {
        if (m_state.Tracking)
            stop();
        else
            start();
    });
    m_escape = new QShortcut(QKeySequence(Qt::Key_Escape), m_c.window);
    m_escape->setContext(Qt::WindowShortcut);
    m_escape->setEnabled(false);
    connect(m_escape, &QShortcut::activated, this, [this] { stop(); });
}

TrackingPart::~TrackingPart() = default;

QString TrackingPart::lostMessage()
{
    return QStringLiteral("見失いました。この先は、クリックで印をつけて下さい。");
}

bool TrackingPart::start()
{
    if (m_state.Tracking || !m_state.navigationFree() || measurementState().TrackingPermission != 0)
        return false;
    FrameSource *source = m_video.frameSource();
    const std::optional<TrackingStart> from = m_digitizing.trackingStart();
    if (!source || !from)
        return false;

    m_withReference = m_state.ShakeCorrectionOn;
    m_lastFrame = from->from.frame;
    m_firstUnconfirmed = -1;
    m_steps = 0;
    m_lowestScore = 0;
    const QSize preview = m_video.previewSize();
    const QImage picture = source->fullFrame(from->from.frame);
    m_lastSeconds = source->lastFrameSeconds();
    bool ready = m_object.start(picture, preview, from->from.object, from->from.frame);
    if (ready && m_withReference)
        ready = m_reference.start(picture, preview, from->from.reference);
    m_referenceStart = from->from.reference;
    if (!ready) {
        // Too near the edge to take a patch around it, or the frame would
        // not decode: the student goes on by clicking.
        m_lastStop = Stop::Lost;
        platform().prompts->message(lostMessage(), Prompts::Buttons::Ok,
                                    Prompts::Icon::Information);
        emit finished();
        return false;
    }
    if (from->before) {
        const QPointF shift =
            m_withReference ? from->before->reference - m_referenceStart : QPointF();
        m_object.setEarlier(from->before->object, from->before->frame, shift);
    }
    // From a point on the frame on show the first step moves on; from the
    // point one interval back, the frame on show is the first to follow.
    m_moveFirst = from->onFrameShown;
    m_lastStop = Stop::None;
    m_state.Tracking = true;
    // Tracking reads ahead itself; decoding the same frames in the
    // background as well would halve its speed.
    source->setReadingInOrder(true);
    m_escape->setEnabled(true);
    m_next.start();
    emit changed();
    return true;
}

void TrackingPart::stop(Stop why)
{
    if (m_state.Tracking)
        finish(why);
}

void TrackingPart::finish(Stop why)
{
    m_next.stop();
    m_escape->setEnabled(false);
    m_state.Tracking = false;
    m_lastStop = why;
    if (FrameSource *source = m_video.frameSource())
        source->setReadingInOrder(false);
    emit changed();
    emit finished();
}

void TrackingPart::run()
{
    // Several steps between two turns of the event loop: a repaint of the
    // window with its markers costs more than a step, and the picture need
    // not be drawn more often than the eye follows. "追跡停止" and Esc wait
    // at most one such slice.
    QElapsedTimer slice;
    slice.start();
    do
        step();
    while (m_state.Tracking && !m_next.isActive() && slice.elapsed() < m_sliceMs);
    if (m_state.Tracking && !m_next.isActive())
        m_next.start();
}

void TrackingPart::step()
{
    // A new video, a cleared measurement or a switched correction ended it.
    if (!m_state.Tracking) {
        if (m_lastStop == Stop::None)
            finish(Stop::Interrupted);
        return;
    }
    FrameSource *source = m_video.frameSource();
    if (!source || !m_state.VideoOpen) {
        finish(Stop::Interrupted);
        return;
    }
    if (m_moveFirst)
        m_video.stepForward();
    const qint32 frame = m_video.position();
    // At the end (or with an interval that does not move forward). The last
    // position, one past the last frame, shows that frame once more.
    if (frame <= m_lastFrame || frame >= measurementState().TotalFrames) {
        if (m_firstUnconfirmed >= 0)
            lose(Stop::Lost);
        else
            endBy(Stop::LastFrame);
        return;
    }
    // A click here would be refused with the limit message; so is the step.
    if (measurementState().PointCount >= MeasurementState::MaxPoints) {
        endBy(Stop::PointLimit);
        return;
    }

    const QImage picture = source->fullFrame(frame);
    // A position past the end of the stream (or one where a variable frame
    // rate shows a frame twice) shows the picture already followed: a point
    // there would stand for a time the object was not seen at.
    if (!picture.isNull() && source->lastFrameSeconds() == m_lastSeconds) {
        m_lastFrame = frame;
        m_moveFirst = true;
        return;
    }
    // The reference point first: how far the camera moved.
    QPointF shift;
    if (m_withReference) {
        const ReferenceTracker::Step reference = m_reference.follow(picture);
        if (reference.outcome != ReferenceTracker::Outcome::Found) {
            lose(reference.outcome == ReferenceTracker::Outcome::LeftPicture ? Stop::LeftPicture
                                                                             : Stop::Lost);
            return;
        }
        m_referencePosition = reference.position;
        shift = reference.position - m_referenceStart;
    }
    const ObjectTracker::Step object = m_object.follow(picture, frame, shift);
    m_lastFrame = frame;
    m_lastSeconds = source->lastFrameSeconds();
    switch (object.outcome) {
    case ObjectTracker::Outcome::LeftPicture:
        lose(Stop::LeftPicture);
        return;
    case ObjectTracker::Outcome::Lost:
        lose(Stop::Lost);
        return;
    case ObjectTracker::Outcome::Unconfirmed:
        // No point on this frame; the next step moves on itself.
        if (m_firstUnconfirmed < 0)
            m_firstUnconfirmed = frame;
        m_moveFirst = true;
        return;
    case ObjectTracker::Outcome::Found:
        break;
    }
    m_firstUnconfirmed = -1;
    // The clicks a student would make: the object, then its reference point.
    measurementState().TrackedScores[frame] = object.score;
    m_digitizing.plotClick(object.position);
    if (m_withReference)
        m_digitizing.plotClick(m_referencePosition);
    m_lowestScore = m_steps == 0 ? object.score : std::min(m_lowestScore, object.score);
    ++m_steps;
    // A finished point moves the video on by itself when the settings say so.
    m_moveFirst = measurementState().ClickAction != 1;
}

void TrackingPart::lose(Stop why)
{
    // Frames passed over without a point: the student goes on by clicking
    // from the first of them.
    if (m_firstUnconfirmed >= 0) {
        m_video.moveTo(m_firstUnconfirmed);
        why = Stop::Lost;
    }
    if (why != Stop::Lost) {
        endBy(why);
        return;
    }
    finish(why);
    platform().prompts->message(lostMessage() + scoreLine(), Prompts::Buttons::Ok,
                                Prompts::Icon::Information);
}

void TrackingPart::endBy(Stop why)
{
    finish(why);
    // Finished, not failed: the student is told why and how far it got.
    TrackingEnd end;
    end.points = m_steps;
    end.lowestScore = m_steps == 0 ? -1.0 : m_lowestScore;
    end.reason = why == Stop::PointLimit    ? TrackingEndReason::PointLimit
                 : why == Stop::LeftPicture ? TrackingEndReason::LeftPicture
                                            : TrackingEndReason::LastFrame;
    platform().prompts->message(trackingEndMessage(end), Prompts::Buttons::Ok,
                                Prompts::Icon::Information);
}

QString TrackingPart::scoreLine() const
{
    if (m_steps == 0)
        return QString();
    return QLatin1Char('\n') + trackingScoreLine(m_lowestScore);
}
