#include "digitize/tracking/colour_mark.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace {

// The colour stands out when a channel differs this much from around it.
constexpr double MinDistinct = 60;
// A pixel is of the colour within this part of that difference.
constexpr double Tolerance = 0.45;
// A patch of the colour may grow or shrink this much (blur, turning).
constexpr double MaxAreaRatio = 1.6;
// Longer than wide by this much: its axis tells how it turned.
constexpr double MinElongation = 1.5;

struct Shape
{
    cv::Point2d centre;
    double area = 0;
    double axis = 0; // degrees
    bool elongated = false;
    bool touchesEdge = false;
};

std::vector<Shape> shapes(const cv::Mat &bgr, const cv::Vec3d &colour, double tolerance)
{
    cv::Mat mask;
    cv::inRange(
        bgr, cv::Scalar(colour[0] - tolerance, colour[1] - tolerance, colour[2] - tolerance),
        cv::Scalar(colour[0] + tolerance, colour[1] + tolerance, colour[2] + tolerance), mask);
    cv::Mat labels, stats, centroids;
    const int count = cv::connectedComponentsWithStats(mask, labels, stats, centroids, 8, CV_32S);
    std::vector<Shape> out;
    for (int l = 1; l < count; ++l) {
        Shape s;
        s.area = stats.at<int>(l, cv::CC_STAT_AREA);
        if (s.area < 3)
            continue;
        const cv::Rect box(stats.at<int>(l, cv::CC_STAT_LEFT), stats.at<int>(l, cv::CC_STAT_TOP),
                           stats.at<int>(l, cv::CC_STAT_WIDTH),
                           stats.at<int>(l, cv::CC_STAT_HEIGHT));
        s.touchesEdge =
            box.x == 0 || box.y == 0 || box.br().x == bgr.cols || box.br().y == bgr.rows;
        const cv::Moments m = cv::moments(labels(box) == l, true);
        s.centre = cv::Point2d(box.x + m.m10 / m.m00, box.y + m.m01 / m.m00);
        s.axis = 0.5 * std::atan2(2 * m.mu11, m.mu20 - m.mu02) * 180 / M_PI;
        const double common = (m.mu20 + m.mu02) / 2;
        const double apart = std::hypot((m.mu20 - m.mu02) / 2, m.mu11);
        s.elongated = common - apart > 0 &&
                      (common + apart) / (common - apart) >= MinElongation * MinElongation;
        out.push_back(s);
    }
    return out;
}

cv::Point2d turnedBy(cv::Point2d p, double degrees)
{
    const double a = degrees * M_PI / 180;
    return {p.x * std::cos(a) - p.y * std::sin(a), p.x * std::sin(a) + p.y * std::cos(a)};
}

} // namespace

bool ColourMark::start(const cv::Mat &bgr, cv::Point2d at, const cv::Scalar &core,
                       const cv::Scalar &around)
{
    *this = ColourMark();
    double distinct = 0;
    for (int c = 0; c < 3; ++c)
        distinct = std::max(distinct, std::abs(core[c] - around[c]));
    if (distinct < MinDistinct)
        return false;
    m_colour = cv::Vec3d(core[0], core[1], core[2]);
    m_tolerance = Tolerance * distinct;
    // The patch of the colour nearest the point clicked, within a few pixels.
    const Shape *own = nullptr;
    const std::vector<Shape> found = shapes(bgr, m_colour, m_tolerance);
    double nearest = 0;
    for (const Shape &s : found) {
        const double d = cv::norm(s.centre - at) - std::sqrt(s.area / M_PI);
        if (!s.touchesEdge && d <= 3 && (!own || d < nearest)) {
            own = &s;
            nearest = d;
        }
    }
    if (!own)
        return false;
    m_area = own->area;
    m_elongated = own->elongated;
    m_axis = own->axis;
    m_offset = at - own->centre;
    m_usable = true;
    return true;
}

std::vector<ColourMark::Spot> ColourMark::spots(const cv::Mat &bgr) const
{
    std::vector<Spot> out;
    if (!m_usable)
        return out;
    for (const Shape &s : shapes(bgr, m_colour, m_tolerance)) {
        if (s.touchesEdge || s.area > MaxAreaRatio * m_area || s.area < m_area / MaxAreaRatio)
            continue;
        Spot spot;
        spot.centre = s.centre;
        if (m_elongated && s.elongated) {
            // The axis turns by a half turn at most; of its two ends, the
            // one that continues the turn so far.
            double turn = s.axis - m_axis;
            turn -= 180 * std::round((turn - m_turn) / 180);
            spot.turn = turn;
        } else if (m_elongated) {
            continue; // the look it had is gone: not confirmed by colour
        }
        spot.point = s.centre + turnedBy(m_offset, spot.turn);
        out.push_back(spot);
    }
    return out;
}
