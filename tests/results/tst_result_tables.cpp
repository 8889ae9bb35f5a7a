// Table captions and paging of both result windows, the checks before a
// result window opens, and what the settings show.

#include "base/measurement_state.h"
#include "results/result_display.h"
#include "results/result_opening.h"
#include "results/result_table_text.h"

#include <QtTest>

using namespace results;

namespace {

// n points, three frames apart at 30 fps, 10 px (1 cm) further each time.
MeasurementState steadyMotion(int n, qint16 method = 0)
{
    MeasurementState s;
    s.FrameRate = 30;
    s.RefLengthPixels = 10;
    s.RefLengthValue = 1;
    s.LengthUnit = QStringLiteral("cm");
    s.DistanceMethod = method;
    for (int r = 1; r <= n; ++r) {
        s.PointTable[r][0] = r;
        s.PointTable[r][1] = 3 * (r - 1);
        s.PointTable[r][2] = 10 * (r - 1);
    }
    s.PointCount = qint16(n);
    return s;
}

} // namespace

class TestResultTables : public QObject
{
    Q_OBJECT
private slots:
    void speedTableWithThreePoints();
    void speedTablePaging();
    void distanceTableWithThreePoints();
    void distanceTablePagingAndMethodTwo();
    void scrollMaxima();
    void openingChecksInOrder_data();
    void openingChecksInOrder();
    void visibilityAndPrinting();
};

void TestResultTables::speedTableWithThreePoints()
{
    SpeedResults r;
    QVERIFY(computeSpeedResults(steadyMotion(3), r).ok());
    const TablePage page = speedTablePage(r, 0);
    QCOMPARE(page[0].time, QStringLiteral("0-0.10"));
    QCOMPARE(page[0].value, QStringLiteral("10"));
    QCOMPARE(page[1].time, QStringLiteral("0.10-0.20"));
    QCOMPARE(page[1].value, QStringLiteral("10"));
    for (int c = 2; c < TableColumns; ++c)
        QVERIFY(page[c].time.isEmpty() && page[c].value.isEmpty());
}

void TestResultTables::speedTablePaging()
{
    SpeedResults r;
    QVERIFY(computeSpeedResults(steadyMotion(25), r).ok());
    // The last page shows intervals 4..23, the last one ending at the 25th point.
    const TablePage last = speedTablePage(r, 4);
    QCOMPARE(last[0].time, QStringLiteral("0.40-0.50"));
    QCOMPARE(last[19].time, QStringLiteral("2.30-2.40"));
    const TablePage beyond = speedTablePage(r, 24);
    QVERIFY(beyond[0].time.isEmpty());
    // Fewer than two points: no interval, nothing shown.
    SpeedResults one;
    QVERIFY(computeSpeedResults(steadyMotion(1), one).ok());
    QVERIFY(speedTablePage(one, 0)[0].time.isEmpty());
}

void TestResultTables::distanceTableWithThreePoints()
{
    DistanceResults r;
    QVERIFY(computeDistanceResults(steadyMotion(3), r).ok());
    const TablePage page = distanceTablePage(r, 0);
    QCOMPARE(page[0].time, QStringLiteral("0"));
    QCOMPARE(page[0].value, QStringLiteral("0"));
    QCOMPARE(page[1].time, QStringLiteral("0.10"));
    QCOMPARE(page[1].value, QStringLiteral("1.0"));
    QCOMPARE(page[2].time, QStringLiteral("0.20"));
    QCOMPARE(page[2].value, QStringLiteral("2.0"));
    QVERIFY(page[3].time.isEmpty());
}

void TestResultTables::distanceTablePagingAndMethodTwo()
{
    DistanceResults r;
    QVERIFY(computeDistanceResults(steadyMotion(25), r).ok());
    const TablePage last = distanceTablePage(r, 5);
    QCOMPARE(last[0].time, QStringLiteral("0.50"));
    QCOMPARE(last[19].time, QStringLiteral("2.40"));
    QCOMPARE(last[19].value, QStringLiteral("24.0"));

    // Method 2: column 0 reads "0" although row 0 is the first interval, and
    // the cleared last row shows zeros.
    QVERIFY(computeDistanceResults(steadyMotion(3, 2), r).ok());
    const TablePage page = distanceTablePage(r, 0);
    QCOMPARE(page[0].time, QStringLiteral("0"));
    QCOMPARE(page[1].time, QStringLiteral("0.15"));
    QCOMPARE(page[1].value, QStringLiteral("1.0"));
    QCOMPARE(page[2].time, QStringLiteral("0.00"));
    QCOMPARE(page[2].value, QStringLiteral("0.0"));
}

void TestResultTables::scrollMaxima()
{
    QCOMPARE(speedScrollMaximum(3), 1);
    QCOMPARE(speedScrollMaximum(20), 1);
    QCOMPARE(speedScrollMaximum(25), 4);
    QCOMPARE(distanceScrollMaximum(3), 1);
    QCOMPARE(distanceScrollMaximum(20), 0);
    QCOMPARE(distanceScrollMaximum(25), 5);
}

void TestResultTables::openingChecksInOrder_data()
{
    QTest::addColumn<QString>("lengthText");
    QTest::addColumn<float>("refPixels");
    QTest::addColumn<int>("points");
    QTest::addColumn<double>("frameRate");
    QTest::addColumn<QString>("startsWith");
    const QString length = QStringLiteral("「長さを決める」欄の「長さの設定」ボタンを押し、空欄");
    const QString reference = QStringLiteral("　「長さを決める」欄の「長さの設定」ボタンを押したあと");
    const QString points = QStringLiteral("画面上の点を３回以上クリックしないと、\r\n結果");
    QTest::newRow("empty text") << QString() << 0.0f << 0 << 30.0 << length;
    QTest::newRow("zero, whatever the pixels") << "0" << 10.0f << 5 << 30.0 << length;
    QTest::newRow("no leading number") << "abc" << 10.0f << 5 << 30.0 << length;
    QTest::newRow("no reference points") << "10" << 0.0f << 5 << 30.0 << reference;
    QTest::newRow("two points") << "10cm" << 10.0f << 2 << 30.0 << points;
    QTest::newRow("no frame rate") << "10" << 10.0f << 3 << 0.0 << QStringLiteral("映像のコマ数");
    QTest::newRow("ready") << "10" << 10.0f << 3 << 30.0 << QString();
}

void TestResultTables::openingChecksInOrder()
{
    QFETCH(QString, lengthText);
    QFETCH(float, refPixels);
    QFETCH(int, points);
    QFETCH(double, frameRate);
    QFETCH(QString, startsWith);
    MeasurementState s = steadyMotion(points);
    s.RefLengthPixels = refPixels;
    s.FrameRate = frameRate;
    const QString message = resultOpeningProblem(lengthText, s);
    if (startsWith.isEmpty())
        QCOMPARE(message, QString());
    else
        QVERIFY2(message.startsWith(startsWith), qPrintable(message));
}

void TestResultTables::visibilityAndPrinting()
{
    QCOMPARE(resultVisibility(1).graph, false);
    QCOMPARE(resultVisibility(1).table, true);
    QCOMPARE(resultVisibility(2).table, false);
    QCOMPARE(resultVisibility(2).scaleButtons, true);
    const ResultVisibility none = resultVisibility(3);
    QVERIFY(!none.table && !none.graph && !none.scaleButtons);
    QVERIFY(resultPrintAllowed(0) && resultPrintAllowed(2));
    QVERIFY(!resultPrintAllowed(1) && !resultPrintAllowed(3));
}

QTEST_GUILESS_MAIN(TestResultTables)
#include "tst_result_tables.moc"
