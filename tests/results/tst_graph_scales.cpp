// Graph scales of both result windows: grid lines, axis numbers and markers in
// twips for each scale row, the standard views and the scale buttons.

#include "results/distance_graph_scales.h"
#include "results/speed_graph_scales.h"

#include <QtTest>
#include <vector>

using namespace results;

namespace {

SpeedResults speedResults(const std::vector<float> &midTimes, const std::vector<float> &speeds,
                          float maxTime)
{
    SpeedResults r;
    r.count = int(midTimes.size()) + 1;
    for (size_t l = 0; l < midTimes.size(); ++l) {
        r.SpeedRows[l][RowTime] = midTimes[l];
        r.SpeedRows[l][RowValue] = speeds[l];
        r.ResultRows[l + 1][RowTime] = midTimes[l] * 2; // not used unless kind 1
        if (speeds[l] > r.MaxSpeed)
            r.MaxSpeed = speeds[l];
    }
    r.MaxTime = maxTime;
    return r;
}

DistanceResults distanceResults(const std::vector<float> &times,
                                const std::vector<float> &distances)
{
    DistanceResults r;
    r.count = int(times.size());
    for (size_t k = 0; k < times.size(); ++k) {
        r.DistanceRows[k][RowTime] = times[k];
        r.DistanceRows[k][RowValue] = distances[k];
        r.MaxTime = std::max(r.MaxTime, times[k]);
        r.MaxDistance = std::max(r.MaxDistance, distances[k]);
    }
    return r;
}

QStringList captions(const std::array<AxisNumber, 5> &numbers)
{
    QStringList list;
    for (const auto &n : numbers)
        list << (n.visible ? n.caption : QStringLiteral("hidden"));
    return list;
}

std::vector<float> positions(const std::array<AxisNumber, 5> &numbers)
{
    std::vector<float> list;
    for (const auto &n : numbers)
        list.push_back(n.position);
    return list;
}

} // namespace

class TestGraphScales : public QObject
{
    Q_OBJECT
private slots:
    void fittingRowBoundaries_data();
    void fittingRowBoundaries();
    void timeRowOneGridAndNumbers();
    void loadStateBeforeAnyScale();
    void speedStandardViewIsTwoRowsCoarser();
    void speedMarkersAtMidTimeAndSpeed();
    void speedBeyondLargestScale();
    void buttonsStopAtTheirLimits();
    void distanceOnlyModeInSpeedGraph();
    void distanceStandardView_data();
    void distanceStandardView();
    void distanceMarkersAndZeroTimes();
};

void TestGraphScales::fittingRowBoundaries_data()
{
    QTest::addColumn<int>("table"); // 0 time, 1 speed, 2 distance
    QTest::addColumn<float>("maximum");
    QTest::addColumn<int>("row");
    QTest::newRow("time 0") << 0 << 0.0f << 1;
    QTest::newRow("time exactly 0.3") << 0 << 0.3f << 1;
    QTest::newRow("time 0.31") << 0 << 0.31f << 2;
    QTest::newRow("time 20") << 0 << 20.0f << 12;
    QTest::newRow("time 20.5") << 0 << 20.5f << 0;
    QTest::newRow("speed 9") << 1 << 9.0f << 1;
    QTest::newRow("speed 15000") << 1 << 15000.0f << 20;
    QTest::newRow("speed 16000") << 1 << 16000.0f << 0;
    QTest::newRow("distance 100") << 2 << 100.0f << 1;
    QTest::newRow("distance 100.1") << 2 << 100.1f << 2;
    QTest::newRow("distance 2500") << 2 << 2500.0f << 0;
}

void TestGraphScales::fittingRowBoundaries()
{
    QFETCH(int, table);
    QFETCH(float, maximum);
    QFETCH(int, row);
    const int got = table == 0   ? fittingRow(TimeScaleTable(), maximum)
                    : table == 1 ? fittingRow(SpeedScaleTable(), maximum)
                                 : fittingRow(DistanceScaleTable(), maximum);
    QCOMPARE(got, row);
}

void TestGraphScales::timeRowOneGridAndNumbers()
{
    GraphState g;
    g.load(1);
    drawTimeAxis(g, TimeScaleTable()[1], {}, true);
    const float expected[] = {1960, 3080, 4200, 5320, 6440, 7560, 8680};
    for (int j = 0; j < 7; ++j) {
        QVERIFY(g.LineX[j].visible);
        QCOMPARE(g.LineX[j].position, expected[j]);
    }
    for (int j = 7; j < 10; ++j)
        QVERIFY(!g.LineX[j].visible);
    QCOMPARE(captions(g.Labelxx), (QStringList{"0.1", "0.2", "0.3", "0.4", "hidden"}));
    QCOMPARE(g.Labelxx[0].position, 3010.0f);
    QCOMPARE(g.Labelxx[3].position, 9730.0f);
}

