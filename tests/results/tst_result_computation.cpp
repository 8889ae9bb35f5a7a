// Time, distance and speed from plotted points: sorting, the 0.1 cut, the three
// distance methods, single-precision speeds and the data the computation refuses.

#include "base/measurement_state.h"
#include "plotted_measurement.h"
#include "results/result_computation.h"

#include <QtTest>
#include <cmath>
#include <vector>

using namespace results;

namespace {

std::vector<float> column(const ResultTable &t, int col, int rows)
{
    std::vector<float> v;
    for (int r = 0; r < rows; ++r)
        v.push_back(t[r][col]);
    return v;
}

} // namespace

class TestResultComputation : public QObject
{
    Q_OBJECT
private slots:
    void scaledLengthCutsDown_data();
    void scaledLengthCutsDown();
    void sortsByFrameKeepingRows();
    void timesFromFirstPointAndMidTimes();
    void methodZeroCutsEachSegmentBeforeSumming();
    void speedDivisionStaysInSinglePrecision();
    void methodOneReturningToStart();
    void floorComesBeforeAbsoluteValue();
    void methodTwoSpeedAndDistanceTables();
    void unknownMethodLeavesTablesCleared();
    void refusesDataThatWouldDivideByZero_data();
    void refusesDataThatWouldDivideByZero();
    void summaries();
};

void TestResultComputation::scaledLengthCutsDown_data()
{
    QTest::addColumn<double>("dx");
    QTest::addColumn<double>("dy");
    QTest::addColumn<float>("refPixels");
    QTest::addColumn<double>("refValue");
    QTest::addColumn<float>("expected");
    QTest::newRow("37 px") << 37.0 << 0.0 << 100.0f << 10.0 << 3.7f;
    QTest::newRow("37.99 px is not rounded up") << 37.99 << 0.0 << 100.0f << 10.0 << 3.7f;
    QTest::newRow("3-4-5 triangle") << -3.0 << 4.0 << 1.0f << 2.0 << 10.0f;
    QTest::newRow("just below a tenth") << 0.0 << 9.0 << 100.0f << 1.0 << 0.0f;
    QTest::newRow("fractional reference") << 103.0 << 0.0 << 50.0f << 1.0 << 2.0f;
}

void TestResultComputation::scaledLengthCutsDown()
{
    QFETCH(double, dx);
    QFETCH(double, dy);
    QFETCH(float, refPixels);
    QFETCH(double, refValue);
    QFETCH(float, expected);
    QCOMPARE(scaledLength(dx, dy, refPixels, refValue), expected);
}

void TestResultComputation::sortsByFrameKeepingRows()
{
    // Plotted on frames 30, 10, 20; row 1 also carries an odd point number,
    // as a hand-edited file might, which must not move the copy elsewhere.
    MeasurementState s = plottedMeasurement({{30, 1, 2}, {10, 3, 4}, {20, 5, 6}});
    s.PointTable[1][0] = 150;
    const ResultTable sorted = sortPoints(s);
    QCOMPARE(column(sorted, SortedFrame, 3), (std::vector<float>{10, 20, 30}));
    QCOMPARE(column(sorted, SortedNumber, 3), (std::vector<float>{2, 3, 150}));
    QCOMPARE(column(sorted, SortedX, 3), (std::vector<float>{3, 5, 1}));
    QCOMPARE(column(sorted, SortedY, 3), (std::vector<float>{4, 6, 2}));
    QCOMPARE(sorted[3][SortedFrame], 0.0f);

    SpeedResults r;
    QVERIFY(computeSpeedResults(s, r).ok());
    QCOMPARE(column(r.ResultRows, RowOrdinal, 3), (std::vector<float>{0, 1, 2}));
    QCOMPARE(column(r.ResultRows, RowTime, 3),
             (std::vector<float>{0, float(10 / 30.0), float(20 / 30.0)}));
}

void TestResultComputation::timesFromFirstPointAndMidTimes()
{
    SpeedResults r;
    QVERIFY(computeSpeedResults(plottedMeasurement({{10, 0, 0}, {13, 0, 0}, {16, 0, 0}}), r).ok());
    QCOMPARE(r.count, 3);
    QCOMPARE(column(r.ResultRows, RowTime, 3), (std::vector<float>{0, 0.1f, 0.2f}));
    QCOMPARE(column(r.SpeedRows, RowTime, 2), (std::vector<float>{0.05f, 0.15f}));
    QCOMPARE(column(r.SpeedRows, RowOrdinal, 2), (std::vector<float>{0, 1}));

    // A point on frame 0 is row 0 and its time is 0 too.
    QVERIFY(computeSpeedResults(plottedMeasurement({{6, 0, 0}, {0, 0, 0}, {3, 0, 0}}), r).ok());
    QCOMPARE(column(r.ResultRows, RowTime, 3), (std::vector<float>{0, 0.1f, 0.2f}));
}

