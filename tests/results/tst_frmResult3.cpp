// The components window through the main window: opening and refusing as
// the speed window does, the table and the exact summary, the copy for a
// spreadsheet in all three result windows, saving and exporting, the
// teacher's setting, closing with the other result windows, and the
// acceleration measured on clips of a fall and a throw with known g, from
// clicked and from tracked points.

#include "app/frmMain.h"
#include "ball_scene.h"
#include "base/app_paths.h"
#include "base/measurement_state.h"
#include "clip_maker.h"
#include "datafile/measurement_csv.h"
#include "digitize/tracking_part.h"
#include "recording_platform.h"
#include "results/frmResult3.h"
#include "results/result_table_widget.h"
#include "results/results_part.h"
#include "video/preview_widget.h"
#include "video/video_part.h"

#include <QAction>
#include <QComboBox>
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
    bool settled()
    {
        return QTest::qWaitFor(
            [this] {
                return w().state().InputPauseOver && !measurementState().FrameRefreshPending;
            },
            3000);
    }
    void click(QPoint at) { QTest::mouseClick(w().picPreview, Qt::LeftButton, {}, at); }

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

    void opensWithTableAndExactSummary();
    void refusesAsTheSpeedWindowDoes_data();
    void refusesAsTheSpeedWindowDoes();
    void copiesEveryResultTable();
    void savesTheMeasurementAndExportsTheTable();
    void teachersSettingHidesTheCommand();
    void closesWithTheOtherResultWindows();
    void measuresGravity_data();
    void measuresGravity();
};

void tst_frmResult3::opensWithTableAndExactSummary()
{
    plotExample();
    w().txtLengthValue->setText(QStringLiteral("10"));
    QVERIFY(w().cmdCmp->isVisibleTo(&w()));
    QVERIFY(!w().cmdCmp->toolTip().isEmpty());
    QCOMPARE(w().mnuViewResult3->text(), QStringLiteral("速度の成分と加速度(&A)"));
    w().cmdCmp->click();
    QVERIFY(m_platform->prompts->shown.isEmpty());
    frmResult3 *r = window();
    QVERIFY(r && r->isVisible());
    QCOMPARE(r->windowTitle(), QStringLiteral("キネモ　－結果表示　速度の成分と加速度－"));
    QVERIFY(!r->Picture3->pixmap().isNull());

    const ResultTableWidget *t = r->Picture1;
    QCOMPARE(t->Label5->text(), QStringLiteral("時　間 (秒)"));
    QCOMPARE(t->Label7->text(), QStringLiteral("水平 (m/秒)"));
    QCOMPARE(t->Label14->text(), QStringLiteral("鉛直 (m/秒)"));
    const QStringList column0{t->Labelx[0]->text(), t->Labely[0]->text(), t->Labelz[0]->text()};
    QCOMPARE(column0, (QStringList{"0.050", "30.0", "10.0"}));
    QCOMPARE(t->Labelz[2]->text(), QStringLiteral("-10.0"));
    QVERIFY(t->Labelx[3]->text().isEmpty());

    QCOMPARE(r->summary(), QStringLiteral(" 水平方向の加速度は　0　m/秒²（±0）です。\r\n"
                                          "  鉛直方向の加速度は　-100　m/秒²（±5.8）です。\r\n"
                                          "  水平方向の速さの平均は　30.0　m/秒です。"));
}

void tst_frmResult3::refusesAsTheSpeedWindowDoes_data()
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

void tst_frmResult3::refusesAsTheSpeedWindowDoes()
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
    QVERIFY(!w().results().speedWindow());
}