void TestGraphScales::loadStateBeforeAnyScale()
{
    GraphState g;
    g.load(4);
    QCOMPARE(g.LineX[9].position, 1740.0f);
    QCOMPARE(g.LineY[9].position, 4020.0f);
    QVERIFY(g.LineY[9].visible && g.Labelyy[4].visible && g.Labelyy[4].caption.isEmpty());
    QCOMPARE(int(g.Shapep.size()), 4);
    QCOMPARE(g.Shapep[3].left, 1300.0f);
    QCOMPARE(g.Shapep[3].top, 720.0f);
    QVERIFY(!g.Shapep[3].visible);
    // A later load with fewer points leaves no marker of the longer one.
    g.load(2);
    QCOMPARE(int(g.Shapep.size()), 2);
}

void TestGraphScales::speedStandardViewIsTwoRowsCoarser()
{
    SpeedGraphScales scales;
    scales.load(speedResults({0.05f, 0.15f}, {9, 4}, 0.2f), 0);
    QVERIFY(!scales.resetScales());
    QCOMPARE(scales.TimeScaleIndex, qint16(1));
    QCOMPARE(scales.SpeedScaleIndex, qint16(3));
    // Row 2 hid the fifth number on the way; row 3 shows it again, outside the picture.
    QCOMPARE(captions(scales.graph().Labelyy), (QStringList{"5", "10", "15", "20", "25"}));
    QCOMPARE(positions(scales.graph().Labelyy), (std::vector<float>{3680, 2510, 1340, 170, -1000}));

    scales.valueFiner();
    scales.valueFiner();
    QCOMPARE(scales.SpeedScaleIndex, qint16(1));
    QCOMPARE(captions(scales.graph().Labelyy), (QStringList{"2", "4", "6", "8", "10"}));
    QCOMPARE(scales.graph().LineY[0].position, 4460.0f);
    QVERIFY(scales.graph().LineY[9].visible); // 9 * 460 = 4140 is within the axis
}

void TestGraphScales::speedMarkersAtMidTimeAndSpeed()
{
    SpeedGraphScales scales;
    scales.load(speedResults({0.05f, 0.15f}, {10, 20}, 0.2f), 0);
    scales.resetScales(); // time row 1; speed fits row 3, shown at row 5 (spacing 930, step 10)
    QCOMPARE(scales.SpeedScaleIndex, qint16(5));
    const auto &m = scales.graph().Shapep;
    QCOMPARE(int(m.size()), 3);
    QVERIFY(m[0].visible && m[1].visible);
    QVERIFY(qAbs(m[0].left - 1860.0f) < 0.01f);
    QVERIFY(qAbs(m[1].left - 4100.0f) < 0.01f);
    QCOMPARE(m[0].top, 3890.0f);
    QCOMPARE(m[1].top, 2960.0f);
    // The last marker has no interval and keeps its load place, hidden.
    QVERIFY(!m[2].visible);
    QCOMPARE(m[2].left, 1200.0f);

    // A longer time axis moves the markers left: row 2 is 1340 twips per 0.1 s.
    scales.timeLonger();
    QVERIFY(qAbs(m[0].left - (740.0f + 670.0f)) < 0.01f);

    // A marker at mid time exactly 0 is hidden.
    SpeedGraphScales zero;
    zero.load(speedResults({0.0f, 0.1f}, {10, 20}, 0.2f), 0);
    zero.resetScales();
    QVERIFY(!zero.graph().Shapep[0].visible);
    QVERIFY(zero.graph().Shapep[1].visible);
}

void TestGraphScales::speedBeyondLargestScale()
{
    SpeedGraphScales scales;
    scales.load(speedResults({0.05f, 21.0f}, {100, 16000}, 25.0f), 2);
    QVERIFY(scales.resetScales());
    QCOMPARE(scales.SpeedScaleIndex, qint16(20));
    QCOMPARE(scales.TimeScaleIndex, qint16(12));
    // The coarsening steps redraw both axes at the last rows.
    QCOMPARE(captions(scales.graph().Labelyy),
             (QStringList{"5000", "10000", "15000", "20000", "hidden"}));
    QCOMPARE(captions(scales.graph().Labelxx), (QStringList{"5", "10", "15", "20", "25"}));
    QVERIFY(qAbs(scales.graph().Shapep[1].top - (4820.0f - 4992.0f)) < 0.01f);
}

