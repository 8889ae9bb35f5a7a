#pragma once
// Where a moving object will be next: a Kalman filter over the positions it
// was confirmed at, with constant velocity from two positions and constant
// acceleration from three on (free flight is what the program measures).
// Time counts in frames; positions are in any one unit of length.
//
// How far from the prediction the object may be found follows from how well
// the recent positions fitted the model, and from the filter's own
// uncertainty over the time predicted across.

#include <opencv2/core.hpp>
#include <opencv2/video/tracking.hpp>

#include <deque>

class MotionModel
{
public:
    MotionModel();

    void reset();
    // A confirmed position at `time` (later than the last one).
    void add(cv::Point2d position, double time);

    int points() const { return m_points; }
    cv::Point2d last() const { return m_last; }
    double lastTime() const { return m_lastTime; }

    // Where the object is expected at `time` (the last position with fewer
    // than two points).
    cv::Point2d predict(double time) const;
    // How far from predict(time) the object may lie; 0 with fewer than two
    // points (nothing known about its motion).
    double spread(double time) const;

private:
    void startFilter(const cv::Mat &state, double positionVariance, double speedVariance,
                     double accelerationVariance);
    cv::Mat transition(double dt) const;
    cv::Mat processNoise(double dt) const;

    cv::KalmanFilter m_filter;
    int m_points = 0;
    cv::Point2d m_last;
    double m_lastTime = 0;
    std::deque<cv::Point2d> m_history; // the last three positions
    std::deque<double> m_times;
    std::deque<double> m_misses; // distances of recent positions from their prediction
    bool m_accelerating = false; // three or more points: the acceleration is estimated
};
