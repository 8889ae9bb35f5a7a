#include "digitize/tracking/detection.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace detection {

Picture::Picture(const QImage &source)
{
    image = source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
                ? source
                : source.convertToFormat(QImage::Format_RGB32);
    if (!image.isNull())
        bgra = cv::Mat(image.height(), image.width(), CV_8UC4,
                       const_cast<uchar *>(image.constBits()), size_t(image.bytesPerLine()));
}

cv::Rect around(cv::Point2d centre, double reach)
{
    const int x0 = int(std::floor(centre.x - reach));
    const int y0 = int(std::floor(centre.y - reach));
    const int x1 = int(std::ceil(centre.x + reach));
    const int y1 = int(std::ceil(centre.y + reach));
    return {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

cv::Mat regionOf(const cv::Mat &bgra, cv::Rect area)
{
    const cv::Rect inside = area & cv::Rect(0, 0, bgra.cols, bgra.rows);
    cv::Mat out;
    if (inside.empty())
        return out;
    cv::cvtColor(bgra(inside), out, cv::COLOR_BGRA2BGR);
    if (inside != area)
        cv::copyMakeBorder(out, out, inside.y - area.y, area.br().y - inside.br().y,
                           inside.x - area.x, area.br().x - inside.br().x, cv::BORDER_REPLICATE);
    return out;
}

cv::Mat difference(const cv::Mat &a, const cv::Mat &b)
{
    cv::Mat diff, wide, out;
    cv::absdiff(a, b, diff);
    diff.convertTo(wide, CV_32F);
    cv::transform(wide, out, cv::Matx13f(1.f / 3, 1.f / 3, 1.f / 3));
    return out;
}

cv::Mat medianOf(const std::vector<cv::Mat> &pictures)
{
    if (pictures.size() < 3)
        return pictures.empty() ? cv::Mat() : pictures.front();
    cv::Mat low, high, mid, out;
    cv::min(pictures[0], pictures[1], low);
    cv::max(pictures[0], pictures[1], high);
    cv::min(high, pictures[2], mid);
    cv::max(low, mid, out);
    return out;
}

cv::Mat patchAt(const cv::Mat &bgra, cv::Point2d centre, int half)
{
    const cv::Rect area = around(centre, half + 2);
    const cv::Mat region = regionOf(bgra, area);
    cv::Mat patch;
    if (region.empty())
        return patch;
    cv::getRectSubPix(region, cv::Size(2 * half + 1, 2 * half + 1),
                      cv::Point2f(float(centre.x - area.x), float(centre.y - area.y)), patch);
    return patch;
}

double correlation(const cv::Mat &a, const cv::Mat &b)
{
    if (a.empty() || a.size() != b.size() || a.type() != b.type())
        return -1;
    // As matchTemplate's normalised correlation coefficient over all
    // channels, without its transform for large patches.
    cv::Mat fa, fb;
    a.convertTo(fa, CV_32F);
    b.convertTo(fb, CV_32F);
    fa -= cv::mean(fa);
    fb -= cv::mean(fb);
    const double norms = std::sqrt(fa.dot(fa) * fb.dot(fb));
    if (!(norms > 0))
        return -1;
    const double s = fa.dot(fb) / norms;
    return std::isfinite(s) ? s : -1;
}

cv::Mat matchMap(const cv::Mat &region, const cv::Mat &patch)
{
    cv::Mat map;
    if (region.cols < patch.cols || region.rows < patch.rows)
        return map;
    cv::matchTemplate(region, patch, map, cv::TM_CCOEFF_NORMED);
    // A flat stretch has no correlation at all.
    cv::patchNaNs(map, -1);
    return map;
}

cv::Mat shrunkMatchMap(const cv::Mat &region, const cv::Mat &patch, int shrink)
{
    const cv::Size full(region.cols - patch.cols + 1, region.rows - patch.rows + 1);
    if (full.width <= 0 || full.height <= 0)
        return cv::Mat();
    if (shrink == 1)
        return matchMap(region, patch);
    cv::Mat smallRegion, smallPatch;
    cv::resize(region, smallRegion, cv::Size(), 1.0 / shrink, 1.0 / shrink, cv::INTER_AREA);
    cv::resize(patch, smallPatch, cv::Size(), 1.0 / shrink, 1.0 / shrink, cv::INTER_AREA);
    const cv::Mat coarse = matchMap(smallRegion, smallPatch);
    if (coarse.empty())
        return coarse;
    cv::Mat scores;
    cv::resize(coarse, scores, full, 0, 0, cv::INTER_LINEAR);
    return scores;
}

namespace {

double parabolaOffset(float before, float at, float after)
{
    const double curve = double(before) - 2.0 * at + after;
    if (!(curve < 0))
        return 0;
    return std::clamp((double(before) - after) / (2.0 * curve), -0.5, 0.5);
}

} // namespace

cv::Point2d peakOffset(const cv::Mat &map, cv::Point at)
{
    cv::Point2d d;
    if (at.x > 0 && at.x < map.cols - 1)
        d.x = parabolaOffset(map.at<float>(at.y, at.x - 1), map.at<float>(at.y, at.x),
                             map.at<float>(at.y, at.x + 1));
    if (at.y > 0 && at.y < map.rows - 1)
        d.y = parabolaOffset(map.at<float>(at.y - 1, at.x), map.at<float>(at.y, at.x),
                             map.at<float>(at.y + 1, at.x));
    return d;
}

std::optional<Blob> blobAt(const cv::Mat &weights, cv::Point seed, double threshold, double floor,
                           int seedReach)
{
    if (weights.empty())
        return std::nullopt;
    const cv::Mat above = weights > threshold;
    cv::Mat labels, stats, centroids;
    const int count = cv::connectedComponentsWithStats(above, labels, stats, centroids, 8, CV_32S);
    // The label at the seed, or else the nearest within reach.
    int label = 0;
    double nearest = seedReach + 0.5;
    const cv::Rect reach =
        cv::Rect(seed.x - seedReach, seed.y - seedReach, 2 * seedReach + 1, 2 * seedReach + 1) &
        cv::Rect(0, 0, weights.cols, weights.rows);
    for (int y = reach.y; y < reach.br().y; ++y)
        for (int x = reach.x; x < reach.br().x; ++x) {
            const int l = labels.at<int>(y, x);
            const double d = std::hypot(x - seed.x, y - seed.y);
            if (l != 0 && d < nearest) {
                nearest = d;
                label = l;
            }
        }
    if (label == 0 || label >= count)
        return std::nullopt;

    Blob blob;
    blob.area = stats.at<int>(label, cv::CC_STAT_AREA);
    const int left = stats.at<int>(label, cv::CC_STAT_LEFT);
    const int top = stats.at<int>(label, cv::CC_STAT_TOP);
    const int width = stats.at<int>(label, cv::CC_STAT_WIDTH);
    const int height = stats.at<int>(label, cv::CC_STAT_HEIGHT);
    blob.extent = cv::Size(width, height);
    blob.touchesEdge =
        left == 0 || top == 0 || left + width == weights.cols || top + height == weights.rows;
    // The blob and a pixel around it: its faint edge counts on every side alike.
    cv::Mat mask = labels == label, grown;
    cv::dilate(mask, grown, cv::Mat());
    blob.level = cv::mean(weights, mask)[0];
    double sum = 0, sx = 0, sy = 0;
    for (int y = 0; y < weights.rows; ++y) {
        const uchar *m = grown.ptr<uchar>(y);
        const float *w = weights.ptr<float>(y);
        for (int x = 0; x < weights.cols; ++x) {
            if (!m[x])
                continue;
            const double v = std::max(0.0, double(w[x]) - floor);
            sum += v;
            sx += v * x;
            sy += v * y;
        }
    }
    if (!(sum > 0))
        return std::nullopt;
    blob.centre = cv::Point2d(sx / sum, sy / sum);
    return blob;
}

Symmetry symmetricCentre(const cv::Mat &bgra, cv::Point2d start, int half, double reach)
{
    Symmetry s;
    s.centre = start;
    const cv::Mat patch = patchAt(bgra, start, half);
    if (patch.empty())
        return s;
    cv::Mat turned;
    cv::flip(patch, turned, -1);
    // The patch turned half round matches where the centre of symmetry is
    // halfway between it and the patch itself.
    const double r = std::ceil(2 * reach) + 1;
    const cv::Rect area = around(start, half + r);
    const cv::Mat map = matchMap(regionOf(bgra, area), turned);
    if (map.empty())
        return s;
    double best = 0;
    cv::Point at;
    cv::minMaxLoc(map, nullptr, &best, nullptr, &at);
    const cv::Point2d matched =
        cv::Point2d(area.x + half + at.x, area.y + half + at.y) + peakOffset(map, at);
    const cv::Point2d offset = (matched - start) * 0.5;
    s.centre = start + cv::Point2d(std::clamp(offset.x, -reach, reach),
                                   std::clamp(offset.y, -reach, reach));
    s.score = best;
    return s;
}

double objectRadius(const cv::Mat &bgra, cv::Point2d centre, double reach)
{
    const cv::Rect area = around(centre, reach + 2);
    const cv::Mat region = regionOf(bgra, area);
    if (region.empty())
        return 0;
    // In colour: a red dot on a blue cart may have the cart's brightness.
    cv::Mat smooth;
    cv::GaussianBlur(region, smooth, cv::Size(0, 0), 1.0);
    const auto sample = [&](double x, double y) {
        const int ix = std::clamp(int(std::lround(x)) - area.x, 0, smooth.cols - 1);
        const int iy = std::clamp(int(std::lround(y)) - area.y, 0, smooth.rows - 1);
        return smooth.at<cv::Vec3b>(iy, ix);
    };
    std::vector<double> radii;
    for (int ray = 0; ray < 16; ++ray) {
        const double angle = ray * M_PI / 8;
        const double cx = std::cos(angle), cy = std::sin(angle);
        double bestStep = 0, bestRadius = 0;
        for (double r = 1; r + 1 <= reach; r += 1) {
            const cv::Vec3b outer = sample(centre.x + (r + 1) * cx, centre.y + (r + 1) * cy);
            const cv::Vec3b inner = sample(centre.x + (r - 1) * cx, centre.y + (r - 1) * cy);
            double step = 0;
            for (int c = 0; c < 3; ++c)
                step = std::max(step, std::abs(double(outer[c]) - inner[c]));
            if (step > bestStep) {
                bestStep = step;
                bestRadius = r;
            }
        }
        radii.push_back(bestRadius);
    }
    std::nth_element(radii.begin(), radii.begin() + 8, radii.end());
    return radii[8];
}

} // namespace detection
