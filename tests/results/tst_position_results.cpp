// Positions along the axes and the fits of the position window: the axes'
// transformation (origin, rotation, camera-shake correction), the components
// along set axes, the line, parabola and sine fits on exact and on noisy
// data, too few points, and the summary's lines.

#include "base/measurement_state.h"
#include "digitize/axes_setting.h"
#include "plotted_measurement.h"
#include "results/component_results.h"
#include "results/position_results.h"

#include <QtTest>
#include <cmath>
#include <random>

using namespace results;

Q_DECLARE_METATYPE(results::FitModel)

namespace {

using Doubles = QList<double>;

// `n` times from `t0`, `dt` apart.
std::vector<double> times(int n, double t0, double dt)
{
    std::vector<double> t;
    for (int i = 0; i < n; ++i)
        t.push_back(t0 + i * dt);
    return t;
}

double model(FitModel m, const Doubles &p, double t)
{
    switch (m) {
    case FitModel::Line:
        return p[0] * t + p[1];
    case FitModel::Parabola:
        return p[0] * t * t + p[1] * t + p[2];
    case FitModel::Oscillation:
        return p[0] * std::sin(2 * M_PI * t / p[1] + p[2]) + p[3];
    case FitModel::None:
        break;
    }
    return 0;
}

} // namespace

class TestPositionResults : public QObject
{
    Q_OBJECT
private slots:
    void axesTransformation_data();
    void axesTransformation();
    void componentsAlongSetAxes();
    void fits_data();
    void fits();
    void tooFewPoints_data();
    void tooFewPoints();
    void summaryLines();
};

void TestPositionResults::axesTransformation_data()
{
    QTest::addColumn<bool>("set");
    QTest::addColumn<QPointF>("origin");
    QTest::addColumn<QPointF>("xPoint");
    QTest::addColumn<bool>("shake");
    QTest::addColumn<QPointF>("pixel"); // a stored point
    QTest::addColumn<QPointF>("along"); // its pixels along x and y
    QTest::addColumn<QString>("angle");

    // The default: origin at the first point (100, 200), x right, y up.
    QTest::newRow("default") << false << QPointF() << QPointF() << false << QPointF(130, 160)
                             << QPointF(30, 40) << "x軸の傾き　0.0°";
    QTest::newRow("moved origin") << true << QPointF(50, 50) << QPointF(90, 50) << false
                                  << QPointF(130, 160) << QPointF(80, -110) << "x軸の傾き　0.0°";
    // x up the picture: y then points left.
    QTest::newRow("quarter turn") << true << QPointF(100, 200) << QPointF(100, 0) << false
                                  << QPointF(90, 150) << QPointF(50, 10) << "x軸の傾き　90.0°";
    // x down a 30° slope to the right: a point 20 pixels along it and 10
    // off it towards the upper side.
    const double c = std::cos(M_PI / 6), s = std::sin(M_PI / 6);
    const QPointF p = QPointF(100, 200) + 20 * QPointF(c, s) + 10 * QPointF(s, -c);
    QTest::newRow("30° down the slope")
        << true << QPointF(100, 200) << QPointF(100 + 40 * c, 200 + 40 * s) << false << p
        << QPointF(20, 10) << "x軸の傾き　-30.0°";
    // Clicked on frame 6, whose picture lies 7 and -3 pixels from point 1's.
    QTest::newRow("camera-shake correction")
        << true << QPointF(57, 47) << QPointF(97, 47) << true << QPointF(130, 160)
        << QPointF(80, -110) << "x軸の傾き　0.0°";
    QTest::newRow("left: 180°") << true << QPointF(0, 0) << QPointF(-5, 0) << false
                                << QPointF(100, 200) << QPointF(-100, 200) << "x軸の傾き　180.0°";
}

void TestPositionResults::axesTransformation()
{
    QFETCH(bool, set);
    QFETCH(QPointF, origin);
    QFETCH(QPointF, xPoint);
    QFETCH(bool, shake);
    QFETCH(QPointF, pixel);
    QFETCH(QPointF, along);
    QFETCH(QString, angle);

    // Points 1 and 2 with their reference points; the clicks on frame 6.
    MeasurementState state = plottedMeasurement(
        {{0, 100, 200, 300, 20}, {6, int(pixel.x()), int(pixel.y()), 307, 17}}, 30, 10, 10);
    CoordinateAxes axes;
    if (set) {
        AxesSetting setting;
        const QPointF offset = AxesSetting::shakeOffset(state, 6, shake);
        QCOMPARE(offset, shake ? QPointF(7, -3) : QPointF());
        QCOMPARE(setting.click(origin, offset, axes), AxesSetting::Click::Origin);
        QCOMPARE(setting.click(origin, offset, axes), AxesSetting::Click::SamePixel);
        QVERIFY(!axes.set);
        QCOMPARE(setting.click(xPoint, offset, axes), AxesSetting::Click::Set);
        QVERIFY(axes.set && !setting.originDown());
        QCOMPARE(axes.origin, origin - offset);
    }
    state.Axes = axes;
    QCOMPARE(xAxisAngleText(axes), angle);

    const AxesFrame frame = axesFrame(axes, QPointF(100, 200));
    const QPointF got = frame.toAxes(pixel);
    QVERIFY2(std::abs(got.x() - along.x()) < 1e-9 && std::abs(got.y() - along.y()) < 1e-9,
             qPrintable(QStringLiteral("%1, %2").arg(got.x()).arg(got.y())));
    const QPointF back = frame.toPixels(along);
    QVERIFY(std::abs(back.x() - pixel.x()) < 1e-9 && std::abs(back.y() - pixel.y()) < 1e-9);

    // The position window: 10 pixels are 10 cm, the stored whole pixels.
    PositionResults r;
    QVERIFY(computePositionResults(state, r).ok());
    QCOMPARE(r.axesSet, set);
    QCOMPARE(r.rows.size(), size_t(2));
    QCOMPARE(r.rows[1].time, 0.2);
    const QPointF stored = frame.toAxes(QPointF(int(pixel.x()), int(pixel.y())));
    QCOMPARE(r.rows[1].x, stored.x());
    QCOMPARE(r.rows[1].y, stored.y());
}

