// The strobe picture on plain pictures: the median, the copies at their
// places on a clean background with no hand left over, the camera's shake
// taken out, the later copy on top, and the time step's words.

#include "base/measurement_state.h"
#include "plotted_measurement.h"
#include "results/strobe_builder.h"
#include "results/strobe_picture.h"
#include "strobe_scene.h"

#include <QtTest>
#include <algorithm>
#include <cmath>
#include <opencv2/imgproc.hpp>
#include <random>

using namespace strobe;

class tst_strobe_composition : public QObject
{
    Q_OBJECT
private slots:
    void median_data();
    void median();
    void picture_data();
    void picture();
    void laterCopyOnTop();
    void timeStep_data();
    void timeStep();
};

void tst_strobe_composition::median_data()
{
    QTest::addColumn<int>("count");
    for (int n : {1, 2, 3, 4, 7, 11, 15})
        QTest::addRow("%d pictures", n) << n;
}

void tst_strobe_composition::median()
{
    QFETCH(int, count);
    std::mt19937 random(count);
    std::vector<cv::Mat> pictures;
    for (int i = 0; i < count; ++i) {
        cv::Mat m(5, 7, CV_8UC3);
        cv::randu(m, 0, 256);
        pictures.push_back(m);
    }
    const cv::Mat median = medianPicture(pictures);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            for (int c = 0; c < 3; ++c) {
                std::vector<int> v;
                for (const cv::Mat &m : pictures)
                    v.push_back(m.at<cv::Vec3b>(y, x)[c]);
                std::sort(v.begin(), v.end());
                QCOMPARE(int(median.at<cv::Vec3b>(y, x)[c]), v[(count - 1) / 2]);
            }
}

void tst_strobe_composition::picture_data()
{
    QTest::addColumn<QSize>("videoSize");
    QTest::addColumn<bool>("shaking");
    QTest::addRow("still camera") << QSize(640, 480) << false;
    QTest::addRow("shaking camera") << QSize(640, 480) << true;
    // Two picture pixels to a preview pixel: the points convert as clicks do.
    QTest::addRow("twice the preview, shaking") << QSize(1280, 960) << true;
}

// The scene's ball on every other frame from frame 2 on, plotted as a student
// would: whole preview pixels, with camera-shake correction the object and a
// fixed reference point (the corner of the wall's grid at (115, 85)).
void tst_strobe_composition::picture()
{
    QFETCH(QSize, videoSize);
    QFETCH(bool, shaking);
    StrobeScene scene;
    scene.size = videoSize;
    const int scale = videoSize.width() / 640;
    if (shaking)
        scene.shake = [scale](int f) {
            return QPoint(scale * ((f * 7) % 9 - 4), scale * ((f * 5) % 7 - 3));
        };
    const QSize preview(640, 480);
    const auto toPreview = [&](QPointF p) {
        return QPoint(qRound((p.x() + 0.5) / scale - 0.5), qRound((p.y() + 0.5) / scale - 0.5));
    };
    std::vector<::PlottedPoint> points;
    const QPoint firstRef = toPreview(QPointF(115, 85) + QPointF(scene.shakeAt(2)));
    for (int f = 2; f < 36; f += 2) {
        const QPoint ref = toPreview(QPointF(115, 85) + QPointF(scene.shakeAt(f)));
        const QPoint at = toPreview(scene.centre(f)) - (shaking ? ref - firstRef : QPoint());
        points.push_back({f, at.x(), at.y(), shaking ? ref.x() : 0, shaking ? ref.y() : 0});
    }
    const MeasurementState measurement = plottedMeasurement(points);
    Plan plan = planOf(measurement, shaking, preview);
    plan.videoPath = QStringLiteral("scene");
    Builder builder(plan, std::make_unique<SceneFrameSource>(scene));
    QVERIFY(builder.waitUntilFinished(60000));
    const Material *material = builder.material();
    QVERIFY(material);
    QCOMPARE(material->pictureSize, videoSize);

    Choices choices;
    choices.every = 2; // copies apart, so that each can be measured alone
    const cv::Mat picture = toMat(strobePicture(plan, *material, choices));
    // The scene as the first plotted frame's camera saw it.
    const QPoint first = scene.shakeAt(2);
    const cv::Mat clean =
        alignedRegion(toMat(scene.wall()), cv::Rect(0, 0, videoSize.width(), videoSize.height()),
                      -cv::Point(first.x(), first.y()));
    cv::Mat diff;
    cv::absdiff(picture, clean, diff);
    cv::cvtColor(diff, diff, cv::COLOR_RGB2GRAY);

    cv::Mat away(diff.size(), CV_8U, cv::Scalar(255));
    const int edge = 5 * scale; // beyond the shaking camera's view
    away(cv::Rect(0, 0, away.cols, edge)) = 0;
    away(cv::Rect(0, away.rows - edge, away.cols, edge)) = 0;
    away(cv::Rect(0, 0, edge, away.rows)) = 0;
    away(cv::Rect(away.cols - edge, 0, edge, away.rows)) = 0;
    away(cv::Rect(0, 0, 120 * scale, 32 * scale)) = 0; // the time step
    for (const ::PlottedPoint &p : points) {
        const bool copied = ((p.frame - 2) / 2) % 2 == 0;
        const QPointF truth = scene.path(p.frame) + QPointF(first);
        cv::circle(away, cv::Point(qRound(truth.x()), qRound(truth.y())),
                   int(material->discRadius + 2), cv::Scalar(0), cv::FILLED);
        if (!copied)
            continue;
        // The copy's centre: the centre of its difference from the wall.
        const int r = int(scene.radius + 4);
        const cv::Rect box(qRound(truth.x()) - r, qRound(truth.y()) - r, 2 * r + 1, 2 * r + 1);
        const cv::Moments m = cv::moments(diff(box));
        QVERIFY2(m.m00 > 0, qPrintable(QString("no copy on frame %1").arg(p.frame)));
        const QPointF found(box.x + m.m10 / m.m00, box.y + m.m01 / m.m00);
        QVERIFY2(std::hypot(found.x() - truth.x(), found.y() - truth.y()) <= 1.0,
                 qPrintable(QString("frame %1: copy at (%2, %3), ball at (%4, %5)")
                                .arg(p.frame)
                                .arg(found.x())
                                .arg(found.y())
                                .arg(truth.x())
                                .arg(truth.y())));
    }
    // Away from the copies: the clean wall, and no pixel of the hand.
    QVERIFY2(cv::mean(diff, away)[0] < 1.0, qPrintable(QString::number(cv::mean(diff, away)[0])));
    cv::Mat stray = (diff > 40) & away;
    const cv::Rect where = cv::boundingRect(stray);
    QVERIFY2(cv::countNonZero(stray) == 0, qPrintable(QString("stray pixels in (%1, %2) %3 x %4")
                                                          .arg(where.x)
                                                          .arg(where.y)
                                                          .arg(where.width)
                                                          .arg(where.height)));
}

