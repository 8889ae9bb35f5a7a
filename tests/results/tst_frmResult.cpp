// Both result windows opened on a real measurement: captions, summary, scale
// buttons, paging, visibility by the settings, print greying and re-display.

#include "base/measurement_state.h"
#include "recording_platform.h"
#include "results/frmResult1.h"
#include "results/frmResult2.h"
#include "results/frmResult3.h"
#include "results/result_graph_widget.h"
#include "results/result_table_widget.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QtTest>
#include <memory>

namespace {

// n points three frames apart at 30 fps, 30 px (3 cm) further each time: a
// steady 30 cm/s.
void fillMeasurement(int n)
{
    resetMeasurementState();
    MeasurementState &s = measurementState();
    s.FrameRate = 30;
    s.RefLengthPixels = 10;
    s.RefLengthValue = 1;
    s.LengthUnit = QStringLiteral("cm");
    for (int r = 1; r <= n; ++r) {
        s.PointTable[r][0] = r;
        s.PointTable[r][1] = 3 * (r - 1);
        s.PointTable[r][2] = 30 * (r - 1);
        s.PointTable[r][3] = 100;
    }
    s.PointCount = qint16(n);
}

// Irregular points far apart in km: every summary number long, the
// accelerations negative.
void fillLongNumbers()
{
    fillMeasurement(9);
    MeasurementState &s = measurementState();
    s.RefLengthPixels = 3;
    s.RefLengthValue = 7777;
    s.LengthUnit = QStringLiteral("km");
    for (int r = 1; r <= 9; ++r) {
        s.PointTable[r][2] = 37 * (r - 1) + r * r % 7;
        s.PointTable[r][3] = 400 - 5 * r * r + r % 3;
    }
}

template <typename Window> std::unique_ptr<Window> opened()
{
    auto window = std::make_unique<Window>();
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    QImage preview(320, 240, QImage::Format_RGB32);
    preview.fill(Qt::green);
    window->setPreview(preview);
    const results::DataCheck check = window->load();
    if (!check.ok())
        qWarning() << "load failed";
    return window;
}

} // namespace

class TestFrmResult : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_platform = std::make_unique<TestPlatform>(); }
    void cleanup() { m_platform.reset(); }

    void speedWindowCaptionsAndSummary();
    void speedScaleButtons();
    void speedPagingWithManyPoints();
    void distanceWindowCaptionsAndSummary();
    void distanceLimitMessage();
    void visibilityByDisplayMode_data();
    void visibilityByDisplayMode();
    void printPermissionGreysPrint();
    void redisplayRepeatsTheChecks();
    void graphPaintsMarkers();
    void summaryNeverBreaksInsideAWord_data();
    void summaryNeverBreaksInsideAWord();

private:
    std::unique_ptr<TestPlatform> m_platform;
};

void TestFrmResult::speedWindowCaptionsAndSummary()
{
    fillMeasurement(3);
    auto w = opened<frmResult1>();
    QCOMPARE(w->windowTitle(), QStringLiteral("キネモ　－結果表示　時間と速さの関係－"));
    QCOMPARE(w->Picture1->Label5->text(), QStringLiteral("時　間 (秒)"));
    QCOMPARE(w->Picture1->Label7->text(), QStringLiteral("速　さ (cm/秒)"));
    // The header is readable whole in front of the first column; a unit too
    // long for it leaves the whole header in the tooltip.
    for (const QString &unit : {QStringLiteral("cm"), QStringLiteral("ミリメートル")}) {
        measurementState().LengthUnit = unit;
        w->mnuDispRtry->trigger();
        for (QLabel *header : {w->Picture1->Label7, w->Picture1->Label8}) {
            const QString full = QStringLiteral("速　さ (") + unit + QStringLiteral("/秒)");
            QVERIFY(QFontMetrics(header->font()).horizontalAdvance(header->text()) <
                    header->width());
            QVERIFY(header->text() == full || header->toolTip() == full);
        }
    }
    measurementState().LengthUnit = QStringLiteral("cm");
    w->mnuDispRtry->trigger();
    QCOMPARE(w->Picture2->Label2->text(), QStringLiteral("速　さ"));
    QCOMPARE(w->Picture2->Label3->text(), QStringLiteral("(cm/秒)"));
    QCOMPARE(w->Label13->text(), QStringLiteral("速さ"));
    QCOMPARE(w->Picture1->Labelx[0]->text(), QStringLiteral("0-0.10"));
    QCOMPARE(w->Picture1->Labely[0]->text(), QStringLiteral("30"));
    QCOMPARE(w->Picture1->Labelx[1]->text(), QStringLiteral("0.10-0.20"));
    QVERIFY(w->Picture1->Labelx[2]->text().isEmpty());
    QCOMPARE(w->Picture1->HScroll1->maximum(), 1);
    QCOMPARE(w->summary(),
             QStringLiteral(" 記録時間は　0.2　秒です。\r\n  最大距離は　6　cmです。\r\n"
                            "  最高速度は　30　cm/秒です。"));
    QVERIFY(w->Label11->text().contains(QStringLiteral("最高速度は　30　cm/秒です。")));
    QVERIFY(!w->Picture3->pixmap().isNull());
    QCOMPARE(w->Picture3->pixmap().size(), QSize(221, 157));
    QVERIFY(m_platform->prompts->shown.isEmpty());
    // Controls are placed in twips / 15.
    QCOMPARE(w->Picture2->geometry(), QRect(16, 176, 521, 377));
    QCOMPARE(w->findChild<QGroupBox *>(QStringLiteral("Frame1"))->geometry(),
             QRect(544, 408, 225, 81));
}

