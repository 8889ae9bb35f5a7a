#pragma once
// Follows the camera-shake reference point, a fixed mark that moves on the
// picture only as the camera does: by its look alone. A patch of the
// full-resolution picture around it is looked for, by normalised
// cross-correlation, a little around where it was last; each step is also
// checked against the first patch, so that the patch cannot wander off the
// mark a little at a time.
//
// Positions go in and out in preview pixels, as a click reports them (pixel
// n is the position n); frames come at full resolution.

#include <QImage>
#include <QPointF>
#include <QSize>
#include <QtGlobal>
#include <memory>

class ReferenceTracker
{
public:
    enum class Outcome
    {
        Found,
        Lost,        // nothing there matches well enough
        LeftPicture, // the mark has reached the edge of the picture
    };
    struct Step
    {
        Outcome outcome = Outcome::Lost;
        QPointF position; // preview pixels (Found only)
    };

    // A match weaker than this is not the mark any more.
    static constexpr double MinScore = 0.6;

    ReferenceTracker();
    ~ReferenceTracker();
    ReferenceTracker(ReferenceTracker &&) noexcept;
    ReferenceTracker &operator=(ReferenceTracker &&) noexcept;

    // Starts on `frame` (full resolution) with the mark at `point` on a
    // preview of `previewSize`. False when the mark is too close to the
    // edge to be followed, or the frame is empty.
    bool start(const QImage &frame, QSize previewSize, QPointF point);
    Step follow(const QImage &frame);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
