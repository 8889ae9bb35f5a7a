// The velocity components and the acceleration from plotted points: the
// table of intervals, the least-squares lines, the summary and the graph's
// velocity axis.

#include "base/measurement_state.h"
#include "plotted_measurement.h"
#include "results/component_graph.h"
#include "results/component_results.h"

#include <QtTest>
#include <cmath>
#include <vector>

using namespace results;

namespace {

using Pt = PlottedPoint;

using Doubles = QList<double>;

} // namespace

class TestComponentResults : public QObject
{
    Q_OBJECT
private slots:
    void components_data();
    void components();
    void summaryWithoutALine();
    void graphKeepsZeroAndEveryValueOnTheAxis();
};

void TestComponentResults::components_data()
{
    QTest::addColumn<std::vector<Pt>>("points");
    QTest::addColumn<double>("rate");
    QTest::addColumn<Doubles>("times");
    QTest::addColumn<Doubles>("vx");
    QTest::addColumn<Doubles>("vy");
    QTest::addColumn<bool>("fitted");
    QTest::addColumn<double>("ay");
    QTest::addColumn<double>("ayError");

    // 100 pixels are 10 cm. Worked by hand: the picture's Y grows downwards,
    // so 10 pixels up in 0.1 s is +10 cm/s; vy = 10, 1, -10 at 0.05, 0.15,
    // 0.25 s falls by 100 cm/s² with residuals -1/3, 2/3, -1/3, so the
    // slope's standard error is sqrt((2/3) / 1 / 0.02) = 5.7735.
    QTest::newRow("worked example")
        << std::vector<Pt>{{10, 100, 200}, {13, 130, 190}, {16, 160, 189}, {19, 190, 199}} << 30.0
        << Doubles{0.05, 0.15, 0.25} << Doubles{30, 30, 30} << Doubles{10, 1, -10} << true << -100.0
        << std::sqrt(100.0 / 3);
    QTest::newRow("3 points: no line")
        << std::vector<Pt>{{0, 0, 0}, {3, 10, 0}, {6, 30, 0}} << 30.0 << Doubles{0.05, 0.15}
        << Doubles{10, 20} << Doubles{0, 0} << false << 0.0 << 0.0;
    // Plotted out of frame order; the point moves back to the left.
    QTest::newRow("moving back") << std::vector<Pt>{{6, 80, 50},
                                                    {0, 100, 50},
                                                    {3, 90, 50},
                                                    {9, 75, 50}}
                                 << 30.0 << Doubles{0.05, 0.15, 0.25} << Doubles{-10, -10, -5}
                                 << Doubles{0, 0, 0} << true << 0.0 << 0.0;
    // The stored X and Y already have the camera's movement taken out; the
    // reference points as clicked take no part, as in the speed window.
    QTest::newRow("camera-shake correction")
        << std::vector<Pt>{{0, 100, 100, 300, 40}, {3, 110, 90, 250, 90}, {6, 120, 80, 400, 10}}
        << 30.0 << Doubles{0.05, 0.15} << Doubles{10, 10} << Doubles{10, 10} << false << 0.0 << 0.0;
    // Filmed at 240 frames a second: twelve frames are 0.05 s, whatever the
    // file's own rate.
    QTest::newRow("capture rate 240")
        << std::vector<Pt>{{0, 0, 0}, {12, 5, 5}, {24, 10, 20}, {36, 15, 45}} << 240.0
        << Doubles{0.025, 0.075, 0.125} << Doubles{10, 10, 10} << Doubles{-10, -30, -50} << true
        << -400.0 << 0.0;
}

