// Which frame each item of a result window leads to, which item the frame
// on show belongs to, and where a time and a click land on the graph.

#include "results/frame_link.h"

#include <QtTest>

using namespace results;

class TestFrameLink : public QObject
{
    Q_OBJECT
private slots:
    void frameBelongsToItsItem_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("frame");
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("leadsTo");
        // Points on frames 3, 6 and 10.
        QTest::newRow("point") << int(LinkedItems::Points) << 6 << 1 << 6;
        QTest::newRow("between points") << int(LinkedItems::Points) << 7 << -1 << 0;
        // An interval is measured on the frames after its first point up
        // to its later point, and leads to the later point.
        QTest::newRow("first point: before any interval")
            << int(LinkedItems::Intervals) << 3 << -1 << 0;
        QTest::newRow("inside first interval") << int(LinkedItems::Intervals) << 4 << 0 << 6;
        QTest::newRow("its later point") << int(LinkedItems::Intervals) << 6 << 0 << 6;
        QTest::newRow("next interval") << int(LinkedItems::Intervals) << 7 << 1 << 10;
        QTest::newRow("after the last point") << int(LinkedItems::Intervals) << 11 << -1 << 0;
    }
    void frameBelongsToItsItem()
    {
        QFETCH(int, kind);
        QFETCH(int, frame);
        QFETCH(int, item);
        QFETCH(int, leadsTo);
        const std::vector<LinkedItem> items = linkedItems({3, 6, 10}, LinkedItems(kind));
        QCOMPARE(itemOfFrame(items, frame), item);
        if (item >= 0)
            QCOMPARE(items[item].frame, leadsTo);
    }

    void clickFindsTheNearestMarker()
    {
        GraphState graph;
        graph.load(3);
        graph.Shapep[0] = {1000, 2000, true};
        graph.Shapep[1] = {1150, 2000, true}; // overlapping its neighbour
        graph.Shapep[2] = {3000, 2000, false};
        const std::vector<GraphSpot> spots = markerSpots(graph);
        QCOMPARE(int(spots.size()), 2);
        QCOMPARE(itemAt(spots, QPointF(1110, 2100)), 0);
        QCOMPARE(itemAt(spots, QPointF(1190, 2100)), 1);
        QCOMPARE(itemAt(spots, QPointF(3100, 2100)), -1); // a hidden marker is no target
        QCOMPARE(itemAt(spots, QPointF(1100, 2400)), -1);
    }

    void timeOnTheAxis()
    {
        // 0.1 s per 2240 twips.
        const ScaleRow &row = TimeScaleTable()[1];
        QCOMPARE(timeAxisX(row, 0), std::optional<float>(GraphOriginX));
        QCOMPARE(timeAxisX(row, 0.25), std::optional<float>(GraphOriginX + 5600));
        QVERIFY(!timeAxisX(row, 0.31)); // beyond the axis
        QVERIFY(!timeAxisX(row, -0.1)); // before the first point
    }
};

QTEST_GUILESS_MAIN(TestFrameLink)
#include "tst_frame_link.moc"