void TestGraphScales::buttonsStopAtTheirLimits()
{
    SpeedGraphScales scales;
    scales.load(speedResults({0.05f, 0.15f}, {10, 20}, 0.2f), 0);
    scales.resetScales();
    scales.timeShorter();
    QCOMPARE(scales.TimeScaleIndex, qint16(1));
    for (int i = 0; i < 15; ++i)
        scales.timeLonger();
    QCOMPARE(scales.TimeScaleIndex, qint16(12));
    for (int i = 0; i < 25; ++i)
        scales.valueCoarser();
    QCOMPARE(scales.SpeedScaleIndex, qint16(20));
    QCOMPARE(scales.DistanceScaleIndex, qint16(1));

    DistanceGraphScales distance;
    distance.load(distanceResults({0, 0.1f, 0.2f}, {0, 50, 120}), 0);
    distance.resetScales();
    QCOMPARE(distance.DistanceScaleIndex, qint16(2));
    distance.valueFiner();
    distance.valueFiner();
    QCOMPARE(distance.DistanceScaleIndex, qint16(1));
    QCOMPARE(captions(distance.graph().Labelyy), (QStringList{"20", "40", "60", "80", "100"}));
    for (int i = 0; i < 10; ++i)
        distance.valueCoarser();
    QCOMPARE(distance.DistanceScaleIndex, qint16(9));
    QCOMPARE(distance.graph().Labelyy[0].caption, QStringLiteral("500"));
}

void TestGraphScales::distanceOnlyModeInSpeedGraph()
{
    SpeedGraphScales scales;
    SpeedResults r = speedResults({0.05f, 0.15f}, {10, 20}, 0.2f);
    scales.load(r, 1);
    QVERIFY(!scales.resetScales());
    const auto &g = scales.graph();
    // Markers by point time, the one at time 0 shown; no speed axis drawn.
    QVERIFY(g.Shapep[0].visible);
    QCOMPARE(g.Shapep[0].left, 740.0f);
    QCOMPARE(g.Shapep[0].top, 720.0f);
    QVERIFY(g.Labelyy[0].caption.isEmpty());
    scales.valueCoarser();
    QCOMPARE(scales.DistanceScaleIndex, qint16(2));
    QCOMPARE(scales.SpeedScaleIndex, qint16(1));

    // Beyond 20 s the time axis stays as loaded until a button is pressed.
    SpeedGraphScales late;
    late.load(speedResults({0.05f, 21.0f}, {10, 20}, 25.0f), 1);
    late.resetScales();
    QCOMPARE(late.TimeScaleIndex, qint16(12));
    QCOMPARE(late.graph().LineX[0].position, 840.0f);
    late.timeLonger();
    QCOMPARE(late.graph().LineX[0].position, 840.0f + 1680.0f);
}

void TestGraphScales::distanceStandardView_data()
{
    QTest::addColumn<float>("maxDistance");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("limit");
    QTest::addColumn<QStringList>("numbers");
    QTest::newRow("100") << 100.0f << 1 << false << QStringList{"20", "40", "60", "80", "100"};
    QTest::newRow("100.1") << 100.1f << 2 << false
                           << QStringList{"50", "100", "150", "200", "hidden"};
    QTest::newRow("2500") << 2500.0f << 9 << true
                          << QStringList{"500", "1000", "1500", "2000", "2500"};
}

void TestGraphScales::distanceStandardView()
{
    QFETCH(float, maxDistance);
    QFETCH(int, row);
    QFETCH(bool, limit);
    QFETCH(QStringList, numbers);
    DistanceGraphScales scales;
    scales.load(distanceResults({0, 0.1f, 0.2f}, {0, maxDistance / 2, maxDistance}), 0);
    QCOMPARE(scales.resetScales(), limit);
    QCOMPARE(scales.DistanceScaleIndex, qint16(row));
    QCOMPARE(captions(scales.graph().Labelyy), numbers);
    if (row == 9) {
        QCOMPARE(scales.graph().Labelyy[4].position, 4850.0f - 5 * 1170.0f);
        // Drawn at row 9 even though the last marker lies above the picture.
        QVERIFY(scales.graph().Shapep[2].top < 0);
    }
}

void TestGraphScales::distanceMarkersAndZeroTimes()
{
    // Method 0: the first point sits at time 0 and is shown.
    DistanceGraphScales summed;
    summed.load(distanceResults({0, 0.1f, 0.2f}, {0, 20, 40}), 0);
    summed.resetScales();
    const auto &m = summed.graph().Shapep;
    QCOMPARE(int(m.size()), 3);
    QVERIFY(m[0].visible && m[1].visible && m[2].visible);
    QCOMPARE(m[0].left, 740.0f);
    QCOMPARE(m[0].top, 4820.0f);
    QCOMPARE(m[2].top, 4820.0f - 920.0f * 2);

    // Method 2: the cleared last row has time 0 and its marker is hidden.
    DistanceGraphScales intervals;
    intervals.load(distanceResults({0.38f, 0.48f, 0}, {1, 3, 0}), 2);
    intervals.resetScales();
    QVERIFY(intervals.graph().Shapep[0].visible);
    QVERIFY(!intervals.graph().Shapep[2].visible);
}

QTEST_GUILESS_MAIN(TestGraphScales)
#include "tst_graph_scales.moc"
