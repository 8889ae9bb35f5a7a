#pragma once
// Dialog layouts are given in twips (1/1440 inch); at the usual 96 dots per
// inch a pixel is 15 twips.

constexpr int twipsToPixels(int twips)
{
    return (twips * 2 + 15) / 30; // nearest pixel, halves up
}
