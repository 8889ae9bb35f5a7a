// The pieces of automatic tracking on plain images: the motion model's
// predictions and the room it leaves, the weighted centre of a blob and the
// background as a median, the object tracker refusing what is not the
// object (a still look-alike, a spot the object left, two places alike) and
// the look anchored to the object as clicked.

#include "digitize/tracking/detection.h"
#include "digitize/tracking/motion_model.h"
#include "digitize/tracking/object_look.h"
#include "digitize/tracking/object_tracker.h"

#include <QImage>
#include <QPainter>
#include <QtTest>
#include <opencv2/imgproc.hpp>

namespace {

// A dark picture with light balls (radius 4) at the given centres (pixel
// (i, j) covering [i, i+1) x [j, j+1)).
QImage balls(const QList<QPointF> &centres)
{
    QImage image(320, 240, QImage::Format_RGB32);
    image.fill(QColor(20, 20, 25));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 230, 210));
    for (const QPointF &c : centres)
        p.drawEllipse(c, 4, 4);
    return image;
}

} // namespace

class tst_tracking_pieces : public QObject
{
    Q_OBJECT

private slots:
    void motionModelPredicts_data()
    {
        QTest::addColumn<QList<double>>("times");
        QTest::addColumn<double>("speed");
        QTest::addColumn<double>("acceleration");
        QTest::addColumn<double>("ahead");
        // Two points: constant velocity, even with an acceleration drawn in.
        QTest::newRow("two points") << QList<double>{0, 1} << 12.0 << 0.0 << 1.0;
        // Three and more: the parabola, also across frames passed over.
        QTest::newRow("three points") << QList<double>{0, 1, 2} << 12.0 << 3.0 << 1.0;
        QTest::newRow("eight points")
            << QList<double>{0, 1, 2, 3, 4, 5, 6, 7} << -20.0 << 4.0 << 1.0;
        QTest::newRow("uneven, gap of four") << QList<double>{0, 2, 3, 5, 6} << 30.0 << -2.5 << 4.0;
    }
    void motionModelPredicts()
    {
        QFETCH(QList<double>, times);
        QFETCH(double, speed);
        QFETCH(double, acceleration);
        QFETCH(double, ahead);
        const auto at = [&](double t) {
            return cv::Point2d(100 + speed * t, 50 - 0.7 * speed * t + acceleration * t * t / 2);
        };
        MotionModel model;
        for (double t : times)
            model.add(at(t), t);
        QCOMPARE(model.points(), int(times.size()));
        const double t = times.last() + ahead;
        const cv::Point2d predicted = model.predict(t);
        QVERIFY2(cv::norm(predicted - at(t)) < 0.05,
                 qPrintable(QStringLiteral("%1, %2").arg(predicted.x).arg(predicted.y)));
        // The room grows with the time predicted across.
        QVERIFY(model.spread(t) > 0);
        QVERIFY(model.spread(t + 3) > model.spread(t));
    }

    void motionModelRoomFollowsTheMisses()
    {
        // A path that keeps turning away from a parabola leaves more room
        // than a clean one.
        MotionModel clean, wobbly;
        for (int t = 0; t < 10; ++t) {
            clean.add(cv::Point2d(10 * t, t * t), t);
            wobbly.add(cv::Point2d(10 * t + (t % 2 ? 2.5 : -2.5), t * t), t);
        }
        QVERIFY(wobbly.spread(10) > clean.spread(10) + 3);
    }

