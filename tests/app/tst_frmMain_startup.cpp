#include "app/frmMain.h"
#include "base/app_paths.h"
#include "base/measurement_state.h"
#include "recording_platform.h"
#include "results/results_part.h"
#include "settings/settings_file.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QtTest>

class TestFrmMainStartUp : public QObject
{
    Q_OBJECT

private:
    static void writeSettings(const QString &folder, const QByteArray &content)
    {
        QFile f(folder + "/kinmo.txt");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

private slots:
    void firstStartWithoutSettingsFile()
    {
        TestPlatform platform;
        frmMain w;
        QCOMPARE(w.windowTitle(), QStringLiteral("キネモ"));
        QCOMPARE(measurementState().SettingsPassword, QStringLiteral("qz47"));
        QVERIFY(w.cmdProtDisp->isHidden());
        QVERIFY(w.mnuFilePrint->isEnabled());
        QVERIFY(w.mnuViewResult1->isEnabled());
        QVERIFY(!w.cmdSpd->isHidden());
        QVERIFY(!w.mnuViewResult2->isEnabled());
        QVERIFY(w.cmdDis->isHidden());
        QVERIFY(!QFile::exists(platform.programFolder + "/kinmo.txt"));

        // The no-video state.
        QVERIFY(!w.ctrlSlider->isEnabled());
        for (const char *name : {"cmdBackFrame", "cmdFwdFrame", "cmdPlay", "cmdStop", "cmdLength",
                                 "cmdBack", "cmdStep", "cmdErase", "cmdProtDisp", "cmdPlayer"}) {
            auto *control = w.findChild<QWidget *>(name);
            QVERIFY2(control, name);
            QVERIFY2(!control->isEnabled(), name);
        }
        QCOMPARE(w.cmdLength->text(), QStringLiteral("長さの設定"));
        QCOMPARE(w.lblLength->text(), QStringLiteral("長さは設定されていません"));
        QCOMPARE(w.lblLength->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(w.lblHosei->text(), QStringLiteral("手ぶれ補正\r\nＯＦＦ"));
        QCOMPARE(w.lblHosei->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(w.lblCount->text(), QStringLiteral("/ 0"));
        QCOMPARE(w.lblCurrentTimeValue->text(), QStringLiteral("0.00秒/0.00秒"));
        QCOMPARE(w.lblFPSValue->text(), QStringLiteral("0"));
        QVERIFY(w.lblKijun->isHidden());
        QVERIFY(w.txtLengthValue->isHidden());
        QVERIFY(w.cmbTanni->isHidden());
        QVERIFY(w.lblLength1->isHidden());
    }

    void settingsChangeTheWindow_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<bool>("print");
        QTest::addColumn<bool>("speed");
        QTest::addColumn<bool>("distance");
        QTest::addColumn<bool>("allPointsButton");
        QTest::newRow("both results")
            << QByteArray("p\r\n0\r\n2\r\n0\r\n0\r\n1\r\n0\r\n") << true << true << true << true;
        QTest::newRow("results off whatever the kind")
            << QByteArray("p\r\n3\r\n2\r\n0\r\n0\r\n1\r\n1\r\n") << true << false << false << false;
    }
    void settingsChangeTheWindow()
    {
        QFETCH(QByteArray, settings);
        QFETCH(bool, print);
        QFETCH(bool, speed);
        QFETCH(bool, distance);
        QFETCH(bool, allPointsButton);
        TestPlatform platform;
        writeSettings(platform.programFolder, settings);
        frmMain w;
        QCOMPARE(w.mnuFilePrint->isEnabled(), print);
        QCOMPARE(w.mnuViewResult1->isEnabled(), speed);
        QCOMPARE(!w.cmdSpd->isHidden(), speed);
        QCOMPARE(w.mnuViewResult2->isEnabled(), distance);
        QCOMPARE(!w.cmdDis->isHidden(), distance);
        QCOMPARE(!w.cmdProtDisp->isHidden(), allPointsButton);
    }

    void quitAnsweredNoKeepsEverything()
    {
        TestPlatform platform;
        frmMain w;
        w.show();
        measurementState().PointCount = 2;
        measurementState().markPointsWritten(); // saved: the plain quit question
        platform.prompts->answers.enqueue(Prompts::Answer::No);
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        QCOMPARE(platform.prompts->texts(), QStringList{QStringLiteral("キネモを終了しますか？")});
        QCOMPARE(platform.prompts->shown.constFirst().icon, Prompts::Icon::Question);
        QCOMPARE(platform.prompts->shown.constFirst().buttons, Prompts::Buttons::YesNo);
        QCOMPARE(int(measurementState().PointCount), 2);
        QVERIFY(!QFile::exists(platform.programFolder + "/kinmo.txt"));
    }

    void quitAnsweredYesWritesTheSettingsAndClosesOtherWindows()
    {
        TestPlatform platform;
        frmMain w;
        w.show();
        QWidget other;
        other.show();
        w.results().speedWindow() = &other;
        platform.prompts->answers.enqueue(Prompts::Answer::Yes);
        QVERIFY(w.close());
        QVERIFY(!other.isVisible());
        QFile f(platform.programFolder + "/kinmo.txt");
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(
            f.readAll(),
            QByteArray("qz47\r\n 0\r\n 0\r\n 0\r\n 0\r\n 1\r\n 1\r\n 0\r\n 0\r\n 0\r\n 0\r\n"));
        // A program folder that can be written keeps them; the user's own
        // configuration folder is not even made.
        QVERIFY(!QFileInfo::exists(platform.userConfigFolder));
    }

    void installedProgramReadsTheClassFileAndWritesOnlyTheUsersOwn()
    {
        TestPlatform platform;
        // Installed: <prefix>/bin/kinemo beside <prefix>/share/kinemo. Its
        // folder can be written (as by root), yet nothing is written there
        // nor to the class-wide file; a stray file beside it is not read.
        const QString bin = platform.programFolder + "/usr/bin";
        QVERIFY(QDir().mkpath(platform.programFolder + "/usr/share/kinemo"));
        QVERIFY(QDir().mkpath(bin));
        setProgramFolder(bin);
        writeSettings(bin, "stray\r\n 0\r\n 0\r\n 0\r\n 0\r\n 1\r\n 1\r\n");
        const QByteArray classWide("class\r\n 0\r\n 0\r\n 3\r\n 0\r\n 1\r\n 1\r\n");
        const QString etc = QFileInfo(platform.classSettingsFile).absolutePath();
        QVERIFY(QDir().mkpath(etc));
        writeSettings(etc, classWide);
        {
            // Unchanged: nothing is written anywhere.
            frmMain w;
            QCOMPARE(measurementState().SettingsPassword, QStringLiteral("class"));
            QVERIFY(!w.mnuFilePrint->isEnabled());
            w.show();
            QVERIFY(w.close());
            QVERIFY(!QFileInfo::exists(platform.userConfigFolder));
        }
        {
            frmMain w;
            measurementState().SettingsPassword = QStringLiteral("sensei1");
            measurementState().PrintPermission = 0;
            w.show();
            QVERIFY(w.close());
            // Quitting is silent: the settings went to the user's own file.
            QCOMPARE(platform.prompts->texts(),
                     QStringList(2, QStringLiteral("キネモを終了しますか？")));
        }
        QFile own(platform.userConfigFolder + "/kinmo.txt");
        QVERIFY(own.open(QIODevice::ReadOnly));
        QCOMPARE(
            own.readAll(),
            QByteArray("sensei1\r\n 0\r\n 0\r\n 0\r\n 0\r\n 1\r\n 1\r\n 0\r\n 0\r\n 0\r\n 0\r\n"));
        QFile classFile(platform.classSettingsFile);
        QVERIFY(classFile.open(QIODevice::ReadOnly));
        QCOMPARE(classFile.readAll(), classWide);
        QFile stray(bin + "/kinmo.txt");
        QVERIFY(stray.open(QIODevice::ReadOnly));
        QVERIFY(stray.readAll().startsWith("stray"));

        // The next start has the user's own settings, ahead of the class file.
        resetMeasurementState();
        frmMain again;
        QCOMPARE(measurementState().SettingsPassword, QStringLiteral("sensei1"));
        QVERIFY(again.mnuFilePrint->isEnabled());
    }

    void installedProgramWithoutClassFileUsesTheDefaults()
    {
        TestPlatform platform;
        QVERIFY(QDir().mkpath(platform.programFolder + "/share/kinemo"));
        const QString bin = platform.programFolder + "/bin";
        QVERIFY(QDir().mkpath(bin));
        setProgramFolder(bin);
        frmMain w;
        QCOMPARE(measurementState().SettingsPassword, QStringLiteral("qz47"));
        QVERIFY(w.mnuFilePrint->isEnabled());
        w.show();
        QVERIFY(w.close());
        QVERIFY(!QFileInfo::exists(platform.userConfigFolder));
        QVERIFY(!QFileInfo::exists(platform.classSettingsFile));
        QVERIFY(!QFileInfo::exists(bin + "/kinmo.txt"));
    }

    void usersOwnFileComesFirst()
    {
        TestPlatform platform;
        // Class-wide defaults beside the program: printing not allowed.
        const QByteArray classWide("class\r\n 0\r\n 0\r\n 3\r\n 0\r\n 1\r\n 1\r\n");
        writeSettings(platform.programFolder, classWide);
        {
            frmMain w;
            QCOMPARE(measurementState().SettingsPassword, QStringLiteral("class"));
            QVERIFY(!w.mnuFilePrint->isEnabled());
        }

        QVERIFY(QDir().mkpath(platform.userConfigFolder));
        writeSettings(platform.userConfigFolder, "mine\r\n 0\r\n 0\r\n 0\r\n 0\r\n 1\r\n 1\r\n");
        frmMain w;
        QCOMPARE(measurementState().SettingsPassword, QStringLiteral("mine"));
        QVERIFY(w.mnuFilePrint->isEnabled());
        // Written back where the next start reads them, although the
        // program's folder could take them too.
        measurementState().DistanceMethod = 2;
        w.show();
        QVERIFY(w.close());
        QFile beside(platform.programFolder + "/kinmo.txt");
        QVERIFY(beside.open(QIODevice::ReadOnly));
        QCOMPARE(beside.readAll(), classWide);
        QFile own(platform.userConfigFolder + "/kinmo.txt");
        QVERIFY(own.open(QIODevice::ReadOnly));
        QCOMPARE(
            own.readAll(),
            QByteArray("mine\r\n 0\r\n 0\r\n 0\r\n 2\r\n 1\r\n 1\r\n 0\r\n 0\r\n 0\r\n 0\r\n"));
    }

    void quitStillClosesWhenTheSettingsCannotBeWritten()
    {
        TestPlatform platform;
        // The settings file's place is taken by a folder: it cannot be replaced.
        QVERIFY(QDir(platform.programFolder).mkdir("kinmo.txt"));
        frmMain w;
        w.show();
        QVERIFY(w.close());
        QVERIFY(!w.isVisible());
    }

    void settingsReadAtStartAreWrittenBackByteForByte()
    {
        TestPlatform platform;
        const QByteArray content(
            "secret\r\n 1\r\n 2\r\n 1\r\n 2\r\n 0\r\n 0\r\n 1\r\n 1\r\n 1\r\n 1\r\n");
        writeSettings(platform.programFolder, content);
        frmMain w;
        w.show();
        QVERIFY(w.close());
        QFile f(platform.programFolder + "/kinmo.txt");
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), content);
    }
};

QTEST_MAIN(TestFrmMainStartUp)
#include "tst_frmMain_startup.moc"
