// The axes setting and the position window through the main window: the
// two clicks, Esc, a click on the origin's pixel, the reset and the axes in
// the recovery file; the window opening and refusing as the speed window
// does, a fit over columns chosen in the table, the copy, the export and
// the teacher's setting; and a pendulum's period, a slope's acceleration
// and a throw's g measured from clips, clicked and tracked.

#include "app/frmMain.h"
#include "ball_scene.h"
#include "base/app_paths.h"
#include "base/measurement_state.h"
#include "clip_maker.h"
#include "datafile/recovery_file.h"
#include "digitize/axes_setting.h"
#include "recording_platform.h"
#include "results/frmResult4.h"
#include "results/result_table_widget.h"
#include "results/results_part.h"
#include "video/preview_widget.h"
#include "video/video_part.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

using namespace results;

namespace {

// Eight points three frames apart at 30 a second, 10 pixels to 1 cm:
// x = 10 t cm... along a parabola in y.
void plotExample()
{
    MeasurementState &s = measurementState();
    s.FrameRate = 30;
    s.RefLengthPixels = 10;
    s.RefLengthValue = 1;
    s.LengthUnit = QStringLiteral("cm");
    for (int r = 1; r <= 8; ++r) {
        const int f = r - 1;
        s.PointTable[r][0] = r;
        s.PointTable[r][1] = 3 * f;
        s.PointTable[r][2] = 100 + 10 * f;
        s.PointTable[r][3] = 200 - 30 * f + 3 * f * f;
    }
    s.PointCount = 8;
}

// The largest change of a fitted parameter when every value may be off by
// up to `width` in a band of that width: the fit is linear in the values
// and the parameter's weights add up to 0, so it is half the width times
// the sum of the weights' sizes.
double parameterBound(FitModel model, int parameter, const std::vector<double> &t, double width)
{
    double sum = 0;
    for (size_t i = 0; i < t.size(); ++i) {
        std::vector<double> unit(t.size(), 0.0);
        unit[i] = 1;
        sum += std::abs(fitMotion(model, t, unit).parameters[size_t(parameter)]);
    }
    return width / 2 * sum;
}

} // namespace

class tst_frmResult4 : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestPlatform> m_platform;
    std::unique_ptr<frmMain> m_main;

    frmMain &w() { return *m_main; }
    frmResult4 *window()
    {
        return qobject_cast<frmResult4 *>(w().results().positionWindow().data());
    }
    bool settled()
    {
        return QTest::qWaitFor(
            [this] {
                return w().state().InputPauseOver && !measurementState().FrameRefreshPending;
            },
            3000);
    }
    void click(QPointF at)
    {
        const QPoint pixel(int(std::floor(at.x())), int(std::floor(at.y())));
        QTest::mouseClick(w().picPreview, Qt::LeftButton, {}, pixel);
    }
    void openClip(const BallScene &scene, const QString &name)
    {
        const QString clip = motionJpegClip(name, scene);
        QVERIFY2(!clip.isEmpty(), qPrintable(ClipMaker::lastError()));
        QVERIFY(w().video().openVideoFile(clip));
        QVERIFY(settled());
    }
    void setAxes(QPointF origin, QPointF xPoint)
    {
        QVERIFY(settled());
        QVERIFY(w().cmdAxes->isEnabled());
        w().cmdAxes->click();
        click(origin);
        click(xPoint);
        QVERIFY(settled());
        QVERIFY(measurementState().Axes.set);
    }