void TestFrmResult::speedScaleButtons()
{
    fillMeasurement(3);
    auto w = opened<frmResult1>();
    // MaxSpeed 30 fits row 4; the standard view is row 6. Time 0.2 fits row 1.
    QCOMPARE(w->scales().SpeedScaleIndex, qint16(6));
    QCOMPARE(w->scales().TimeScaleIndex, qint16(1));
    w->Command5->click();
    QCOMPARE(w->scales().SpeedScaleIndex, qint16(5));
    w->Command4->click();
    w->Command4->click();
    QCOMPARE(w->scales().SpeedScaleIndex, qint16(7));
    w->Command2->click();
    QCOMPARE(w->scales().TimeScaleIndex, qint16(2));
    w->Command3->click();
    w->Command3->click();
    QCOMPARE(w->scales().TimeScaleIndex, qint16(1));
    w->Command6->click();
    QCOMPARE(w->scales().SpeedScaleIndex, qint16(6));
    // The painted graph follows the scales.
    QCOMPARE(w->Picture2->graph().Labelyy[0].caption, QStringLiteral("20"));
}

void TestFrmResult::speedPagingWithManyPoints()
{
    fillMeasurement(25);
    auto w = opened<frmResult1>();
    QCOMPARE(w->Picture1->HScroll1->maximum(), 4);
    w->Picture1->HScroll1->setValue(4);
    QCOMPARE(w->Picture1->Labelx[0]->text(), QStringLiteral("0.40-0.50"));
    QCOMPARE(w->Picture1->Labelx[19]->text(), QStringLiteral("2.30-2.40"));
}

void TestFrmResult::distanceWindowCaptionsAndSummary()
{
    fillMeasurement(25);
    auto w = opened<frmResult2>();
    QCOMPARE(w->windowTitle(), QStringLiteral("キネモ　－結果表示　時間と移動距離の関係－"));
    QCOMPARE(w->Picture1->Label7->text(), QStringLiteral("移動距離 (cm)"));
    QCOMPARE(w->Picture2->Label3->text(), QStringLiteral("(cm)"));
    QCOMPARE(w->Label13->text(), QStringLiteral("距離"));
    QCOMPARE(w->Picture1->Labelx[0]->text(), QStringLiteral("0"));
    QCOMPARE(w->Picture1->Labelx[1]->text(), QStringLiteral("0.10"));
    QCOMPARE(w->Picture1->Labely[1]->text(), QStringLiteral("3.0"));
    QCOMPARE(w->summary(),
             QStringLiteral(" 記録時間は　2.4　秒です。\r\n  最大距離は　72　cmです。"));
    QCOMPARE(w->Picture1->HScroll1->maximum(), 5);
    w->Picture1->HScroll1->setValue(5);
    QCOMPARE(w->Picture1->Labelx[19]->text(), QStringLiteral("2.40"));
    QCOMPARE(w->Picture1->Labely[19]->text(), QStringLiteral("72.0"));
    // 72 cm fits distance row 1; no coarsening in this window.
    QCOMPARE(w->scales().DistanceScaleIndex, qint16(1));
    QCOMPARE(w->scales().TimeScaleIndex, qint16(7));
    w->Command4->click();
    QCOMPARE(w->scales().DistanceScaleIndex, qint16(2));
    w->Command5->click();
    w->Command5->click();
    QCOMPARE(w->scales().DistanceScaleIndex, qint16(1));
    QCOMPARE(w->scales().graph().Shapep.size(), size_t(25));
}

void TestFrmResult::distanceLimitMessage()
{
    fillMeasurement(3);
    measurementState().RefLengthValue = 1000; // 30 px are 3000 cm
    auto w = opened<frmResult2>();
    QCOMPARE(w->scales().DistanceScaleIndex, qint16(9));
    QCOMPARE(m_platform->prompts->texts(),
             QStringList{QStringLiteral("グラフの表示限界を超えました。\r\n"
                                        "手動で目盛りを設定してください。\r\n"
                                        "ただし、すべての打点を表示することはできません。")});
}

void TestFrmResult::visibilityByDisplayMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("table");
    QTest::addColumn<bool>("graph");
    QTest::newRow("both") << 0 << true << true;
    QTest::newRow("table only") << 1 << true << false;
    QTest::newRow("graph only") << 2 << false << true;
    QTest::newRow("neither") << 3 << false << false;
}

