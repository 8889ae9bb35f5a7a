// The components window through the main window: opening, refusing as the
// speed window does, its table and summary, copying in every result window,
// saving and exporting, the teacher's setting, closing, and g measured on
// clips of a fall and a throw from clicked and from tracked points.

#include "app/frmMain.h"
#include "ball_scene.h"
#include "base/app_paths.h"
#include "base/measurement_state.h"
#include "clip_maker.h"
#include "datafile/measurement_csv.h"
#include "recording_platform.h"
#include "results/frmResult3.h"
#include "results/result_table_widget.h"
#include "results/results_part.h"
#include "video/preview_widget.h"
#include "video/video_part.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

namespace {

// The worked example of the computation: 10 pixels are 1 unit, frames 10,
// 13, 16, 19 at 30 a second; vx 30, 30, 30 and vy 10, 1, -10.
void plotExample(const QString &unit = QStringLiteral("m"))
{
    MeasurementState &s = measurementState();
    s.FrameRate = 30;
    s.RefLengthPixels = 100;
    s.RefLengthValue = 10;
    s.LengthUnit = unit;
    const int points[4][3] = {{10, 100, 200}, {13, 130, 190}, {16, 160, 189}, {19, 190, 199}};
    for (int r = 1; r <= 4; ++r) {
        s.PointTable[r][0] = r;
        for (int c = 0; c < 3; ++c)
            s.PointTable[r][c + 1] = points[r - 1][c];
    }
    s.PointCount = 4;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The largest error of a least-squares slope through velocities worked out
// from positions that are each off by up to `width` pixels in a band of that
// width (1 for whole-pixel clicks): the slope is a weighted sum of the
// positions whose weights add up to 0, so the error is at most half the
// width times the sum of the weights' sizes.
double slopeBound(const std::vector<double> &pointTimes, double unitsPerPixel, double width)
{
    const size_t n = pointTimes.size() - 1; // intervals
    std::vector<double> mid(n), w(n);
    double mean = 0;
    for (size_t i = 0; i < n; ++i)
        mean += mid[i] = (pointTimes[i] + pointTimes[i + 1]) / 2;
    mean /= double(n);
    double stt = 0;
    for (double t : mid)
        stt += (t - mean) * (t - mean);
    for (size_t i = 0; i < n; ++i)
        w[i] = (mid[i] - mean) / stt / (pointTimes[i + 1] - pointTimes[i]);
    double sum = 0;
    for (size_t k = 0; k <= n; ++k)
        sum += std::abs((k > 0 ? w[k - 1] : 0) - (k < n ? w[k] : 0));
    return unitsPerPixel * width / 2 * sum;
}

} // namespace

class tst_frmResult3 : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestPlatform> m_platform;
    std::unique_ptr<frmMain> m_main;