void TestPositionResults::componentsAlongSetAxes()
{
    // Down a 3-4-5 slope at 50 pixels a frame: 1500 cm/s along x, none
    // across; set axes name the rows and the summary's lines x and y.
    MeasurementState state =
        plottedMeasurement({{0, 0, 0}, {1, 40, 30}, {2, 80, 60}, {3, 120, 90}}, 30, 10, 10);
    ComponentResults before;
    QVERIFY(computeComponentResults(state, before).ok());
    state.Axes = {true, QPointF(0, 0), QPointF(4, 3)};
    ComponentResults r;
    QVERIFY(computeComponentResults(state, r).ok());
    for (const ComponentRow &row : r.rows) {
        QCOMPARE(row.vx, 1500.0);
        QVERIFY(std::abs(row.vy) < 1e-9);
    }
    QCOMPARE(before.rows[0].vx, 1200.0);
    QCOMPARE(before.rows[0].vy, -900.0);
    QCOMPARE(componentHeaders(QStringLiteral("cm"), r.axesSet),
             (QStringList{"時　間 (秒)", "x方向 (cm/秒)", "y方向 (cm/秒)"}));
    QCOMPARE(componentSummary(r, QStringLiteral("cm")),
             QStringLiteral(" x方向の加速度は　0　cm/秒²（±0）です。\r\n"
                            "  y方向の加速度は　0　cm/秒²（±0）です。\r\n"
                            "  x方向の速さの平均は　1500　cm/秒です。"));
}

void TestPositionResults::fits_data()
{
    QTest::addColumn<FitModel>("m");
    QTest::addColumn<std::vector<double>>("t");
    QTest::addColumn<Doubles>("truth");
    QTest::addColumn<double>("noise"); // standard deviation; 0: exact data

    const std::vector<double> thirtyFps = times(91, 0, 1.0 / 30);
    QTest::newRow("line, exact") << FitModel::Line << times(5, 0.4, 0.1) << Doubles{12.5, -3}
                                 << 0.0;
    QTest::newRow("parabola, exact, late range")
        << FitModel::Parabola << times(12, 0.7, 0.04) << Doubles{-490, 245, 1.5} << 0.0;
    QTest::newRow("sine, exact, three periods")
        << FitModel::Oscillation << thirtyFps << Doubles{10, 1.0, 0.3, 2} << 0.0;
    QTest::newRow("sine, exact, under a period, negative phase")
        << FitModel::Oscillation << times(20, 0.2, 0.05) << Doubles{4, 1.3, -2.5, -1} << 0.0;
    QTest::newRow("sine, exact, four points a period")
        << FitModel::Oscillation << times(40, 0, 0.1) << Doubles{3, 0.41, 1, 0} << 0.0;
    QTest::newRow("line, noisy") << FitModel::Line << thirtyFps << Doubles{80, 5} << 0.5;
    QTest::newRow("parabola, noisy")
        << FitModel::Parabola << thirtyFps << Doubles{-490, 300, 0} << 0.5;
    QTest::newRow("sine, noisy") << FitModel::Oscillation << thirtyFps << Doubles{15, 1.42, 2, 0.5}
                                 << 0.5;
}

