// Sending a window's picture to paper: the printer, the PDF file offered when
// there is no printer, and the messages when something goes wrong.

#include "print_doubles.h"
#include "printhelp/print_job.h"
#include "recording_platform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_print_job : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void printerPrintsOnePageSilently();
    void refusingPrinterIsReported();
    void missingPictureIsReportedAndNothingPrinted();
    void noPrinterOffersPdfAndSavesTheSamePage();
    void noPrinterDeclinedOrDialogCancelled_data();
    void noPrinterDeclinedOrDialogCancelled();
    void existingPdfIsOnlyReplacedWhenConfirmed();
    void unwritablePdfIsReported();

private:
    static QImage windowPicture();
    std::unique_ptr<TestPlatform> m_platform;
    std::shared_ptr<PdfPrinter> m_printer;
    QTemporaryDir m_dir;
};

QImage tst_print_job::windowPicture()
{
    QImage picture(320, 240, QImage::Format_RGB32);
    picture.fill(QColor(10, 200, 30));
    return picture;
}

void tst_print_job::init()
{
    m_platform = std::make_unique<TestPlatform>();
    m_printer = std::make_shared<PdfPrinter>();
    platform().printer = m_printer;
}

void tst_print_job::cleanup()
{
    m_printer.reset();
    m_platform.reset();
}

void tst_print_job::printerPrintsOnePageSilently()
{
    QCOMPARE(printWindowPicture(windowPicture()), PrintOutcome::Printed);
    QCOMPARE(m_printer->pages.size(), 1);
    QCOMPARE(m_printer->lastPicture, windowPicture());
    QVERIFY(m_platform->prompts->shown.isEmpty());
    QVERIFY(m_platform->fileDialogs->filtersSeen.isEmpty());
}

void tst_print_job::refusingPrinterIsReported()
{
    m_printer->refuses = true;
    QCOMPARE(printWindowPicture(windowPicture()), PrintOutcome::Failed);
    QCOMPARE(m_platform->prompts->texts(), QStringList{printtexts::printFailed()});
    QVERIFY(m_printer->pages.isEmpty());
}

void tst_print_job::missingPictureIsReportedAndNothingPrinted()
{
    int printouts = 0;
    m_printer->onPrint = [&printouts] { ++printouts; };
    QCOMPARE(printWindowPicture(QImage()), PrintOutcome::Failed);
    QCOMPARE(printouts, 0);
    QCOMPARE(m_platform->prompts->texts(), QStringList{printtexts::captureFailed()});
}

void tst_print_job::noPrinterOffersPdfAndSavesTheSamePage()
{
    m_printer->installed = false;
    const QString path = m_dir.filePath(QStringLiteral("kinemo.pdf"));
    m_platform->fileDialogs->saveNames.enqueue(path);

    QCOMPARE(printWindowPicture(windowPicture()), PrintOutcome::SavedAsPdf);
    QCOMPARE(m_platform->prompts->texts(), QStringList{printtexts::noPrinter()});
    QCOMPARE(m_platform->prompts->shown.constFirst().buttons, Prompts::Buttons::YesNo);
    QCOMPARE(m_platform->fileDialogs->filtersSeen, QStringList{printtexts::pdfFilter()});
    QCOMPARE(m_platform->fileDialogs->suffixesSeen, QStringList{QStringLiteral("pdf")});
    QVERIFY(m_printer->pages.isEmpty());

    const QSizeF points = pdfMediaBoxPoints(path);
    QCOMPARE(qRound(points.width() * 25.4 / 72.0), 257);
    QCOMPARE(qRound(points.height() * 25.4 / 72.0), 182);
}

void tst_print_job::noPrinterDeclinedOrDialogCancelled_data()
{
    QTest::addColumn<bool>("wantsPdf");
    QTest::newRow("declines the PDF file") << false;
    QTest::newRow("cancels the save dialog") << true;
}

void tst_print_job::noPrinterDeclinedOrDialogCancelled()
{
    QFETCH(bool, wantsPdf);
    m_printer->installed = false;
    const QStringList before = QDir(m_dir.path()).entryList(QDir::Files);
    m_platform->prompts->answers.enqueue(wantsPdf ? Prompts::Answer::Yes : Prompts::Answer::No);
    // The save dialog, if it is shown, is cancelled (no name queued).
    QCOMPARE(printWindowPicture(windowPicture()), PrintOutcome::Abandoned);
    QCOMPARE(m_platform->fileDialogs->filtersSeen.size(), wantsPdf ? 1 : 0);
    QCOMPARE(m_platform->prompts->shown.size(), 1);
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), before);
    QVERIFY(m_printer->pages.isEmpty());
}

void tst_print_job::existingPdfIsOnlyReplacedWhenConfirmed()
{
    m_printer->installed = false;
    const QString path = m_dir.filePath(QStringLiteral("old.pdf"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("keep me");
    }
    m_platform->fileDialogs->saveNames.enqueue(path);
    m_platform->prompts->answers << Prompts::Answer::Yes << Prompts::Answer::No;
    QCOMPARE(printWindowPicture(windowPicture()), PrintOutcome::Abandoned);
    QCOMPARE(m_platform->prompts->lastText(), printtexts::overwrite(path));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("keep me"));
    }

    m_platform->fileDialogs->saveNames.enqueue(path);
    m_platform->prompts->answers << Prompts::Answer::Yes << Prompts::Answer::Yes;
    QCOMPARE(printWindowPicture(windowPicture()), PrintOutcome::SavedAsPdf);
    QVERIFY(pdfMediaBoxPoints(path).isValid());
}

void tst_print_job::unwritablePdfIsReported()
{
    m_printer->installed = false;
    m_platform->fileDialogs->saveNames.enqueue(m_dir.filePath(QStringLiteral("gone/page.pdf")));
    QCOMPARE(printWindowPicture(windowPicture()), PrintOutcome::Failed);
    QCOMPARE(m_platform->prompts->lastText(), printtexts::pdfFailed());
}

QTEST_GUILESS_MAIN(tst_print_job)
#include "tst_print_job.moc"
