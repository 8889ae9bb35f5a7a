// The version dialog: its texts, one dialog however often it is asked for,
// and the system information with its copy button.

#include "base/app_paths.h"
#include "printhelp/frmAbout.h"
#include "recording_platform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

class tst_frmAbout : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_platform = std::make_unique<TestPlatform>(); }
    void cleanup();

    void texts();
    void oneDialogHoweverOftenAsked();
    void closedDialogIsGoneAndComesBackFresh();
    void systemInformationIsShownAndCopied();

private:
    static int openDialogs();
    std::unique_ptr<TestPlatform> m_platform;
};

void tst_frmAbout::cleanup()
{
    delete frmAbout::openDialog();
    m_platform.reset();
}

int tst_frmAbout::openDialogs()
{
    int count = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        count += qobject_cast<frmAbout *>(w) != nullptr;
    return count;
}

void tst_frmAbout::texts()
{
    frmAbout *dialog = frmAbout::showDialog();
    QCOMPARE(dialog->windowTitle(), QStringLiteral("キネモのﾊﾞｰｼﾞｮﾝ情報"));
    QCOMPARE(dialog->lblVersion->text(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ " KINEMO_PROJECT_VERSION));
    QCOMPARE(dialog->lblTitle->text(), QStringLiteral("キネモ"));
    const QStringList lines = dialog->lblDescription->text().split(QStringLiteral("\r\n"));
    QVERIFY(lines.size() >= 3);
    QCOMPARE(lines.at(0),
             QStringLiteral("　このアプリケーションは運動体の位置を記録し、解析するものです。"));
    QVERIFY(lines.at(1).contains(QStringLiteral("FFmpeg")));
    QVERIFY(lines.at(1).contains(QStringLiteral("mp4")));
    QCOMPARE(lines.at(2), QString());
    // The warning: two sentences.
    QCOMPARE(dialog->lblDisclaimer->text().count(QStringLiteral("。")), 2);
    QCOMPARE(dialog->cmdOK->text(), QStringLiteral("OK"));
    QCOMPARE(dialog->cmdSysInfo->text(), QStringLiteral("ｼｽﾃﾑ情報(&S)..."));
    QVERIFY(!dialog->isModal());
}

void tst_frmAbout::oneDialogHoweverOftenAsked()
{
    frmAbout *first = frmAbout::showDialog();
    frmAbout *second = frmAbout::showDialog();
    frmAbout::showDialog();
    QCOMPARE(second, first);
    QCOMPARE(openDialogs(), 1);
    QVERIFY(first->isVisible());
}

void tst_frmAbout::closedDialogIsGoneAndComesBackFresh()
{
    frmAbout *dialog = frmAbout::showDialog();
    QTest::mouseClick(dialog->cmdOK, Qt::LeftButton);
    // Closing releases the dialog.
    QTRY_VERIFY(frmAbout::openDialog() == nullptr);
    QTRY_COMPARE(openDialogs(), 0);

    frmAbout *again = frmAbout::showDialog();
    QVERIFY(again->isVisible());
    QCOMPARE(again->lblVersion->text(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ " KINEMO_PROJECT_VERSION));
    QCOMPARE(openDialogs(), 1);
}

void tst_frmAbout::systemInformationIsShownAndCopied()
{
    QFile settings(userSettingsFilePath());
    QVERIFY(QDir().mkpath(QFileInfo(settings).path()));
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.close();
    frmAbout *dialog = frmAbout::showDialog();
    QVERIFY(!dialog->txtSysInfo->isVisible());
    QTest::mouseClick(dialog->cmdSysInfo, Qt::LeftButton);
    QVERIFY(m_platform->prompts->shown.isEmpty());
    QVERIFY(dialog->txtSysInfo->isVisible());
    const QString info = dialog->txtSysInfo->toPlainText();
    for (const QString &fact :
         {QStringLiteral("キネモ " KINEMO_PROJECT_VERSION), QStringLiteral("Qt ") + qVersion(),
          QStringLiteral("FFmpeg "), QStringLiteral("OpenCV "), QStringLiteral("画面の拡大率："),
          QStringLiteral("設定ファイル：") + QDir::toNativeSeparators(settings.fileName()),
          QDir::toNativeSeparators(recoveryFolder())})
        QVERIFY2(info.contains(fact), qPrintable(fact));

    QTest::mouseClick(dialog->cmdCopy, Qt::LeftButton);
    QCOMPARE(m_platform->clipboard->text, info);
}

QTEST_MAIN(tst_frmAbout)
#include "tst_frmAbout.moc"
