#pragma once
// Curves fitted by least squares to one coordinate of the plotted points
// against time: a line (a uniform motion), a parabola (a uniform
// acceleration) and a sine (an oscillation). Each gives its parameters with
// their standard errors from the fit's covariance, scaled by the residuals.
//
// The sine x = A sin(2π t / T + φ) + c is linear in its other parameters
// once the period is fixed: the period is found by a scan over every period
// the points can show (from a little over two intervals between points to
// twice the time they span), each a linear fit, and the best one refined.

#include <QString>
#include <vector>

namespace results {

enum class FitModel
{
    None,
    Line,        // x = a t + b
    Parabola,    // x = p t² + q t + r
    Oscillation, // x = A sin(2π t / T + φ) + c, with A > 0 and -π < φ <= π
};

struct MotionFit
{
    FitModel model = FitModel::None;
    // Too few points, times that do not differ, or no oscillation found.
    bool valid = false;
    // a, b / p, q, r / A, T, φ, c, and their standard errors.
    std::vector<double> parameters;
    std::vector<double> errors;
    double firstTime = 0; // the range of the fitted points
    double lastTime = 0;

    double valueAt(double t) const;
};

// The points a model needs: its parameters, and one more for the error.
int pointsNeeded(FitModel model);

MotionFit fitMotion(FitModel model, const std::vector<double> &t, const std::vector<double> &x);

// The summary of one coordinate ("x" or "y"): the equation, then what it
// means for the motion, three significant figures with two for the error;
// or the one line that asks for more points. Lines joined by CR LF; empty
// for FitModel::None.
QString fitSummary(const MotionFit &fit, const QString &coordinate, const QString &unit);

} // namespace results