void TestResultComputation::methodZeroCutsEachSegmentBeforeSumming()
{
    // 50 px are 1 cm: each 103 px segment is 2.06 cm, cut to 2.0 before adding.
    const auto s = plottedMeasurement({{0, 0, 0}, {3, 103, 0}, {6, 206, 0}}, 30, 50, 1, 0);
    SpeedResults r;
    QVERIFY(computeSpeedResults(s, r).ok());
    QCOMPARE(column(r.ResultRows, RowValue, 3), (std::vector<float>{0, 2.0f, 4.0f}));
    computeMaxima(r);
    QCOMPARE(r.MaxDistance, 4.0f);
    QCOMPARE(r.MaxSpeed, 20.0f);
    QCOMPARE(r.MaxTime, 0.2f);

    // The same points measured straight from the first one are not cut twice.
    SpeedResults straight;
    QVERIFY(computeSpeedResults(
                plottedMeasurement({{0, 0, 0}, {3, 103, 0}, {6, 206, 0}}, 30, 50, 1, 1), straight)
                .ok());
    QCOMPARE(straight.ResultRows[2][RowValue], 4.1f);
}

void TestResultComputation::speedDivisionStaysInSinglePrecision()
{
    // 3.0 cm over 0.1 s: 3.0f / 0.1f is exactly 30 in single precision, while
    // the same division in double precision gives 29.99999955 and floors to 29.
    SpeedResults r;
    QVERIFY(computeSpeedResults(plottedMeasurement({{0, 0, 0}, {3, 30, 0}, {6, 60, 0}}), r).ok());
    QCOMPARE(column(r.ResultRows, RowValue, 3), (std::vector<float>{0, 3.0f, 6.0f}));
    QCOMPARE(column(r.SpeedRows, RowValue, 2), (std::vector<float>{30, 30}));
}

void TestResultComputation::methodOneReturningToStart()
{
    const auto s = plottedMeasurement({{0, 0, 0}, {3, 100, 0}, {6, 0, 0}}, 30, 10, 1, 1);
    SpeedResults r;
    QVERIFY(computeSpeedResults(s, r).ok());
    QCOMPARE(column(r.ResultRows, RowValue, 3), (std::vector<float>{0, 10, 0}));
    QCOMPARE(column(r.SpeedRows, RowValue, 2), (std::vector<float>{100, 100}));
}

void TestResultComputation::floorComesBeforeAbsoluteValue()
{
    // One frame per second: out 3.2 cm, back 3.2 cm. 3.2 floors to 3, -3.2 to -4.
    const auto s = plottedMeasurement({{0, 0, 0}, {1, 32, 0}, {2, 0, 0}}, 1, 10, 1, 1);
    SpeedResults r;
    QVERIFY(computeSpeedResults(s, r).ok());
    QCOMPARE(column(r.SpeedRows, RowValue, 2), (std::vector<float>{3, 4}));
}

void TestResultComputation::methodTwoSpeedAndDistanceTables()
{
    // Segments of 1.0, 3.0 and 2.0 cm on frames 10, 13, 19, 22 at 30 fps.
    const auto s =
        plottedMeasurement({{10, 0, 0}, {13, 10, 0}, {19, 40, 0}, {22, 40, 20}}, 30, 10, 1, 2);
    SpeedResults r;
    QVERIFY(computeSpeedResults(s, r).ok());
    QCOMPARE(column(r.ResultRows, RowValue, 4), (std::vector<float>{0, 1, 3, 2}));
    // Each interval's own length over its own duration: 1/0.1, 3/0.2, 2/0.1.
    // The stored times 0.3f - 0.1f leave a duration a little above 0.2, so
    // the middle speed floors to 14: the table shows what single precision gives.
    QCOMPARE(column(r.SpeedRows, RowValue, 3), (std::vector<float>{10, 14, 20}));
    computeMaxima(r);
    QCOMPARE(r.MaxDistance, 3.0f);
    QCOMPARE(r.MaxSpeed, 20.0f);

    // The distance window keeps one row per interval, timed at the interval's
    // middle from frame 0 of the video; the last row stays cleared.
    DistanceResults d;
    QVERIFY(computeDistanceResults(s, d).ok());
    QCOMPARE(column(d.DistanceRows, RowOrdinal, 4), (std::vector<float>{0, 1, 2, 0}));
    QCOMPARE(column(d.DistanceRows, RowTime, 4),
             (std::vector<float>{float(11.5 / 30), float(16.0 / 30), float(20.5 / 30), 0}));
    QCOMPARE(column(d.DistanceRows, RowValue, 4), (std::vector<float>{1, 3, 2, 0}));
    computeMaxima(d);
    QCOMPARE(d.MaxDistance, 3.0f);
    QCOMPARE(d.MaxTime, float(20.5 / 30));

    // Methods 0 and 1 give the distance window the speed window's rows.
    const auto summed =
        plottedMeasurement({{10, 0, 0}, {13, 10, 0}, {19, 40, 0}, {22, 40, 20}}, 30, 10, 1, 0);
    QVERIFY(computeSpeedResults(summed, r).ok());
    QVERIFY(computeDistanceResults(summed, d).ok());
    for (int row = 0; row < 4; ++row)
        QCOMPARE(d.DistanceRows[row], r.ResultRows[row]);
    QCOMPARE(d.DistanceRows[3][RowValue], 6.0f);
}

