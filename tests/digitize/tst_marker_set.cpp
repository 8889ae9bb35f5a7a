// The markers as data: reset, creation and removal, the frame, all-points and
// white-disc displays, camera-shake positions, and how they paint.

#include "base/measurement_state.h"
#include "digitize/marker_set.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

using MS = MeasurementState;
using P = PointMarker;

class tst_marker_set : public QObject
{
    Q_OBJECT

    MeasurementState state;

    void addPoint(int frame, int x, int y, int refX = 0, int refY = 0)
    {
        const int n = ++state.PointCount;
        int values[6] = {n, frame, x, y, refX, refY};
        std::copy(std::begin(values), std::end(values), state.PointTable[n]);
    }
    static QList<bool> visibility(const PointMarker &m)
    {
        QList<bool> v;
        for (const MarkerShape &s : m.shapes)
            v.append(s.visible);
        return v;
    }

private slots:
    void init() { state = MeasurementState{}; }

    void resetGivesSizesColoursAndHidesAll()
    {
        MarkerSet set;
        set.setCount(2);
        set.marker(2)[P::Reference].filled = true;
        set.marker(1)[P::Outer].visible = true;
        set.resetMarkers();
        for (int n = 0; n <= 2; ++n) {
            const PointMarker &m = set.marker(n);
            QCOMPARE(m[P::Outer].width, 17);
            QCOMPARE(m[P::Reference].width, 13);
            QCOMPARE(m[P::Middle].width, 15);
            QCOMPARE(m[P::Middle].height, 15); // 16 high as designed, 15 after a reset
            QCOMPARE(m[P::Inner].width, 13);
            QCOMPARE(m[P::Dot].height, 3);
            QCOMPARE(m[P::Outer].border, QColor(0, 0, 0));
            QCOMPARE(m[P::Middle].border, QColor(255, 255, 255));
            QCOMPARE(m[P::Inner].border, QColor(0, 0, 0));
            QCOMPARE(m[P::Reference].border, QColor(255, 0, 0));
            QCOMPARE(m[P::Reference].fillColour, QColor(255, 0, 0));
            QVERIFY(!m[P::Reference].filled);
            QCOMPARE(visibility(m), (QList<bool>{false, false, false, false, false}));
        }
    }

