// The version dialog: its texts, one dialog however often it is asked for,
// and the system-information button.

#include "printhelp/frmAbout.h"
#include "recording_platform.h"

#include <QApplication>
#include <QLabel>
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
    void systemInformationIsNotAvailable();

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
    QCOMPARE(lines.at(1),
             QStringLiteral(
                 "　DirectX8.0a以上に対応し、多くのデジカメの映像を再生することができます。"));
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

void tst_frmAbout::systemInformationIsNotAvailable()
{
    frmAbout *dialog = frmAbout::showDialog();
    QTest::mouseClick(dialog->cmdSysInfo, Qt::LeftButton);
    QCOMPARE(m_platform->prompts->texts(),
             QStringList{QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません")});
    QCOMPARE(m_platform->prompts->shown.constFirst().buttons, Prompts::Buttons::Ok);
    QCOMPARE(m_platform->prompts->shown.constFirst().icon, Prompts::Icon::None);
    QVERIFY(dialog->isVisible());
}

QTEST_MAIN(tst_frmAbout)
#include "tst_frmAbout.moc"
