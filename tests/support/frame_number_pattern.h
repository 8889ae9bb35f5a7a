#pragma once
// A picture that carries its own frame number in blocks big enough to
// survive lossy compression and scaling, and the reader that gets the number
// back from a decoded, scaled preview image.
//
// The picture is a 4 x 4 grid of black and white cells. The four corners
// tell orientation: top-left black, the other three white, so a picture
// shown sideways, upside down or mirrored does not read. The twelve other
// cells hold 11 bits of the number (black = 1, lowest bit first, row by
// row) and an even-parity bit.

#include <QImage>
#include <QSize>

namespace framenumber {

constexpr int MaxNumber = 2047;

// Greyscale picture of the given size showing `number` (0..MaxNumber).
QImage pattern(int number, QSize size);

// The number shown in `image` at any size, or -1 when the image does not
// show a pattern upright (wrong orientation, a blend of two frames, parity
// mismatch, a grey cell).
int read(const QImage &image);

} // namespace framenumber

// Shorthand used by the frame tests.
inline int readFrameNumber(const QImage &image)
{
    return framenumber::read(image);
}