    void markersFollowThePointCount()
    {
        MarkerSet set;
        QCOMPARE(set.count(), 0);
        set.marker(0)[P::Outer].visible = true; // the temporary marker
        set.setCount(3);
        QCOMPARE(set.count(), 3);
        QCOMPARE(visibility(set.marker(3)), (QList<bool>{false, false, false, false, false}));
        set.setCount(1);
        QCOMPARE(set.count(), 1);
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, set.marker(2));
        set.setCount(500);
        QCOMPARE(set.count(), 200);
    }

    void centredWithTheWidth()
    {
        MarkerShape s;
        s.width = 17;
        s.height = 17;
        s.centreOn(QPointF(100, 50));
        QCOMPARE(s.rect(), QRectF(91, 41, 17, 17));
        s.width = 15;
        s.height = 16; // the height does not move the top edge
        QCOMPARE(s.rect(), QRectF(92, 42, 15, 16));
    }

    void frameMarkersOnlyWhenAllPointsModeIsZero()
    {
        state.AllPointsMode = 0;
        addPoint(10, 100, 50);
        addPoint(20, 200, 60);
        MarkerSet set;
        set.setCount(2);
        set.showFrameMarkers(state, 20, false);
        QCOMPARE(visibility(set.marker(1)), (QList<bool>{false, false, false, false, false}));
        QCOMPARE(visibility(set.marker(2)), (QList<bool>{true, false, true, true, true}));
        const PointMarker &m = set.marker(2);
        QVERIFY(m[P::Outer].filled);
        QCOMPARE(m[P::Outer].fillColour, QColor(255, 255, 0));
        QCOMPARE(m[P::Outer].centre, QPointF(200, 60));
        QVERIFY(!m[P::Middle].filled);
        QVERIFY(!m[P::Inner].filled);
        QCOMPARE(m[P::Dot].centre, QPointF(200, 60));
        // A frame without a point: nothing shown at all.
        set.showFrameMarkers(state, 15, false);
        QCOMPARE(visibility(set.marker(2)), (QList<bool>{false, false, false, false, false}));
    }

    void allPointsAsRingsAndCurrentAsDisc()
    {
        state.AllPointsMode = 1;
        for (int i = 1; i <= 3; ++i)
            addPoint(i * 10, i * 50, 40);
        MarkerSet set;
        set.setCount(3);
        set.resetMarkers();
        const KijunPlacement k = set.showAllMarkers(state, false);
        QCOMPARE(k.action, KijunPlacement::Action::Keep);
        set.showFrameMarkers(state, 20, false);
        for (int i = 1; i <= 3; ++i) {
            QCOMPARE(visibility(set.marker(i)), (QList<bool>{true, false, true, true, true}));
            QCOMPARE(set.marker(i)[P::Outer].filled, i == 2);
        }
        // The next frame change turns the disc back into rings.
        set.showAllMarkers(state, false);
        set.showFrameMarkers(state, 30, false);
        QVERIFY(!set.marker(2)[P::Outer].filled);
        QVERIFY(set.marker(3)[P::Outer].filled);
    }

    void shakeMarkersWhereTheObjectWasClicked()
    {
        state.AllPointsMode = 0;
        addPoint(4, 300, 120, 200, 100);
        addPoint(9, 305, 92, 205, 103);
        MarkerSet set;
        set.setCount(2);
        const KijunPlacement k = set.showFrameMarkers(state, 9, true);
        const PointMarker &m = set.marker(2);
        QCOMPARE(m[P::Outer].centre, QPointF(310, 95));
        QCOMPARE(m[P::Dot].centre, QPointF(310, 95));
        QCOMPARE(m[P::Reference].centre, QPointF(205, 103));
        QVERIFY(m[P::Reference].visible);
        QVERIFY(m[P::Reference].filled);
        QCOMPARE(m[P::Reference].border, QColor(255, 255, 255));
        QCOMPARE(k.action, KijunPlacement::Action::Show);
        QCOMPARE(k.topLeft, QPoint(215, 103));
        // A frame without a point hides the label.
        QCOMPARE(set.showFrameMarkers(state, 5, true).action, KijunPlacement::Action::Hide);
    }

    void allPointDisplaysLabelTheLastReference()
    {
        for (int i = 1; i <= 3; ++i)
            addPoint(i, 100 + i, 100, 200 + i, 50 + i);
        MarkerSet set;
        set.setCount(3);
        set.resetMarkers();
        KijunPlacement k = set.showAllMarkers(state, true);
        QCOMPARE(k.topLeft, QPoint(213, 53));
        QCOMPARE(set.marker(1)[P::Reference].border, QColor(255, 0, 0));
        QVERIFY(!set.marker(1)[P::Reference].filled);
        QCOMPARE(set.marker(2)[P::Outer].centre, QPointF(102 + 202 - 201, 100 + 52 - 51));

        set.resetMarkers();
        k = set.showAllPointsDiscs(state, true);
        QCOMPARE(k.action, KijunPlacement::Action::Show);
        QCOMPARE(k.topLeft, QPoint(213, 53));
        for (int i = 1; i <= 3; ++i) {
            QCOMPARE(visibility(set.marker(i)), (QList<bool>{true, true, false, false, false}));
            QCOMPARE(set.marker(i)[P::Outer].fillColour, QColor(255, 255, 255));
            QVERIFY(set.marker(i)[P::Outer].filled);
        }
        // No points: nothing to label.
        state.PointCount = 0;
        QCOMPARE(set.showAllPointsDiscs(state, true).action, KijunPlacement::Action::Keep);
    }

    void temporaryObjectMarker()
    {
        MarkerSet set;
        set.resetMarkers();
        set.showTemporaryObjectMarker(QPointF(300, 120));
        const MarkerShape &t = set.marker(0)[P::Outer];
        QVERIFY(t.visible);
        QVERIFY(t.filled);
        QCOMPARE(t.fillColour, QColor(255, 255, 255));
        QCOMPARE(t.rect(), QRectF(291, 111, 17, 17));
        // A point created now is a hidden copy, not a second temporary marker.
        set.setCount(1);
        QVERIFY(!set.marker(1)[P::Outer].visible);
        set.hideTemporaryObjectMarker();
        QVERIFY(!set.marker(0)[P::Outer].visible);
    }

    void paintsDiscUnderTheRings()
    {
        state.AllPointsMode = 0;
        addPoint(0, 50, 50);
        MarkerSet set;
        set.setCount(1);
        set.showFrameMarkers(state, 0, false);
        QImage img(100, 100, QImage::Format_RGB32);
        img.fill(Qt::blue);
        QPainter p(&img);
        set.paint(p);
        p.end();
        // Inside the inner ring the yellow disc shows through the transparent
        // rings; outside the markers the picture is untouched.
        QCOMPARE(QColor(img.pixel(53, 49)), QColor(255, 255, 0));
        QCOMPARE(QColor(img.pixel(49, 53)), QColor(255, 255, 0));
        QCOMPARE(QColor(img.pixel(70, 49)), QColor(Qt::blue));
        QVERIFY(qGray(img.pixel(49, 49)) < 128); // the centre dot

        // As rings only, the picture shows through the middle.
        set.resetMarkers();
        set.showAllMarkers(state, false);
        img.fill(Qt::blue);
        QPainter q(&img);
        set.paint(q);
        q.end();
        QCOMPARE(QColor(img.pixel(53, 49)), QColor(Qt::blue));
    }
};

QTEST_GUILESS_MAIN(tst_marker_set)
#include "tst_marker_set.moc"
