#include "digitize/object_tracker.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

namespace {

// Inside the tracker positions are full-resolution pixels with the centre of
// pixel (i, j) at (i, j).
using Point = cv::Point2d;

// The search window reaches this far (preview pixels) beyond the predicted
// position at least, and on the first step, without a speed known, this far
// per frame.
constexpr double MinMarginPreview = 6;
constexpr double FirstStepMarginPreview = 48;
constexpr double MaxMarginPreview = 120;
// Patch sizes, full-resolution pixels.
constexpr int MinHalf = 4;
constexpr int MaxHalf = 96;
// The first patch is looked for this close around the position the current
// patch gives.
constexpr double AnchorReach = 3;
// Below this the picture is not taken as symmetric about the object's centre.
constexpr double MinSymmetry = 0.8;

// A picture wrapped for OpenCV without copying: 4 bytes a pixel, B G R X.
struct Frame
{
    QImage image;
    cv::Mat bgra;
    explicit Frame(const QImage &source)
    {
        image = source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
                    ? source
                    : source.convertToFormat(QImage::Format_RGB32);
        if (!image.isNull())
            bgra = cv::Mat(image.height(), image.width(), CV_8UC4,
                           const_cast<uchar *>(image.constBits()), size_t(image.bytesPerLine()));
    }
    cv::Rect bounds() const { return {0, 0, bgra.cols, bgra.rows}; }
    // The part `area` (held within the picture), three channels.
    cv::Mat bgr(cv::Rect &area) const
    {
        area &= bounds();
        cv::Mat out;
        if (!area.empty())
            cv::cvtColor(bgra(area), out, cv::COLOR_BGRA2BGR);
        return out;
    }
};

cv::Rect around(Point centre, double reach)
{
    const int x0 = int(std::floor(centre.x - reach));
    const int y0 = int(std::floor(centre.y - reach));
    const int x1 = int(std::ceil(centre.x + reach));
    const int y1 = int(std::ceil(centre.y + reach));
    return {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

// Offset of the true peak from the best whole position, from the parabola
// through it and its two neighbours (at most half a pixel).
double parabolaOffset(float before, float at, float after)
{
    const double curve = double(before) - 2.0 * at + after;
    if (!(curve < 0))
        return 0;
    return std::clamp((double(before) - after) / (2.0 * curve), -0.5, 0.5);
}

struct Match
{
    Point centre; // of the patch, full-resolution pixels
    double score = -1;
    bool atLeft = false, atRight = false, atTop = false, atBottom = false;
};

// The disc inscribed in a patch of `side` pixels: what lies in the patch's
// corners (something standing near the object's way) does not count.
cv::Mat discMask(int side)
{
    cv::Mat mask(side, side, CV_8U, cv::Scalar(0));
    cv::circle(mask, cv::Point(side / 2, side / 2), side / 2, cv::Scalar(255), cv::FILLED);
    return mask;
}

// Best place of `patch` (odd sides) within `area` of the picture; `disc`
// leaves the patch's corners out (only near the object: on a plain wall a
// masked score has nothing to stand on).
std::optional<Match> bestMatch(const Frame &frame, cv::Rect area, const cv::Mat &patch,
                               bool disc = false)
{
    const cv::Mat region = frame.bgr(area);
    if (region.cols < patch.cols || region.rows < patch.rows)
        return std::nullopt;
    cv::Mat scores;
    if (disc)
        cv::matchTemplate(region, patch, scores, cv::TM_CCOEFF_NORMED, discMask(patch.cols));
    else
        cv::matchTemplate(region, patch, scores, cv::TM_CCOEFF_NORMED);
    double best = 0;
    cv::Point at;
    cv::minMaxLoc(scores, nullptr, &best, nullptr, &at);
    if (!std::isfinite(best))
        return std::nullopt;
    Match m;
    m.score = best;
    m.atLeft = at.x == 0;
    m.atTop = at.y == 0;
    m.atRight = at.x == scores.cols - 1;
    m.atBottom = at.y == scores.rows - 1;
    double dx = 0, dy = 0;
    if (!m.atLeft && !m.atRight)
        dx = parabolaOffset(scores.at<float>(at.y, at.x - 1), scores.at<float>(at.y, at.x),
                            scores.at<float>(at.y, at.x + 1));
    if (!m.atTop && !m.atBottom)
        dy = parabolaOffset(scores.at<float>(at.y - 1, at.x), scores.at<float>(at.y, at.x),
                            scores.at<float>(at.y + 1, at.x));
    m.centre = Point(area.x + at.x + dx + patch.cols / 2, area.y + at.y + dy + patch.rows / 2);
    return m;
}

cv::Mat patchAt(const Frame &frame, Point centre, int half)
{
    cv::Rect area = around(centre, half + 2);
    const cv::Mat region = frame.bgr(area);
    cv::Mat patch;
    if (region.empty())
        return patch;
    cv::getRectSubPix(region, cv::Size(2 * half + 1, 2 * half + 1),
                      cv::Point2f(float(centre.x - area.x), float(centre.y - area.y)), patch);
    return patch;
}

// Radius of the object at `centre`: along sixteen rays, where the
// brightness changes most; the median of them, so that a ray crossing
// something else first does not count.
double objectRadius(const Frame &frame, Point centre, double reach)
{
    cv::Rect area = around(centre, reach + 2);
    const cv::Mat region = frame.bgr(area);
    if (region.empty())
        return 0;
    cv::Mat grey, smooth;
    cv::cvtColor(region, grey, cv::COLOR_BGR2GRAY);
    cv::GaussianBlur(grey, smooth, cv::Size(0, 0), 1.0);
    const auto sample = [&](double x, double y) {
        const int ix = std::clamp(int(std::lround(x)) - area.x, 0, smooth.cols - 1);
        const int iy = std::clamp(int(std::lround(y)) - area.y, 0, smooth.rows - 1);
        return double(smooth.at<uchar>(iy, ix));
    };
    std::vector<double> radii;
    for (int ray = 0; ray < 16; ++ray) {
        const double angle = ray * M_PI / 8;
        const double cx = std::cos(angle), cy = std::sin(angle);
        double bestStep = 0, bestRadius = 0;
        for (double r = 1; r + 1 <= reach; r += 1) {
            const double step = std::abs(sample(centre.x + (r + 1) * cx, centre.y + (r + 1) * cy) -
                                         sample(centre.x + (r - 1) * cx, centre.y + (r - 1) * cy));
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

} // namespace

struct ObjectTracker::Impl
{
    double scaleX = 1, scaleY = 1; // full-resolution pixels per preview pixel
    QSize frameSize;
    int half = 0;
    cv::Mat first;
    cv::Mat current;
    Point position;
    qint32 frame = 0;
    std::optional<Point> earlier;
    qint32 earlierFrame = 0;

    Point toFrame(QPointF p) const
    {
        return Point((p.x() + 0.5) * scaleX - 0.5, (p.y() + 0.5) * scaleY - 0.5);
    }
    QPointF toPreview(Point p) const
    {
        return QPointF((p.x + 0.5) / scaleX - 0.5, (p.y + 0.5) / scaleY - 0.5);
    }
    double previewPixels(double preview) const { return preview * std::max(scaleX, scaleY); }

    // Where a patch centre may lie with the whole patch inside the picture.
    bool fits(Point p) const
    {
        return p.x >= half && p.y >= half && p.x <= frameSize.width() - 1 - half &&
               p.y <= frameSize.height() - 1 - half;
    }

    // The object's centre of symmetry near `start`, at most `reach` away on
    // either axis; `start` itself when the picture is not clearly symmetric.
    Point symmetricCentre(const Frame &picture, Point start, Point reach) const
    {
        const cv::Mat patch = patchAt(picture, start, half);
        if (patch.empty())
            return start;
        cv::Mat turned;
        cv::flip(patch, turned, -1);
        const double r = std::ceil(2 * std::max(reach.x, reach.y)) + 1;
        const std::optional<Match> m = bestMatch(picture, around(start, half + r), turned);
        if (!m || m->score < MinSymmetry)
            return start;
        // The patch turned half round matches where the centre of symmetry
        // is halfway between it and the patch itself.
        const Point offset = (m->centre - start) * 0.5;
        return Point(start.x + std::clamp(offset.x, -reach.x, reach.x),
                     start.y + std::clamp(offset.y, -reach.y, reach.y));
    }
};

ObjectTracker::ObjectTracker() : d(std::make_unique<Impl>()) {}
ObjectTracker::~ObjectTracker() = default;
ObjectTracker::ObjectTracker(ObjectTracker &&) noexcept = default;
ObjectTracker &ObjectTracker::operator=(ObjectTracker &&) noexcept = default;

int ObjectTracker::patchHalfSize() const
{
    return d->half;
}

bool ObjectTracker::start(const QImage &image, QSize previewSize, QPointF point, qint32 frameNumber)
{
    *d = Impl();
    const Frame picture(image);
    if (picture.bgra.empty() || previewSize.isEmpty())
        return false;
    d->frameSize = image.size();
    d->scaleX = double(image.width()) / previewSize.width();
    d->scaleY = double(image.height()) / previewSize.height();
    d->frame = frameNumber;

    Point at = d->toFrame(point);
    const double reach =
        std::min(d->previewPixels(40), std::min(image.width(), image.height()) / 4.0);
    const double radius = objectRadius(picture, at, reach);
    // A ring of the background around the object gives the patch its edge.
    d->half = std::clamp(int(std::lround(1.1 * radius + 3)), MinHalf, MaxHalf);
    d->half = std::max(d->half, int(std::lround(d->previewPixels(3))));
    if (!d->fits(at)) {
        d->half = 0;
        return false;
    }
    // The point is a whole preview pixel; the centre is looked for within it.
    at = d->symmetricCentre(picture, at, Point(d->scaleX / 2, d->scaleY / 2));
    d->position = at;
    d->first = patchAt(picture, at, d->half);
    d->current = d->first;
    if (d->first.empty()) {
        d->half = 0;
        return false;
    }
    return true;
}

void ObjectTracker::setEarlier(QPointF point, qint32 frameNumber)
{
    if (d->half == 0 || frameNumber >= d->frame)
        return;
    d->earlier = d->toFrame(point);
    d->earlierFrame = frameNumber;
}

ObjectTracker::Step ObjectTracker::follow(const QImage &image, qint32 frameNumber)
{
    Step step;
    const Frame picture(image);
    if (d->half == 0 || picture.bgra.empty() || image.size() != d->frameSize ||
        frameNumber <= d->frame)
        return step;

    const double frames = frameNumber - d->frame;
    Point predicted = d->position;
    double margin;
    if (d->earlier) {
        const Point speed = (d->position - *d->earlier) / double(d->frame - d->earlierFrame);
        const Point move = speed * frames;
        predicted += move;
        margin = d->previewPixels(MinMarginPreview) + 0.5 * std::hypot(move.x, move.y);
    } else {
        margin = std::max(2.0 * d->half, d->previewPixels(FirstStepMarginPreview) * frames);
    }
    margin = std::min(margin, d->previewPixels(MaxMarginPreview));
    if (!d->fits(predicted)) {
        step.outcome = Outcome::LeftPicture;
        return step;
    }

    const cv::Rect wanted = around(predicted, margin + d->half);
    const cv::Rect inside = wanted & cv::Rect(0, 0, image.width(), image.height());
    const std::optional<Match> found = bestMatch(picture, wanted, d->current);
    if (!found) {
        step.outcome = Outcome::LeftPicture;
        return step;
    }
    // Best at a side where the window was cut by the edge of the picture:
    // the object goes on beyond what a whole patch can cover.
    if ((found->atLeft && inside.x > wanted.x) || (found->atTop && inside.y > wanted.y) ||
        (found->atRight && inside.br().x < wanted.br().x) ||
        (found->atBottom && inside.br().y < wanted.br().y)) {
        step.outcome = Outcome::LeftPicture;
        return step;
    }

    // The first patch, looked for just around with the corners of the patch
    // left out: something standing beside the object's way pulls it less.
    const std::optional<Match> anchored =
        bestMatch(picture, around(found->centre, AnchorReach + d->half), d->first, true);
    step.score = std::min(found->score, anchored ? anchored->score : -1.0);
    if (step.score < MinScore) {
        step.outcome = Outcome::Lost;
        return step;
    }
    // The first patch does not carry the small errors of every step before,
    // so where it still matches, its place is the one taken.
    const Point at = anchored->centre;

    d->earlier = d->position;
    d->earlierFrame = d->frame;
    d->position = at;
    d->frame = frameNumber;
    const cv::Mat fresh = patchAt(picture, at, d->half);
    if (!fresh.empty())
        d->current = fresh;
    step.outcome = Outcome::Found;
    step.position = d->toPreview(at);
    return step;
}
