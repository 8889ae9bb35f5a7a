#include "digitize/tracking/object_tracker.h"

#include "digitize/tracking/colour_mark.h"
#include "digitize/tracking/detection.h"
#include "digitize/tracking/motion_model.h"
#include "digitize/tracking/object_look.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <deque>
#include <functional>
#include <vector>

using namespace detection;

namespace {

using Point = cv::Point2d;

constexpr int MinHalf = 4;
constexpr int MaxHalf = 96;
// Below this the picture is not taken as symmetric about the object's centre.
constexpr double MinSymmetry = 0.8;
// An object whose centre cannot be found otherwise must match its patch this
// closely for the match itself to place it.
constexpr double MinPeakScore = 0.85;
// The part of the object's place that must have changed where it moved.
constexpr double MinChanged = 0.3;
// What stands out from the background, as a part of the object's contrast:
// counts as the object, and as a change.
constexpr double ObjectLevel = 0.4;
constexpr double ChangeLevel = 0.4;
// The object's blob may grow or shrink this much from one frame to the next
// (motion blur); more is something else joined to it, or part of it hidden.
constexpr double MaxAreaRatio = 1.7;
// Without the patch's look to confirm it, the blob must keep its size and
// its contrast closer than that.
constexpr double MaxBlobChange = 1.3;
// A candidate must stand out this much from the best one outside its
// neighbourhood; with twice as much, and a close match with the object as
// clicked, the frame is confident and its look may be learnt.
constexpr double MinMargin = 0.08;
constexpr double ConfidentScore = 0.8;
// The turned start patch places an object without a centre of its own when
// it matches this closely.
constexpr double MinAnchorPlace = 0.9;
// And the look right at the point must match the one clicked this closely.
constexpr double MinInner = 0.9;
// A blob found on the model's path alone (a blurred fast object) must still
// match the object as clicked this closely.
constexpr double MinBlobLook = 0.45;
// Frames kept for the background (their median) and for the motion cue.
constexpr size_t FramesKept = 3;

struct Seen
{
    QImage image;
    Point shift;  // the camera's movement on it, full-resolution pixels
    Point object; // where the object was on it (or was expected)
};

} // namespace

struct ObjectTracker::Impl
{
    double scaleX = 1, scaleY = 1; // full-resolution pixels per preview pixel
    QSize frameSize;
    int half = 0;
    double radius = 0;       // of the object, full-resolution pixels
    double contrast = 0;     // how far the object stands out from what is around it
    cv::Scalar core;         // the colour at the point clicked, what stays as it turns
    cv::Scalar aroundColour; // the colour around the object when clicked
    ColourMark colour;       // where that colour stands out from around it
    // Of its blob, when last measured (0: not yet). Measured against the
    // background of later frames: a blurred object reaches beyond the rim of
    // the start patch.
    double area = 0;
    double level = 0;       // how far its blob stands out from the background, on the mean
    bool symmetric = false; // about the point clicked
    ObjectLook look;        // the start patch, key patches and the running one
    MotionModel model;      // positions with the camera's movement taken out
    std::deque<Seen> seen;
    Seen confirmed; // the last frame the object was confirmed on
    qint32 frame = 0;
    int coasting = 0;

