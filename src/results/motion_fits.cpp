#include "results/motion_fits.h"

#include "base/numbers.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <functional>

namespace results {

namespace {

using Matrix = Eigen::MatrixXd;
using Vector = Eigen::VectorXd;

constexpr double TwoPi = 2 * M_PI;

struct LinearFit
{
    bool ok = false;
    Vector coefficients;
    Matrix inverseNormal; // (XᵀX)⁻¹: the covariance without the residuals' variance
    double residuals = 0; // sum of the squared residuals
};

// Least squares by a QR decomposition, which keeps the conditioning of X
// rather than squaring it as the normal equations would.
LinearFit solve(const Matrix &X, const Vector &x)
{
    LinearFit fit;
    const Eigen::ColPivHouseholderQR<Matrix> qr(X);
    if (qr.rank() < X.cols())
        return fit;
    fit.coefficients = qr.solve(x);
    fit.residuals = (X * fit.coefficients - x).squaredNorm();
    const Matrix normal = X.transpose() * X;
    fit.inverseNormal = normal.ldlt().solve(Matrix::Identity(X.cols(), X.cols()));
    fit.ok = fit.coefficients.allFinite() && fit.inverseNormal.allFinite();
    return fit;
}

// Columns sin ωt, cos ωt, 1.
Matrix sineColumns(const Vector &t, double omega)
{
    Matrix X(t.size(), 3);
    X.col(0) = (t * omega).array().sin();
    X.col(1) = (t * omega).array().cos();
    X.col(2).setOnes();
    return X;
}

double sineResiduals(const Vector &t, const Vector &x, double omega)
{
    const LinearFit fit = solve(sineColumns(t, omega), x);
    return fit.ok ? fit.residuals : HUGE_VAL;
}

// The minimum of f between a and b, by golden sections.
double goldenMinimum(const std::function<double(double)> &f, double a, double b)
{
    const double r = (std::sqrt(5.0) - 1) / 2;
    double c = b - r * (b - a), d = a + r * (b - a);
    double fc = f(c), fd = f(d);
    for (int i = 0; i < 200 && std::fabs(b - a) > 1e-15 * std::fabs(a + b); ++i) {
        if (fc < fd) {
            b = d;
            d = c;
            fd = fc;
            c = b - r * (b - a);
            fc = f(c);
        } else {
            a = c;
            c = d;
            fc = fd;
            d = a + r * (b - a);
            fd = f(d);
        }
    }
    return fc < fd ? c : d;
}

struct SineFit
{
    bool ok = false;
    double omega = 0;
    Vector abc; // a sin ωt + b cos ωt + c
    double residuals = 0;
};

// The sine of the best period: the scan, the golden sections around the best
// one, then Gauss–Newton steps on all four parameters, which end where the
// sections can no longer tell the residuals apart.
SineFit fitSine(const Vector &t, const Vector &x)
{
    SineFit best;
    const Eigen::Index n = t.size();
    const double span = t(n - 1) - t(0);
    double smallestStep = HUGE_VAL;
    for (Eigen::Index i = 1; i < n; ++i)
        smallestStep = std::min(smallestStep, t(i) - t(i - 1));
    if (!(span > 0) || !(smallestStep > 0))
        return best;
    // Up to the highest frequency the points can show, down to half a
    // period across their whole span.
    const double omegaLow = TwoPi / (2 * span);
    const double omegaHigh = TwoPi / (2.2 * span / double(n - 1));
    // Dips of the residuals are about 2π / span wide: ten samples across each.
    const double step = TwoPi / span / 10;
    double bestOmega = 0, bestResiduals = HUGE_VAL;
    for (double omega = omegaLow; omega <= omegaHigh + step / 2; omega += step) {
        const double r = sineResiduals(t, x, omega);
        if (r < bestResiduals) {
            bestResiduals = r;
            bestOmega = omega;
        }
    }
    if (!(bestOmega > 0))
        return best;
    double omega = goldenMinimum([&](double w) { return sineResiduals(t, x, w); },
                                 std::max(bestOmega - step, omegaLow / 2), bestOmega + step);
    LinearFit linear = solve(sineColumns(t, omega), x);
    if (!linear.ok)
        return best;
    Vector p(4);
    p << linear.coefficients, omega;
    double residuals = linear.residuals;
    for (int i = 0; i < 20; ++i) {
        Matrix J(n, 4);
        J.leftCols(3) = sineColumns(t, p(3));
        J.col(3) = t.array() * (p(0) * (t * p(3)).array().cos() - p(1) * (t * p(3)).array().sin());
        const Vector r = x - (J.leftCols(3) * p.head(3));
        const Vector delta = J.colPivHouseholderQr().solve(r);
        const Vector next = p + delta;
        const Vector nextResidual = x - sineColumns(t, next(3)) * next.head(3);
        if (!next.allFinite() || !(nextResidual.squaredNorm() <= residuals))
            break;
        p = next;
        residuals = nextResidual.squaredNorm();
        if (delta.norm() <= 1e-15 * p.norm())
            break;
    }
    best.ok = true;
    best.omega = p(3);
    best.abc = p.head(3);
    best.residuals = residuals;
    return best;
}

// What is left of an exact zero after rounding (1e-15 of the values) is
// shown as zero, not as a number of fifteen places: a parameter or an error
// whose share of the fitted values is below 1e-9 of the largest value.
void dropRoundingNoise(MotionFit &fit, const Vector &x, double latestTime)
{
    const double largest = x.cwiseAbs().maxCoeff();
    std::vector<double> share;
    switch (fit.model) {
    case FitModel::Line:
        share = {latestTime, 1};
        break;
    case FitModel::Parabola:
        share = {latestTime * latestTime, latestTime, 1};
        break;
    default: {
        const double a = fit.parameters[0], period = fit.parameters[1];
        share = {1, a * TwoPi * latestTime / (period * period), a, 1};
        break;
    }
    }
    for (size_t i = 0; i < fit.parameters.size(); ++i) {
        // A period is never zero, only its error.
        const bool period = fit.model == FitModel::Oscillation && i == 1;
        for (double *value : {&fit.parameters[i], &fit.errors[i]})
            if (!(period && value == &fit.parameters[i]) &&
                std::fabs(*value) * share[i] < 1e-9 * largest)
                *value = 0;
    }
}

QString signedTerm(double value)
{
    const QString text = num::significantText(std::fabs(value), 3);
    return (value < 0 && text != QLatin1String("0") ? QStringLiteral(" - ")
                                                    : QStringLiteral(" + ")) +
           text;
}

QString valueAndError(const MotionFit &fit, int i, double factor = 1)
{
    return num::significantText(factor * fit.parameters[size_t(i)], 3) + QStringLiteral("　") +
           QStringLiteral("%1") + QStringLiteral("（±") +
           num::significantText(std::fabs(factor) * fit.errors[size_t(i)], 2) +
           QStringLiteral("）");
}

} // namespace

double MotionFit::valueAt(double t) const
{
    if (!valid)
        return 0;
    const std::vector<double> &p = parameters;
    switch (model) {
    case FitModel::Line:
        return p[0] * t + p[1];
    case FitModel::Parabola:
        return (p[0] * t + p[1]) * t + p[2];
    case FitModel::Oscillation:
        return p[0] * std::sin(TwoPi * t / p[1] + p[2]) + p[3];
    case FitModel::None:
        break;
    }
    return 0;
}

int pointsNeeded(FitModel model)
{
    switch (model) {
    case FitModel::Line:
        return 3;
    case FitModel::Parabola:
        return 4;
    case FitModel::Oscillation:
        return 6;
    case FitModel::None:
        break;
    }
    return 0;
}

MotionFit fitMotion(FitModel model, const std::vector<double> &times,
                    const std::vector<double> &values)
{
    MotionFit fit;
    fit.model = model;
    const Eigen::Index n = Eigen::Index(std::min(times.size(), values.size()));
    if (model == FitModel::None || n < pointsNeeded(model))
        return fit;
    // Times from the first fitted point keep the columns well conditioned;
    // the parameters are turned back to times from the first point after.
    const double t0 = times.front();
    Vector t(n), x(n);
    for (Eigen::Index i = 0; i < n; ++i) {
        t(i) = times[size_t(i)] - t0;
        x(i) = values[size_t(i)];
    }
    fit.firstTime = times.front();
    fit.lastTime = times[size_t(n - 1)];

    if (model == FitModel::Oscillation) {
        const SineFit sine = fitSine(t, x);
        if (!sine.ok)
            return fit;
        // Covariance of (a, b, c, ω) from the Jacobian at the minimum.
        Matrix J(n, 4);
        J.leftCols(3) = sineColumns(t, sine.omega);
        J.col(3) = t.array() * (sine.abc(0) * (t * sine.omega).array().cos() -
                                sine.abc(1) * (t * sine.omega).array().sin());
        const Matrix normal = J.transpose() * J;
        const Matrix covariance =
            normal.ldlt().solve(Matrix::Identity(4, 4)) * (sine.residuals / double(n - 4));
        const double a = sine.abc(0), b = sine.abc(1), omega = sine.omega;
        const double amplitude = std::hypot(a, b);
        if (!(amplitude > 0) || !covariance.allFinite())
            return fit;
        // A sin(ωt + φ) = a sin ωt + b cos ωt; the phase moved to the first point's time.
        const double period = TwoPi / omega;
        double phase = std::remainder(std::atan2(b, a) - omega * t0, TwoPi);
        Eigen::Vector4d gA(a / amplitude, b / amplitude, 0, 0);
        Eigen::Vector4d gT(0, 0, 0, -TwoPi / (omega * omega));
        const double q = amplitude * amplitude;
        Eigen::Vector4d gPhi(-b / q, a / q, 0, -t0);
        Eigen::Vector4d gC(0, 0, 1, 0);
        fit.parameters = {amplitude, period, phase, sine.abc(2)};
        for (const Eigen::Vector4d &g : {gA, gT, gPhi, gC})
            fit.errors.push_back(std::sqrt(std::max(0.0, double(g.transpose() * covariance * g))));
        fit.valid = true;
        dropRoundingNoise(fit, x, std::max(std::fabs(fit.firstTime), std::fabs(fit.lastTime)));
        return fit;
    }

    const int degree = model == FitModel::Line ? 1 : 2;
    Matrix X(n, degree + 1);
    for (int k = 0; k <= degree; ++k)
        X.col(k) = t.array().pow(double(degree - k));
    const LinearFit linear = solve(X, x);
    if (!linear.ok)
        return fit;
    const Matrix covariance = linear.inverseNormal * (linear.residuals / double(n - degree - 1));
    // Back from t - t0 to t: the polynomial's coefficients change by a
    // linear map, and the covariance with it.
    Matrix shift = Matrix::Identity(degree + 1, degree + 1);
    if (degree == 1) {
        shift(1, 0) = -t0; // b = b' - a t0
    } else {
        shift(1, 0) = -2 * t0; // q = q' - 2 p t0
        shift(2, 0) = t0 * t0; // r = r' - q' t0 + p t0²
        shift(2, 1) = -t0;
    }
    const Vector coefficients = shift * linear.coefficients;
    const Matrix shifted = shift * covariance * shift.transpose();
    for (int k = 0; k <= degree; ++k) {
        fit.parameters.push_back(coefficients(k));
        fit.errors.push_back(std::sqrt(std::max(0.0, shifted(k, k))));
    }
    fit.valid = true;
    dropRoundingNoise(fit, x, std::max(std::fabs(fit.firstTime), std::fabs(fit.lastTime)));
    return fit;
}

QString fitSummary(const MotionFit &fit, const QString &coordinate, const QString &unit)
{
    if (fit.model == FitModel::None)
        return QString();
    if (!fit.valid)
        return QStringLiteral("  この近似には、打点がもっと必要です。");
    const std::vector<double> &p = fit.parameters;
    const QString lead = QStringLiteral(" ") + coordinate + QStringLiteral(" = ");
    const QString crlf = QStringLiteral("\r\n");
    switch (fit.model) {
    case FitModel::Line:
        return lead + num::significantText(p[0], 3) + QStringLiteral(" t") + signedTerm(p[1]) +
               crlf + QStringLiteral("  速度は　") +
               valueAndError(fit, 0).arg(unit + QStringLiteral("/秒")) + QStringLiteral("です。");
    case FitModel::Parabola:
        return lead + num::significantText(p[0], 3) + QStringLiteral(" t²") + signedTerm(p[1]) +
               QStringLiteral(" t") + signedTerm(p[2]) + crlf + QStringLiteral("  加速度は　") +
               valueAndError(fit, 0, 2).arg(unit + QStringLiteral("/秒²")) +
               QStringLiteral("です。");
    case FitModel::Oscillation:
        return lead + num::significantText(p[0], 3) + QStringLiteral(" sin(2π t / ") +
               num::significantText(p[1], 3) + signedTerm(p[2]) + QStringLiteral(")") +
               signedTerm(p[3]) + crlf + QStringLiteral("  周期は　") +
               valueAndError(fit, 1).arg(QStringLiteral("秒")) + QStringLiteral("、振幅は　") +
               num::significantText(p[0], 3) + QStringLiteral("　") + unit +
               QStringLiteral(" です。");
    case FitModel::None:
        break;
    }
    return QString();
}

} // namespace results