void tst_strobe_composition::laterCopyOnTop()
{
    const cv::Mat background(60, 80, CV_8UC3, cv::Scalar(50, 50, 50));
    std::vector<Cutout> cutouts;
    for (const auto &[x, colour] :
         {std::pair{30, cv::Scalar(250, 0, 0)}, std::pair{40, cv::Scalar(0, 0, 250)}}) {
        cv::Mat frame = background.clone();
        cv::circle(frame, cv::Point(x, 30), 8, colour, cv::FILLED);
        Cutout c;
        c.origin = cv::Point(x - 20, 10);
        c.centre = cv::Point2d(x, 30);
        c.region = alignedRegion(frame, cv::Rect(c.origin, cv::Size(41, 41)));
        cutouts.push_back(c);
    }
    const double disc = discRadiusFor(objectReach(background, cutouts), 0.5);
    QVERIFY(disc > 8 && disc < 14);
    const cv::Vec3b overlap(0, 0, 250);
    QCOMPARE(compose(background, {&cutouts[0], &cutouts[1]}, disc).at<cv::Vec3b>(30, 35), overlap);
    QCOMPARE(compose(background, {&cutouts[1], &cutouts[0]}, disc).at<cv::Vec3b>(30, 35),
             cv::Vec3b(250, 0, 0));
    // Outside both objects, within the discs: the background.
    QCOMPARE(compose(background, {&cutouts[0], &cutouts[1]}, disc).at<cv::Vec3b>(30, 50),
             cv::Vec3b(50, 50, 50));
}

void tst_strobe_composition::timeStep_data()
{
    QTest::addColumn<QList<int>>("frames");
    QTest::addColumn<double>("rate");
    QTest::addColumn<QString>("text");
    QTest::addRow("every third at 30") << QList<int>{6, 9, 12, 15} << 30.0 << "0.10秒ごと";
    QTest::addRow("every frame at 60") << QList<int>{0, 1, 2} << 60.0 << "1/60秒ごと";
    QTest::addRow("every other at 60") << QList<int>{0, 2, 4} << 60.0 << "1/30秒ごと";
    QTest::addRow("every fifth at 25") << QList<int>{0, 5, 10} << 25.0 << "0.20秒ごと";
    QTest::addRow("NTSC") << QList<int>{0, 1, 2} << 29.97 << "0.0334秒ごと";
    QTest::addRow("one left out") << QList<int>{3, 6, 12, 15} << 30.0 << "0.10秒ごと";
    QTest::addRow("uneven") << QList<int>{3, 6, 10} << 30.0 << "";
    QTest::addRow("one copy") << QList<int>{3} << 30.0 << "";
}

void tst_strobe_composition::timeStep()
{
    QFETCH(QList<int>, frames);
    QFETCH(double, rate);
    QFETCH(QString, text);
    std::vector<strobe::PlottedPoint> points(size_t(frames.size()));
    std::vector<const strobe::PlottedPoint *> chosen;
    for (int i = 0; i < frames.size(); ++i) {
        points[size_t(i)].frame = frames[i];
        chosen.push_back(&points[size_t(i)]);
    }
    QCOMPARE(timeStepText(chosen, rate), text);
}

// The time step is written with a font: a GUI application.
QTEST_MAIN(tst_strobe_composition)
#include "tst_strobe_composition.moc"