void TestFrmResult::visibilityByDisplayMode()
{
    QFETCH(int, mode);
    QFETCH(bool, table);
    QFETCH(bool, graph);
    fillMeasurement(4);
    measurementState().ResultDisplayMode = qint16(mode);
    for (ResultWindow *w : {static_cast<ResultWindow *>(opened<frmResult1>().release()),
                            static_cast<ResultWindow *>(opened<frmResult2>().release())}) {
        w->show();
        QCOMPARE(w->Picture1->isVisible(), table);
        QCOMPARE(w->Picture2->isVisible(), graph);
        QCOMPARE(w->Frame1->isVisible(), graph);
        QVERIFY(w->Label11->isVisible() && w->Picture3->isVisible());
        delete w;
    }
}

void TestFrmResult::printPermissionGreysPrint()
{
    fillMeasurement(3);
    for (int permission : {0, 1, 2, 3}) {
        measurementState().PrintPermission = qint16(permission);
        auto w = opened<frmResult1>();
        QCOMPARE(w->mnuFilePrint->isEnabled(), permission == 0 || permission == 2);
        QCOMPARE(w->mnuFilePrint->text(), QStringLiteral("結果を印刷する(&P)"));
    }
}

void TestFrmResult::redisplayRepeatsTheChecks()
{
    fillMeasurement(3);
    auto w = opened<frmResult1>();
    w->setOpeningCheck([] { return QString(); });

    // More points: the re-display takes them in.
    fillMeasurement(6);
    w->mnuDispRtry->trigger();
    QCOMPARE(w->results().count, 6);
    QCOMPARE(w->Picture1->Labelx[4]->text(), QStringLiteral("0.40-0.50"));
    QCOMPARE(w->scales().graph().Shapep.size(), size_t(6));

    // The measurement cleared in the main window: the default check reads
    // the measurement, shows its message and keeps the last results.
    w->setOpeningCheck({});
    auto fresh = opened<frmResult1>();
    measurementState().clearPoints();
    measurementState().RefLengthValue = 1;
    fresh->mnuDispRtry->trigger();
    QCOMPARE(m_platform->prompts->shown.size(), 1);
    QVERIFY(m_platform->prompts->lastText().contains(QStringLiteral("基準となる長さ")));
    QCOMPARE(fresh->results().count, 6);

    // "切り替え(&C)" closes the window.
    fresh->show();
    fresh->mnuDispChange->trigger();
    QVERIFY(!fresh->isVisible());
}

void TestFrmResult::graphPaintsMarkers()
{
    fillMeasurement(3);
    auto w = opened<frmResult1>();
    QImage image(521, 377, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        w->Picture2->paint(painter, QRectF(image.rect()));
    }
    // The first marker (mid time 0.05, speed 30) drawn in red around its centre.
    const auto &m = w->scales().graph().Shapep[0];
    QVERIFY(m.visible);
    const int cx = int((m.left + 100) / 15);
    const int top = int(m.top / 15);
    bool red = false;
    for (int y = top - 1; y <= top + 2; ++y)
        if (QColor(image.pixel(cx, y)).red() > 200 && QColor(image.pixel(cx, y)).green() < 120)
            red = true;
    QVERIFY(red);
}

QTEST_MAIN(TestFrmResult)
#include "tst_frmResult.moc"

void TestFrmResult::summaryNeverBreaksInsideAWord_data()
{
    QTest::addColumn<int>("window"); // 1 speed, 2 distance, 3 components
    QTest::addColumn<bool>("longNumbers");
    for (int window : {1, 2, 3}) {
        QTest::addRow("window %d, steady cm", window) << window << false;
        QTest::addRow("window %d, long km numbers", window) << window << true;
    }
}

// Every shown line of the summary fits its box whole, so no line is broken
// by the box; a line that does not end a sentence ends a word, the next
// starting with the space between them. All lines fit the box's height.
void TestFrmResult::summaryNeverBreaksInsideAWord()
{
    QFETCH(int, window);
    QFETCH(bool, longNumbers);
    if (longNumbers)
        fillLongNumbers();
    else
        fillMeasurement(6);
    std::unique_ptr<ResultWindow> w;
    if (window == 1)
        w = opened<frmResult1>();
    else if (window == 2)
        w = opened<frmResult2>();
    else
        w = opened<frmResult3>();
    w->show();
    const QLabel &box = *w->Label11;
    QVERIFY(!box.wordWrap());
    const QStringList lines = box.text().split(QLatin1Char('\n'));
    QCOMPARE(lines.join(QString()).remove(QChar(0x3000)),
             QString(w->summary()).remove(QStringLiteral("\r\n")).remove(QChar(0x3000)));
    const QFontMetrics metrics = box.fontMetrics();
    for (int i = 0; i < lines.size(); ++i) {
        QVERIFY2(metrics.horizontalAdvance(lines[i]) <= box.contentsRect().width(),
                 qPrintable(lines[i]));
        if (!lines[i].endsWith(QStringLiteral("。")))
            QVERIFY2(lines.value(i + 1).startsWith(QChar(0x3000)), qPrintable(lines[i]));
    }
    QVERIFY(metrics.lineSpacing() * lines.size() <= box.contentsRect().height());
}
