#pragma once
// Follows one object from frame to frame, as automatic tracking plots it: a
// patch of the full-resolution picture around the object is looked for, by
// normalised cross-correlation, in a window around the position predicted
// from the last two positions. The peak is refined to a fraction of a pixel.
// The patch is taken anew at every position found, and each step is also
// checked against the first patch, so that the patch cannot wander off the
// object onto the background a little at a time.
//
// Positions go in and out in preview pixels, as a click reports them (pixel
// n is the position n); frames come at full resolution, so a small ball keeps
// its detail. The caller turns a position into whole pixels as a click is.

#include <QImage>
#include <QPointF>
#include <QSize>
#include <QtGlobal>
#include <memory>

class ObjectTracker
{
public:
    enum class Outcome
    {
        Found,
        Lost,        // nothing there matches well enough: hidden, or too changed
        LeftPicture, // the object has reached the edge of the picture
    };
    struct Step
    {
        Outcome outcome = Outcome::Lost;
        QPointF position; // preview pixels (Found only)
        double score = 0; // how well it matched, -1..1 (the weaker of both patches)
    };

    // A match weaker than this is not the object any more.
    static constexpr double MinScore = 0.6;

    ObjectTracker();
    ~ObjectTracker();
    ObjectTracker(ObjectTracker &&) noexcept;
    ObjectTracker &operator=(ObjectTracker &&) noexcept;

    // Starts on `frame` (full resolution) with the object at `point` on a
    // preview of `previewSize`. The point is a whole preview pixel, as
    // plotted; within that pixel the object's centre is taken where the
    // picture is symmetric about it, when it clearly is (a ball). False when
    // the object is too close to the edge to be followed, or the frame is
    // empty.
    bool start(const QImage &frame, QSize previewSize, QPointF point, qint32 frameNumber);
    // An earlier position of the object, so that the first step can be
    // predicted too (a point plotted before the start).
    void setEarlier(QPointF point, qint32 frameNumber);

    // Looks for the object on `frame`, the picture of `frameNumber` (later
    // than the last one).
    Step follow(const QImage &frame, qint32 frameNumber);

    // Half the side of the patch, in full-resolution pixels (0 before start).
    int patchHalfSize() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