    frmMain &w() { return *m_main; }
    frmResult3 *window()
    {
        return qobject_cast<frmResult3 *>(w().results().componentsWindow().data());
    }
    // The worked example, its length typed, and the components window asked for.
    frmResult3 *openExample(const QString &unit = QStringLiteral("m"))
    {
        plotExample(unit);
        w().txtLengthValue->setText(QStringLiteral("10"));
        w().cmdCmp->click();
        return window();
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
        // A click lands on the pixel holding the point.
        const QPoint pixel(int(std::floor(at.x())), int(std::floor(at.y())));
        QTest::mouseClick(w().picPreview, Qt::LeftButton, {}, pixel);
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

    void opensWithTableAndExactSummary()
    {
        QVERIFY(w().cmdCmp->isVisibleTo(&w()));
        QVERIFY(!w().cmdCmp->toolTip().isEmpty());
        QCOMPARE(w().mnuViewResult3->text(), QStringLiteral("速度の成分と加速度(&A)"));
        frmResult3 *r = openExample();
        QVERIFY(r && r->isVisible());
        QCOMPARE(r->windowTitle(), QStringLiteral("キネモ　－結果表示　速度の成分と加速度－"));
        QVERIFY(!r->Picture3->pixmap().isNull());

        const ResultTableWidget *t = r->Picture1;
        QCOMPARE((QStringList{t->Label5->text(), t->Label7->text(), t->Label14->text()}),
                 (QStringList{"時　間 (秒)", "水平 (m/秒)", "鉛直 (m/秒)"}));
        QCOMPARE((QStringList{t->Labelx[0]->text(), t->Labely[0]->text(), t->Labelz[0]->text(),
                              t->Labelz[2]->text(), t->Labelx[3]->text()}),
                 (QStringList{"0.050", "30.0", "10.0", "-10.0", ""}));
        QCOMPARE(r->summary(), QStringLiteral(" 水平方向の加速度は　0　m/秒²（±0）です。\r\n"
                                              "  鉛直方向の加速度は　-100　m/秒²（±5.8）です。\r\n"
                                              "  水平方向の速さの平均は　30.0　m/秒です。"));
    }

    void refusesAsTheSpeedWindowDoes_data()
    {
        QTest::addColumn<QString>("lengthText");
        QTest::addColumn<float>("refPixels");
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("sameFrame");
        QTest::newRow("no length") << "" << 100.0f << 4 << false;
        QTest::newRow("length not a number") << "abc" << 100.0f << 4 << false;
        QTest::newRow("no reference points") << "10" << 0.0f << 4 << false;
        QTest::newRow("two points") << "10" << 100.0f << 2 << false;
        QTest::newRow("two points on one frame") << "10" << 100.0f << 4 << true;
    }

    void refusesAsTheSpeedWindowDoes()
    {
        QFETCH(QString, lengthText);
        QFETCH(float, refPixels);
        QFETCH(int, points);
        QFETCH(bool, sameFrame);
        plotExample();
        measurementState().PointCount = qint16(points);
        measurementState().RefLengthPixels = refPixels;
        if (sameFrame)
            measurementState().PointTable[3][1] = measurementState().PointTable[2][1];
        w().txtLengthValue->setText(lengthText);

        w().cmdSpd->click();
        const QStringList speed = m_platform->prompts->texts();
        m_platform->prompts->shown.clear();
        w().cmdCmp->click();
        QCOMPARE(speed.size(), 1);
        QCOMPARE(m_platform->prompts->texts(), speed);
        QVERIFY(!w().results().componentsWindow());
    }

    void copiesEveryResultTable()
    {
        frmResult3 *r = openExample(QStringLiteral("cm"));
        QVERIFY(r);
        QString &clipboard = m_platform->clipboard->text;
        r->mnuEditCopy->trigger();
        QCOMPARE(clipboard, QStringLiteral("時　間 (秒)\t水平 (cm/秒)\t鉛直 (cm/秒)\r\n"
                                           "0.05\t30.0\t10.0\r\n"
                                           "0.15\t30.0\t1.0\r\n"
                                           "0.25\t30.0\t-10.0\r\n"));
        // The same through Ctrl+C, the 編集 menu and the table's right-click menu.
        QCOMPARE(r->mnuEditCopy->shortcut(), QKeySequence(QKeySequence::Copy));
        QVERIFY(r->mnuEdit->actions().contains(r->mnuEditCopy));
        QCOMPARE(r->Picture1->contextMenuPolicy(), Qt::ActionsContextMenu);
        QStringList menus;
        for (QAction *menu : r->menuBar()->actions())
            menus << menu->text();
        QCOMPARE(menus, (QStringList{"ファイル(&F)", "編集(&E)", "表示(&D)", "ヘルプ(&H)"}));

        // Every result window copies its own table, a row per interval (speed)
        // or per point (distance, whose first column shows "0") as the table
        // shows it; the other two keep their three menus.
        measurementState().ResultKindMode = 2;
        w().applyControlStates();
        w().cmdSpd->click();
        w().cmdDis->click();
        for (QPointer<QWidget> each :
             {w().results().componentsWindow(), w().results().speedWindow(),
              w().results().distanceWindow()}) {
            auto *window = qobject_cast<ResultWindow *>(each.data());
            QVERIFY(window);
            QVERIFY(window->Picture1->actions().contains(window->mnuEditCopy));
            if (each == r)
                continue;
            QCOMPARE(window->menuBar()->actions().size(), 3);
            clipboard.clear();
            window->mnuEditCopy->trigger();
            QStringList lines = clipboard.split(QStringLiteral("\r\n"));
            QCOMPARE(lines.takeLast(), QString());
            const bool speed = each == w().results().speedWindow();
            QCOMPARE(lines.takeFirst(), speed ? QStringLiteral("時　間 (秒)\t速　さ (cm/秒)")
                                              : QStringLiteral("時　間 (秒)\t移動距離 (cm)"));
            QCOMPARE(lines.size(), speed ? 3 : 4);
            for (int i = speed ? 0 : 1; i < lines.size(); ++i)
                QCOMPARE(lines[i].section(QLatin1Char('\t'), 1),
                         window->Picture1->Labely[i]->text());
            QCOMPARE(lines[1].section(QLatin1Char('\t'), 0, 0).toDouble(), speed ? 0.15 : 0.1);
        }
    }

    void savesTheMeasurementAndExportsTheTable()
    {
        measurementState().PointTable[2][4] = 7; // a camera-shake reference, kept by the file
        frmResult3 *r = openExample(QStringLiteral("cm"));
        QVERIFY(r);
        QCOMPARE(r->mnuFileSave->text(), QStringLiteral("データを書き込む(&S)"));
        QCOMPARE(r->mnuFileExport->text(), QStringLiteral("表をCSVで書き出す(&E)"));

        QTemporaryDir dir;
        const QString saved = dir.filePath(QStringLiteral("測定.csv"));
        const QByteArray measurement = datafile::mainWindowCsv(measurementState());
        m_platform->fileDialogs->saveNames.enqueue(saved);
        r->mnuFileSave->trigger();
        QCOMPARE(fileBytes(saved), measurement);

        const QString table = dir.filePath(QStringLiteral("表.csv"));
        m_platform->fileDialogs->saveNames.enqueue(table);
        r->mnuFileExport->trigger();
        QCOMPARE(m_platform->fileDialogs->filtersSeen.constLast(),
                 QStringLiteral("CSVファイル(*.csv)"));
        QCOMPARE(fileBytes(table), QStringEncoder("CP932")(QStringLiteral(
                                       "時　間 (秒),水平 (cm/秒),鉛直 (cm/秒)\r\n"
                                       "0.05,30.0,10.0\r\n0.15,30.0,1.0\r\n0.25,30.0,-10.0\r\n")));

        // The saved measurement loads back into the main window.
        measurementState().clearPoints();
        m_platform->fileDialogs->openNames.enqueue(saved);
        w().mnuFileLoad->trigger();
        QCOMPARE(datafile::mainWindowCsv(measurementState()), measurement);
    }

    void teachersSettingHidesTheCommand()
    {
        // Nine lines, the last one forbidding the window.
        m_main.reset();
        QFile file(settingsFilePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("qz47\r\n 0\r\n 0\r\n 0\r\n 0\r\n 1\r\n 1\r\n 0\r\n 1\r\n");
        file.close();
        m_main = std::make_unique<frmMain>();
        QVERIFY(w().cmdCmp->isHidden());
    }

    // Erasing every point ("打点を全部消す", answered Yes) or quitting closes it.
    void closesWithTheOtherResultWindows_data()
    {
        QTest::addColumn<bool>("quit");
        QTest::newRow("every point erased") << false;
        QTest::newRow("quit") << true;
    }

    void closesWithTheOtherResultWindows()
    {
        QFETCH(bool, quit);
        QPointer<frmResult3> components = openExample();
        QVERIFY(components);
        if (quit)
            w().close();
        else
            w().mnuEditAll->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!components);
    }

    void measuresGravity_data()
    {
        QTest::addColumn<bool>("fall");
        QTest::addColumn<bool>("tracked");
        QTest::newRow("fall at 240 frames a second, clicked") << true << false;
        QTest::newRow("fall at 240 frames a second, tracked") << true << true;
        QTest::newRow("throw, clicked") << false << false;
        QTest::newRow("throw, tracked") << false << true;
    }

    void measuresGravity()
    {
        QFETCH(bool, fall);
        QFETCH(bool, tracked);
        using B = FallingBall;
        w().show();
        QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
        // Tracking goes on from the frame a click moved on to.
        measurementState().ClickAction = tracked ? 1 : 0;

        // Where the ball is, in preview pixels; the step between points; the
        // reference length; the truth in cm and seconds.
        std::function<QPointF(int)> truth;
        int step = 2, frames = 0;
        double refPixels = 360, refValue = 980, g = 980, vx = 0;
        if (fall) {
            const QString clip = ClipMaker::path(ClipKind::FallingBall240);
            QVERIFY2(!clip.isEmpty(), qPrintable(ClipMaker::lastError()));
            m_platform->prompts->answers.enqueue(Prompts::Answer::Yes); // filmed at 240
            m_platform->fileDialogs->openNames.enqueue(clip);
            w().mnuFileOpen->trigger();
            QCOMPARE(measurementState().FrameRate, B::CaptureRate);
            // The preview shows the clip at twice its size; 1 m is 100 cm.
            truth = [](int f) { return 2 * B::centre(f); };
            step = 12;
            frames = B::Frames;
            refPixels = 2 * B::PixelsPerMetre;
            refValue = 100;
            g = 100 * B::Gravity;
        } else {
            const BallScene scene = thrownBall();
            const QString clip = motionJpegClip(QStringLiteral("tracking_thrown"), scene);
            QVERIFY2(!clip.isEmpty(), qPrintable(ClipMaker::lastError()));
            QVERIFY(w().video().openVideoFile(clip));
            truth = [scene](int f) { return scene.centre(f); };
            frames = scene.frames;
            // 360 pixels are 980 cm: the throw's 360 pixels a second² are g.
            vx = 300 * refValue / refPixels;
        }
        const double unitsPerPixel = refValue / refPixels;
        measurementState().RefLengthPixels = float(refPixels);
        measurementState().RefLengthValue = qint16(refValue);
        measurementState().LengthUnit = QStringLiteral("cm");
        w().txtLengthValue->setText(QString::number(refValue));
        QVERIFY(settled());

        if (tracked) {
            w().txtRate->setText(QString::number(step));
            click(truth(0));
            QVERIFY(settled());
            w().cmdTrack->click();
            QVERIFY(QTest::qWaitFor([this] { return !w().state().Tracking; }, 120000));
        } else {
            for (int f = 0; f < frames; f += step) {
                w().ctrlSlider->setValue(f);
                QVERIFY(settled());
                click(truth(f));
            }
        }
        const int points = measurementState().PointCount;
        QVERIFY2(points >= 5, qPrintable(QString::number(points)));

        w().cmdCmp->click();
        QVERIFY(window());
        const results::ComponentResults &res = window()->results();
        std::vector<double> times;
        for (int row = 1; row <= points; ++row)
            times.push_back(measurementState().PointTable[row][1] / measurementState().FrameRate);
        // Clicked positions are within one pixel band; tracked ones within two.
        const double width = tracked ? 2 : 1;
        const double bound = slopeBound(times, unitsPerPixel, width);
        QVERIFY2(std::abs(res.vertical.slope + g) <= bound,
                 qPrintable(QStringLiteral("ay %1, bound %2").arg(res.vertical.slope).arg(bound)));
        QVERIFY(std::abs(res.horizontal.slope) <= bound);
        // The whole horizontal way is off by at most the band's width.
        QVERIFY(std::abs(res.meanVx - vx) <=
                width * unitsPerPixel / (times.back() - times.front()));
    }
};

QTEST_MAIN(tst_frmResult3)
#include "tst_frmResult3.moc"
