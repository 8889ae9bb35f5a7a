#pragma once
// What a strobe picture is made of, taken from the measurement: the plotted
// points of each object in frame order, where the camera had moved on each
// (camera-shake correction), the frames the background is taken from, and
// the choices of the window (every n-th point, markers, objects).

#include <QPointF>
#include <QSize>
#include <QString>
#include <QtGlobal>

#include <vector>

struct MeasurementState;

namespace strobe {

struct PlottedPoint
{
    int number = 0;   // the point's number in the measurement
    qint32 frame = 0; // slider position
    QPointF position; // preview pixels, corrected for the camera's movement
    // How far the camera's picture had moved since the first point (its
    // reference point's displacement), preview pixels; 0 without correction.
    QPointF cameraMove;
};

struct PlottedObject
{
    QString name;
    std::vector<PlottedPoint> points; // in frame order
};

struct Plan
{
    QString videoPath;
    QSize previewSize;
    double frameRate = 0; // the rate times are worked out with
    // Camera-shake correction: the camera's movement is known on the plotted
    // frames only.
    bool cameraCorrected = false;
    // One object today; a measurement of several objects gives one each.
    std::vector<PlottedObject> objects;

    int pointCount() const;
    // The camera's movement on any frame of the measurement: that of the
    // points on either side, in proportion (the nearest one beyond them).
    QPointF cameraMoveAt(qint32 frame) const;
    // `count` frames spread evenly from the first plotted frame to the last
    // (fewer when there are not as many), in order: plotted frames when there
    // are enough of them, and always with camera-shake correction (only
    // their movement is known).
    std::vector<qint32> backgroundFrames(int count) const;
};

// The plotted points of the measurement; with `shakeCorrection`, each with
// the movement its reference point shows.
Plan planOf(const MeasurementState &measurement, bool shakeCorrection, QSize previewSize);

struct Choices
{
    int every = 1;           // every point (1), every 2nd ... 5th
    bool markers = false;    // rings and numbers over the copies
    std::vector<bool> shown; // per object; missing entries are shown
};

// The points of an object that get a copy: the first, then every n-th.
std::vector<const PlottedPoint *> chosenPoints(const PlottedObject &object, int every);

// "0.10秒ごと": the time from one copy to the next. Hundredths as such, a
// whole fraction of a second as one ("1/60秒ごと"), anything else to three
// figures. Empty when the copies are not evenly spaced in time (a point left
// out counts as a missing copy: the step is the shortest one when every other
// is a whole multiple of it).
QString timeStepText(const std::vector<const PlottedPoint *> &points, double frameRate);

} // namespace strobe
