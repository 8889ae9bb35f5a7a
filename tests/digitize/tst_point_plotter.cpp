// Plotting into the point table: one point per frame, the 200-point limit,
// rounding to whole pixels, camera-shake pairs and erasing.

#include "base/measurement_state.h"
#include "base/window_state.h"
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
    WindowState window;

    PointPlotter::Result click(PointPlotter &plotter, qint32 frame, QPointF at, bool shakeOn)
    {
        window.ShakeCorrectionOn = shakeOn;
        return plotter.click(frame, at);
    }

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
            QCOMPARE(click(plotter, f, QPointF(f, f + 1), false).outcome, Outcome::Plotted);
    }

private slots:
    void init()
    {
        state = MeasurementState{};
        clicks = DigitizingState{};
        window = WindowState{};
    }

    void sameFrameOverwritesOnlyItsPosition()
    {
        PointPlotter plotter(state, clicks, window);
        plotFrames(plotter, {10, 20, 30});
        const auto result = click(plotter, 20, QPointF(77, 66), false);
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
        PointPlotter plotter(state, clicks, window);
        click(plotter, 3, QPointF(x, y), false);
        QTEST(int(state.PointTable[1][MS::ColX]), "storedX");
        QTEST(int(state.PointTable[1][MS::ColY]), "storedY");
    }

    void frameNumbersBeyond16Bits()
    {
        PointPlotter plotter(state, clicks, window);
        click(plotter, 40000, QPointF(1, 2), false);
        QCOMPARE(state.PointTable[1][MS::ColFrame], 40000);
        QCOMPARE(plotter.pointOnFrame(40000), 1);
        QCOMPARE(plotter.pointOnFrame(40000 - 65536), 0);
    }

    void twoHundredPointsRefuseEveryClick()
    {
        PointPlotter plotter(state, clicks, window);
        for (int f = 1; f <= 200; ++f)
            click(plotter, f, QPointF(f, 5), false);
        QCOMPARE(state.PointCount, qint16(200));
        QCOMPARE(click(plotter, 500, QPointF(1, 1), false).outcome, Outcome::Refused);
        // Even moving an existing point is refused.
        QCOMPARE(click(plotter, 7, QPointF(1, 1), false).outcome, Outcome::Refused);
        QCOMPARE(state.PointCount, qint16(200));
        QCOMPARE(row(7), (QList<int>{7, 7, 7, 5, 0, 0}));
        QCOMPARE(row(201), (QList<int>{0, 0, 0, 0, 0, 0}));
        QCOMPARE(PointPlotter::limitMessage(),
                 QStringLiteral("点は２００個までしか打てません。\r\n不必要な点を消して下さい。"));
    }

    void shakeCorrectedRows()
    {
        PointPlotter plotter(state, clicks, window);
        auto r = click(plotter, 4, QPointF(300, 120), true);
        QCOMPARE(r.outcome, Outcome::ObjectMarked);
        QVERIFY(window.AwaitingShakeReference);
        // Nothing goes into the table before the pair is whole.
        QCOMPARE(state.PointCount, qint16(0));
        QCOMPARE(row(1), (QList<int>{0, 0, 0, 0, 0, 0}));
        r = click(plotter, 4, QPointF(200, 100), true);
        QCOMPARE(r.outcome, Outcome::ReferenceMarked);
        QVERIFY(r.completes());
        QVERIFY(!window.AwaitingShakeReference);
        QCOMPARE(row(1), (QList<int>{1, 4, 300, 120, 200, 100}));
        QCOMPARE(clicks.ShakeOriginX, qint16(200));
        QCOMPARE(clicks.ShakeOriginY, qint16(100));

        click(plotter, 9, QPointF(310, 95), true);
        click(plotter, 9, QPointF(205, 103), true);
        QCOMPARE(row(2), (QList<int>{2, 9, 305, 92, 205, 103}));
        // The origin belongs to point 1 only.
        QCOMPARE(clicks.ShakeOriginX, qint16(200));
        QCOMPARE(state.PointCount, qint16(2));
    }

    void shakeSubtractsBeforeRounding()
    {
        PointPlotter plotter(state, clicks, window);
        click(plotter, 0, QPointF(100, 100), true);
        click(plotter, 0, QPointF(50, 50), true);
        // 101.5 - (50.5 - 50) = 101; rounding each click first would give
        // 102 - (50 - 50) = 102.
        click(plotter, 1, QPointF(101.5, 80), true);
        click(plotter, 1, QPointF(50.5, 50), true);
        QCOMPARE(state.PointTable[2][MS::ColX], 101);
        QCOMPARE(state.PointTable[2][MS::ColRefX], 50);
    }

    void replottingAShakePointKeepsItsNumber()
    {
        PointPlotter plotter(state, clicks, window);
        click(plotter, 2, QPointF(300, 120), true);
        click(plotter, 2, QPointF(200, 100), true);
        click(plotter, 6, QPointF(310, 95), true);
        click(plotter, 6, QPointF(205, 103), true);
        auto r = click(plotter, 6, QPointF(400, 200), true);
        QCOMPARE(r.point, 2);
        QVERIFY(!r.newPoint);
        // Old positions stay until the reference click.
        QCOMPARE(row(2), (QList<int>{2, 6, 305, 92, 205, 103}));
        click(plotter, 6, QPointF(210, 90), true);
        QCOMPARE(row(2), (QList<int>{2, 6, 390, 210, 210, 90}));
        QCOMPARE(state.PointCount, qint16(2));
    }

    void referenceClickCompletesThe200thPoint()
    {
        PointPlotter plotter(state, clicks, window);
        for (int f = 1; f <= 199; ++f)
            click(plotter, f, QPointF(f, 5), false);
        QCOMPARE(click(plotter, 300, QPointF(30, 40), true).outcome, Outcome::ObjectMarked);
        QCOMPARE(state.PointCount, qint16(199));
        QCOMPARE(click(plotter, 300, QPointF(20, 20), true).outcome, Outcome::ReferenceMarked);
        QCOMPARE(row(200).mid(0, 2), (QList<int>{200, 300}));
        QCOMPARE(click(plotter, 301, QPointF(30, 40), true).outcome, Outcome::Refused);
        QVERIFY(!window.AwaitingShakeReference);
    }

    void pairEndsWithoutAPoint()
    {
        PointPlotter plotter(state, clicks, window);
        // A reference click on another frame belongs to no object.
        click(plotter, 3, QPointF(30, 40), true);
        const auto r = click(plotter, 4, QPointF(20, 20), true);
        QCOMPARE(r.outcome, Outcome::PairDropped);
        QVERIFY(!r.completes());
        QVERIFY(!window.AwaitingShakeReference);
        // A pair ended by the window (erasing on its frame) writes nothing.
        click(plotter, 3, QPointF(30, 40), true);
        QVERIFY(plotter.dropPair());
        QVERIFY(!plotter.dropPair());
        QCOMPARE(state.PointCount, qint16(0));
        QCOMPARE(row(1), (QList<int>{0, 0, 0, 0, 0, 0}));
    }

    void eraseOnFrameZeroFindsTheRealPoint()
    {
        // Unused rows hold frame 0 too; only rows in use count.
        PointPlotter plotter(state, clicks, window);
        plotFrames(plotter, {5, 0});
        QCOMPARE(plotter.eraseFramePoint(0), 2);
        QCOMPARE(state.PointCount, qint16(1));
        QCOMPARE(row(1), (QList<int>{1, 5, 5, 6, 0, 0}));
    }

    void eraseWithoutPoints()
    {
        PointPlotter plotter(state, clicks, window);
        QCOMPARE(plotter.eraseFramePoint(0), 0);
        QCOMPARE(state.PointCount, qint16(0));
    }

    void eraseThe200thPointLeavesNoTrace()
    {
        PointPlotter plotter(state, clicks, window);
        for (int f = 1; f <= 200; ++f)
            click(plotter, f, QPointF(f, 5), false);
        QCOMPARE(plotter.eraseFramePoint(100), 100);
        QCOMPARE(state.PointCount, qint16(199));
        QCOMPARE(row(100), (QList<int>{100, 101, 101, 5, 0, 0}));
        QCOMPARE(row(199), (QList<int>{199, 200, 200, 5, 0, 0}));
        QCOMPARE(row(200), (QList<int>{0, 0, 0, 0, 0, 0}));
        // A new point may be plotted again.
        QCOMPARE(click(plotter, 100, QPointF(1, 2), false).point, 200);
    }
};

QTEST_GUILESS_MAIN(tst_point_plotter)
#include "tst_point_plotter.moc"
