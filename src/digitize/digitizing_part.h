#pragma once
// The main window's plotting: what a click on the preview does while no
// length is being set, the markers of the plotted points, the all-points
// display, erasing, and switching camera-shake correction.

#include "digitize/digitizing_state.h"
#include "digitize/marker_set.h"
#include "digitize/point_plotter.h"
#include "digitize/tracking_start.h"

#include <QObject>
#include <QPointF>
#include <optional>

class PreviewWidget;
class QAbstractButton;
class QAction;
class QComboBox;
class QLabel;
class VideoPart;
struct WindowState;

enum class MeasurementGone
{
    AllPointsErased,
    ShakeCorrectionSwitched,
};

struct DigitizingControls
{
    PreviewWidget *preview = nullptr;
    QLabel *kijun = nullptr;
    QAbstractButton *erase = nullptr;
    QAbstractButton *allPoints = nullptr;
    QLabel *shakeLabel = nullptr;
    QAction *eraseOne = nullptr;
    QAction *eraseAll = nullptr;
    QAction *shakeSwitch = nullptr;
    QComboBox *object = nullptr; // "物体": Ａ to Ｄ
};

class DigitizingPart : public QObject
{
    Q_OBJECT
public:
    DigitizingPart(WindowState &state, VideoPart &video, const DigitizingControls &controls,
                   QObject *parent = nullptr);

    // A click on the preview while plotting (correction off: a point;
    // correction on: the object, then its reference point).
    void plotClick(QPointF position);

    // After a move: every point when they are always shown, then the
    // current frame's point highlighted.
    void showMarkersAfterMove();
    void resetMarkers();     // every marker hidden, sizes and colours reset
    void prepareMarkers();   // markers for points 1..PointCount, all hidden
    void showFrameMarkers(); // the current frame's point highlighted
    void showAllMarkers();   // every point as rings
    // Points, markers and on-screen length gone (the typed length too:
    // measurementCleared()).
    void clearMeasurement();
    // The all-points display of "全打点表示" on or off.
    void setAllPointsDisplay(bool on);
    void toggleAllPoints();

    // "印を消す": the point of the frame on show, or the pair half made there.
    void eraseFramePoint();
    // "打点を全部消す(&A)", after its question: every object's points.
    void eraseAll();
    // The other answer to the question when several objects have points:
    // the chosen object's points only; the length stays.
    void eraseChosenObject();
    // "物体": the clicks, erasing, tracking and the results go to `object`
    // from now on. A pair half made goes.
    void chooseObject(int object);
    static QString eraseWhichQuestion(int chosenObject);
    // "手ぶれ補正切り替え(&C)" and a left click on lblHosei, after the question.
    void switchShakeCorrection();

    void hideKijun();
    // A new video: no point, no pair, no marker.
    void startAnew();
    // The frame on show has a finished point that tracking could start
    // from, or comes one plotting interval after one (a click has just moved
    // on from it).
    bool framePointComplete() const;
    std::optional<TrackingStart> trackingStart() const;

    MarkerSet &markers() { return m_markers; }
    DigitizingState &clicks() { return m_clicks; }
    PointPlotter &plotter() { return m_plotter; }

signals:
    void changed();
    // The typed length belongs to the measurement that went.
    void measurementCleared();
    // Open result windows show a measurement that is gone: every point was
    // erased, or the correction was switched (the two close the windows in
    // different orders).
    void resultsOutdated(MeasurementGone how);
    // Another object is chosen: open result windows show it instead.
    void objectChosen();

private:
    void applyKijun(const KijunPlacement &placement);
    void redrawAfterChange();

    WindowState &m_state;
    VideoPart &m_video;
    DigitizingControls m_c;
    DigitizingState m_clicks;
    MarkerSet m_markers;
    PointPlotter m_plotter;
};
