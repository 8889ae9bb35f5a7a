#pragma once
// The preview's plotting pointer: a 32 x 32 cross-hair of four arrowheads
// pointing at the pixel a click will plot, which is its hot spot (15, 15).

#include <QCursor>
#include <QImage>

namespace plotting_cursor {

constexpr int kSize = 32;
constexpr int kHotSpot = 15;

// The pointer image: black arrowheads with a white edge on a transparent
// ground, so it shows on dark and light pictures alike.
QImage image();
QCursor cursor();

} // namespace plotting_cursor