void tst_frmResult3::copiesEveryResultTable()
{
    plotExample(QStringLiteral("cm"));
    w().txtLengthValue->setText(QStringLiteral("10"));
    w().cmdCmp->click();
    frmResult3 *r = window();
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
    QVERIFY(r->Picture1->actions().contains(r->mnuEditCopy));
    QStringList menus;
    for (QAction *menu : r->menuBar()->actions())
        menus << menu->text();
    QCOMPARE(menus, (QStringList{"ファイル(&F)", "編集(&E)", "表示(&D)", "ヘルプ(&H)"}));

    // The other two windows copy their own tables; their menu bars stay.
    measurementState().ResultKindMode = 2;
    w().applyControlStates();
    w().cmdSpd->click();
    w().cmdDis->click();
    for (QPointer<QWidget> other : {w().results().speedWindow(), w().results().distanceWindow()}) {
        auto *window = qobject_cast<ResultWindow *>(other.data());
        QVERIFY(window);
        QCOMPARE(window->menuBar()->actions().size(), 3);
        QVERIFY(window->Picture1->actions().contains(window->mnuEditCopy));
        clipboard.clear();
        window->mnuEditCopy->trigger();
        QStringList lines = clipboard.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.takeLast(), QString());
        const bool speed = other == w().results().speedWindow();
        QCOMPARE(lines.takeFirst(), speed ? QStringLiteral("時　間 (秒)\t速　さ (cm/秒)")
                                          : QStringLiteral("時　間 (秒)\t移動距離 (cm)"));
        // A row per interval (speed) or per point (distance), the value as
        // the table shows it; the distance table's first column shows "0".
        QCOMPARE(lines.size(), speed ? 3 : 4);
        for (int i = speed ? 0 : 1; i < lines.size(); ++i)
            QCOMPARE(lines[i].section(QLatin1Char('\t'), 1), window->Picture1->Labely[i]->text());
        QCOMPARE(lines[1].section(QLatin1Char('\t'), 0, 0).toDouble(), speed ? 0.15 : 0.1);
    }
}

void tst_frmResult3::savesTheMeasurementAndExportsTheTable()
{
    plotExample(QStringLiteral("cm"));
    MeasurementState &s = measurementState();
    s.PointTable[2][4] = 7; // a camera-shake reference, kept by the file
    w().txtLengthValue->setText(QStringLiteral("10"));
    w().cmdCmp->click();
    frmResult3 *r = window();
    QVERIFY(r);
    QCOMPARE(r->mnuFileSave->text(), QStringLiteral("データを保存する(&S)"));
    QCOMPARE(r->mnuFileExport->text(), QStringLiteral("表をCSVで書き出す(&E)"));

    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("測定.csv"));
    m_platform->fileDialogs->saveNames.enqueue(saved);
    r->mnuFileSave->trigger();
    QCOMPARE(fileBytes(saved), datafile::mainWindowCsv(s));

    const QString table = dir.filePath(QStringLiteral("表.csv"));
    m_platform->fileDialogs->saveNames.enqueue(table);
    r->mnuFileExport->trigger();
    QCOMPARE(m_platform->fileDialogs->filtersSeen.constLast(),
             QStringLiteral("CSVファイル(*.csv)"));
    const QByteArray expected = QStringEncoder("CP932")(
        QStringLiteral("時　間 (秒),水平 (cm/秒),鉛直 (cm/秒)\r\n"
                       "0.05,30.0,10.0\r\n0.15,30.0,1.0\r\n0.25,30.0,-10.0\r\n"));
    QCOMPARE(fileBytes(table), expected);

    // The saved measurement loads back into the main window.
    const auto before = s;
    s.clearPoints();
    m_platform->fileDialogs->openNames.enqueue(saved);
    w().mnuFileLoad->trigger();
    QCOMPARE(s.PointCount, before.PointCount);
    for (int row = 1; row <= 4; ++row)
        for (int c = 0; c < MeasurementState::TableColumns; ++c)
            QCOMPARE(s.PointTable[row][c], before.PointTable[row][c]);
    QCOMPARE(s.RefLengthPixels, before.RefLengthPixels);
    QCOMPARE(s.FrameRate, before.FrameRate);
}

void tst_frmResult3::teachersSettingHidesTheCommand()
{
    // Nine lines, the last one forbidding the window.
    m_main.reset();
    {
        QFile file(settingsFilePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("qz47\r\n 0\r\n 0\r\n 0\r\n 0\r\n 1\r\n 1\r\n 0\r\n 1\r\n");
    }
    m_main = std::make_unique<frmMain>();
    QVERIFY(w().cmdCmp->isHidden());
    QVERIFY(!w().mnuViewResult3->isEnabled());
    QVERIFY(!w().cmdSpd->isHidden());
}

void tst_frmResult3::closesWithTheOtherResultWindows()
{
    plotExample();
    w().txtLengthValue->setText(QStringLiteral("10"));
    w().cmdCmp->click();
    QPointer<QWidget> components = w().results().componentsWindow();
    QVERIFY(components);
    // Erasing every point ("打点を全部消す", answered Yes) closes it.
    w().mnuEditAll->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!components);

    plotExample();
    w().txtLengthValue->setText(QStringLiteral("10"));
    w().cmdCmp->click();
    components = w().results().componentsWindow();
    QVERIFY(components);
    // Quitting closes it too.
    w().close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!components);
}

