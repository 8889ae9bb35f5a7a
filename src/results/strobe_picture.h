#pragma once
// The strobe picture as the window shows, saves, copies and prints it: the
// composition of the chosen copies, then (when chosen) a ring and the
// point's number at every copy, and the time step in the top-left corner.

#include "results/strobe_builder.h"

#include <QImage>

namespace strobe {

QImage strobePicture(const Plan &plan, const Material &material, const Choices &choices);

// Between the pictures of this program and those of the composition.
cv::Mat toMat(const QImage &image); // RGB, a copy
// The decoder's pictures as they are (no copy; the image must stay), and
// any part of such a view as RGB.
cv::Mat viewOf(const QImage &rgb32);
cv::Mat rgbOf(const cv::Mat &view);
QImage toImage(const cv::Mat &rgb); // RGB888, a copy

} // namespace strobe
