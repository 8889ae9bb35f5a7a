#pragma once
// What tracking finds on one picture, each on plain OpenCV images: how much
// two pictures differ, the background as the median of earlier pictures,
// where a patch matches, the blob that stands out from the background and its
// weighted centre, the centre of a symmetric object, and an object's size.
//
// Pictures are 8-bit B G R (regions) or B G R X (whole frames); positions are
// pixels with the centre of pixel (i, j) at (i, j).

#include <QImage>
#include <opencv2/core.hpp>

#include <optional>
#include <vector>

namespace detection {

// A picture wrapped for OpenCV without copying: B G R X.
struct Picture
{
    QImage image;
    cv::Mat bgra;
    explicit Picture(const QImage &source);
    cv::Rect bounds() const { return {0, 0, bgra.cols, bgra.rows}; }
};

// The whole pixels within `reach` of `centre` on either axis.
cv::Rect around(cv::Point2d centre, double reach);

// The part `area` of a B G R X picture, three channels, always of the size
// of `area`: what lies outside the picture repeats its edge. Empty when the
// area misses the picture altogether.
cv::Mat regionOf(const cv::Mat &bgra, cv::Rect area);

// Per pixel, the mean over the channels of |a - b| (32-bit float).
cv::Mat difference(const cv::Mat &a, const cv::Mat &b);

// Per pixel and channel, the median of one to three pictures of one size
// (of two, the first: the older one, the object further away).
cv::Mat medianOf(const std::vector<cv::Mat> &pictures);

// The patch of 2 half + 1 pixels centred at `centre` (sub-pixel).
cv::Mat patchAt(const cv::Mat &bgra, cv::Point2d centre, int half);

// Normalised cross-correlation of two patches of one size, -1..1.
double correlation(const cv::Mat &a, const cv::Mat &b);

// Normalised cross-correlation of `patch` at every place in `region`: the
// map's pixel (i, j) is the patch centred on the region's pixel
// (i + patch.cols / 2, j + patch.rows / 2).
cv::Mat matchMap(const cv::Mat &region, const cv::Mat &patch);

// As matchMap(), on pictures shrunk by `shrink` first (a large patch: its
// centre is found at full resolution afterwards), the map then stretched
// back to the size of the full one.
cv::Mat shrunkMatchMap(const cv::Mat &region, const cv::Mat &patch, int shrink);

// Offset of a map's true peak from its best whole position, from the
// parabola through it and its neighbours (at most half a pixel each way).
cv::Point2d peakOffset(const cv::Mat &map, cv::Point at);

struct Blob
{
    cv::Point2d centre; // weighted by how much each pixel stands out
    double area = 0;    // pixels above the threshold
    cv::Size extent;    // of the box around them
    double level = 0;   // the mean weight of those pixels
    bool touchesEdge = false;
};
// The connected pixels of `weights` above `threshold` that hold `seed` (or
// lie nearest to it, at most `seedReach` away), with their centre weighted by
// how far each stands out above `floor`.
std::optional<Blob> blobAt(const cv::Mat &weights, cv::Point seed, double threshold, double floor,
                           int seedReach);

struct Symmetry
{
    cv::Point2d centre;
    double score = -1; // correlation of the patch with itself turned half round
};
// The centre of symmetry of what lies around `start` (a patch of 2 half + 1
// pixels), at most `reach` from it on either axis.
Symmetry symmetricCentre(const cv::Mat &bgra, cv::Point2d start, int half, double reach);

// Radius of the object at `centre`: along sixteen rays, where the brightness
// changes most; the median of them, so that a ray crossing something else
// first does not count.
double objectRadius(const cv::Mat &bgra, cv::Point2d centre, double reach);

} // namespace detection