    Point toFrame(QPointF p) const
    {
        return Point((p.x() + 0.5) * scaleX - 0.5, (p.y() + 0.5) * scaleY - 0.5);
    }
    QPointF toPreview(Point p) const
    {
        return QPointF((p.x + 0.5) / scaleX - 0.5, (p.y + 0.5) / scaleY - 0.5);
    }
    Point shiftOf(QPointF preview) const
    {
        return Point(preview.x() * scaleX, preview.y() * scaleY);
    }
    // The mean colour of a small disc at `at` of a B G R region.
    cv::Scalar coreOf(const cv::Mat &bgr, Point at) const
    {
        const int r = std::clamp(int(std::lround(radius / 3)), 1, 3);
        const cv::Rect box =
            cv::Rect(int(std::lround(at.x)) - r, int(std::lround(at.y)) - r, 2 * r + 1, 2 * r + 1) &
            cv::Rect(0, 0, bgr.cols, bgr.rows);
        if (box.empty())
            return cv::Scalar::all(-255);
        cv::Mat disc(box.size(), CV_8U, cv::Scalar(0));
        cv::circle(disc, cv::Point(int(std::lround(at.x)) - box.x, int(std::lround(at.y)) - box.y),
                   r, cv::Scalar(255), cv::FILLED);
        return cv::mean(bgr(box), disc);
    }
    static double colourDistance(const cv::Scalar &a, const cv::Scalar &b)
    {
        return std::max({std::abs(a[0] - b[0]), std::abs(a[1] - b[1]), std::abs(a[2] - b[2])});
    }
    // A colour at the object's point this far from the one clicked is not it.
    double colourReach() const { return std::max(35.0, 0.5 * contrast); }
    double changeThreshold() const { return std::clamp(ChangeLevel * contrast, 10.0, 60.0); }
    void remember(const QImage &image, Point shift, Point object)
    {
        seen.push_back({image, shift, object});
        if (seen.size() > FramesKept)
            seen.pop_front();
    }
    // `area` of the picture as it was on an earlier frame, the camera's
    // movement since taken out.
    cv::Mat earlier(const Seen &s, cv::Rect area, Point shift) const
    {
        const Point move = shift - s.shift;
        const Picture picture(s.image);
        return regionOf(picture.bgra,
                        area - cv::Point(int(std::lround(move.x)), int(std::lround(move.y))));
    }
    // The centre of what stands out from the background around `at`; none
    // when the background there is not clean yet (the object was there on
    // the frames it is taken from) or the blob is not the object's.
    std::optional<Blob> blobCentre(const Picture &picture, Point at, Point shift, double move,
                                   double seedReach) const;
    void measureContrast(const Picture &picture, Point at);
};

void ObjectTracker::Impl::measureContrast(const Picture &picture, Point at)
{
    // The object against the median colour of the patch's rim.
    const cv::Mat patch = patchAt(picture.bgra, at, half);
    std::vector<cv::Vec3b> rim;
    for (int i = 0; i < patch.cols; ++i) {
        rim.push_back(patch.at<cv::Vec3b>(0, i));
        rim.push_back(patch.at<cv::Vec3b>(patch.rows - 1, i));
        rim.push_back(patch.at<cv::Vec3b>(i, 0));
        rim.push_back(patch.at<cv::Vec3b>(i, patch.cols - 1));
    }
    cv::Vec3b background;
    for (int c = 0; c < 3; ++c) {
        std::vector<uchar> values;
        for (const cv::Vec3b &v : rim)
            values.push_back(v[c]);
        std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
        background[c] = values[values.size() / 2];
    }
    aroundColour = cv::Scalar(background[0], background[1], background[2]);
    const cv::Mat weights = difference(patch, cv::Mat(patch.size(), CV_8UC3, background));
    cv::Mat smooth;
    cv::GaussianBlur(weights, smooth, cv::Size(3, 3), 0);
    cv::Mat inner(patch.size(), CV_8U, cv::Scalar(0));
    cv::circle(inner, cv::Point(half, half), int(std::max(1.0, radius * 0.6)), cv::Scalar(255),
               cv::FILLED);
    double peak = 0;
    cv::minMaxLoc(smooth, nullptr, &peak, nullptr, nullptr, inner);
    contrast = peak;
}

std::optional<Blob> ObjectTracker::Impl::blobCentre(const Picture &picture, Point at, Point shift,
                                                    double move, double seedReach) const
{
    // The background at `at` is clean when the object was clear of it on
    // most of the frames the median is taken from.
    const auto clear = [&](const Seen &s) {
        return cv::norm(s.object + (shift - s.shift) - at) > 2.5 * radius + 2;
    };
    // Of two frames the median is the older one.
    const bool enough = seen.size() >= 3 ? std::count_if(seen.begin(), seen.end(), clear) >= 2
                                         : clear(seen.front());
    if (!enough)
        return std::nullopt;
    // Room for the object smeared along its way by motion blur.
    const cv::Rect area_ = around(at, seedReach + 2 * radius + 4 + 0.6 * move);
    std::vector<cv::Mat> before;
    for (const Seen &s : seen)
        before.push_back(earlier(s, area_, shift));
    const cv::Mat background = medianOf(before);
    const cv::Mat now = regionOf(picture.bgra, area_);
    if (background.empty() || now.empty())
        return std::nullopt;
    const cv::Mat weights = difference(now, background);
    std::optional<Blob> blob = blobAt(
        weights, cv::Point(int(std::lround(at.x)) - area_.x, int(std::lround(at.y)) - area_.y),
        ObjectLevel * contrast, 0.1 * contrast, int(std::ceil(seedReach)));
    if (!blob || blob->touchesEdge ||
        (area > 0 && (blob->area > MaxAreaRatio * area || blob->area < area / MaxAreaRatio)) ||
        blob->area < 0.5 * M_PI * radius * radius)
        return std::nullopt;
    blob->centre += Point(area_.x, area_.y);
    return blob;
}

