#pragma once
// The magnifier over the preview: a square of the video's own pixels around
// the place a click would plot, each pixel enlarged to a block of zoom x zoom
// screen pixels, so that a student can aim at the centre of a small ball.
//
// Places in the frame are continuous: pixel k covers [k, k + 1). A preview
// point p stands for the centre of preview pixel p, which is the same place
// the tracker maps its frame positions back to.

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QSize>

namespace magnifier {

// The square shown, in screen pixels, and the zooms the wheel steps through.
constexpr int Side = 161; // odd, so that one pixel column and row is the centre
constexpr int DefaultZoom = 4;
constexpr int MinZoom = 2;
constexpr int MaxZoom = 8;
// Shown where the square reaches beyond the frame.
const QColor Outside(64, 64, 64);

// The place in a frame of `frameSize` that preview point `aim` on a preview
// of `previewSize` stands for.
QPointF frameSpot(QPointF aim, QSize previewSize, QSize frameSize);

// `side` x `side` pixels of `frame` around `spot`, each frame pixel `zoom`
// times larger, nearest pixel, so that every pixel is the frame's own: the
// pixel at (i, j) shows the frame pixel under spot + (i + 0.5 - side / 2,
// j + 0.5 - side / 2) / zoom, and the square's centre is the spot itself.
QImage magnified(const QImage &frame, QPointF spot, int zoom, int side = Side);

// The next zoom for a turn of the wheel (up: closer), within 2x to 8x.
int zoomAfter(int zoom, bool closer);

// Where a box of `box` stands in `area`: in the corner diagonally away
// from the pointer, so that it never covers what is aimed at.
QRect placement(QSize area, QSize box, QPointF pointer);

} // namespace magnifier
