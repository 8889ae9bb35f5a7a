#include "app/frmMain.h"
#include "base/app_paths.h"
#include "base/measurement_state.h"
#include "recording_platform.h"
#include "settings/frmSystem.h"
#include "settings/settings_file.h"
#include "settings/settings_options.h"

#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

using Settings = QList<int>; // ResultDisplayMode .. PositionPermission, file order

class TestFrmSystem : public QObject
{
    Q_OBJECT

private:
    static void setSettings(const Settings &values)
    {
        for (int i = 0; i < SettingCount; ++i)
            measurementState().*settingOptions()[i].field = static_cast<qint16>(values[i]);
    }

    static Settings currentSettings()
    {
        Settings values;
        for (const SettingOption &option : settingOptions())
            values.append(measurementState().*option.field);
        return values;
    }

    static QList<QRadioButton *> array(frmSystem &dialog, int setting)
    {
        const QList<QRadioButton *> lists[] = {dialog.optDisp1, dialog.optDisp2,  dialog.optPrint,
                                               dialog.optProt,  dialog.optAction, dialog.optAll,
                                               dialog.optTrack, dialog.optCmp,    dialog.optPos};
        return lists[setting];
    }

    static int selected(frmSystem &dialog, int setting)
    {
        int index = -1;
        const QList<QRadioButton *> buttons = array(dialog, setting);
        for (int i = 0; i < buttons.size(); ++i) {
            if (buttons[i]->isChecked()) {
                if (index >= 0)
                    return -2; // two at once
                index = i;
            }
        }
        return index;
    }

