#pragma once
// Follows a moving object from frame to frame, as automatic tracking plots
// it, and plots nothing it cannot confirm. On each frame:
//   - the motion model predicts where the object is and how far from there
//     it may be (from one point only: anywhere within a quarter of the
//     picture's width);
//   - candidates are the places that match the object's patch and, where the
//     object is expected to have moved, where the picture changed against
//     the frame before: something standing still there is not the object;
//   - the centre is taken from the object itself: the weighted centre of
//     what stands out from the background (the median of the frames before),
//     or the centre of symmetry where that background is not clean yet;
//   - the point holds only if its look, its motion and the model agree.
// A frame where that fails is passed over; after MaxCoast such frames in a
// row the object counts as lost.
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
        Unconfirmed, // not confirmed on this frame: nothing plotted, the model goes on
        Lost,        // not confirmed on more than MaxCoast frames in a row
        LeftPicture, // the object has reached the edge of the picture
    };
    struct Step
    {
        Outcome outcome = Outcome::Lost;
        QPointF position; // preview pixels (Found only)
        // How closely the object as clicked (or confidently seen) matches
        // there, 0..1 (Found only).
        double score = 0;
    };

    // A patch that matches weaker than this is not the object.
    static constexpr double MinScore = 0.6;
    // Frames in a row the object may stay unconfirmed.
    static constexpr int MaxCoast = 3;

    ObjectTracker();
    ~ObjectTracker();
    ObjectTracker(ObjectTracker &&) noexcept;
    ObjectTracker &operator=(ObjectTracker &&) noexcept;

    // Starts on `frame` (full resolution) with the object at `point` on a
    // preview of `previewSize`. The point is a whole preview pixel, as
    // plotted; within that pixel the object's centre is taken where the
    // picture is symmetric about it, when it clearly is (a ball). False when
    // the point is off the picture or the frame is empty.
    bool start(const QImage &frame, QSize previewSize, QPointF point, qint32 frameNumber);
    // An earlier position of the object, so that the first step can be
    // predicted too (a point plotted before the start); `cameraShift` as for
    // follow().
    void setEarlier(QPointF point, qint32 frameNumber, QPointF cameraShift = {});

    // Looks for the object on `frame`, the picture of `frameNumber` (later
    // than the last one). `cameraShift`: how far the camera's picture has
    // moved since the start frame, in preview pixels (camera-shake
    // correction); the frames before are shifted by it before they are
    // compared.
    Step follow(const QImage &frame, qint32 frameNumber, QPointF cameraShift = {});

    // Half the side of the patch, in full-resolution pixels (0 before start).
    int patchHalfSize() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
