#include "digitize/digitizing_part.h"

#include "base/measurement_objects.h"
#include "base/measurement_state.h"
#include "base/window_state.h"
#include "digitize/object_markers.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "platform/qt_event_hook.h"
#include "video/preview_widget.h"
#include "video/video_part.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>

namespace {

QString shakeSwitchQuestion()
{
    return QStringLiteral("手ぶれ補正の切り替えをすると、これまでのデータが消去されます。") +
           QStringLiteral("\r\n") + QStringLiteral("よろしいですか？");
}

QString eraseAllQuestion()
{
    return QStringLiteral("打点を全部消すと、すべてのデータが消えてしまいます。") +
           QStringLiteral("\r\n") + QStringLiteral("よろしいですか？");
}

bool askedYes(const QString &question)
{
    return platform().prompts->message(question, Prompts::Buttons::YesNo,
                                       Prompts::Icon::Question) == Prompts::Answer::Yes;
}

} // namespace

DigitizingPart::DigitizingPart(WindowState &state, VideoPart &video,
                               const DigitizingControls &controls, QObject *parent)
    : QObject(parent), m_state(state), m_video(video), m_c(controls),
      m_plotter(measurementState(), m_clicks, state)
{
    connect(m_c.preview, &PreviewWidget::mousePressed, this,
            [this](QPointF position, Qt::MouseButton) {
                // The length and axes settings take the clicks while they are on.
                if (m_state.acceptsClicks() && !m_state.settingOnPicture()) {
                    // A point clicked here is the student's own.
                    measurementState().TrackedScores.remove(m_video.position());
                    plotClick(position);
                }
            });
    connect(&m_video, &VideoPart::moved, this, &DigitizingPart::showMarkersAfterMove);
    connect(&m_video, &VideoPart::videoOpened, this, &DigitizingPart::startAnew);

    // "基準": red on white, 24 x 12 pixels, beside the shake reference point.
    QPalette pal = m_c.kijun->palette();
    pal.setColor(QPalette::WindowText, QColor(255, 0, 0));
    pal.setColor(QPalette::Window, QColor(255, 255, 255));
    m_c.kijun->setPalette(pal);
    m_c.kijun->setAutoFillBackground(true);
    QFont kijunFont = m_c.kijun->font();
    kijunFont.setPixelSize(11);
    m_c.kijun->setFont(kijunFont);
    m_c.kijun->setAlignment(Qt::AlignCenter);
    m_c.kijun->setFixedSize(24, 12);
    m_c.kijun->setAttribute(Qt::WA_TransparentForMouseEvents);

    connect(m_c.erase, &QAbstractButton::clicked, this, &DigitizingPart::eraseFramePoint);
    connect(m_c.allPoints, &QAbstractButton::clicked, this, &DigitizingPart::toggleAllPoints);
    connect(m_c.eraseOne, &QAction::triggered, this, [this] {
        eraseFramePoint();
        hideKijun();
        emit changed();
    });
    connect(m_c.eraseAll, &QAction::triggered, this, [this] {
        const MeasurementState &measurement = measurementState();
        if (objects::objectsWithPoints(measurement) < 2) {
            if (askedYes(eraseAllQuestion()))
                eraseAll();
            return;
        }
        switch (platform().prompts->message(eraseWhichQuestion(measurement.ChosenObject),
                                            Prompts::Buttons::YesNoCancel,
                                            Prompts::Icon::Question)) {
        case Prompts::Answer::Yes:
            eraseChosenObject();
            break;
        case Prompts::Answer::No:
            eraseAll();
            break;
        default:
            break;
        }
    });
    for (int object = 0; object < objects::Count; ++object)
        m_c.object->addItem(objects::letter(object));
    connect(m_c.object, &QComboBox::activated, this, &DigitizingPart::chooseObject);
    connect(m_c.shakeSwitch, &QAction::triggered, this, [this] {
        if (askedYes(shakeSwitchQuestion()))
            switchShakeCorrection();
    });
    // The label is a switch too, for the left button, while the menu item
    // is usable.
    EventHook::install(m_c.shakeLabel, [this](QEvent *event) {
        if (event->type() != QEvent::MouseButtonRelease)
            return false;
        if (static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
            return true;
        if (m_c.shakeSwitch->isEnabled())
            m_c.shakeSwitch->trigger();
        return true;
    });
}

void DigitizingPart::plotClick(QPointF position)
{
    MeasurementState &measurement = measurementState();
    const PointPlotter::Result result = m_plotter.click(m_video.position(), position);
    switch (result.outcome) {
    case PointPlotter::Outcome::Refused:
        platform().prompts->message(PointPlotter::limitMessage(), Prompts::Buttons::Ok,
                                    Prompts::Icon::None);
        emit changed();
        return;
    case PointPlotter::Outcome::Plotted:
        m_markers.setCount(measurement.PointCount);
        hideKijun();
        showMarkersAfterMove();
        break;
    case PointPlotter::Outcome::ObjectMarked:
        // Re-plotting a frame's point hides every marker until the pair is done.
        if (!result.newPoint)
            resetMarkers();
        m_markers.showTemporaryObjectMarker(position);
        hideKijun();
        // The reference point is clicked on this same frame.
        m_state.holdFrame();
        break;
    case PointPlotter::Outcome::ReferenceMarked:
    case PointPlotter::Outcome::PairDropped:
        m_markers.setCount(measurement.PointCount);
        m_markers.hideTemporaryObjectMarker();
        showMarkersAfterMove();
        break;
    }
    m_c.preview->update();
    if (result.completes() && measurement.ClickAction == 1)
        m_video.stepForward(); // the forward step of "次へ進む", also while it is disabled
    emit changed();
}

void DigitizingPart::showMarkersAfterMove()
{
    if (measurementState().AllPointsMode == 1)
        showAllMarkers();
    showFrameMarkers();
}

void DigitizingPart::applyKijun(const KijunPlacement &placement)
{
    switch (placement.action) {
    case KijunPlacement::Action::Keep:
        break;
    case KijunPlacement::Action::Hide:
        m_state.KijunAt.reset();
        break;
    case KijunPlacement::Action::Show:
        m_state.KijunAt = placement.topLeft;
        break;
    }
}

void DigitizingPart::hideKijun()
{
    m_state.KijunAt.reset();
}

void DigitizingPart::resetMarkers()
{
    m_markers.setInk(objects::ink(measurementState().ChosenObject));
    m_markers.resetMarkers();
    m_c.preview->update();
}

void DigitizingPart::prepareMarkers()
{
    m_markers.setCount(measurementState().PointCount);
    resetMarkers();
}

void DigitizingPart::showFrameMarkers()
{
    applyKijun(m_markers.showFrameMarkers(measurementState(), m_video.position(),
                                          m_state.ShakeCorrectionOn));
    m_c.preview->update();
}

void DigitizingPart::showAllMarkers()
{
    applyKijun(m_markers.showAllMarkers(measurementState(), m_state.ShakeCorrectionOn));
    m_c.preview->update();
}

void DigitizingPart::clearMeasurement()
{
    measurementState().clearPoints();
    objects::clearOthers(measurementState());
    m_markers.setCount(0);
    m_c.preview->update();
    emit measurementCleared();
}

void DigitizingPart::toggleAllPoints()
{
    setAllPointsDisplay(!m_state.AllPointsShown);
}

void DigitizingPart::setAllPointsDisplay(bool on)
{
    if (on == m_state.AllPointsShown)
        return;
    m_state.AllPointsShown = on;
    if (on) {
        applyKijun(m_markers.showAllPointsDiscs(measurementState(), m_state.ShakeCorrectionOn));
        m_state.holdFrame();
        m_c.preview->update();
    } else {
        showFrameMarkers();
    }
    emit changed();
}

void DigitizingPart::redrawAfterChange()
{
    resetMarkers();
    showMarkersAfterMove();
}

void DigitizingPart::eraseFramePoint()
{
    // The pair half made on this frame goes with the point it was to replace.
    const bool pairDropped = m_plotter.dropPair();
    if (pairDropped)
        m_markers.hideTemporaryObjectMarker();
    const int erased = m_plotter.eraseFramePoint(m_video.position());
    if (erased == 0 && !pairDropped)
        return;
    m_markers.setCount(measurementState().PointCount);
    redrawAfterChange();
    emit changed();
}

void DigitizingPart::eraseAll()
{
    emit resultsOutdated(MeasurementGone::AllPointsErased);
    m_state.measurementReplaced();
    clearMeasurement();
    m_markers.hideTemporaryObjectMarker();
    resetMarkers();
    hideKijun();
    emit changed();
}

QString DigitizingPart::eraseWhichQuestion(int chosenObject)
{
    return QStringLiteral("打点を全部消します。") + QStringLiteral("\r\n") +
           QStringLiteral("「はい」：") + objects::name(chosenObject) +
           QStringLiteral("の打点だけを消します。") + QStringLiteral("\r\n") +
           QStringLiteral("「いいえ」：すべての物体の打点を消します。");
}

void DigitizingPart::eraseChosenObject()
{
    emit resultsOutdated(MeasurementGone::AllPointsErased);
    MeasurementState &measurement = measurementState();
    const float length = measurement.RefLengthPixels;
    m_plotter.dropPair();
    measurement.clearPoints();
    measurement.RefLengthPixels = length;
    m_markers.setCount(0);
    m_markers.hideTemporaryObjectMarker();
    resetMarkers();
    hideKijun();
    emit changed();
}

void DigitizingPart::chooseObject(int object)
{
    MeasurementState &measurement = measurementState();
    if (object < 0 || object >= objects::Count || object == measurement.ChosenObject)
        return;
    if (m_plotter.dropPair())
        m_markers.hideTemporaryObjectMarker();
    objects::choose(measurement, object);
    m_markers.setCount(measurement.PointCount);
    hideKijun();
    if (m_state.AllPointsShown) {
        resetMarkers();
        applyKijun(m_markers.showAllPointsDiscs(measurement, m_state.ShakeCorrectionOn));
        m_c.preview->update();
    } else {
        redrawAfterChange();
    }
    emit objectChosen();
    emit changed();
}

void DigitizingPart::switchShakeCorrection()
{
    hideKijun();
    m_state.ShakeCorrectionOn = !m_state.ShakeCorrectionOn;
    m_state.measurementReplaced();
    clearMeasurement();
    m_state.DataOpened = true;
    measurementState().VideoPath = m_video.chosenFilePath();
    m_markers.hideTemporaryObjectMarker();
    resetMarkers();
    emit resultsOutdated(MeasurementGone::ShakeCorrectionSwitched);
    m_video.closePlayer();
    emit changed();
}

void DigitizingPart::startAnew()
{
    m_plotter.dropPair();
    clearMeasurement();
    // A new video starts with one object again.
    MeasurementState &measurement = measurementState();
    objects::choose(measurement, 0);
    std::fill(std::begin(measurement.ObjectMass), std::end(measurement.ObjectMass), 0.0);
    m_markers.hideTemporaryObjectMarker();
    resetMarkers();
}

bool DigitizingPart::framePointComplete() const
{
    return trackingStart().has_value();
}

std::optional<TrackingStart> DigitizingPart::trackingStart() const
{
    if (!m_state.VideoOpen || m_state.AwaitingShakeReference)
        return std::nullopt;
    return trackingStartFor(measurementState(), m_video.position(), m_video.positionBefore(),
                            m_state.ShakeCorrectionOn);
}
