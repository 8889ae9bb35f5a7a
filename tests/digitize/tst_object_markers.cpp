// The markers of the objects not chosen, painted over the preview: nothing
// at all with one object, and otherwise each object's points in its colour
// as the all-points setting says, its newest point always, with its letter.

#include "base/measurement_objects.h"
#include "digitize/object_markers.h"
#include "plotted_measurement.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

namespace {

// Ａ at (100, 100) on frames 0 and 2; Ｂ at (300, 100) on frame 0 and
// (400, 100) on frame 2.
MeasurementState twoObjects(qint16 allPointsMode)
{
    MeasurementState state = plottedMeasurement({{0, 100, 100}, {2, 120, 100}});
    objects::setPoints(state, 1, plottedMeasurement({{0, 300, 100}, {2, 400, 100}}));
    state.AllPointsMode = allPointsMode;
    return state;
}

QImage paintedOver(const MeasurementState &state, qint32 frame)
{
    QImage image(640, 480, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    objects::paintObjectMarkers(painter, state, frame, false, false);
    return image;
}

bool inkAround(const QImage &image, QPoint centre, const QColor &ink)
{
    for (int dy = -9; dy <= 9; ++dy)
        for (int dx = -9; dx <= 9; ++dx)
            if (image.pixelColor(centre + QPoint(dx, dy)) == ink)
                return true;
    return false;
}

} // namespace

class TestObjectMarkers : public QObject
{
    Q_OBJECT
private slots:
    void painted_data()
    {
        QTest::addColumn<MeasurementState>("state");
        QTest::addColumn<int>("frame");
        QTest::addColumn<bool>("olderPointOfB");
        QTest::newRow("every point shown") << twoObjects(1) << 2 << true;
        QTest::newRow("the frame's points only, another frame") << twoObjects(0) << 2 << false;
        QTest::newRow("the frame's points only, its frame") << twoObjects(0) << 0 << true;
    }
    void painted()
    {
        QFETCH(MeasurementState, state);
        QFETCH(int, frame);
        QFETCH(bool, olderPointOfB);
        const QImage image = paintedOver(state, frame);
        const QColor blue = objects::ink(1);
        QVERIFY(inkAround(image, QPoint(400, 100), blue)); // Ｂ's newest, always
        QCOMPARE(inkAround(image, QPoint(300, 100), blue), olderPointOfB);
        // Each newest point carries its letter, Ａ's in black.
        QVERIFY(inkAround(
            image, objects::letterPosition(QPointF(400, 100)).toPoint() + QPoint(7, 7), blue));
        QVERIFY(inkAround(
            image, objects::letterPosition(QPointF(120, 100)).toPoint() + QPoint(7, 7), Qt::black));
    }
    void oneObjectPaintsNothing()
    {
        MeasurementState state = twoObjects(1);
        objects::clearOthers(state);
        QImage blank(640, 480, QImage::Format_RGB32);
        blank.fill(Qt::white);
        QCOMPARE(paintedOver(state, 0), blank);
    }
};

QTEST_MAIN(TestObjectMarkers)
#include "tst_object_markers.moc"