namespace {

// Of the places of `map` within `most` of its best one at `best`, how far
// below it the first one lies that is not joined to it (`most` when none).
double distinctness(const cv::Mat &map, cv::Point best, double most)
{
    const float top = map.at<float>(best);
    double margin = most;
    for (double step : {most / 2, most}) {
        const cv::Mat near = map >= top - step;
        cv::Mat labels;
        const int count = cv::connectedComponents(near, labels, 8, CV_32S);
        if (count > 2) {
            // Another place within `step`: how close it comes.
            const cv::Mat apart = (labels != labels.at<int>(best)) & near;
            double other = 0;
            cv::minMaxLoc(map, nullptr, &other, nullptr, nullptr, apart);
            return top - other;
        }
    }
    return margin;
}

} // namespace

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
    const Picture picture(image);
    if (picture.bgra.empty() || previewSize.isEmpty())
        return false;
    d->frameSize = image.size();
    d->scaleX = double(image.width()) / previewSize.width();
    d->scaleY = double(image.height()) / previewSize.height();
    d->frame = frameNumber;
    Point at = d->toFrame(point);
    if (!picture.bounds().contains(cv::Point(int(std::lround(at.x)), int(std::lround(at.y)))))
        return false;

    const double scale = std::max(d->scaleX, d->scaleY);
    const double reach = std::min(40 * scale, std::min(image.width(), image.height()) / 4.0);
    d->radius = std::max(1.5, detection::objectRadius(picture.bgra, at, reach));
    // A ring of the background around the object gives the patch its edge.
    d->half = std::clamp(int(std::lround(1.1 * d->radius + 3)), MinHalf, MaxHalf);
    d->half = std::max(d->half, int(std::lround(3 * scale)));
    // The point is a whole preview pixel; the centre is looked for within it.
    const Symmetry s = symmetricCentre(picture.bgra, at, d->half, scale / 2);
    if (s.score >= MinSymmetry)
        at = s.centre;
    // Only an object symmetric about the point clicked is centred by its
    // symmetry later on; on anything else the symmetry of what lies around
    // it (a striped wall) would pull the point away.
    d->symmetric = symmetricCentre(picture.bgra, at, d->half, std::max(1.0, d->radius / 2)).score >=
                   MinSymmetry;
    d->look.start(picture.bgra, at, d->half, !d->symmetric, frameNumber);
    d->measureContrast(picture, at);
    d->core = d->coreOf(regionOf(picture.bgra, picture.bounds()), at);
    const cv::Rect near = around(at, 3 * d->half);
    d->colour.start(regionOf(picture.bgra, near), at - Point(near.x, near.y), d->core,
                    d->aroundColour);
    d->model.add(at, frameNumber);
    d->remember(image, Point(), at);
    d->confirmed = d->seen.back();
    return true;
}

void ObjectTracker::setEarlier(QPointF point, qint32 frameNumber, QPointF cameraShift)
{
    if (d->half == 0 || frameNumber >= d->frame || d->model.points() != 1)
        return;
    const Point now = d->model.last();
    d->model.reset();
    d->model.add(d->toFrame(point) - d->shiftOf(cameraShift), frameNumber);
    d->model.add(now, d->frame);
}