void TestComponentResults::components()
{
    QFETCH(std::vector<Pt>, points);
    QFETCH(double, rate);
    QFETCH(Doubles, times);
    QFETCH(Doubles, vx);
    QFETCH(Doubles, vy);
    QFETCH(bool, fitted);
    QFETCH(double, ay);
    QFETCH(double, ayError);

    ComponentResults r;
    QVERIFY(computeComponentResults(plottedMeasurement(points, rate, 100, 10), r).ok());
    QCOMPARE(r.count, int(points.size()));
    QCOMPARE(int(r.rows.size()), times.size());
    for (int i = 0; i < times.size(); ++i) {
        QVERIFY2(std::abs(r.rows[i].time - times[i]) < 1e-12, qPrintable(QString::number(i)));
        QVERIFY2(std::abs(r.rows[i].vx - vx[i]) < 1e-9, qPrintable(QString::number(r.rows[i].vx)));
        QVERIFY2(std::abs(r.rows[i].vy - vy[i]) < 1e-9, qPrintable(QString::number(r.rows[i].vy)));
    }
    QCOMPARE(r.vertical.valid, fitted);
    QCOMPARE(r.horizontal.valid, fitted);
    if (fitted) {
        QVERIFY2(std::abs(r.vertical.slope - ay) < 1e-9,
                 qPrintable(QString::number(r.vertical.slope)));
        QVERIFY(std::abs(r.vertical.slopeError - ayError) < 1e-9);
    }
}

// Three points: two intervals give no line. The mean is the whole
// displacement over the whole time, 30 units in 0.2 s. (The summary with a
// line is checked in the components window.)
void TestComponentResults::summaryWithoutALine()
{
    ComponentResults r;
    QVERIFY(computeComponentResults(
                plottedMeasurement({{0, 0, 0}, {3, 10, 0}, {6, 30, 0}}, 30, 100, 10), r)
                .ok());
    QCOMPARE(componentSummary(r, QStringLiteral("m")),
             QStringLiteral("  加速度を求めるには、打点が４点以上必要です。\r\n"
                            "  水平方向の速さの平均は　15.0　m/秒です。"));
}

void TestComponentResults::graphKeepsZeroAndEveryValueOnTheAxis()
{
    // A throw: vx about 300, vy from +400 down to -400.
    std::vector<Pt> points;
    for (int k = 0; k < 9; ++k) {
        const double t = k / 10.0;
        points.push_back(
            {3 * k, int(std::lround(300 * t)), int(std::lround(-(400 * t - 490 * t * t)))});
    }
    ComponentResults r;
    QVERIFY(computeComponentResults(plottedMeasurement(points, 30, 10, 10), r).ok());
    ComponentGraphScales scales;
    scales.load(r);
    QVERIFY(!scales.resetScales());
    const ComponentGraph &g = scales.graph();
    const float top = GraphOriginY - ValueAxisLength;
    QVERIFY(g.zeroY <= GraphOriginY && g.zeroY >= top);
    QCOMPARE(int(g.horizontal.size()), int(r.rows.size()));
    for (const auto *series : {&g.horizontal, &g.vertical})
        for (const QPointF &p : *series) {
            QVERIFY2(p.y() <= GraphOriginY && p.y() >= top, qPrintable(QString::number(p.y())));
            QVERIFY(p.x() > GraphOriginX && p.x() <= GraphOriginX + TimeAxisLength);
        }
    // Both lines run from the first to the last interval.
    QVERIFY(g.horizontalLine && g.verticalLine);
    QCOMPARE(g.verticalLine->p1().x(), g.vertical.front().x());
    QCOMPARE(g.verticalLine->p2().x(), g.vertical.back().x());
    // The vertical line falls: it ends lower on the picture than it starts.
    QVERIFY(g.verticalLine->p2().y() > g.verticalLine->p1().y());
    // A number stands at zero.
    bool zeroNumbered = false;
    for (const AxisNumber &n : g.valueNumbers)
        zeroNumbered = zeroNumbered || n.caption == QStringLiteral("0");
    QVERIFY(zeroNumbered);
}

QTEST_GUILESS_MAIN(TestComponentResults)
#include "tst_component_results.moc"
