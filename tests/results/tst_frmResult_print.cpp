// Printing the result windows: who may print, the title and the delayed
// capture of the time-speed window, the credit line around the capture, and
// the help menu of both windows.

#include "base/measurement_state.h"
#include "print_doubles.h"
#include "printhelp/frmAbout.h"
#include "printhelp/print_job.h"
#include "recording_platform.h"
#include "results/frmResult1.h"
#include "results/frmResult2.h"
#include "results/frmResult_printhelp.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

class tst_frmResult_print : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void permission_data();
    void permission();
    void speedPrintoutCarriesTheTitleAfterTwoTicks();
    void secondSpeedPrintoutIsTakenAtTheFirstTick();
    void cancelledTitleGivesAnEmptyTitleBox();
    void cancelledPaperLeavesCreditAndTitleShown();
    void failedSpeedPrintoutStopsTheTimer();
    void speedPrintoutRunsOnTheTimer();
    void distancePrintoutShowsTheCreditForTheCapture();
    void cancelledDistancePrintoutKeepsTheCredit();
    void helpMenus();

private:
    static void measureThreePoints();
    struct Seen
    {
        bool credit = false;
        bool titleBox = false;
        QString title;
    };
    std::unique_ptr<TestPlatform> m_platform;
    std::shared_ptr<PdfPrinter> m_printer;
    std::shared_ptr<RecordingBrowser> m_browser;
};

void tst_frmResult_print::measureThreePoints()
{
    MeasurementState &s = measurementState();
    s.PointCount = 3;
    for (int r = 1; r <= 3; ++r) {
        s.PointTable[r][MeasurementState::ColNumber] = r;
        s.PointTable[r][MeasurementState::ColFrame] = 3 * (r - 1);
        s.PointTable[r][MeasurementState::ColX] = 100 + 40 * r;
        s.PointTable[r][MeasurementState::ColY] = 200;
    }
    s.RefLengthValue = 10;
    s.RefLengthPixels = 100;
    s.LengthUnit = QStringLiteral("cm");
    s.FrameRate = 30;
    s.TotalFrames = 30;
    s.ClickAction = 1;
    s.AllPointsMode = 1;
}

void tst_frmResult_print::init()
{
    m_platform = std::make_unique<TestPlatform>();
    m_printer = std::make_shared<PdfPrinter>();
    m_browser = std::make_shared<RecordingBrowser>();
    platform().printer = m_printer;
    platform().browser = m_browser;
    measureThreePoints();
}

void tst_frmResult_print::cleanup()
{
    delete frmAbout::openDialog();
    m_printer.reset();
    m_browser.reset();
    m_platform.reset();
}

void tst_frmResult_print::permission_data()
{
    QTest::addColumn<int>("printPermission");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("0: everything") << 0 << true;
    QTest::newRow("1: main window only") << 1 << false;
    QTest::newRow("2: result windows only") << 2 << true;
    QTest::newRow("3: nothing") << 3 << false;
}

void tst_frmResult_print::permission()
{
    QFETCH(int, printPermission);
    QFETCH(bool, enabled);
    measurementState().PrintPermission = qint16(printPermission);
    frmResult1 speed;
    speed.load();
    frmResult2 distance;
    distance.load();
    QCOMPARE(speed.mnuFilePrint->isEnabled(), enabled);
    QCOMPARE(distance.mnuFilePrint->isEnabled(), enabled);
}

void tst_frmResult_print::speedPrintoutCarriesTheTitleAfterTwoTicks()
{
    frmResult1 window;
    window.load();
    window.show();
    Seen seen;
    m_printer->onPrint = [&] {
        seen = {window.lblCredit->isVisible(), window.txtDai->isVisible(), window.txtDai->text()};
    };
    const QString title = QStringLiteral("第１班　斜面を下る台車");
    m_platform->prompts->inputs.enqueue(title);

    window.mnuFilePrint->trigger();
    QCOMPARE(m_platform->prompts->inputPrompts,
             QStringList{QStringLiteral("表題を入力して下さい")});
    QCOMPARE(m_platform->prompts->texts(), QStringList{printtexts::insertB5Paper()});
    QCOMPARE(window.PrintTitle, title);
    QVERIFY(window.tmrWait->isActive());
    QVERIFY(window.lblCredit->isVisible());
    QVERIFY(window.txtDai->isVisible());

    // A freshly loaded window waits two ticks before the capture.
    resultprint::speedWaitTick(window);
    resultprint::speedWaitTick(window);
    QCOMPARE(window.PrintWaitTicks, 2);
    QVERIFY(m_printer->pages.isEmpty());
    resultprint::speedWaitTick(window);
    QCOMPARE(m_printer->pages.size(), 1);

    QVERIFY(seen.credit);
    QVERIFY(seen.titleBox);
    QCOMPARE(seen.title, title);
    QVERIFY(!window.tmrWait->isActive());
    QVERIFY(!window.lblCredit->isVisible());
    QVERIFY(!window.txtDai->isVisible());
    QCOMPARE(m_printer->lastPicture.size(), window.grab().size());
}