private slots:
    void init()
    {
        m_platform = std::make_unique<TestPlatform>();
        m_main = std::make_unique<frmMain>();
    }
    void cleanup()
    {
        m_main.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_platform.reset();
    }

    void axesAreSetByTwoClicks()
    {
        w().show();
        QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
        openClip(thrownBall(), QStringLiteral("tracking_thrown"));
        measurementState().ClickAction = 0;
        QCOMPARE(w().cmdAxes->text(), QStringLiteral("座標軸"));
        QCOMPARE(w().lblAxes->text(),
                 QStringLiteral("原点は最初の打点、x軸は右向き、y軸は上向きです"));
        QVERIFY(!w().mnuSystemAxesReset->isEnabled());

        // Esc ends the setting: nothing is set, nothing plotted.
        w().mnuSystemAxes->trigger();
        QVERIFY(w().lblAxes->text().contains(QStringLiteral("原点をクリック")));
        QVERIFY(!w().cmdLength->isEnabled() && !w().ctrlSlider->isEnabled());
        click({100, 300});
        QVERIFY(w().lblAxes->text().contains(QStringLiteral("x軸の正の向き")));
        QTest::keyClick(m_main.get(), Qt::Key_Escape);
        QVERIFY(!w().state().axesSetting());
        QVERIFY(!measurementState().Axes.set);
        QCOMPARE(int(measurementState().PointCount), 0);
        QVERIFY(w().cmdLength->isEnabled());

        // The second click on the origin's pixel is refused and waits for another.
        w().cmdAxes->click();
        click({100.2, 300.7});
        QVERIFY(settled());
        click({100.8, 300.1});
        QCOMPARE(m_platform->prompts->texts(), QStringList{AxesSetting::samePixelMessage()});
        QCOMPARE(w().state().AxesSettingMode, AxesPhase::XPoint);
        click({200, 358});
        QVERIFY(settled());
        QCOMPARE(measurementState().Axes.origin, QPointF(100, 300));
        QCOMPARE(measurementState().Axes.xPoint, QPointF(200, 358));
        QCOMPARE(int(measurementState().PointCount), 0);
        QCOMPARE(w().lblAxes->text(), QStringLiteral("x軸の傾き　-30.1°"));
        QCOMPARE(w().cmdAxes->text(), QStringLiteral("座標軸"));

        // The axes are drawn over the picture: blue-ish pixels along them.
        const QImage picture = w().picPreview->renderedPicture();
        const QColor along = picture.pixelColor(picture.devicePixelRatio() * QPoint(150, 329));
        QVERIFY2(along.blue() > 200 && along.red() < 100, qPrintable(along.name()));

        // The recovery file keeps them; a file without them gives the default.
        recovery::Snapshot snapshot = recovery::snapshotOf(measurementState(), true);
        snapshot.pointCount = 1;
        snapshot.rows = {datafile::PointRow{1, 0, 10, 10, 0, 0}};
        const recovery::Read back = recovery::decode(recovery::encode(snapshot));
        QVERIFY2(back.ok, qPrintable(back.error));
        QCOMPARE(back.snapshot.axes, measurementState().Axes);
        QVERIFY(recovery::encode(snapshot).contains("\naxes 100 300 200 358\npoints 1\n"));
        MeasurementState restored;
        recovery::apply(back.snapshot, restored);
        QCOMPARE(restored.Axes, measurementState().Axes);
        snapshot.axes = CoordinateAxes{};
        QVERIFY(!recovery::encode(snapshot).contains("axes"));
        QVERIFY(recovery::decode(recovery::encode(snapshot)).ok);

        // "座標軸を元に戻す".
        QVERIFY(w().mnuSystemAxesReset->isEnabled());
        w().mnuSystemAxesReset->trigger();
        QVERIFY(!measurementState().Axes.set);
        QVERIFY(!w().mnuSystemAxesReset->isEnabled());
    }

    void refusesAsTheSpeedWindowDoes_data()
    {
        QTest::addColumn<QString>("lengthText");
        QTest::addColumn<float>("refPixels");
        QTest::addColumn<int>("points");
        QTest::newRow("no length") << "" << 10.0f << 8;
        QTest::newRow("no reference points") << "1" << 0.0f << 8;
        QTest::newRow("two points") << "1" << 10.0f << 2;
    }

    void refusesAsTheSpeedWindowDoes()
    {
        QFETCH(QString, lengthText);
        QFETCH(float, refPixels);
        QFETCH(int, points);
        plotExample();
        measurementState().PointCount = qint16(points);
        measurementState().RefLengthPixels = refPixels;
        w().txtLengthValue->setText(lengthText);
        w().cmdSpd->click();
        const QStringList speed = m_platform->prompts->texts();
        m_platform->prompts->shown.clear();
        w().cmdPos->click();
        QCOMPARE(speed.size(), 1);
        QCOMPARE(m_platform->prompts->texts(), speed);
        QVERIFY(!window());
    }

    void fitsTheColumnsChosenInTheTable()
    {
        QCOMPARE(w().mnuViewResult4->text(), QStringLiteral("位置と時間(&P)"));
        QCOMPARE(w().cmdPos->text(), QStringLiteral("位置"));
        plotExample();
        w().txtLengthValue->setText(QStringLiteral("1"));
        w().mnuViewResult4->trigger();
        frmResult4 *r = window();
        QVERIFY(r && r->isVisible());
        QCOMPARE(r->windowTitle(), QStringLiteral("キネモ　－結果表示　位置と時間－"));
        const ResultTableWidget *t = r->Picture1;
        QCOMPARE((QStringList{t->Label5->text(), t->Label7->text(), t->Label14->text(),
                              t->Labelx[2]->text(), t->Labely[2]->text(), t->Labelz[2]->text()}),
                 (QStringList{"時　間 (秒)", "x (cm)", "y (cm)", "0.200", "2.0", "4.8"}));
        QVERIFY(r->summary().startsWith(QStringLiteral("  「近似」")));

        // Press on the third column, shift-press on the seventh: rows 2..6.
        r->cmbFitX->setCurrentIndex(1);
        r->cmbFitY->setCurrentIndex(2);
        QTest::mouseClick(r->Picture1->Labelx[2], Qt::LeftButton);
        QCOMPARE(r->selection(), (std::pair{2, 2}));
        QTest::mouseClick(r->Picture1->Labelz[6], Qt::LeftButton, Qt::ShiftModifier);
        QCOMPARE(r->selection(), (std::pair{2, 6}));
        QCOMPARE(r->fits().x.firstTime, 0.2);
        QCOMPARE(r->fits().y.lastTime, 0.6);
        QCOMPARE(r->summary(), QStringLiteral("  0.200秒から0.600秒までの打点で近似しました。\r\n"
                                              " x = 10.0 t + 0\r\n"
                                              "  速度は　10.0　cm/秒（±0）です。\r\n"
                                              " y = -30.0 t² + 30.0 t + 0\r\n"
                                              "  加速度は　-60.0　cm/秒²（±0）です。"));
        QVERIFY(r->Picture1->Labely[4]->autoFillBackground());
        QVERIFY(!r->Picture1->Labely[7]->autoFillBackground());
        // The fitted curve is drawn over the chosen range only.
        const ComponentGraph &g = r->scales().graph();
        QVERIFY(g.horizontalLine && !g.verticalCurve.isEmpty());
        QCOMPARE(g.horizontalLine->p1().x(), g.horizontal[2].x());
        QCOMPARE(g.verticalCurve.last().x(), g.vertical[6].x());
        // A press beside the columns fits every point again.
        QTest::mouseClick(r->Picture1, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!r->selection());
        QCOMPARE(r->fits().x.lastTime, 0.7);
        // Too few points for a sine.
        r->selectRows(0, 4);
        r->cmbFitX->setCurrentIndex(3);
        QVERIFY(r->summary().contains(QStringLiteral("  この近似には、打点がもっと必要です。")));

        // Copy and export as the components window does.
        r->mnuEditCopy->trigger();
        QStringList lines = m_platform->clipboard->text.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 10);
        QCOMPARE(lines[0], QStringLiteral("時　間 (秒)\tx (cm)\ty (cm)"));
        QCOMPARE(lines[2], QStringLiteral("0.1\t1.0\t2.7"));
        QTemporaryDir dir;
        const QString table = dir.filePath(QStringLiteral("表.csv"));
        m_platform->fileDialogs->saveNames.enqueue(table);
        r->mnuFileExport->trigger();
        QFile file(table);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray head =
            QStringEncoder("CP932")(QStringLiteral("時　間 (秒),x (cm),y (cm)\r\n0,0.0,0.0\r\n"));
        QVERIFY(file.readAll().startsWith(head));
    }

    void teachersSettingHidesTheCommand()
    {
        m_main.reset();
        QFile file(settingsFilePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("qz47\r\n 0\r\n 0\r\n 0\r\n 0\r\n 1\r\n 1\r\n 0\r\n 0\r\n 1\r\n");
        file.close();
        m_main = std::make_unique<frmMain>();
        QVERIFY(w().cmdPos->isHidden());
        QVERIFY(!w().mnuViewResult4->isEnabled());
        QVERIFY(!w().cmdCmp->isHidden());
        QFile::remove(settingsFilePath());
    }

    // The README's walkthrough on the pendulum sample clip: the length from
    // the ruler's end marks, the ball tracked, 振動 for x.
    void sampleClipGivesThePendulumsPeriod()
    {
        w().show();
        QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
        QVERIFY(w().video().openVideoFile(QStringLiteral(KINEMO_PENDULUM_CLIP)));
        QVERIFY(settled());
        w().cmdLength->click();
        click({50.5, 80.5});
        click({50.5, 440.5});
        QTest::keyClicks(w().txtLengthValue, QStringLiteral("100"));
        w().cmdLength->click();
        QVERIFY(settled());
        QCOMPARE(measurementState().RefLengthPixels, 360.0f);
        w().txtRate->setText(QStringLiteral("2"));
        click({442.5, 394.5}); // the ball, let go 10° to the right
        QVERIFY(settled());
        w().cmdTrack->click();
        QVERIFY(QTest::qWaitFor([this] { return !w().state().Tracking; }, 120000));
        QVERIFY(measurementState().PointCount > 80);
        w().cmdPos->click();
        QVERIFY(window());
        window()->cmbFitX->setCurrentIndex(3);
        const MotionFit &x = window()->fits().x;
        const double small = 2 * M_PI * std::sqrt(1.0 / 9.8);
        const QString report = QStringLiteral("T %1 ± %2, 2π√(L/g) %3; amplitude %4 cm")
                                   .arg(x.parameters[1])
                                   .arg(x.errors[1])
                                   .arg(small)
                                   .arg(x.parameters[0]);
        qInfo("%s", qPrintable(report));
        QVERIFY2(std::abs(x.parameters[1] / small - 1) < 0.01, qPrintable(report));
        QVERIFY(window()->summary().contains(QStringLiteral("  周期は　2.01　秒")));
    }

    void measures_data()
    {
        QTest::addColumn<QString>("lesson");
        QTest::addColumn<bool>("tracked");
        for (const char *lesson : {"pendulum", "slope", "throw"})
            for (bool tracked : {false, true})
                QTest::addRow("%s, %s", lesson, tracked ? "tracked" : "clicked")
                    << QString::fromLatin1(lesson) << tracked;
    }

    void measures()
    {
        QFETCH(QString, lesson);
        QFETCH(bool, tracked);
        w().show();
        QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
        measurementState().ClickAction = tracked ? 1 : 0;

        // 400 pixels are 100 cm (360 are 980 cm for the throw).
        BallScene scene;
        scene.size = {640, 480};
        scene.framesPerSecond = 30;
        scene.noise = 3;
        double refPixels = 400, refValue = 100;
        const double g = 980, a = g * std::sin(20 * M_PI / 180);
        const double period = 2 * M_PI * std::sqrt(50 / g); // a pendulum of 50 cm
        int step = 3;
        if (lesson == QLatin1String("pendulum")) {
            // Hung at (320, 40), swinging 15° either way, three periods.
            scene.frames = int(3 * period * 30);
            scene.path = [period](double t) {
                const double angle = 15 * M_PI / 180 * std::cos(2 * M_PI * t / period);
                return QPointF(320.3 + 200 * std::sin(angle), 40.2 + 200 * std::cos(angle));
            };
            step = 2;
        } else if (lesson == QLatin1String("slope")) {
            // From rest down a 20° slope, 0.9 s.
            scene.frames = 28;
            scene.path = [a](double t) {
                const double s = 4 * a * t * t / 2;
                return QPointF(60.4, 100.3) +
                       s * QPointF(std::cos(20 * M_PI / 180), std::sin(20 * M_PI / 180));
            };
            step = 1;
        } else {
            scene = thrownBall();
            refPixels = 360;
            refValue = 980;
            step = 2;
        }
        openClip(scene, QStringLiteral("position_") + lesson);
        measurementState().RefLengthPixels = float(refPixels);
        measurementState().RefLengthValue = qint16(refValue);
        measurementState().LengthUnit = QStringLiteral("cm");
        w().txtLengthValue->setText(QString::number(refValue));
        auto truth = [&scene](int f) { return scene.centre(f); };

        if (tracked) {
            w().txtRate->setText(QString::number(step));
            click(truth(0));
            QVERIFY(settled());
            w().cmdTrack->click();
            QVERIFY(QTest::qWaitFor([this] { return !w().state().Tracking; }, 120000));
        } else {
            for (int f = 0; f < scene.frames; f += step) {
                w().ctrlSlider->setValue(f);
                QVERIFY(settled());
                click(truth(f));
            }
        }
        const int points = measurementState().PointCount;
        QVERIFY2(points >= 10, qPrintable(QString::number(points)));
        if (lesson == QLatin1String("slope"))
            setAxes(truth(0),
                    truth(0) + 300 * QPointF(std::cos(20 * M_PI / 180), std::sin(20 * M_PI / 180)));

        w().cmdPos->click();
        frmResult4 *r = window();
        QVERIFY(r);
        std::vector<double> t;
        for (const PositionRow &row : r->results().rows)
            t.push_back(row.time);
        // Clicked positions are within one pixel band; tracked ones within two.
        const double unitsPerPixel = refValue / refPixels * (tracked ? 2 : 1);
        QString report;
        if (lesson == QLatin1String("pendulum")) {
            r->cmbFitX->setCurrentIndex(3);
            const MotionFit &x = r->fits().x;
            QVERIFY(x.valid);
            report = QStringLiteral("T %1 ± %2, truth %3")
                         .arg(x.parameters[1])
                         .arg(x.errors[1])
                         .arg(period);
            QVERIFY2(std::abs(x.parameters[1] / period - 1) < 0.01, qPrintable(report));
        } else if (lesson == QLatin1String("slope")) {
            r->cmbFitX->setCurrentIndex(2);
            r->cmbFitY->setCurrentIndex(2);
            const MotionFit &x = r->fits().x, &y = r->fits().y;
            // Along rotated axes a pixel's error is up to cos + sin of the
            // angle along each; the clicked axes are off by a fraction of a
            // degree, which turns a little of the acceleration across.
            const CoordinateAxes &axes = measurementState().Axes;
            const double angleOff = std::abs(xAxisAngle(axes) + 20) * M_PI / 180;
            const double spread = std::cos(20 * M_PI / 180) + std::sin(20 * M_PI / 180);
            const double bound =
                2 * parameterBound(FitModel::Parabola, 0, t, unitsPerPixel * spread);
            report = QStringLiteral("ax %1 ± %2, ay %3 ± %4, truth %5, bound %6")
                         .arg(2 * x.parameters[0])
                         .arg(2 * x.errors[0])
                         .arg(2 * y.parameters[0])
                         .arg(2 * y.errors[0])
                         .arg(a)
                         .arg(bound);
            QVERIFY2(std::abs(2 * x.parameters[0] - a) <= bound + a * angleOff, qPrintable(report));
            QVERIFY2(std::abs(2 * y.parameters[0]) <= bound + a * angleOff, qPrintable(report));
        } else {
            r->cmbFitX->setCurrentIndex(1);
            r->cmbFitY->setCurrentIndex(2);
            const MotionFit &x = r->fits().x, &y = r->fits().y;
            const double vx = 300 * refValue / refPixels;
            const double gBound = 2 * parameterBound(FitModel::Parabola, 0, t, unitsPerPixel);
            const double vBound = parameterBound(FitModel::Line, 0, t, unitsPerPixel);
            report = QStringLiteral("vx %1 (truth %2, bound %3), ay %4 ± %5 (bound %6)")
                         .arg(x.parameters[0])
                         .arg(vx)
                         .arg(vBound)
                         .arg(2 * y.parameters[0])
                         .arg(2 * y.errors[0])
                         .arg(gBound);
            QVERIFY2(std::abs(2 * y.parameters[0] + g) <= gBound, qPrintable(report));
            QVERIFY2(std::abs(x.parameters[0] - vx) <= vBound, qPrintable(report));
        }
        qInfo("%s, %d points: %s", qPrintable(lesson), points, qPrintable(report));
    }
};

QTEST_MAIN(tst_frmResult4)
#include "tst_frmResult4.moc"