ObjectTracker::Step ObjectTracker::follow(const QImage &image, qint32 frameNumber,
                                          QPointF cameraShift)
{
    Step step;
    const Picture picture(image);
    if (d->half == 0 || picture.bgra.empty() || image.size() != d->frameSize ||
        frameNumber <= d->frame)
        return step;
    d->frame = frameNumber;
    const Point shift = d->shiftOf(cameraShift);
    const MotionModel &model = d->model;
    const double width = image.width();
    const Point last = model.last() + shift;
    Point predicted = last;
    double reach = (d->coasting + 1) * width / 4;
    if (model.points() >= 2) {
        predicted = model.predict(frameNumber) + shift;
        reach = d->radius + 2 * std::max(d->scaleX, d->scaleY) + model.spread(frameNumber);
    }
    reach = std::min(reach, width / 2);
    const bool moveExpected = model.points() >= 2 && cv::norm(predicted - last) >= d->radius;

    // Where the look does not confirm the object, its own colour may.
    std::function<std::optional<Step>()> byColour;
    const auto unconfirmed = [&] {
        if (byColour)
            if (const std::optional<Step> found = byColour())
                return *found;
        d->remember(image, shift, predicted);
        const double edge = d->radius;
        if (predicted.x < edge || predicted.y < edge || predicted.x > image.width() - 1 - edge ||
            predicted.y > image.height() - 1 - edge) {
            step.outcome = Outcome::LeftPicture;
            return step;
        }
        step.outcome = ++d->coasting > MaxCoast ? Outcome::Lost : Outcome::Unconfirmed;
        return step;
    };
    if (!picture.bounds().contains(
            cv::Point(int(std::lround(predicted.x)), int(std::lround(predicted.y))))) {
        step.outcome = Outcome::LeftPicture;
        return step;
    }

    // Candidates: where the patch matches, and where the picture changed
    // against the frame before if the object is to have moved.
    const cv::Rect centres = around(predicted, reach) & picture.bounds();
    const int h = d->half;
    const cv::Rect area(centres.x - h, centres.y - h, centres.width + 2 * h,
                        centres.height + 2 * h);
    const cv::Mat now = regionOf(picture.bgra, area);
    const cv::Mat before = d->earlier(d->seen.back(), area, shift);
    if (before.empty())
        return unconfirmed();
    const cv::Mat changed = difference(now, before) > d->changeThreshold();
    cv::Mat changedPart;
    const int box = std::max(3, int(std::lround(d->radius)) | 1);
    cv::boxFilter(changed, changedPart, CV_32F, cv::Size(box, box), cv::Point(-1, -1), true,
                  cv::BORDER_REPLICATE);
    changedPart /= 255.0;
    const auto needsMotion = [&](Point c) {
        return moveExpected || (model.points() < 2 && cv::norm(c - last) > d->radius);
    };
    // Where the object stood: did its place change (it left)?
    const cv::Point lastAt(int(std::lround(last.x)) - area.x, int(std::lround(last.y)) - area.y);
    // (Against the frame it was last confirmed on: frames passed over since
    // may show its place without it already.)
    // Only asked where no motion is expected.
    const cv::Scalar wasThere =
        moveExpected ? cv::Scalar()
                     : d->coreOf(d->earlier(d->confirmed, area, shift), Point(lastAt));
    const double changeReach = 0.5 * d->changeThreshold();
    const bool placeChanged = !moveExpected && Impl::colourDistance(d->coreOf(now, Point(lastAt)),
                                                                    wasThere) > changeReach;
    byColour = [&]() -> std::optional<Step> {
        if (!d->colour.usable())
            return std::nullopt;
        std::vector<ColourMark::Spot> spots;
        for (ColourMark::Spot spot : d->colour.spots(now)) {
            spot.point += Point(area.x, area.y);
            const cv::Point at(int(std::lround(spot.centre.x)), int(std::lround(spot.centre.y)));
            const bool moved = !needsMotion(spot.point) ||
                               (cv::Rect(0, 0, changedPart.cols, changedPart.rows).contains(at) &&
                                changedPart.at<float>(at) >= MinChanged);
            if (moved && cv::norm(spot.point - predicted) <= reach)
                spots.push_back(spot);
        }
        if (spots.empty())
            return std::nullopt;
        std::sort(spots.begin(), spots.end(), [&](const auto &a, const auto &b) {
            return cv::norm(a.point - predicted) < cv::norm(b.point - predicted);
        });
        // Two alike: only a model that knows the path singles one out.
        if (spots.size() > 1 &&
            (model.points() < 3 || cv::norm(spots[1].point - predicted) <
                                       3 * cv::norm(spots[0].point - predicted) + 2 * d->radius))
            return std::nullopt;
        const Point centre = spots[0].point;
        if (!picture.bounds().contains(
                cv::Point(int(std::lround(centre.x)), int(std::lround(centre.y)))))
            return std::nullopt;
        d->colour.confirm(spots[0]);
        d->model.add(centre - shift, frameNumber);
        Step found;
        found.outcome = Outcome::Found;
        found.position = d->toPreview(centre);
        found.score =
            std::clamp(d->look.anchoredScore(picture.bgra, centre, frameNumber), 0.0, 1.0);
        d->coasting = 0;
        d->remember(image, shift, centre);
        d->confirmed = d->seen.back();
        return found;
    };
    // A large patch is matched on shrunk pictures first; only where that
    // finds nothing, at full resolution.
    const double time = frameNumber;
    cv::Mat scores;
    cv::Point best;
    bool matched = false;
    double margin = 0;
    for (int shrink = std::clamp(h / 8, 1, 4);; shrink = 1) {
        scores = d->look.candidateMap(now, shrink, time);
        if (scores.empty())
            return unconfirmed();
        cv::Mat ranked(scores.size(), CV_32F);
        for (int y = 0; y < scores.rows; ++y) {
            for (int x = 0; x < scores.cols; ++x) {
                const Point c(centres.x + x, centres.y + y);
                float s = scores.at<float>(y, x);
                if (needsMotion(c) && changedPart.at<float>(y + h, x + h) < MinChanged)
                    s = -2;
                // Standing still is a claim: where the object's place
                // changed, what is near it now must show what was there.
                else if (placeChanged && cv::norm(c - last) <= d->radius &&
                         Impl::colourDistance(d->coreOf(now, Point(x + h, y + h)), wasThere) >
                             changeReach)
                    s = -2;
                // Of two alike, the one nearer the prediction.
                const double off = cv::norm(c - predicted) / std::max(reach, 1.0);
                ranked.at<float>(y, x) = float(s - 0.1 * off * off);
            }
        }
        double top = 0;
        cv::minMaxLoc(ranked, nullptr, &top, nullptr, &best);
        // How far the best stands out from the best place apart from it:
        // the places within that much of it must join it (a blurred
        // object matches itself along its way), not lie apart.
        margin = distinctness(ranked, best, 2 * MinMargin);
        matched = scores.at<float>(best) >= MinScore && top >= -1;
        if (matched && shrink > 1) {
            // The best place again at full resolution, close around.
            const cv::Rect near =
                cv::Rect(best.x - shrink - 1, best.y - shrink - 1, 2 * shrink + 3, 2 * shrink + 3) &
                cv::Rect(0, 0, scores.cols, scores.rows);
            const cv::Mat fine = d->look.candidateMap(
                now(cv::Rect(near.x, near.y, near.width + 2 * h, near.height + 2 * h)), 1, time);
            cv::Point at;
            double score = -1;
            cv::minMaxLoc(fine, nullptr, &score, nullptr, &at);
            fine.copyTo(scores(near));
            best = near.tl() + at;
            matched = score >= MinScore;
        }
        if (matched || shrink == 1)
            break;
    }
    // Several places alike (a tyre, spokes, a checker scale): none is it.
    if (matched && margin < MinMargin)
        return unconfirmed();

    // The centre from the object itself: the blob that stands out from the
    // background where the patch matched, its centre of symmetry, or where
    // its start patch (turned as it turned) matches.
    Point peak, centre;
    std::optional<Blob> blob;
    std::optional<ObjectLook::Anchor> anchor;
    const auto near = [](double value, double before) {
        return value <= MaxBlobChange * before && value >= before / MaxBlobChange;
    };
    if (matched) {
        peak = Point(centres.x + best.x, centres.y + best.y) + peakOffset(scores, best);
        const double move = cv::norm(peak - last);
        // Only an object centred on the point clicked (a ball) is placed by
        // its blob's centre: of a figure, the blob's centre is not its hip.
        if (d->symmetric)
            blob = d->blobCentre(picture, peak, shift, move, std::ceil(d->radius / 2));
        if (blob) {
            centre = blob->centre;
        } else {
            const Symmetry s =
                symmetricCentre(picture.bgra, peak, h, std::max({1.0, d->radius / 2, 0.3 * move}));
            if (d->symmetric && s.score >= MinSymmetry) {
                centre = s.centre;
            } else {
                // Neither a blob nor a symmetric one (a mark on a cart, a
                // sticker on a wheel): where the object as clicked matches.
                anchor = d->look.anchorNear(picture.bgra, peak, 2, time);
                if (anchor->score >= MinAnchorPlace &&
                    d->look.innerScore(picture.bgra, anchor->centre, anchor->angle) >= MinInner)
                    centre = anchor->centre;
                else
                    return unconfirmed();
            }
        }
    } else {
        // A fast object smeared by motion blur changes its look from frame
        // to frame more than a patch can follow: on a path the model knows
        // well, the blob nearest the prediction that stands out as much as
        // the object did.
        if (model.points() < 3 || d->level <= 0)
            return unconfirmed();
        blob = d->blobCentre(picture, predicted, shift, cv::norm(predicted - last), reach);
        if (!blob || !near(blob->level, d->level) || !near(blob->area, d->area))
            return unconfirmed();
        centre = peak = blob->centre;
    }
    const double move = cv::norm(peak - last);

    // Look, motion and model must agree, and the look must be the object's
    // as it was clicked or confidently seen, not only as it was last.
    const cv::Mat patch = patchAt(picture.bgra, centre, h);
    const double anchored =
        std::max(anchor ? anchor->score : -1, d->look.anchoredScore(picture.bgra, centre, time));
    // An object that gives its own centre (a blob, a symmetric ball) cannot
    // slide off it a little at a time; its look may follow the frame before,
    // blurred as it is, where the blob keeps the object's size and contrast.
    const bool ownCentre = !anchor;
    const bool sameBlob =
        blob && (d->area <= 0 || (near(blob->level, d->level) && near(blob->area, d->area)));
    const bool likeBefore = !matched || correlation(patch, d->look.running()) >= MinScore;
    // A centre of symmetry alone (no blob yet) is that of whatever is
    // symmetric there: it must match the object as clicked closely.
    const bool bySymmetry = ownCentre && !blob;
    const bool looksLikeIt = bySymmetry
                                 ? anchored >= ConfidentScore
                                 : anchored >= MinScore || (ownCentre && likeBefore && sameBlob &&
                                                            (!matched || anchored >= MinBlobLook));
    // The colour at the object's point stays as it turns or changes shape.
    const cv::Rect coreArea = around(centre, 8);
    const bool sameColour = Impl::colourDistance(d->coreOf(regionOf(picture.bgra, coreArea),
                                                           centre - Point(coreArea.x, coreArea.y)),
                                                 d->core) <= d->colourReach();
    const bool onPeak = cv::norm(centre - peak) <= std::max(2.0, 0.6 * d->radius) + 0.3 * move;
    const bool onPath = cv::norm(centre - predicted) <= reach;
    bool moved = true;
    if (needsMotion(centre)) {
        const cv::Point at(int(std::lround(centre.x)) - area.x,
                           int(std::lround(centre.y)) - area.y);
        moved = cv::Rect(0, 0, changedPart.cols, changedPart.rows).contains(at) &&
                changedPart.at<float>(at) >= MinChanged;
        // An object placed by its start patch, turned as it turned, may have
        // its point at an edge of it (a sticker's end): the change may lie
        // beside the point.
        if (anchor && !moved) {
            const int r = int(std::ceil(d->radius / 2));
            const cv::Rect beside = cv::Rect(at.x - r, at.y - r, 2 * r + 1, 2 * r + 1) &
                                    cv::Rect(0, 0, changedPart.cols, changedPart.rows);
            double most = 0;
            if (!beside.empty())
                cv::minMaxLoc(changedPart(beside), nullptr, &most);
            moved = most >= MinChanged;
        }
    }
    // (A ball that gives its own centre keeps its look; its colour smears
    // with motion blur.)
    if (!looksLikeIt || (!sameColour && !ownCentre) || !onPeak || !onPath || !moved)
        return unconfirmed();

    d->model.add(centre - shift, frameNumber);
    // Only a frame confirmed with a clear margin teaches the look.
    const bool confident = matched && margin >= 2 * MinMargin &&
                           (anchored >= ConfidentScore || (ownCentre && likeBefore));
    d->look.confirm(picture.bgra, centre, time, anchor ? &*anchor : nullptr, confident);
    if (blob) {
        d->area = blob->area;
        d->level = blob->level;
        // A patch as large as the object smeared by motion blur, and a ring
        // of background around it.
        const int wanted =
            int(std::ceil(std::max(blob->extent.width, blob->extent.height) / 2.0)) + 3;
        if (matched && wanted > d->half && wanted <= MaxHalf) {
            d->half = wanted;
            d->look.resize(picture.bgra, centre, d->half);
        }
    }
    step.score = std::clamp(anchored, 0.0, 1.0);
    d->coasting = 0;
    d->remember(image, shift, centre);
    d->confirmed = d->seen.back();
    step.outcome = Outcome::Found;
    step.position = d->toPreview(centre);
    return step;
}