void tst_frmResult_print::secondSpeedPrintoutIsTakenAtTheFirstTick()
{
    frmResult1 window;
    window.load();
    window.show();
    for (int printout = 1; printout <= 2; ++printout) {
        window.mnuFilePrint->trigger();
        int ticks = 0;
        while (m_printer->pages.size() < printout && ticks < 10) {
            resultprint::speedWaitTick(window);
            ++ticks;
        }
        QCOMPARE(ticks, printout == 1 ? 3 : 1);
    }
    // A re-display is a new load: the count starts again.
    window.redisplay();
    QCOMPARE(window.PrintWaitTicks, 0);
}

void tst_frmResult_print::cancelledTitleGivesAnEmptyTitleBox()
{
    frmResult1 window;
    window.load();
    window.show();
    window.txtDai->setText(QStringLiteral("前の表題"));
    Seen seen;
    m_printer->onPrint = [&] { seen = {true, window.txtDai->isVisible(), window.txtDai->text()}; };
    // No input queued: the title box is cancelled.
    window.mnuFilePrint->trigger();
    QCOMPARE(window.PrintTitle, QString());
    for (int i = 0; i < 3; ++i)
        resultprint::speedWaitTick(window);
    QCOMPARE(m_printer->pages.size(), 1);
    QVERIFY(seen.titleBox);
    QCOMPARE(seen.title, QString());
}

void tst_frmResult_print::cancelledPaperLeavesCreditAndTitleShown()
{
    frmResult1 window;
    window.load();
    window.show();
    m_platform->prompts->inputs.enqueue(QStringLiteral("表題"));
    m_platform->prompts->answers.enqueue(Prompts::Answer::Cancel);
    window.mnuFilePrint->trigger();
    QVERIFY(!window.tmrWait->isActive());
    QVERIFY(window.lblCredit->isVisible());
    QVERIFY(window.txtDai->isVisible());
    QCOMPARE(m_platform->windowCapture->captures, 0);
}

void tst_frmResult_print::failedSpeedPrintoutStopsTheTimer()
{
    frmResult1 window;
    window.load();
    window.show();
    m_printer->refuses = true;
    window.mnuFilePrint->trigger();
    for (int i = 0; i < 3; ++i)
        resultprint::speedWaitTick(window);
    QCOMPARE(m_platform->prompts->lastText(), printtexts::printFailed());
    QVERIFY(!window.tmrWait->isActive());
    QVERIFY(!window.lblCredit->isVisible());
    QVERIFY(!window.txtDai->isVisible());
}

void tst_frmResult_print::speedPrintoutRunsOnTheTimer()
{
    frmResult1 window;
    window.load();
    window.show();
    window.mnuFilePrint->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(m_printer->pages.size(), 1, 5000);
    QVERIFY(!window.tmrWait->isActive());
    const QSizeF points = pdfMediaBoxPoints(m_printer->pages.constFirst());
    QCOMPARE(qRound(points.width() * 25.4 / 72.0), 257);
    QCOMPARE(qRound(points.height() * 25.4 / 72.0), 182);
}

void tst_frmResult_print::distancePrintoutShowsTheCreditForTheCapture()
{
    frmResult2 window;
    window.load();
    window.show();
    bool creditShown = false;
    m_printer->onPrint = [&] { creditShown = window.lblCredit->isVisible(); };
    window.mnuFilePrint->trigger();
    QCOMPARE(m_platform->prompts->texts(), QStringList{printtexts::insertB5Paper()});
    QVERIFY(m_platform->prompts->inputPrompts.isEmpty());
    QCOMPARE(m_printer->pages.size(), 1);
    QVERIFY(creditShown);
    QVERIFY(!window.lblCredit->isVisible());
}

void tst_frmResult_print::cancelledDistancePrintoutKeepsTheCredit()
{
    frmResult2 window;
    window.load();
    window.show();
    m_platform->prompts->answers.enqueue(Prompts::Answer::Cancel);
    window.mnuFilePrint->trigger();
    QCOMPARE(m_platform->windowCapture->captures, 0);
    QVERIFY(window.lblCredit->isVisible());
}

void tst_frmResult_print::helpMenus()
{
    const QString page = m_platform->programFolder + QStringLiteral("/kinhelp.html");
    QFile file(page);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    frmResult1 speed;
    frmResult2 distance;
    speed.mnuHelpRead->trigger();
    distance.mnuHelpRead->trigger();
    QCOMPARE(m_browser->opened, (QStringList{page, page}));

    speed.mnuHelpAbout->trigger();
    distance.mnuHelpAbout->trigger();
    QVERIFY(frmAbout::openDialog());
    QVERIFY(frmAbout::openDialog()->isVisible());
    QVERIFY(m_platform->prompts->shown.isEmpty());
}

QTEST_MAIN(tst_frmResult_print)
#include "tst_frmResult_print.moc"
