#pragma once
// The preview's plotting pointer: a 32 x 32 cross-hair of four arrowheads
// pointing at the pixel a click will plot, which is its hot spot (15, 15).

#include <QCursor>
#include <QImage>

namespace plotting_cursor {

constexpr int kSize = 32;
constexpr int kHotSpot = 15;

// The pointer image: black arrowheads with a white edge on a transparent
// ground, so it shows on dark and light pictures alike. `ratio` screen pixels
// per preview pixel make it that much larger (a screen scaled to 200 %).
QImage image(qreal ratio = 1.0);
// The pointer for a preview on a screen of that ratio, at the same size as
// the rest of the window.
QCursor cursor(qreal ratio = 1.0);

} // namespace plotting_cursor
