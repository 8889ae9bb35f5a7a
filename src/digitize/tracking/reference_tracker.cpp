#include "digitize/tracking/reference_tracker.h"

#include "digitize/tracking/detection.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

using namespace detection;

namespace {

// How far the camera may shake between two frames, in preview pixels.
constexpr double ShakePreview = 12;
// The first patch is looked for this close around the position the current
// patch gives.
constexpr double AnchorReach = 3;
constexpr int MinHalf = 4;
constexpr int MaxHalf = 48;

struct Match
{
    cv::Point2d centre;
    double score = -1;
};

Match bestMatch(const cv::Mat &bgra, cv::Point2d around_, double reach, const cv::Mat &patch,
                bool disc)
{
    const int half = patch.cols / 2;
    const cv::Rect area = around(around_, reach + half);
    const cv::Mat region = regionOf(bgra, area);
    Match m;
    if (region.cols < patch.cols || region.rows < patch.rows)
        return m;
    cv::Mat map;
    if (disc) {
        // The corners left out: something standing beside the mark pulls less.
        cv::Mat mask(patch.size(), CV_8U, cv::Scalar(0));
        cv::circle(mask, cv::Point(half, half), half, cv::Scalar(255), cv::FILLED);
        cv::matchTemplate(region, patch, map, cv::TM_CCOEFF_NORMED, mask);
        cv::patchNaNs(map, -1);
    } else {
        map = matchMap(region, patch);
    }
    if (map.empty())
        return m;
    cv::Point at;
    cv::minMaxLoc(map, nullptr, &m.score, nullptr, &at);
    m.centre = cv::Point2d(area.x + half + at.x, area.y + half + at.y) + peakOffset(map, at);
    return m;
}

} // namespace

struct ReferenceTracker::Impl
{
    double scaleX = 1, scaleY = 1; // full-resolution pixels per preview pixel
    int half = 0;
    cv::Mat first, current;
    cv::Point2d position;

    cv::Point2d toFrame(QPointF p) const
    {
        return {(p.x() + 0.5) * scaleX - 0.5, (p.y() + 0.5) * scaleY - 0.5};
    }
    QPointF toPreview(cv::Point2d p) const
    {
        return QPointF((p.x + 0.5) / scaleX - 0.5, (p.y + 0.5) / scaleY - 0.5);
    }
    bool fits(cv::Point2d p, QSize size) const
    {
        return p.x >= half && p.y >= half && p.x <= size.width() - 1 - half &&
               p.y <= size.height() - 1 - half;
    }
};

ReferenceTracker::ReferenceTracker() : d(std::make_unique<Impl>()) {}
ReferenceTracker::~ReferenceTracker() = default;
ReferenceTracker::ReferenceTracker(ReferenceTracker &&) noexcept = default;
ReferenceTracker &ReferenceTracker::operator=(ReferenceTracker &&) noexcept = default;

bool ReferenceTracker::start(const QImage &image, QSize previewSize, QPointF point)
{
    *d = Impl();
    const Picture picture(image);
    if (picture.bgra.empty() || previewSize.isEmpty())
        return false;
    d->scaleX = double(image.width()) / previewSize.width();
    d->scaleY = double(image.height()) / previewSize.height();
    cv::Point2d at = d->toFrame(point);
    const double scale = std::max(d->scaleX, d->scaleY);
    const double reach = std::min(40 * scale, std::min(image.width(), image.height()) / 4.0);
    const double radius = objectRadius(picture.bgra, at, reach);
    d->half = std::clamp(int(std::lround(1.1 * radius + 3)), MinHalf, MaxHalf);
    d->half = std::max(d->half, int(std::lround(3 * scale)));
    if (!d->fits(at, image.size())) {
        d->half = 0;
        return false;
    }
    // The point is a whole preview pixel; the centre is looked for within it.
    const Symmetry s =
        symmetricCentre(picture.bgra, at, d->half, std::max(d->scaleX, d->scaleY) / 2);
    if (s.score >= 0.8)
        at = s.centre;
    d->position = at;
    d->first = patchAt(picture.bgra, at, d->half);
    d->current = d->first;
    return !d->first.empty();
}

ReferenceTracker::Step ReferenceTracker::follow(const QImage &image)
{
    Step step;
    const Picture picture(image);
    if (d->half == 0 || picture.bgra.empty())
        return step;
    const double scale = std::max(d->scaleX, d->scaleY);
    const Match found =
        bestMatch(picture.bgra, d->position, ShakePreview * scale, d->current, false);
    if (!d->fits(found.centre, image.size())) {
        step.outcome = Outcome::LeftPicture;
        return step;
    }
    const Match anchored = bestMatch(picture.bgra, found.centre, AnchorReach, d->first, true);
    if (std::min(found.score, anchored.score) < MinScore)
        return step;
    d->position = anchored.centre;
    d->current = patchAt(picture.bgra, anchored.centre, d->half);
    step.outcome = Outcome::Found;
    step.position = d->toPreview(anchored.centre);
    return step;
}
