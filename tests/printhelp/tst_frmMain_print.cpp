// The main window's print command and help menu: who may print, the paper
// question, the all-points display around the printout, and the help page.

#include "app/frmMain.h"
#include "base/app_paths.h"
#include "base/measurement_state.h"
#include "print_doubles.h"
#include "printhelp/frmAbout.h"
#include "printhelp/help_page.h"
#include "printhelp/print_job.h"
#include "recording_platform.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>

class tst_frmMain_print : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void permission_data();
    void permission();
    void printShowsAllPointsOnlyForThePrintout_data();
    void printShowsAllPointsOnlyForThePrintout();
    void cancelPrintsNothingAndRestoresTheDisplay();
    void failedPrintoutIsReportedAndRestoresTheDisplay();
    void noPrinterSavesThePageAsPdf();
    void helpOpensThePage_data();
    void helpOpensThePage();
    void helpFailuresAreMessages();
    void versionItemKeepsOneDialog();

private:
    void writeSettings(int printPermission, int allPointsMode);
    std::unique_ptr<TestPlatform> m_platform;
    std::shared_ptr<PdfPrinter> m_printer;
    std::shared_ptr<RecordingBrowser> m_browser;
};

void tst_frmMain_print::init()
{
    m_platform = std::make_unique<TestPlatform>();
    m_printer = std::make_shared<PdfPrinter>();
    m_browser = std::make_shared<RecordingBrowser>();
    platform().printer = m_printer;
    platform().browser = m_browser;
}

void tst_frmMain_print::cleanup()
{
    if (frmAbout *about = frmAbout::openDialog())
        delete about;
    m_printer.reset();
    m_browser.reset();
    m_platform.reset();
}

void tst_frmMain_print::writeSettings(int printPermission, int allPointsMode)
{
    QFile file(m_platform->programFolder + QStringLiteral("/kinmo.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("qz47\r\n 0\r\n 0\r\n %1\r\n 0\r\n 1\r\n %2\r\n")
                   .arg(printPermission)
                   .arg(allPointsMode)
                   .toLatin1());
}

void tst_frmMain_print::permission_data()
{
    QTest::addColumn<int>("printPermission");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("0: everything") << 0 << true;
    QTest::newRow("1: main window only") << 1 << true;
    QTest::newRow("2: result windows only") << 2 << false;
    QTest::newRow("3: nothing") << 3 << false;
    QTest::newRow("unknown value") << 7 << true;
}

void tst_frmMain_print::permission()
{
    QFETCH(int, printPermission);
    QFETCH(bool, enabled);
    writeSettings(printPermission, 1);
    frmMain window;
    QCOMPARE(window.mnuFilePrint->isEnabled(), enabled);
}

void tst_frmMain_print::printShowsAllPointsOnlyForThePrintout_data()
{
    QTest::addColumn<int>("allPointsMode");
    QTest::addColumn<bool>("userSwitchedItOn");
    QTest::addColumn<bool>("shownOnPrintout");
    // Mode 1 draws every point anyway; the button is not pressed for it.
    QTest::newRow("mode 0, display off") << 0 << false << true;
    QTest::newRow("mode 0, display on") << 0 << true << true;
    QTest::newRow("mode 1") << 1 << false << false;
}

void tst_frmMain_print::printShowsAllPointsOnlyForThePrintout()
{
    QFETCH(int, allPointsMode);
    QFETCH(bool, userSwitchedItOn);
    QFETCH(bool, shownOnPrintout);
    writeSettings(0, allPointsMode);
    frmMain window;
    if (userSwitchedItOn)
        emit window.cmdProtDisp->clicked(false);
    bool shownWhilePrinting = false;
    m_printer->onPrint = [&] { shownWhilePrinting = window.state().AllPointsShown; };

    window.mnuFilePrint->trigger();

    QCOMPARE(m_platform->prompts->texts(), QStringList{printtexts::insertB5Paper()});
    QCOMPARE(m_platform->prompts->shown.constFirst().buttons, Prompts::Buttons::OkCancel);
    QCOMPARE(m_printer->pages.size(), 1);
    QCOMPARE(shownWhilePrinting, shownOnPrintout);
    QCOMPARE(m_printer->lastPicture.size(), window.grab().size());
    // After the printout the display is off, even if the user had it on.
    QCOMPARE(window.state().AllPointsShown, false);
    QCOMPARE(window.cmdProtDisp->text(), QStringLiteral("全打点表示"));
}

void tst_frmMain_print::cancelPrintsNothingAndRestoresTheDisplay()
{
    writeSettings(0, 0);
    frmMain window;
    m_platform->prompts->answers.enqueue(Prompts::Answer::Cancel);
    window.mnuFilePrint->trigger();
    QCOMPARE(m_platform->windowCapture->captures, 0);
    QVERIFY(m_printer->lastPicture.isNull());
    QCOMPARE(window.state().AllPointsShown, false);
    QCOMPARE(window.cmdProtDisp->text(), QStringLiteral("全打点表示"));
}

void tst_frmMain_print::failedPrintoutIsReportedAndRestoresTheDisplay()
{
    writeSettings(0, 0);
    frmMain window;
    m_printer->refuses = true;
    window.mnuFilePrint->trigger();
    QCOMPARE(m_platform->prompts->texts(),
             (QStringList{printtexts::insertB5Paper(), printtexts::printFailed()}));
    QCOMPARE(window.state().AllPointsShown, false);
}

void tst_frmMain_print::noPrinterSavesThePageAsPdf()
{
    writeSettings(0, 1);
    frmMain window;
    m_printer->installed = false;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("main.pdf"));
    m_platform->fileDialogs->saveNames.enqueue(path);
    window.mnuFilePrint->trigger();
    // No paper to ask for: straight to the offer of a PDF file.
    QCOMPARE(m_platform->prompts->texts(), QStringList{printtexts::noPrinter()});
    const QSizeF points = pdfMediaBoxPoints(path);
    QVERIFY(points.width() > points.height());
    QCOMPARE(qRound(points.width() * 25.4 / 72.0), 257);
}

