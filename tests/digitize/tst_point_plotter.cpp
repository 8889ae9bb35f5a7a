// Plotting into the point table: one point per frame, the 200-point limit,
// rounding to whole pixels, camera-shake pairs and erasing.

#include "app/measurement_state.h"
#include "digitize/digitizing_state.h"
#include "digitize/point_plotter.h"

#include <QtTest>

using MS = MeasurementState;
using Outcome = PointPlotter::Outcome;

class tst_point_plotter : public QObject
{
    Q_OBJECT

    MeasurementState state;
    DigitizingState clicks;

    QList<int> row(int r) const
    {
        QList<int> values;
        for (int c = 0; c < MS::TableColumns; ++c)
            values.append(state.PointTable[r][c]);
        return values;
    }
    // Points on the given frames, each at (frame, frame + 1).
    void plotFrames(PointPlotter &plotter, const QList<int> &frames)
    {
        for (int f : frames)
            QCOMPARE(plotter.click(f, QPointF(f, f + 1), false).outcome, Outcome::Plotted);
    }

private slots:
    void init()
    {
        state = MeasurementState{};
        clicks = DigitizingState{};
    }

    void sameFrameOverwritesOnlyItsPosition()
    {
        PointPlotter plotter(state, clicks);
        plotFrames(plotter, {10, 20, 30});
        const auto result = plotter.click(20, QPointF(77, 66), false);
        QCOMPARE(result.point, 2);
        QVERIFY(!result.newPoint);
        QCOMPARE(state.PointCount, qint16(3));
        QCOMPARE(row(1), (QList<int>{1, 10, 10, 11, 0, 0}));
        QCOMPARE(row(2), (QList<int>{2, 20, 77, 66, 0, 0}));
        QCOMPARE(row(3), (QList<int>{3, 30, 30, 31, 0, 0}));
    }

