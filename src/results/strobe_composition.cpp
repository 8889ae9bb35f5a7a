#include "results/strobe_composition.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <utility>

namespace strobe {

namespace {

// Differences from the background up to this level are the sensor's noise
// and the encoder's, at the least.
constexpr int MinLevel = 20;
constexpr int MaxLevel = 60;

// The comparators of Batcher's odd-even merge sort for `n` values: sorting a
// power of two and leaving out every comparator that touches a value beyond
// `n` (those values count as larger than all others) still sorts.
std::vector<std::pair<int, int>> sortingNetwork(int n)
{
    std::vector<std::pair<int, int>> out;
    int size = 1;
    while (size < n)
        size *= 2;
    for (int p = 1; p < size; p *= 2)
        for (int k = p; k >= 1; k /= 2)
            for (int j = k % p; j + k < size; j += 2 * k)
                for (int i = 0; i < std::min(k, size - j - k); ++i) {
                    const int a = i + j, b = i + j + k;
                    if (a / (2 * p) == b / (2 * p) && b < n)
                        out.emplace_back(a, b);
                }
    return out;
}

// The largest of the three channels' differences.
cv::Mat difference(const cv::Mat &a, const cv::Mat &b)
{
    cv::Mat diff;
    cv::absdiff(a, b, diff);
    cv::Mat channels[3];
    cv::split(diff, channels);
    cv::Mat out = cv::max(channels[0], channels[1]);
    return cv::max(out, channels[2]);
}

// What counts as a difference on this region: above the noise, judged from
// the median difference (most of a region is background).
cv::Mat differs(const cv::Mat &diff)
{
    if (diff.empty())
        return cv::Mat();
    int counts[256] = {};
    for (int y = 0; y < diff.rows; ++y) {
        const uchar *row = diff.ptr<uchar>(y);
        for (int x = 0; x < diff.cols; ++x)
            ++counts[row[x]];
    }
    int middle = 0;
    for (int seen = 0; middle < 255 && (seen += counts[middle]) <= int(diff.total()) / 2;)
        ++middle;
    const int level = std::clamp(3 * middle + 10, MinLevel, MaxLevel);
    cv::Mat mask = diff > level;
    // Single pixels of noise go, small holes in the object close.
    const cv::Mat cross = cv::getStructuringElement(cv::MORPH_CROSS, cv::Size(3, 3));
    cv::morphologyEx(mask, mask, cv::MORPH_OPEN, cross);
    cv::morphologyEx(mask, mask, cv::MORPH_CLOSE, cross);
    return mask;
}

// The patches of `mask` that reach within `reach` of `centre` (region
// coordinates).
cv::Mat patchesAt(const cv::Mat &mask, cv::Point2d centre, double reach)
{
    cv::Mat labels;
    const int count = cv::connectedComponents(mask, labels, 8, CV_32S);
    std::vector<char> keep(count, 0);
    const double reach2 = reach * reach;
    for (int y = 0; y < labels.rows; ++y) {
        const int *row = labels.ptr<int>(y);
        const double dy = y - centre.y;
        for (int x = 0; x < labels.cols; ++x) {
            const double dx = x - centre.x;
            if (row[x] > 0 && dx * dx + dy * dy <= reach2)
                keep[row[x]] = 1;
        }
    }
    cv::Mat out = cv::Mat::zeros(mask.size(), CV_8U);
    for (int y = 0; y < labels.rows; ++y) {
        const int *row = labels.ptr<int>(y);
        uchar *o = out.ptr<uchar>(y);
        for (int x = 0; x < labels.cols; ++x)
            o[x] = keep[row[x]] ? 255 : 0;
    }
    return out;
}

cv::Mat backgroundOf(const cv::Mat &background, const Cutout &c)
{
    return alignedRegion(background, cv::Rect(c.origin, c.region.size()));
}

} // namespace

cv::Mat medianPicture(const std::vector<cv::Mat> &pictures)
{
    if (pictures.empty())
        return cv::Mat();
    const int n = int(pictures.size());
    const int middle = (n - 1) / 2;
    // Only the comparators that lead to the middle value.
    const std::vector<std::pair<int, int>> all = sortingNetwork(n);
    std::vector<std::pair<int, int>> network;
    std::vector<char> needed(size_t(n), 0);
    needed[size_t(middle)] = 1;
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        if (needed[size_t(it->first)] || needed[size_t(it->second)]) {
            needed[size_t(it->first)] = needed[size_t(it->second)] = 1;
            network.insert(network.begin(), *it);
        }
    }
    // A few rows at a time, so that the rows of every picture stay in the
    // processor's cache through the whole network.
    cv::Mat out(pictures[0].size(), pictures[0].type());
    const int stripe = 8;
    std::vector<cv::Mat> v(static_cast<size_t>(n));
    cv::Mat low;
    for (int y = 0; y < out.rows; y += stripe) {
        const cv::Range rows(y, std::min(out.rows, y + stripe));
        for (int i = 0; i < n; ++i)
            pictures[size_t(i)].rowRange(rows).copyTo(v[size_t(i)]);
        for (const auto &[a, b] : network) {
            cv::min(v[size_t(a)], v[size_t(b)], low);
            cv::max(v[size_t(a)], v[size_t(b)], v[size_t(b)]);
            std::swap(v[size_t(a)], low);
        }
        v[size_t(middle)].copyTo(out.rowRange(rows));
    }
    return out;
}