    void blobCentreIsWeighted()
    {
        // A bright disc at a fractional centre and a second one nearby: the
        // blob at the seed, weighted by brightness.
        cv::Mat weights(60, 60, CV_32F, cv::Scalar(0));
        const cv::Point2d centre(20.3, 30.7);
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x) {
                const double d = std::hypot(x - centre.x, y - centre.y);
                weights.at<float>(y, x) = float(std::clamp(5.5 - d, 0.0, 1.0) * 100);
            }
        cv::circle(weights, cv::Point(45, 30), 5, cv::Scalar(100), cv::FILLED);
        const std::optional<detection::Blob> blob =
            detection::blobAt(weights, cv::Point(20, 31), 40, 5, 2);
        QVERIFY(blob);
        QVERIFY2(cv::norm(blob->centre - centre) < 0.05,
                 qPrintable(QStringLiteral("%1, %2").arg(blob->centre.x).arg(blob->centre.y)));
        QVERIFY(!blob->touchesEdge);
        QVERIFY(std::abs(blob->area - M_PI * 5 * 5) < 15);
        // Nothing within reach of the seed.
        QVERIFY(!detection::blobAt(weights, cv::Point(32, 10), 40, 5, 3));
        // Cut by the edge of the picture.
        const std::optional<detection::Blob> cut =
            detection::blobAt(weights(cv::Rect(0, 0, 48, 60)), cv::Point(45, 30), 40, 5, 1);
        QVERIFY(cut && cut->touchesEdge);
    }

    void backgroundIsTheMedian()
    {
        // The object on one of three frames, and on two of three.
        cv::Mat wall(10, 10, CV_8UC3, cv::Scalar(30, 40, 50));
        cv::Mat with = wall.clone();
        with(cv::Rect(3, 3, 4, 4)).setTo(cv::Scalar(250, 250, 250));
        QCOMPARE(cv::norm(detection::medianOf({with, wall, wall}), wall, cv::NORM_INF), 0.0);
        QCOMPARE(cv::norm(detection::medianOf({wall, with, with}), with, cv::NORM_INF), 0.0);
        QCOMPARE(cv::norm(detection::medianOf({wall, with}), wall, cv::NORM_INF), 0.0);
    }

    void followsAnObjectWithoutACentre()
    {
        // A lopsided mark on a cart moving slowly past a striped wall: no
        // blob clear of its old place, no centre of symmetry; its patch
        // places it.
        const auto frame = [](double x) {
            QImage image(320, 240, QImage::Format_RGB32);
            image.fill(QColor(150, 160, 170));
            QPainter p(&image);
            for (int stripe = 0; stripe < 320; stripe += 16)
                p.fillRect(stripe, 0, 8, 240, QColor(90, 100, 110));
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(60, 80, 140));
            p.drawRect(QRectF(x - 70, 75, 140, 90));
            p.setBrush(QColor(200, 40, 40));
            p.drawPolygon(QPolygonF{{x - 6, 114}, {x + 9, 120}, {x - 2, 127}});
            p.setBrush(QColor(250, 230, 60));
            p.drawEllipse(QPointF(x + 3, 117), 2.5, 2.5);
            return image;
        };
        ObjectTracker tracker;
        QVERIFY(tracker.start(frame(100), QSize(320, 240), QPointF(100, 120), 0));
        // The start is the clicked pixel's centre, or within it.
        std::optional<QPointF> first;
        for (int k = 1; k <= 8; ++k) {
            const ObjectTracker::Step step = tracker.follow(frame(100 + 1.5 * k), k);
            QCOMPARE(step.outcome, ObjectTracker::Outcome::Found);
            const QPointF expected(100 + 1.5 * k, 120);
            if (!first)
                first = step.position - expected;
            const QPointF off = step.position - expected;
            QVERIFY2(QLineF(off, QPointF()).length() < 0.75 && QLineF(off, *first).length() < 0.25,
                     qPrintable(QStringLiteral("%1: %2, %3").arg(k).arg(off.x()).arg(off.y())));
        }
    }

    void refusesWhatIsNotTheObject_data()
    {
        // Frames 0.. of a scene, the point clicked on frame 0, how many
        // frames are found before the rest must stay unconfirmed.
        QTest::addColumn<int>("scene");
        QTest::addColumn<int>("found");
        // A ball moving 20 pixels a frame towards a fixed ball of the same
        // look; on frame 5 it is gone, the fixed one just where it would be.
        QTest::newRow("still look-alike on the way") << 0 << 4;
        // A green mark on a dark band, clicked; then it is gone and the band
        // stays: the spot clicked changed, so it is not standing still there.
        QTest::newRow("still look-alike on the spot clicked") << 1 << 0;
        // The mark turns up twice, alike, either side of where it was.
        QTest::newRow("two equal matches") << 2 << 0;
    }
    void refusesWhatIsNotTheObject()
    {
        QFETCH(int, scene);
        QFETCH(int, found);
        const QPointF still(140.5, 120.5);
        const auto moving = [](int k) { return QPointF(40.5 + 20 * k, 120.5); };
        const auto marks = [](const QList<QPointF> &at) {
            QImage image(320, 240, QImage::Format_RGB32);
            image.fill(QColor(200, 205, 210));
            QPainter p(&image);
            p.fillRect(QRectF(0, 110, 320, 20), QColor(30, 30, 34));
            for (const QPointF &c : at)
                p.fillRect(QRectF(c.x() - 5, c.y() - 4, 10, 8), QColor(70, 200, 80));
            return image;
        };
        const auto frame = [&](int k) {
            switch (scene) {
            case 0:
                return k < 5 ? balls({moving(k), still}) : balls({still});
            case 1:
                return marks({});
            default:
                return marks(
                    {QPointF(120, 120) - QPointF(40, 0), QPointF(120, 120) + QPointF(40, 0)});
            }
        };
        ObjectTracker tracker;
        QVERIFY(tracker.start(scene == 0 ? balls({moving(0), still}) : marks({QPointF(120, 120)}),
                              QSize(320, 240), scene == 0 ? QPointF(40, 120) : QPointF(120, 120),
                              0));
        for (int k = 1; k <= found; ++k) {
            const ObjectTracker::Step step = tracker.follow(frame(k), k);
            QCOMPARE(step.outcome, ObjectTracker::Outcome::Found);
            QVERIFY(QLineF(step.position + QPointF(0.5, 0.5), moving(k)).length() < 0.3);
            QVERIFY(step.score > 0.9);
        }
        for (int k = found + 1; k <= found + 1 + ObjectTracker::MaxCoast; ++k) {
            const ObjectTracker::Step step = tracker.follow(frame(k), k);
            QCOMPARE(step.outcome, k - found - 1 < ObjectTracker::MaxCoast
                                       ? ObjectTracker::Outcome::Unconfirmed
                                       : ObjectTracker::Outcome::Lost);
        }
    }

    void anchoredLookRefusesAPatchThatSlidOff()
    {
        // A small dark mark on a plain disc's edge. A running look taken 6
        // pixels off the mark, along the edge, matches itself there
        // perfectly; the look anchored to the mark as clicked does not.
        QImage image(200, 160, QImage::Format_RGB32);
        image.fill(QColor(150, 160, 175));
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(240, 240, 236));
            p.drawEllipse(QPointF(100, 80), 40, 40);
            p.setBrush(QColor(40, 40, 40));
            p.drawEllipse(QPointF(124, 80), 2.5, 2.5);
        }
        const detection::Picture picture(image);
        ObjectLook look;
        look.start(picture.bgra, cv::Point2d(123.5, 79.5), 6, true, 0);
        QVERIFY(look.anchoredScore(picture.bgra, cv::Point2d(123.5, 79.5), 1) > 0.95);
        const cv::Point2d slid(123.5, 73.5);
        look.confirm(picture.bgra, slid, 1, nullptr, false); // not confident: not learnt
        QVERIFY(look.anchoredScore(picture.bgra, slid, 2) < ObjectTracker::MinScore);
    }
};

QTEST_MAIN(tst_tracking_pieces)
#include "tst_tracking_pieces.moc"
