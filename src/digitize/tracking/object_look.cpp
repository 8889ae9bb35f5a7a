#include "digitize/tracking/object_look.h"

#include "digitize/tracking/detection.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

using namespace detection;

namespace {

// A key patch is kept only when it looks this different from all kept.
constexpr double NewLook = 0.9;
// The start patch matching this closely settles how well the object matches.
constexpr double ClearMatch = 0.8;
// Before the turn per frame is known, the start patch is tried this far each
// way, in steps of StepWide; once known, around the prediction in steps of
// StepNear.
constexpr double TurnWide = 40, StepWide = 8;
constexpr double TurnNear = 10, StepNear = 5;

double bestNear(const cv::Mat &bgra, cv::Point2d centre, const cv::Mat &patch)
{
    // Whole-pixel steps from the centre itself, so that a centre between
    // pixels is compared where it is.
    const int h = patch.cols / 2;
    const cv::Mat around = patchAt(bgra, centre, h + 1);
    double best = -1;
    if (around.empty())
        return best;
    for (int dy = 0; dy <= 2; ++dy)
        for (int dx = 0; dx <= 2; ++dx)
            best = std::max(best,
                            correlation(around(cv::Rect(dx, dy, patch.cols, patch.rows)), patch));
    return best;
}

} // namespace

void ObjectLook::start(const cv::Mat &bgra, cv::Point2d at, int half, bool turns, double frame)
{
    *this = ObjectLook();
    m_half = half;
    m_turns = turns;
    m_start = patchAt(bgra, at, half);
    m_running = m_start;
    if (turns)
        m_wide = patchAt(bgra, at, int(std::ceil(half * M_SQRT2)) + 1);
    m_angles = 1;
    m_angleFrame = frame;
}

void ObjectLook::resize(const cv::Mat &bgra, cv::Point2d at, int half)
{
    m_running = patchAt(bgra, at, half);
}

std::vector<double> ObjectLook::anglesFor(double frame) const
{
    if (!m_turns)
        return {0};
    std::vector<double> angles;
    if (m_angles < 2) {
        for (double a = -TurnWide; a <= TurnWide + 1e-9; a += StepWide)
            angles.push_back(m_angle + a);
        return angles;
    }
    const double dt = std::max(1.0, frame - m_angleFrame);
    const double predicted = m_angle + m_spin * dt;
    const double reach = TurnNear + StepNear * (dt - 1);
    for (double a = -reach; a <= reach + 1e-9; a += StepNear)
        angles.push_back(predicted + a);
    return angles;
}

const cv::Mat &ObjectLook::turned(double angle)
{
    if (!m_turns)
        return m_start;
    const int key = int(std::lround(std::remainder(angle, 360.0) * 10));
    auto found = m_turned.find(key);
    if (found != m_turned.end())
        return found->second;
    const int c = m_wide.cols / 2;
    cv::Mat rotated;
    cv::warpAffine(m_wide, rotated, cv::getRotationMatrix2D(cv::Point2f(c, c), key / 10.0, 1),
                   m_wide.size(), cv::INTER_LINEAR, cv::BORDER_REPLICATE);
    const cv::Mat patch =
        rotated(cv::Rect(c - m_half, c - m_half, 2 * m_half + 1, 2 * m_half + 1)).clone();
    return m_turned.emplace(key, patch).first->second;
}

cv::Mat ObjectLook::candidateMap(const cv::Mat &region, int shrink, double frame)
{
    cv::Mat best = shrunkMatchMap(region, m_running, shrink);
    if (best.empty() || !m_turns)
        return best;
    for (double angle : anglesFor(frame)) {
        // A running patch grown larger: the maps lined up on their centres.
        const cv::Mat map = shrunkMatchMap(region, turned(angle), shrink);
        const int dx = (map.cols - best.cols) / 2, dy = (map.rows - best.rows) / 2;
        if (dx >= 0 && dy >= 0 && !map.empty())
            cv::max(best, map(cv::Rect(dx, dy, best.cols, best.rows)), best);
    }
    return best;
}

ObjectLook::Anchor ObjectLook::anchorNear(const cv::Mat &bgra, cv::Point2d near, double reach,
                                          double frame)
{
    Anchor a;
    const cv::Rect area = around(near, reach + m_half);
    const cv::Mat region = regionOf(bgra, area);
    const std::vector<double> angles = anglesFor(frame);
    std::vector<double> scores(angles.size(), -1);
    size_t bestAngle = 0;
    for (size_t i = 0; i < angles.size(); ++i) {
        const cv::Mat map = matchMap(region, turned(angles[i]));
        if (map.empty())
            continue;
        cv::Point at;
        cv::minMaxLoc(map, nullptr, &scores[i], nullptr, &at);
        if (scores[i] > a.score) {
            a.score = scores[i];
            a.angle = angles[i];
            bestAngle = i;
            a.centre =
                cv::Point2d(area.x + m_half + at.x, area.y + m_half + at.y) + peakOffset(map, at);
        }
    }
    // Between the angles tried: the top of the parabola through the best
    // and its neighbours.
    if (bestAngle > 0 && bestAngle + 1 < angles.size()) {
        const double before = scores[bestAngle - 1], after = scores[bestAngle + 1];
        const double curve = before - 2 * a.score + after;
        if (curve < 0)
            a.angle += std::clamp((before - after) / (2 * curve), -0.5, 0.5) *
                       (angles[bestAngle + 1] - angles[bestAngle]);
    }
    return a;
}

double ObjectLook::anchoredScore(const cv::Mat &bgra, cv::Point2d centre, double frame)
{
    double best = -1;
    for (double angle : anglesFor(frame))
        best = std::max(best, bestNear(bgra, centre, turned(angle)));
    // The key patches only where the start patch leaves a doubt.
    if (best >= ClearMatch)
        return best;
    for (const cv::Mat &key : m_keys)
        best = std::max(best, bestNear(bgra, centre, key));
    return best;
}

double ObjectLook::innerScore(const cv::Mat &bgra, cv::Point2d centre, double angle)
{
    const int inner = std::max(3, m_half / 2);
    const cv::Mat &patch = turned(angle);
    return bestNear(bgra, centre,
                    patch(cv::Rect(m_half - inner, m_half - inner, 2 * inner + 1, 2 * inner + 1)));
}

void ObjectLook::confirm(const cv::Mat &bgra, cv::Point2d centre, double frame,
                         const Anchor *anchor, bool confident)
{
    if (anchor && m_turns) {
        const double dt = frame - m_angleFrame;
        // The turn per frame, smoothed: one frame's angle is uncertain by a
        // few degrees on a small patch.
        if (dt > 0)
            m_spin = m_angles < 2 ? (anchor->angle - m_angle) / dt
                                  : (m_spin + (anchor->angle - m_angle) / dt) / 2;
        m_angle = anchor->angle;
        m_angleFrame = frame;
        ++m_angles;
    }
    if (!confident)
        return;
    m_running = patchAt(bgra, centre, m_running.cols / 2);
    const cv::Mat patch = patchAt(bgra, centre, m_half);
    if (correlation(patch, turned(m_angle)) >= NewLook)
        return;
    for (const cv::Mat &key : m_keys)
        if (correlation(patch, key) >= NewLook)
            return;
    m_keys.push_back(patch);
    if (m_keys.size() > MaxKeys)
        m_keys.erase(m_keys.begin());
}