cv::Mat alignedRegion(const cv::Mat &frame, cv::Rect area, cv::Point shift)
{
    if (frame.empty() || area.empty())
        return cv::Mat();
    const cv::Rect source = area + shift;
    // At least one pixel of the frame, the one nearest to the area.
    const int x0 = std::clamp(source.x, 0, frame.cols - 1);
    const int y0 = std::clamp(source.y, 0, frame.rows - 1);
    const int x1 = std::clamp(source.x + source.width, x0 + 1, frame.cols);
    const int y1 = std::clamp(source.y + source.height, y0 + 1, frame.rows);
    const cv::Rect inside(x0, y0, x1 - x0, y1 - y0);
    cv::Mat out;
    cv::copyMakeBorder(frame(inside), out, std::max(0, inside.y - source.y),
                       std::max(0, source.y + source.height - y1), std::max(0, inside.x - source.x),
                       std::max(0, source.x + source.width - x1), cv::BORDER_REPLICATE);
    // An area wholly beyond the frame: the copy of the nearest pixel is
    // larger than the area on the far side.
    return out(cv::Rect(0, 0, area.width, area.height)).clone();
}

double objectReach(const cv::Mat &background, const std::vector<Cutout> &cutouts)
{
    std::vector<double> reaches;
    for (const Cutout &c : cutouts) {
        if (c.region.empty())
            continue;
        const cv::Mat mask = differs(difference(c.region, backgroundOf(background, c)));
        const cv::Point2d at = c.centre - cv::Point2d(c.origin);
        // The patch at the point, or the nearest one a pixel or two off it.
        const cv::Mat patch = patchesAt(mask, at, 2.5);
        double farthest = -1;
        for (int y = 0; y < patch.rows; ++y)
            for (int x = 0; x < patch.cols; ++x)
                if (patch.at<uchar>(y, x))
                    farthest = std::max(farthest, std::hypot(x - at.x, y - at.y));
        if (farthest >= 0)
            reaches.push_back(farthest + 0.5);
    }
    if (reaches.empty())
        return 0;
    auto middle = reaches.begin() + reaches.size() / 2;
    std::nth_element(reaches.begin(), middle, reaches.end());
    return *middle;
}

double discRadiusFor(double reach, double pointUncertainty)
{
    return 1.2 * reach + pointUncertainty + 2;
}

cv::Mat compose(const cv::Mat &background, const std::vector<const Cutout *> &copies,
                double discRadius)
{
    cv::Mat picture = background.clone();
    const cv::Rect frame(0, 0, picture.cols, picture.rows);
    for (const Cutout *c : copies) {
        if (!c || c->region.empty())
            continue;
        // The disc's square within the region and the picture.
        const int reach = int(std::ceil(discRadius)) + 2;
        const cv::Rect square(int(std::floor(c->centre.x)) - reach,
                              int(std::floor(c->centre.y)) - reach, 2 * reach + 2, 2 * reach + 2);
        const cv::Rect area = cv::Rect(c->origin, c->region.size()) & frame & square;
        if (area.empty())
            continue;
        const cv::Mat region = c->region(area - c->origin);
        const cv::Point2d at = c->centre - cv::Point2d(area.tl());
        // What differs within the disc, in patches that reach the middle of
        // it: a finger that only enters the disc's rim stays out.
        cv::Mat mask = differs(difference(region, background(area)));
        cv::Mat disc = cv::Mat::zeros(mask.size(), CV_8U);
        cv::circle(disc, cv::Point(cvRound(at.x * 16), cvRound(at.y * 16)),
                   cvRound(discRadius * 16), cv::Scalar(255), cv::FILLED, cv::LINE_8, 4);
        mask &= disc;
        mask = patchesAt(mask, at, std::max(2.5, discRadius / 2));
        // A soft edge of one pixel, as the object's own edge is.
        cv::Mat alpha;
        mask.convertTo(alpha, CV_32F, 1.0 / 255);
        cv::blur(alpha, alpha, cv::Size(3, 3));
        cv::Mat under = picture(area);
        for (int y = 0; y < area.height; ++y) {
            const float *a = alpha.ptr<float>(y);
            const cv::Vec3b *src = region.ptr<cv::Vec3b>(y);
            cv::Vec3b *dst = under.ptr<cv::Vec3b>(y);
            for (int x = 0; x < area.width; ++x) {
                if (a[x] <= 0)
                    continue;
                for (int ch = 0; ch < 3; ++ch)
                    dst[x][ch] =
                        cv::saturate_cast<uchar>(a[x] * src[x][ch] + (1 - a[x]) * dst[x][ch]);
            }
        }
    }
    return picture;
}

} // namespace strobe