    void roundsHalvesToEven_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<int>("storedX");
        QTest::addColumn<int>("storedY");
        QTest::newRow("10.5, 11.5") << 10.5 << 11.5 << 10 << 12;
        QTest::newRow("0.5, 1.5") << 0.5 << 1.5 << 0 << 2;
        QTest::newRow("just under a half") << 10.49 << 639.51 << 10 << 640;
        QTest::newRow("whole") << 639.0 << 479.0 << 639 << 479;
    }
    void roundsHalvesToEven()
    {
        QFETCH(double, x);
        QFETCH(double, y);
        PointPlotter plotter(state, clicks);
        plotter.click(3, QPointF(x, y), false);
        QTEST(int(state.PointTable[1][MS::ColX]), "storedX");
        QTEST(int(state.PointTable[1][MS::ColY]), "storedY");
    }

    void frameNumbersBeyond16Bits()
    {
        PointPlotter plotter(state, clicks);
        plotter.click(40000, QPointF(1, 2), false);
        QCOMPARE(state.PointTable[1][MS::ColFrame], 40000);
        QCOMPARE(plotter.pointOnFrame(40000), 1);
        QCOMPARE(plotter.pointOnFrame(40000 - 65536), 0);
    }

    void twoHundredPointsRefuseEveryClick()
    {
        PointPlotter plotter(state, clicks);
        for (int f = 1; f <= 200; ++f)
            plotter.click(f, QPointF(f, 5), false);
        QCOMPARE(state.PointCount, qint16(200));
        QCOMPARE(plotter.click(500, QPointF(1, 1), false).outcome, Outcome::Refused);
        // Even moving an existing point is refused.
        QCOMPARE(plotter.click(7, QPointF(1, 1), false).outcome, Outcome::Refused);
        QCOMPARE(state.PointCount, qint16(200));
        QCOMPARE(row(7), (QList<int>{7, 7, 7, 5, 0, 0}));
        QCOMPARE(row(201), (QList<int>{0, 0, 0, 0, 0, 0}));
        QCOMPARE(PointPlotter::limitMessage(),
                 QStringLiteral("点は２００個までしか打てません。\r\n不必要な点を消して下さい。"));
    }

    void shakeCorrectedRows()
    {
        PointPlotter plotter(state, clicks);
        auto r = plotter.click(4, QPointF(300, 120), true);
        QCOMPARE(r.outcome, Outcome::ObjectMarked);
        QCOMPARE(clicks.AwaitingShakeReference, 1);
        QCOMPARE(state.PointCount, qint16(1));
        QCOMPARE(row(1), (QList<int>{1, 4, 0, 0, 0, 0}));
        r = plotter.click(4, QPointF(200, 100), true);
        QCOMPARE(r.outcome, Outcome::ReferenceMarked);
        QVERIFY(r.completes());
        QCOMPARE(clicks.AwaitingShakeReference, 0);
        QCOMPARE(row(1), (QList<int>{1, 4, 300, 120, 200, 100}));
        QCOMPARE(clicks.ShakeOriginX, qint16(200));
        QCOMPARE(clicks.ShakeOriginY, qint16(100));

        plotter.click(9, QPointF(310, 95), true);
        plotter.click(9, QPointF(205, 103), true);
        QCOMPARE(row(2), (QList<int>{2, 9, 305, 92, 205, 103}));
        // The origin belongs to point 1 only.
        QCOMPARE(clicks.ShakeOriginX, qint16(200));
        QCOMPARE(state.PointCount, qint16(2));
    }

    void shakeSubtractsBeforeRounding()
    {
        PointPlotter plotter(state, clicks);
        plotter.click(0, QPointF(100, 100), true);
        plotter.click(0, QPointF(50, 50), true);
        // 101.5 - (50.5 - 50) = 101; rounding each click first would give
        // 102 - (50 - 50) = 102.
        plotter.click(1, QPointF(101.5, 80), true);
        plotter.click(1, QPointF(50.5, 50), true);
        QCOMPARE(state.PointTable[2][MS::ColX], 101);
        QCOMPARE(state.PointTable[2][MS::ColRefX], 50);
    }

    void replottingAShakePointKeepsItsNumber()
    {
        PointPlotter plotter(state, clicks);
        plotter.click(2, QPointF(300, 120), true);
        plotter.click(2, QPointF(200, 100), true);
        plotter.click(6, QPointF(310, 95), true);
        plotter.click(6, QPointF(205, 103), true);
        auto r = plotter.click(6, QPointF(400, 200), true);
        QCOMPARE(r.point, 2);
        QVERIFY(!r.newPoint);
        // Old positions stay until the reference click.
        QCOMPARE(row(2), (QList<int>{2, 6, 305, 92, 205, 103}));
        plotter.click(6, QPointF(210, 90), true);
        QCOMPARE(row(2), (QList<int>{2, 6, 390, 210, 210, 90}));
        QCOMPARE(state.PointCount, qint16(2));
    }

    void referenceClickCompletesThe200thPoint()
    {
        PointPlotter plotter(state, clicks);
        for (int f = 1; f <= 199; ++f)
            plotter.click(f, QPointF(f, 5), false);
        QCOMPARE(plotter.click(300, QPointF(30, 40), true).outcome, Outcome::ObjectMarked);
        QCOMPARE(state.PointCount, qint16(200));
        QCOMPARE(plotter.click(300, QPointF(20, 20), true).outcome, Outcome::ReferenceMarked);
        QCOMPARE(row(200).mid(0, 2), (QList<int>{200, 300}));
        QCOMPARE(plotter.click(301, QPointF(30, 40), true).outcome, Outcome::Refused);
        QCOMPARE(clicks.AwaitingShakeReference, 0);
    }

    void referenceForAnErasedPointIsDropped()
    {
        PointPlotter plotter(state, clicks);
        plotter.click(3, QPointF(30, 40), true);
        QCOMPARE(plotter.eraseFramePoint(3), 1);
        const auto r = plotter.click(3, QPointF(20, 20), true);
        QCOMPARE(r.outcome, Outcome::PairDropped);
        QVERIFY(!r.completes());
        QCOMPARE(clicks.AwaitingShakeReference, 0);
        QCOMPARE(state.PointCount, qint16(0));
        QCOMPARE(row(0), (QList<int>{0, 0, 0, 0, 0, 0}));
    }

    void eraseOnFrameZeroFindsTheRealPoint()
    {
        // Unused rows hold frame 0 too; only rows in use count.
        PointPlotter plotter(state, clicks);
        plotFrames(plotter, {5, 0});
        QCOMPARE(plotter.eraseFramePoint(0), 2);
        QCOMPARE(state.PointCount, qint16(1));
        QCOMPARE(row(1), (QList<int>{1, 5, 5, 6, 0, 0}));
    }

    void eraseWithoutPoints()
    {
        PointPlotter plotter(state, clicks);
        QCOMPARE(plotter.eraseFramePoint(0), 0);
        QCOMPARE(state.PointCount, qint16(0));
    }

    void eraseThe200thPointLeavesNoTrace()
    {
        PointPlotter plotter(state, clicks);
        for (int f = 1; f <= 200; ++f)
            plotter.click(f, QPointF(f, 5), false);
        QCOMPARE(plotter.eraseFramePoint(100), 100);
        QCOMPARE(state.PointCount, qint16(199));
        QCOMPARE(row(100), (QList<int>{100, 101, 101, 5, 0, 0}));
        QCOMPARE(row(199), (QList<int>{199, 200, 200, 5, 0, 0}));
        QCOMPARE(row(200), (QList<int>{0, 0, 0, 0, 0, 0}));
        // A new point may be plotted again.
        QCOMPARE(plotter.click(100, QPointF(1, 2), false).point, 200);
    }
};

QTEST_GUILESS_MAIN(tst_point_plotter)
#include "tst_point_plotter.moc"
