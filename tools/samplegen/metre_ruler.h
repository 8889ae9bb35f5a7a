#pragma once
// A wooden one-metre ruler standing upright: a tick every 5 cm, longer ones
// every 10 cm with their number, and full-width black lines at 0 and 100 cm
// where the user clicks to set the length.

class QPainter;

void paintMetreRuler(QPainter &painter, double left, double width, double zeroY,
                     double pixelsPerMetre);
