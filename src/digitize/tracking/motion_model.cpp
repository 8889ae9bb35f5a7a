#include "digitize/tracking/motion_model.h"

#include <algorithm>
#include <cmath>

namespace {

// State: x, y, speed x, speed y, acceleration x, acceleration y.
constexpr int States = 6;
// How far a measured position lies from the true one (standard deviation).
constexpr double MeasurementSigma = 0.5;
// How fast the acceleration may change (white jerk, per frame): enough for a
// pendulum or a cart pushed along, nothing against a flight's smooth parabola.
constexpr double JerkDensity = 0.5;
// Recent misses that size the search.
constexpr size_t MissesKept = 4;

} // namespace

MotionModel::MotionModel() : m_filter(States, 2, 0, CV_64F)
{
    reset();
}

void MotionModel::reset()
{
    m_points = 0;
    m_history.clear();
    m_times.clear();
    m_misses.clear();
    m_accelerating = false;
    m_filter.measurementMatrix = cv::Mat::zeros(2, States, CV_64F);
    m_filter.measurementMatrix.at<double>(0, 0) = 1;
    m_filter.measurementMatrix.at<double>(1, 1) = 1;
    m_filter.measurementNoiseCov = cv::Mat::eye(2, 2, CV_64F) * MeasurementSigma * MeasurementSigma;
}

cv::Mat MotionModel::transition(double dt) const
{
    cv::Mat f = cv::Mat::eye(States, States, CV_64F);
    for (int axis = 0; axis < 2; ++axis) {
        f.at<double>(axis, 2 + axis) = dt;
        if (m_accelerating) {
            f.at<double>(axis, 4 + axis) = dt * dt / 2;
            f.at<double>(2 + axis, 4 + axis) = dt;
        }
    }
    return f;
}

cv::Mat MotionModel::processNoise(double dt) const
{
    cv::Mat q = cv::Mat::zeros(States, States, CV_64F);
    const double d2 = dt * dt, d3 = d2 * dt, d4 = d3 * dt, d5 = d4 * dt;
    for (int a = 0; a < 2; ++a) {
        const int p = a, v = 2 + a, c = 4 + a;
        if (m_accelerating) {
            q.at<double>(p, p) = d5 / 20;
            q.at<double>(p, v) = q.at<double>(v, p) = d4 / 8;
            q.at<double>(p, c) = q.at<double>(c, p) = d3 / 6;
            q.at<double>(v, v) = d3 / 3;
            q.at<double>(v, c) = q.at<double>(c, v) = d2 / 2;
            q.at<double>(c, c) = dt;
        } else {
            // Without an acceleration in the state, the jerk's effect over
            // the step stands in for it.
            q.at<double>(p, p) = d3 / 3;
            q.at<double>(p, v) = q.at<double>(v, p) = d2 / 2;
            q.at<double>(v, v) = dt;
        }
    }
    return q * JerkDensity;
}

void MotionModel::startFilter(const cv::Mat &state, double positionVariance, double speedVariance,
                              double accelerationVariance)
{
    state.copyTo(m_filter.statePost);
    m_filter.errorCovPost = cv::Mat::zeros(States, States, CV_64F);
    for (int a = 0; a < 2; ++a) {
        m_filter.errorCovPost.at<double>(a, a) = positionVariance;
        m_filter.errorCovPost.at<double>(2 + a, 2 + a) = speedVariance;
        m_filter.errorCovPost.at<double>(4 + a, 4 + a) = accelerationVariance;
    }
}

void MotionModel::add(cv::Point2d position, double time)
{
    if (m_points > 0 && time <= m_lastTime)
        return;
    const double variance = MeasurementSigma * MeasurementSigma;
    if (m_points >= 3) {
        const cv::Point2d expected = predict(time);
        m_misses.push_back(cv::norm(position - expected));
        if (m_misses.size() > MissesKept)
            m_misses.pop_front();
        const double dt = time - m_lastTime;
        m_filter.transitionMatrix = transition(dt);
        m_filter.processNoiseCov = processNoise(dt);
        m_filter.predict();
        m_filter.correct((cv::Mat_<double>(2, 1) << position.x, position.y));
    }
    m_history.push_back(position);
    m_times.push_back(time);
    if (m_history.size() > 3) {
        m_history.pop_front();
        m_times.pop_front();
    }
    ++m_points;
    m_last = position;
    m_lastTime = time;

    if (m_points == 2) {
        // Constant velocity through the two points.
        const double dt = m_times[1] - m_times[0];
        const cv::Point2d v = (m_history[1] - m_history[0]) / dt;
        m_accelerating = false;
        startFilter((cv::Mat_<double>(States, 1) << position.x, position.y, v.x, v.y, 0, 0),
                    variance, 2 * variance / (dt * dt), 0);
    } else if (m_points == 3) {
        // Constant acceleration: the parabola through the three points.
        const double t0 = m_times[0], t1 = m_times[1], t2 = m_times[2];
        const cv::Point2d d1 = (m_history[1] - m_history[0]) / (t1 - t0);
        const cv::Point2d d2 = (m_history[2] - m_history[1]) / (t2 - t1);
        const cv::Point2d a = (d2 - d1) * (2 / (t2 - t0));
        const cv::Point2d v = d2 + a * ((t2 - t1) / 2);
        const double step = (t2 - t0) / 2;
        m_accelerating = true;
        startFilter((cv::Mat_<double>(States, 1) << position.x, position.y, v.x, v.y, a.x, a.y),
                    variance, 6 * variance / (step * step), 16 * variance / std::pow(step, 4));
    }
}

cv::Point2d MotionModel::predict(double time) const
{
    if (m_points < 2)
        return m_last;
    const cv::Mat state = transition(time - m_lastTime) * m_filter.statePost;
    return {state.at<double>(0), state.at<double>(1)};
}

double MotionModel::spread(double time) const
{
    if (m_points < 2)
        return 0;
    const double dt = time - m_lastTime;
    const cv::Mat f = transition(dt);
    const cv::Mat p = f * m_filter.errorCovPost * f.t() + processNoise(dt);
    const double sigma = std::sqrt(std::max(p.at<double>(0, 0), p.at<double>(1, 1)));
    double reach = 3 * sigma + 1;
    if (!m_accelerating) {
        // A constant velocity misses the acceleration, unknown yet.
        const cv::Mat v = m_filter.statePost.rowRange(2, 4);
        reach += 0.5 * cv::norm(v) * dt;
    }
    if (!m_misses.empty()) {
        double sum = 0;
        for (double m : m_misses)
            sum += m * m;
        reach += 2 * std::sqrt(sum / m_misses.size());
    }
    return reach;
}
