#pragma once
// The strobe picture put together from plain pictures (8-bit, three
// channels): the scene without the object, and over it the object as each
// plotted frame shows it.
//
// The background is the median of frames spread over the measurement: where
// the object passes, it covers a pixel on only a few of them. Each plotted
// frame gives its object where that frame differs from the background, and
// only within a disc around the plotted point: a hand or a second copy of
// anything else that moved lies outside it and does not show. Copies later
// in the list lie on top.
//
// Pictures are aligned with the first plotted frame before anything else: a
// frame taken while the camera had moved by `shift` is moved back by it
// (camera-shake correction).
//
// Positions are picture pixels, pixel (i, j) centred on (i, j).

#include <opencv2/core.hpp>

#include <vector>

namespace strobe {

// The object as one plotted frame shows it.
struct Cutout
{
    cv::Mat region;     // a square of the aligned frame around the point
    cv::Point origin;   // its top-left pixel in the picture
    cv::Point2d centre; // the plotted point, in the picture
};

// Per pixel and channel, the median of equally sized pictures; with an even
// count the lower of the two middle values. Empty without pictures.
cv::Mat medianPicture(const std::vector<cv::Mat> &pictures);

// The pixels `area` of the frame aligned with the first plotted frame:
// pixel p of the result is pixel p + shift of the frame, where the camera
// had moved by `shift`. Beyond the frame's edge its nearest edge pixel.
cv::Mat alignedRegion(const cv::Mat &frame, cv::Rect area, cv::Point shift = {});

// How far the object reaches from its plotted point: on each cutout, the
// farthest pixel of the patch of difference from the background at the
// point; the median over the cutouts (a hand holding the ball on one frame
// does not count). 0 when no cutout differs at its point.
double objectReach(const cv::Mat &background, const std::vector<Cutout> &cutouts);

// The disc a copy is taken from, given the object's reach: a margin for the
// edge of a blurred object and for a point plotted a little off its centre
// (`pointUncertainty`, picture pixels).
double discRadiusFor(double reach, double pointUncertainty);

// The background with each cutout's object laid over it in order.
cv::Mat compose(const cv::Mat &background, const std::vector<const Cutout *> &copies,
                double discRadius);

} // namespace strobe