    // Chooses an option the way a user does: its tab, then a click on it.
    static void choose(frmSystem &dialog, int setting, int index)
    {
        const int tab = setting == OptAll     ? 4
                        : setting == OptTrack ? 3
                        : setting == OptCmp   ? 1
                        : setting == OptPos   ? 1
                                              : qMin(setting, 4);
        dialog.Tab1->setCurrentIndex(tab);
        QRadioButton *button = array(dialog, setting)[index];
        QVERIFY(button->isVisible());
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(button->width() - 4, 4));
        QVERIFY(button->isChecked());
    }

    static QStringList visibleFrames(frmSystem &dialog)
    {
        QStringList names;
        for (QGroupBox *frame : dialog.findChildren<QGroupBox *>()) {
            if (frame->isVisible())
                names.append(frame->objectName());
        }
        names.sort();
        return names;
    }

    struct MainControls
    {
        bool print, result1, spd, result2, dis, protDisp;
        bool operator==(const MainControls &o) const
        {
            return print == o.print && result1 == o.result1 && spd == o.spd &&
                   result2 == o.result2 && dis == o.dis && protDisp == o.protDisp;
        }
    };

    static MainControls controlsOf(frmMain &main)
    {
        return {main.mnuFilePrint->isEnabled(), main.mnuViewResult1->isEnabled(),
                !main.cmdSpd->isHidden(),       main.mnuViewResult2->isEnabled(),
                !main.cmdDis->isHidden(),       !main.cmdProtDisp->isHidden()};
    }

    static QByteArray fileBytes(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

private slots:
    void captionsAndNames()
    {
        TestPlatform platform;
        frmSystem dialog(nullptr);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("キネモ　- 環境設定 -"));
        QCOMPARE(dialog.Tab1->count(), 5);
        const QStringList tabs = {"結果表示", "表とグラフ", "印刷", "測定方法", "動作"};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(dialog.Tab1->tabText(i), tabs[i]);
        QCOMPARE(dialog.cmdStandard->text(), QStringLiteral("初期設定"));
        QCOMPARE(dialog.cmdOk->text(), QStringLiteral("O  K"));
        QCOMPARE(dialog.cmdCancel->text(), QStringLiteral("キャンセル"));
        QCOMPARE(dialog.cmdOk->geometry(), QRect(128, 264, 89, 25));

        const QStringList frameCaptions = {
            "実験結果の表示・非表示", "表とグラフの種類",     "印刷の設定",
            "距離の測定方法の設定",   "座標クリック後の動作", "全打点の表示方法",
            "自動追跡の使用",         "速度の成分と加速度",   "位置と時間"};
        const QStringList someCaptions = {"表もグラフも表示しない",
                                          "時間と速さ、時間と移動距離の両方の関係を表示する",
                                          "印刷を許可しない",
                                          "単位時間の区間距離を距離とする",
                                          "座標をクリック後、自動的に次のコマに進む",
                                          "常に全打点を表示する",
                                          "使わせない",
                                          "表示させない",
                                          "表示させない"};
        const int lastIndex[] = {3, 2, 3, 2, 1, 1, 1, 1, 1};
        for (int s = 0; s < SettingCount; ++s) {
            const SettingOption &option = settingOptions()[s];
            auto *frame = dialog.findChild<QGroupBox *>(option.frameName);
            QVERIFY(frame);
            QCOMPARE(frame->title(), frameCaptions[s]);
            QCOMPARE(array(dialog, s).size(), lastIndex[s] + 1);
            auto *last = dialog.findChild<QRadioButton *>(option.arrayName + QLatin1Char('_') +
                                                          QString::number(lastIndex[s]));
            QVERIFY(last);
            QCOMPARE(last, array(dialog, s).constLast());
            QCOMPARE(last->text(), someCaptions[s]);
            QCOMPARE(last->parentWidget(), frame);
        }
        QCOMPARE(dialog.frameAll->geometry(), QRect(24, 144, 283, 93));
        QCOMPARE(dialog.optCmp[0]->text(), QStringLiteral("速度の成分と加速度を表示させる"));
    }

    void tabsShowTheirFrames()
    {
        TestPlatform platform;
        frmSystem dialog(nullptr);
        dialog.show();
        QCOMPARE(dialog.Tab1->currentIndex(), 0);
        QCOMPARE(visibleFrames(dialog), QStringList{"frameDisp1"});
        const QStringList expected[] = {{"frameDisp1"},
                                        {"frameCmp", "frameDisp2", "framePos"},
                                        {"framePrint"},
                                        {"frameProt", "frameTrack"},
                                        {"frameAction", "frameAll"}};
        for (int tab : {4, 2, 0, 3, 1, 4})
            QCOMPARE((dialog.Tab1->setCurrentIndex(tab), visibleFrames(dialog)), expected[tab]);
        QCOMPARE(framesOfTab(0), QList<int>{});
        QCOMPARE(framesOfTab(6), QList<int>{});
    }

    void loadSelectsCurrentValues_data()
    {
        QTest::addColumn<Settings>("stored");
        QTest::addColumn<Settings>("shown"); // -1: nothing selected

        QTest::newRow("defaults") << Settings{0, 0, 0, 0, 1, 1, 0, 0, 0}
                                  << Settings{0, 0, 0, 0, 1, 1, 0, 0, 0};
        QTest::newRow("graph only, no printing, no tracking")
            << Settings{2, 1, 3, 2, 0, 0, 1, 1, 0} << Settings{2, 1, 3, 2, 0, 0, 1, 1, 0};
        QTest::newRow("out of range") << Settings{4, -1, 7, 3, 2, -32768, 2, 5, 9}
                                      << Settings{-1, -1, -1, -1, -1, -1, -1, -1, -1};
    }

    void loadSelectsCurrentValues()
    {
        QFETCH(Settings, stored);
        QFETCH(Settings, shown);
        TestPlatform platform;
        setSettings(stored);
        frmSystem dialog(nullptr);
        for (int s = 0; s < SettingCount; ++s)
            QCOMPARE(selected(dialog, s), shown[s]);

        // "O  K" without a choice keeps every value as it was.
        dialog.show();
        QTest::mouseClick(dialog.cmdOk, Qt::LeftButton);
        QCOMPARE(currentSettings(), stored);
    }

    void okAppliesToMainWindowAndFile_data()
    {
        QTest::addColumn<Settings>("chosen");
        QTest::addColumn<bool>("print");
        QTest::addColumn<bool>("speed");
        QTest::addColumn<bool>("distance");
        QTest::addColumn<bool>("allPointsButton");

        QTest::newRow("defaults") << Settings{0, 0, 0, 0, 1, 1, 0, 0, 0} << true << true << false
                                  << false;
        QTest::newRow("distance only, video printing")
            << Settings{0, 1, 1, 1, 0, 0, 1, 1, 0} << true << false << true << true;
        QTest::newRow("both kinds, result printing only")
            << Settings{1, 2, 2, 2, 1, 0, 0, 0, 0} << false << true << true << true;
        QTest::newRow("graph only, no printing")
            << Settings{2, 2, 3, 0, 0, 1, 1, 1, 0} << false << true << true << false;
        QTest::newRow("no results at all whatever the kind")
            << Settings{3, 2, 1, 0, 1, 1, 0, 0, 0} << true << false << false << false;
        QTest::newRow("no results, distance kind")
            << Settings{3, 1, 0, 0, 0, 0, 1, 0, 0} << true << false << false << true;
    }

    void okAppliesToMainWindowAndFile()
    {
        QFETCH(Settings, chosen);
        QFETCH(bool, print);
        QFETCH(bool, speed);
        QFETCH(bool, distance);
        QFETCH(bool, allPointsButton);

        TestPlatform platform;
        frmMain main;
        // Start from the opposite of what is chosen, so every control has to move.
        setSettings({chosen[0] == 3 ? 0 : 3, chosen[1] == 2 ? 0 : 2, chosen[2] < 2 ? 3 : 0, 1,
                     1 - chosen[4], 1 - chosen[5], 1 - chosen[6], 1 - chosen[7], 1 - chosen[8]});
        main.applyControlStates();
        measurementState().SettingsPassword = QStringLiteral("Pw9");

        QPointer<frmSystem> dialog = frmSystem::showSettings(&main);
        for (int s = 0; s < SettingCount; ++s)
            choose(*dialog, s, chosen[s]);
        QTest::mouseClick(dialog->cmdOk, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(dialog.isNull());

        QCOMPARE(currentSettings(), chosen);
        const MainControls expected{print, speed, speed, distance, distance, allPointsButton};
        QVERIFY(controlsOf(main) == expected);
        QCOMPARE(main.cmdTrack->isHidden(), chosen[6] == 1);
        // The components window: hidden button and greyed item when not
        // allowed, and with the other results when none are shown.
        const bool components = chosen[7] == 0 && chosen[0] != 3;
        QCOMPARE(main.cmdCmp->isHidden(), !components);
        QCOMPARE(main.mnuViewResult3->isEnabled(), components);
        QVERIFY(platform.prompts->shown.isEmpty());

        QByteArray lines = "Pw9\r\n";
        for (int value : chosen)
            lines += ' ' + QByteArray::number(value) + "\r\n";
        QCOMPARE(fileBytes(settingsFilePath()), lines);
    }

    void okWritesChangedPasswordOverOldFile()
    {
        TestPlatform platform;
        {
            QFile old(settingsFilePath());
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("qz47\r\n 0\r\n 0\r\n 0\r\n 0\r\n 1\r\n 1\r\nextra line\r\n");
        }
        frmMain main;
        measurementState().SettingsPassword = QStringLiteral("あ1"); // from an edited file
        QPointer<frmSystem> dialog = frmSystem::showSettings(&main);
        choose(*dialog, OptProt, 2);
        QTest::mouseClick(dialog->cmdOk, Qt::LeftButton);
        QCOMPARE(fileBytes(settingsFilePath()),
                 QByteArray("\x82\xa0"
                            "1\r\n 0\r\n 0\r\n 0\r\n 2\r\n 1\r\n 1\r\n 0\r\n 0\r\n 0\r\n"));
    }

    // "初期設定" only selects the default buttons: "キャンセル" after it leaves
    // memory, the main window (also once it derives its controls anew) and
    // the file as they were; "O  K" after it takes the defaults.
    void standardThenCancelOrOk()
    {
        TestPlatform platform;
        const QByteArray before = "abc\r\n 3\r\n 1\r\n 3\r\n 2\r\n 0\r\n 0\r\n";
        {
            QFile file(settingsFilePath());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(before);
        }
        frmMain main; // reads the file above
        const Settings teachers{3, 1, 3, 2, 0, 0, 0, 0, 0};
        QCOMPARE(currentSettings(), teachers);
        const MainControls mainBefore = controlsOf(main);

        QPointer<frmSystem> dialog = frmSystem::showSettings(&main);
        QTest::mouseClick(dialog->cmdStandard, Qt::LeftButton);
        const Settings defaults{0, 0, 0, 0, 1, 1, 0, 0, 0};
        for (int s = 0; s < SettingCount; ++s)
            QCOMPARE(selected(*dialog, s), defaults[s]);
        QCOMPARE(currentSettings(), teachers);
        QVERIFY(dialog->isVisible());

        QTest::mouseClick(dialog->cmdCancel, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(dialog.isNull());
        QCOMPARE(currentSettings(), teachers);
        QCOMPARE(measurementState().SettingsPassword, QStringLiteral("abc"));
        main.applyControlStates(); // as after any command
        QVERIFY(controlsOf(main) == mainBefore);
        QCOMPARE(fileBytes(settingsFilePath()), before);

        dialog = frmSystem::showSettings(&main);
        QTest::mouseClick(dialog->cmdStandard, Qt::LeftButton);
        QTest::mouseClick(dialog->cmdOk, Qt::LeftButton);
        QCOMPARE(currentSettings(), defaults);
        QVERIFY(controlsOf(main) == (MainControls{true, true, true, false, false, false}));
        QCOMPARE(fileBytes(settingsFilePath()),
                 QByteArray("abc\r\n 0\r\n 0\r\n 0\r\n 0\r\n 1\r\n 1\r\n 0\r\n 0\r\n 0\r\n"));
    }

    void cancelIgnoresChoices()
    {
        TestPlatform platform;
        frmMain main;
        QPointer<frmSystem> dialog = frmSystem::showSettings(&main);
        choose(*dialog, OptDisp1, 3);
        choose(*dialog, OptAll, 0);
        QTest::mouseClick(dialog->cmdCancel, Qt::LeftButton);
        QCOMPARE(currentSettings(), (Settings{0, 0, 0, 0, 1, 1, 0, 0, 0}));
        QVERIFY(main.cmdSpd->isVisibleTo(&main));
        QVERIFY(main.cmdProtDisp->isHidden());
        QVERIFY(!QFile::exists(settingsFilePath()));
    }

    void writeFailureKeepsSettingsAndSaysWhere()
    {
        TestPlatform platform;
        frmMain main;
        // A program folder below a regular file cannot hold any file, even for root.
        const QString blocker = platform.programFolder + "/not-a-folder";
        {
            QFile file(blocker);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        setProgramFolder(blocker);
        setUserConfigFolder(blocker + "/config");

        QPointer<frmSystem> dialog = frmSystem::showSettings(&main);
        choose(*dialog, OptDisp2, 1);
        choose(*dialog, OptPrint, 3);
        QTest::mouseClick(dialog->cmdOk, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        QVERIFY(dialog.isNull());
        QCOMPARE(platform.prompts->shown.size(), 1);
        const QString text = platform.prompts->lastText();
        QVERIFY2(text.startsWith(QStringLiteral("設定ファイルを保存できませんでした。")),
                 qPrintable(text));
        // Both places it tried, the program's folder first.
        QCOMPARE(text.split('\n').mid(1),
                 (QStringList{blocker + "/kinmo.txt", blocker + "/config/kinmo.txt"}));
        QCOMPARE(currentSettings(), (Settings{0, 1, 3, 0, 1, 1, 0, 0, 0}));
        QVERIFY(!main.mnuFilePrint->isEnabled());
        QVERIFY(main.cmdSpd->isHidden());
        QVERIFY(!main.cmdDis->isHidden());
    }

    void reopeningBringsTheSameDialog()
    {
        TestPlatform platform;
        QPointer<frmSystem> first = frmSystem::showSettings(nullptr);
        choose(*first, OptPrint, 2);
        QCOMPARE(frmSystem::showSettings(nullptr), first.data());
        QVERIFY(first->optPrint[2]->isChecked()); // not loaded afresh
        first->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.isNull());
        frmSystem *second = frmSystem::showSettings(nullptr);
        QVERIFY(second->optPrint[0]->isChecked());
        QCOMPARE(second->Tab1->currentIndex(), 0);
        second->close();
    }
};

QTEST_MAIN(TestFrmSystem)
#include "tst_frmSystem.moc"