void tst_frmMain_print::helpOpensThePage_data()
{
    // Pages present: beside the program (a build folder) and in
    // ../share/kinemo (an installed program); the page opened.
    QTest::addColumn<bool>("beside");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QString>("opened");
    QTest::newRow("build folder") << true << false << "bin/kinhelp.html";
    QTest::newRow("installed") << false << true << "share/kinemo/kinhelp.html";
    QTest::newRow("both: the one beside") << true << true << "bin/kinhelp.html";
}

void tst_frmMain_print::helpOpensThePage()
{
    QFETCH(bool, beside);
    QFETCH(bool, installed);
    QFETCH(QString, opened);
    const QDir root(m_platform->programFolder);
    QVERIFY(root.mkpath(QStringLiteral("bin")));
    QVERIFY(root.mkpath(QStringLiteral("share/kinemo")));
    setProgramFolder(root.filePath(QStringLiteral("bin")));
    for (const auto &[present, page] : {std::pair{beside, "bin/kinhelp.html"},
                                        std::pair{installed, "share/kinemo/kinhelp.html"}}) {
        if (present) {
            QFile file(root.filePath(QString::fromLatin1(page)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }
    frmMain window;
    window.mnuHelpHowto->trigger();
    QCOMPARE(m_platform->prompts->texts(), QStringList());
    QCOMPARE(m_browser->opened, QStringList{root.filePath(opened)});
}

void tst_frmMain_print::helpFailuresAreMessages()
{
    const QString page = m_platform->programFolder + QStringLiteral("/kinhelp.html");
    frmMain window;

    // No page beside the program: said so, no browser started.
    window.mnuHelpHowto->trigger();
    QCOMPARE(m_platform->prompts->texts(), QStringList{helptexts::missing(page)});
    QVERIFY(m_browser->opened.isEmpty());

    // A browser that does not start.
    QFile file(page);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    m_browser->starts = false;
    window.mnuHelpHowto->trigger();
    QCOMPARE(m_platform->prompts->lastText(), helptexts::noBrowser(page));

    // No browser service at all.
    platform().browser.reset();
    QVERIFY(!openHelpPage());
    QCOMPARE(m_platform->prompts->shown.size(), 3);
}

void tst_frmMain_print::versionItemKeepsOneDialog()
{
    frmMain window;
    window.mnuHelpAbout->trigger();
    window.mnuHelpAbout->trigger();
    int dialogs = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        dialogs += qobject_cast<frmAbout *>(w) != nullptr;
    QCOMPARE(dialogs, 1);
    QVERIFY(frmAbout::openDialog()->isVisible());
    QVERIFY(!frmAbout::openDialog()->isModal());
}

QTEST_MAIN(tst_frmMain_print)
#include "tst_frmMain_print.moc"