void tst_frmResult3::measuresGravity_data()
{
    QTest::addColumn<bool>("fall");
    QTest::addColumn<bool>("tracked");
    QTest::newRow("fall at 240 frames a second, clicked") << true << false;
    QTest::newRow("fall at 240 frames a second, tracked") << true << true;
    QTest::newRow("throw, clicked") << false << false;
    QTest::newRow("throw, tracked") << false << true;
}

void tst_frmResult3::measuresGravity()
{
    QFETCH(bool, fall);
    QFETCH(bool, tracked);
    using B = FallingBall;
    w().show();
    QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
    // Tracking goes on from the frame a click moved on to.
    measurementState().ClickAction = tracked ? 1 : 0;

    // Where the ball is, in preview pixels; the step between points; the
    // truth in cm and seconds.
    std::function<QPointF(int)> truth;
    int step = 0, frames = 0;
    double unitsPerPixel = 0, g = 0, vx = 0;
    if (fall) {
        const QString clip = ClipMaker::path(ClipKind::FallingBall240);
        QVERIFY2(!clip.isEmpty(), qPrintable(ClipMaker::lastError()));
        m_platform->prompts->answers.enqueue(Prompts::Answer::Yes); // filmed at 240
        m_platform->fileDialogs->openNames.enqueue(clip);
        w().mnuFileOpen->trigger();
        QCOMPARE(measurementState().FrameRate, B::CaptureRate);
        // The preview shows the clip at twice its size; 400 pixels are 100 cm.
        truth = [](int f) { return 2 * B::centre(f); };
        step = 12;
        frames = B::Frames;
        measurementState().RefLengthPixels = float(2 * B::PixelsPerMetre);
        measurementState().RefLengthValue = 100;
        unitsPerPixel = 100 / (2 * B::PixelsPerMetre);
        g = 100 * B::Gravity;
    } else {
        const BallScene scene = thrownBall();
        const QString clip = motionJpegClip(QStringLiteral("tracking_thrown"), scene);
        QVERIFY2(!clip.isEmpty(), qPrintable(ClipMaker::lastError()));
        QVERIFY(w().video().openVideoFile(clip));
        truth = [scene](int f) { return scene.centre(f); };
        step = 2;
        frames = scene.frames;
        // 360 pixels are 980 cm: the throw's 360 pixels a second² are g.
        measurementState().RefLengthPixels = 360;
        measurementState().RefLengthValue = 980;
        unitsPerPixel = 980.0 / 360;
        g = 980;
        vx = 300 * unitsPerPixel;
    }
    measurementState().LengthUnit = QStringLiteral("cm");
    w().txtLengthValue->setText(QString::number(measurementState().RefLengthValue));
    QVERIFY(settled());

    // A click lands on the pixel holding the ball's centre.
    auto pixel = [](QPointF p) { return QPoint(int(std::floor(p.x())), int(std::floor(p.y()))); };
    if (tracked) {
        w().txtRate->setText(QString::number(step));
        click(pixel(truth(0)));
        QVERIFY(settled());
        w().cmdTrack->click();
        QVERIFY(QTest::qWaitFor([this] { return !w().state().Tracking; }, 120000));
    } else {
        for (int f = 0; f < frames; f += step) {
            w().ctrlSlider->setValue(f);
            QVERIFY(settled());
            click(pixel(truth(f)));
        }
    }
    const int points = measurementState().PointCount;
    QVERIFY2(points >= 5, qPrintable(QString::number(points)));

    w().cmdCmp->click();
    frmResult3 *r = window();
    QVERIFY(r);
    const results::ComponentResults &res = r->results();
    std::vector<double> times;
    for (int row = 1; row <= points; ++row)
        times.push_back(measurementState().PointTable[row][1] / measurementState().FrameRate);
    // Clicked positions are within one pixel band; tracked ones within two.
    const double width = tracked ? 2 : 1;
    const double bound = slopeBound(times, unitsPerPixel, width);
    const double ay = res.vertical.slope, ax = res.horizontal.slope;
    qInfo("%d points: ay = %.2f ± %.2f cm/s² (g %.0f, bound %.2f); ax = %.2f ± %.2f; "
          "mean vx = %.2f (truth %.2f)",
          points, ay, res.vertical.slopeError, g, bound, ax, res.horizontal.slopeError, res.meanVx,
          vx);
    QVERIFY(std::abs(ay + g) <= bound);
    QVERIFY(std::abs(ax) <= bound);
    // The whole horizontal way is off by at most the band's width.
    QVERIFY(std::abs(res.meanVx - vx) <= width * unitsPerPixel / (times.back() - times.front()));
}

QTEST_MAIN(tst_frmResult3)
#include "tst_frmResult3.moc"
