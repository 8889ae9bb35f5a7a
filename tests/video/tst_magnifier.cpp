// The magnifier's picture: the video's own pixels, each a block of zoom x
// zoom, around the place a click plots; where it stands; the wheel's zooms.

#include "video/magnifier.h"

#include <QtTest>

namespace {

// Every pixel of a full HD frame different from its neighbours.
QImage patternFrame(QSize size)
{
    QImage frame(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            frame.setPixel(x, y, qRgb(x & 255, y & 255, ((x >> 8) << 4) | (y >> 8)));
    return frame;
}

int floorDiv(int a, int b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

} // namespace

class TestMagnifier : public QObject
{
    Q_OBJECT
private slots:
    void blocksOfTheFramesOwnPixels_data()
    {
        QTest::addColumn<QSize>("frameSize");
        QTest::addColumn<QPointF>("aim"); // preview point on a 640 x 360 preview
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QPoint>("centrePixel"); // frame pixel in the square's middle
        QTest::addColumn<int>("blockStart");     // first column and row of its block

        // 1080p: a preview pixel is 3 x 3 video pixels, and its middle one
        // is what a click there means.
        QTest::newRow("1080p 4x") << QSize(1920, 1080) << QPointF(100, 50) << 4 << QPoint(301, 151)
                                  << 78;
        QTest::newRow("1080p 2x") << QSize(1920, 1080) << QPointF(100, 50) << 2 << QPoint(301, 151)
                                  << 79;
        QTest::newRow("1080p 8x") << QSize(1920, 1080) << QPointF(100, 50) << 8 << QPoint(301, 151)
                                  << 76;
        // 720p: the aimed place is the corner between four video pixels.
        QTest::newRow("720p 4x") << QSize(1280, 720) << QPointF(10, 20) << 4 << QPoint(21, 41)
                                 << 80;
        // At the frame's edge the square reaches beyond it.
        QTest::newRow("top left corner")
            << QSize(1920, 1080) << QPointF(0, 0) << 4 << QPoint(1, 1) << 78;
        QTest::newRow("bottom right corner")
            << QSize(1920, 1080) << QPointF(639, 359) << 4 << QPoint(1918, 1078) << 78;
    }
    void blocksOfTheFramesOwnPixels()
    {
        QFETCH(QSize, frameSize);
        QFETCH(QPointF, aim);
        QFETCH(int, zoom);
        QFETCH(QPoint, centrePixel);
        QFETCH(int, blockStart);

        const QImage frame = patternFrame(frameSize);
        const QPointF spot = magnifier::frameSpot(aim, QSize(640, 360), frameSize);
        const QImage square = magnifier::magnified(frame, spot, zoom);
        QCOMPARE(square.size(), QSize(magnifier::Side, magnifier::Side));
        // The middle pixel is the aimed one, where the cross points.
        QCOMPARE(QColor(square.pixel(magnifier::Side / 2, magnifier::Side / 2)),
                 QColor(frame.pixel(centrePixel)));

        int outside = 0;
        for (int j = 0; j < square.height(); ++j) {
            for (int i = 0; i < square.width(); ++i) {
                const QPoint from(centrePixel.x() + floorDiv(i - blockStart, zoom),
                                  centrePixel.y() + floorDiv(j - blockStart, zoom));
                const QColor expected =
                    frame.rect().contains(from) ? QColor(frame.pixel(from)) : magnifier::Outside;
                outside += !frame.rect().contains(from);
                if (QColor(square.pixel(i, j)) != expected)
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(i).arg(j)));
            }
        }
        const bool atEdge = QTest::currentDataTag() == QByteArray("top left corner") ||
                            QTest::currentDataTag() == QByteArray("bottom right corner");
        QCOMPARE(outside > 0, atEdge);
    }

    void noFrameShowsOnlyTheGround()
    {
        const QImage square = magnifier::magnified(QImage(), QPointF(10, 10), 4);
        QCOMPARE(QColor(square.pixel(80, 80)), magnifier::Outside);
    }

    void standsAwayFromThePointer_data()
    {
        QTest::addColumn<QPointF>("pointer");
        QTest::addColumn<QPoint>("topLeft");
        QTest::newRow("top left") << QPointF(10, 10) << QPoint(440, 160);
        QTest::newRow("top right") << QPointF(630, 10) << QPoint(0, 160);
        QTest::newRow("bottom left") << QPointF(10, 350) << QPoint(440, 0);
        QTest::newRow("bottom right") << QPointF(630, 350) << QPoint(0, 0);
    }
    void standsAwayFromThePointer()
    {
        QFETCH(QPointF, pointer);
        QFETCH(QPoint, topLeft);
        const QRect box = magnifier::placement(QSize(640, 360), QSize(200, 200), pointer);
        QCOMPARE(box.topLeft(), topLeft);
        QVERIFY(!box.contains(pointer.toPoint()));
    }

    void wheelStepsBetweenTwoAndEight()
    {
        QCOMPARE(magnifier::zoomAfter(4, true), 8);
        QCOMPARE(magnifier::zoomAfter(8, true), 8);
        QCOMPARE(magnifier::zoomAfter(4, false), 2);
        QCOMPARE(magnifier::zoomAfter(2, false), 2);
    }
};

QTEST_GUILESS_MAIN(TestMagnifier)
#include "tst_magnifier.moc"