void TestPositionResults::fits()
{
    QFETCH(FitModel, m);
    QFETCH(std::vector<double>, t);
    QFETCH(Doubles, truth);
    QFETCH(double, noise);

    // The same noise on every run.
    std::mt19937 random(12345);
    std::normal_distribution<double> gauss(0, noise > 0 ? noise : 1);
    std::vector<double> x;
    for (double time : t)
        x.push_back(model(m, truth, time) + (noise > 0 ? gauss(random) : 0));

    const MotionFit fit = fitMotion(m, t, x);
    QVERIFY(fit.valid);
    QCOMPARE(fit.firstTime, t.front());
    QCOMPARE(fit.lastTime, t.back());
    QCOMPARE(int(fit.parameters.size()), truth.size());
    for (int i = 0; i < truth.size(); ++i) {
        const double got = fit.parameters[size_t(i)];
        const double error = fit.errors[size_t(i)];
        const QString what = QStringLiteral("parameter %1: %2 ± %3, truth %4")
                                 .arg(i)
                                 .arg(got)
                                 .arg(error)
                                 .arg(truth[i]);
        if (noise == 0) {
            QVERIFY2(std::abs(got - truth[i]) <= 1e-7 * std::max(1.0, std::abs(truth[i])),
                     qPrintable(what));
            QVERIFY2(error == 0, qPrintable(what));
        } else {
            // Within three standard errors, and the error no larger than the
            // noise itself could make it.
            QVERIFY2(error > 0 && std::abs(got - truth[i]) <= 3 * error, qPrintable(what));
            QVERIFY2(error < noise * 2 * std::max(1.0, std::abs(truth[i])), qPrintable(what));
        }
    }
    QVERIFY(std::abs(fit.valueAt(t[3]) - x[3]) <= 4 * noise + 1e-9);
}

void TestPositionResults::tooFewPoints_data()
{
    QTest::addColumn<FitModel>("m");
    QTest::addColumn<int>("needed");
    QTest::newRow("line") << FitModel::Line << 3;
    QTest::newRow("parabola") << FitModel::Parabola << 4;
    QTest::newRow("sine") << FitModel::Oscillation << 6;
}

void TestPositionResults::tooFewPoints()
{
    QFETCH(FitModel, m);
    QFETCH(int, needed);
    QCOMPARE(pointsNeeded(m), needed);
    std::vector<double> t = times(needed - 1, 0, 0.1), x;
    for (double time : t)
        x.push_back(std::sin(7 * time) + time);
    const MotionFit few = fitMotion(m, t, x);
    QVERIFY(!few.valid);
    QCOMPARE(fitSummary(few, QStringLiteral("x"), QStringLiteral("cm")),
             QStringLiteral("  この近似には、打点がもっと必要です。"));
    t.push_back(0.1 * (needed - 1));
    x.push_back(std::sin(7 * t.back()) + t.back());
    QVERIFY(fitMotion(m, t, x).valid);
    // Points on one time give no fit either.
    QVERIFY(!fitMotion(m, std::vector<double>(size_t(needed + 2), 0.5),
                       std::vector<double>(size_t(needed + 2), 1.0))
                 .valid);
}

void TestPositionResults::summaryLines()
{
    // Through the window's own path: positions from points, fits over rows
    // 1..6 of eight (the first and last left out).
    std::vector<PlottedPoint> points;
    for (int f = 0; f < 8; ++f)
        points.push_back({f * 3, 100 + 10 * f, 200 - 30 * f + 3 * f * f});
    const MeasurementState state = plottedMeasurement(points, 30, 10, 1);
    PositionResults r;
    QVERIFY(computePositionResults(state, r).ok());
    QCOMPARE(positionCells(r.rows[2]), (QStringList{"0.200", "2.0", "4.8"}));
    QCOMPARE(positionTable(r, QStringLiteral("m"))[0],
             (QStringList{"時　間 (秒)", "x (m)", "y (m)"}));

    const PositionFits fits = fitPositions(r, FitModel::Line, FitModel::Parabola, 1, 6);
    QCOMPARE(fits.x.firstTime, 0.1);
    QCOMPARE(fits.y.lastTime, 0.6);
    // y = 3 - 30 f + ... : -0.3 f² + 3 f in units with f = 10 t: -30 t² + 30 t.
    QCOMPARE(positionSummary(fits, QStringLiteral("m")),
             QStringLiteral(" x = 10.0 t + 0\r\n"
                            "  速度は　10.0　m/秒（±0）です。\r\n"
                            " y = -30.0 t² + 30.0 t + 0\r\n"
                            "  加速度は　-60.0　m/秒²（±0）です。"));
    const PositionFits sine = fitPositions(r, FitModel::Oscillation, FitModel::None);
    QVERIFY(!positionSummary(sine, QStringLiteral("m")).contains(QLatin1String(" y =")));
    QVERIFY(positionSummary({}, QStringLiteral("m")).startsWith(QStringLiteral("  「近似」")));

    MotionFit oscillation;
    oscillation.model = FitModel::Oscillation;
    oscillation.valid = true;
    oscillation.parameters = {12.345, 1.4194, -0.5, -0.25};
    oscillation.errors = {0.1, 0.00123, 0.01, 0.02};
    QCOMPARE(fitSummary(oscillation, QStringLiteral("x"), QStringLiteral("cm")),
             QStringLiteral(" x = 12.3 sin(2π t / 1.42 - 0.500) - 0.250\r\n"
                            "  周期は　1.42　秒（±0.0012）、振幅は　12.3　cm です。"));
}

QTEST_GUILESS_MAIN(TestPositionResults)
#include "tst_position_results.moc"