void TestResultComputation::unknownMethodLeavesTablesCleared()
{
    SpeedResults r;
    QVERIFY(computeSpeedResults(
                plottedMeasurement({{0, 0, 0}, {3, 30, 0}, {6, 60, 0}}, 30, 10, 1, 5), r)
                .ok());
    QCOMPARE(r.SortedPoints[2][SortedFrame], 6.0f);
    for (int row = 0; row < 3; ++row) {
        QCOMPARE(r.ResultRows[row][RowTime], 0.0f);
        QCOMPARE(r.SpeedRows[row][RowValue], 0.0f);
    }
}

void TestResultComputation::refusesDataThatWouldDivideByZero_data()
{
    QTest::addColumn<double>("frameRate");
    QTest::addColumn<float>("refPixels");
    QTest::addColumn<int>("secondFrame");
    QTest::addColumn<int>("problem");
    QTest::addColumn<int>("frame");
    QTest::newRow("frame rate 0") << 0.0 << 10.0f << 3 << int(DataProblem::NoFrameRate) << 0;
    QTest::newRow("frame rate nan")
        << double(NAN) << 10.0f << 3 << int(DataProblem::NoFrameRate) << 0;
    QTest::newRow("no reference") << 30.0 << 0.0f << 3 << int(DataProblem::NoReference) << 0;
    QTest::newRow("two points on frame 6")
        << 30.0 << 10.0f << 6 << int(DataProblem::SameFrame) << 6;
    QTest::newRow("tiny reference overflows")
        << 30.0 << 1e-38f << 3 << int(DataProblem::NotFinite) << 0;
}

void TestResultComputation::refusesDataThatWouldDivideByZero()
{
    QFETCH(double, frameRate);
    QFETCH(float, refPixels);
    QFETCH(int, secondFrame);
    QFETCH(int, problem);
    QFETCH(int, frame);
    const auto s = plottedMeasurement({{0, 0, 0}, {secondFrame, 30000, 0}, {6, 60, 0}}, frameRate,
                                      refPixels, 30000);

    SpeedResults r;
    const DataCheck speed = computeSpeedResults(s, r);
    QCOMPARE(int(speed.problem), problem);
    QCOMPARE(speed.frame, frame);
    QVERIFY(!dataProblemMessage(speed).isEmpty());
    if (frame)
        QVERIFY(dataProblemMessage(speed).contains(QString::number(frame)));
    // Nothing undefined is left behind for a window to show.
    computeMaxima(r);
    QCOMPARE(r.MaxSpeed, 0.0f);
    QCOMPARE(r.ResultRows[1][RowTime], 0.0f);

    DistanceResults d;
    QCOMPARE(int(computeDistanceResults(s, d).problem), problem);
    QCOMPARE(d.DistanceRows[1][RowValue], 0.0f);
}

void TestResultComputation::summaries()
{
    SpeedResults r;
    r.MaxTime = 2.5f;
    r.MaxDistance = 120.3f;
    r.MaxSpeed = 96;
    QCOMPARE(speedSummary(r, QStringLiteral("cm")),
             QStringLiteral(" 記録時間は　2.5　秒です。\r\n  最大距離は　120.3　cmです。\r\n"
                            "  最高速度は　96　cm/秒です。"));
    DistanceResults d;
    d.MaxTime = 0.1f;
    d.MaxDistance = 4;
    QCOMPARE(distanceSummary(d, QStringLiteral("m")),
             QStringLiteral(" 記録時間は　0.1　秒です。\r\n  最大距離は　4　mです。"));
}

QTEST_GUILESS_MAIN(TestResultComputation)
#include "tst_result_computation.moc"
