#pragma once
// The picture of the main window's video that a result window shows beside
// its graph. It is always the shape of the main window's picture region
// (previewBox), so that a 4:3 video fills it; a video of another shape sits
// centred in it in its own proportions, on the window's background, so a
// wide or an upright phone video is neither stretched nor squashed.

#include <QColor>
#include <QImage>
#include <QSize>

namespace results {

// `rendered` is the preview as shown (at the screen's pixel density), `box`
// the picture region in logical pixels. The distance window's picture is
// taken 150 twips (`raise` = 10 logical pixels) higher up the main window
// than the speed window's: the video then sits that much lower, with
// background above it, and loses as much at the bottom.
QImage previewPicture(const QImage &rendered, QSize box, int raise, const QColor &background);

// `picture` scaled evenly to fit `size` (in the picture's own pixels, so
// that a picture of the screen's density stays sharp), centred on
// `background`: the result window's box is a little wider than 4:3, and a
// round ball stays round in it.
QImage fittedPicture(const QImage &picture, QSize size, const QColor &background);

} // namespace results
