#include "app/frmMain.h"
#include "base/measurement_state.h"
#include "recording_platform.h"
#include "settings/frmPass.h"
#include "settings/frmSystem.h"
#include "settings/password_rules.h"
#include "settings/settings_file.h"
#include "settings/settings_part.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TestFrmPass : public QObject
{
    Q_OBJECT

private:
    static const QString kRefusal;

    // The settings dialog a test opened, closed again so tests stay apart.
    static void closeSettingsDialogs()
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (qobject_cast<frmSystem *>(w) || qobject_cast<frmPass *>(w))
                w->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static frmSystem *openSettingsDialog()
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *dialog = qobject_cast<frmSystem *>(w); dialog && dialog->isVisible())
                return dialog;
        }
        return nullptr;
    }

    // A dialog as the menu makes it: deleted when closed.
    static QPointer<frmPass> makeDialog(frmMain *main)
    {
        auto *dialog = new frmPass(main);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->show();
        return dialog;
    }

    // Every line of the prompt on one line of the label, in legible type.
    static bool promptFits(const QLabel *label)
    {
        const QFontMetricsF metrics(label->font());
        for (const QString &line : label->text().split(QStringLiteral("\r\n")))
            if (metrics.horizontalAdvance(line) > label->contentsRect().width())
                return false;
        return label->font().pointSizeF() >= 7;
    }

    static void submit(frmPass *dialog, const QStringList &entries)
    {
        for (int i = 0; i < entries.size(); ++i) {
            dialog->txtPass[i]->clear();
            QTest::keyClicks(dialog->txtPass[i], entries[i]);
        }
        QTest::mouseClick(dialog->cmdOk, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private slots:
    void cleanup() { closeSettingsDialogs(); }

    void rules_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("entries"); // entry, or current + new twice
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("kept");

        QTest::newRow("exact") << "qz47" << QStringList{"qz47"} << true << "qz47";
        QTest::newRow("case differs") << "qz47" << QStringList{"QZ47"} << false << "qz47";
        QTest::newRow("trailing blank") << "qz47" << QStringList{"qz47 "} << false << "qz47";
        QTest::newRow("empty stored, empty typed") << "" << QStringList{""} << true << "";
        QTest::newRow("change") << "qz47" << QStringList{"qz47", "ab1", "ab1"} << true << "ab1";
        QTest::newRow("change to empty") << "qz47" << QStringList{"qz47", "", ""} << true << "";
        QTest::newRow("new entries differ")
            << "qz47" << QStringList{"qz47", "ab1", "ab2"} << false << "qz47";
        QTest::newRow("new entries differ in case")
            << "qz47" << QStringList{"qz47", "ab", "AB"} << false << "qz47";
        QTest::newRow("wrong current")
            << "qz47" << QStringList{"qz48", "ab", "ab"} << false << "qz47";
    }

    void rules()
    {
        QFETCH(QString, stored);
        QFETCH(QStringList, entries);
        QFETCH(bool, accepted);
        QFETCH(QString, kept);
        if (entries.size() == 1) {
            QCOMPARE(password::accepts(entries[0], stored), accepted);
        } else {
            const auto fresh = password::changed(stored, entries[0], entries[1], entries[2]);
            QCOMPARE(fresh.has_value(), accepted);
            QCOMPARE(fresh.value_or(stored), kept);
        }
    }

    void entryModeLayout()
    {
        TestPlatform platform;
        applyDefaultSettings(measurementState()); // password qz47
        frmPass dialog(nullptr);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("パスワードの入力"));
        QCOMPARE(dialog.Label1->text(),
                 QStringLiteral("　環境設定はパスワードで保護されています。\r\n"
                                "　パスワードを入力して、「ＯＫ」を押してください。"));
        QVERIFY(promptFits(dialog.Label1));
        QCOMPARE(dialog.PasswordChangeMode, qint16(0));
        for (int i = 0; i < 3; ++i) {
            QVERIFY(!dialog.lblPass[i]->isVisible());
            QCOMPARE(dialog.txtPass[i]->isVisible(), i == 0);
            QCOMPARE(dialog.findChild<QLineEdit *>(QStringLiteral("txtPass_%1").arg(i)),
                     dialog.txtPass[i]);
        }
        QCOMPARE(dialog.txtPass[0]->geometry(), QRect(128, 72, 129, 18));
        QCOMPARE(dialog.cmdPassword->text(), QStringLiteral("パスワード変更"));
        QCOMPARE(dialog.cmdOk->text(), QStringLiteral("O   K"));
        QCOMPARE(dialog.cmdCancel->text(), QStringLiteral("キャンセル"));
        QCOMPARE(dialog.cmdPassword->pos(), QPoint(8, 107));
        QCOMPARE(dialog.cmdOk->pos(), QPoint(112, 107));
        QCOMPARE(dialog.cmdCancel->pos(), QPoint(192, 107));
        QVERIFY(dialog.height() > dialog.cmdOk->geometry().bottom());
        QCOMPARE(dialog.focusWidget(), dialog.txtPass[0]);
        QCOMPARE(dialog.txtPass[0]->nextInFocusChain(), dialog.cmdOk);
    }

    void boxesMaskAndTakeNoInputMethod()
    {
        TestPlatform platform;
        applyDefaultSettings(measurementState()); // password qz47
        frmPass dialog(nullptr);
        dialog.show();
        for (QLineEdit *box : dialog.txtPass) {
            QTest::keyClicks(box, "aZ9!");
            QCOMPARE(box->text(), QStringLiteral("aZ9!"));
            QCOMPARE(box->displayText(), QStringLiteral("****"));
            QVERIFY(!box->testAttribute(Qt::WA_InputMethodEnabled));
            QVERIFY(box->inputMethodHints() & Qt::ImhHiddenText);
        }
    }

    void acceptedOpensSettingsAndCloses()
    {
        TestPlatform platform;
        applyDefaultSettings(measurementState()); // password qz47
        frmMain main;
        QPointer<frmPass> dialog = makeDialog(&main);
        submit(dialog, {"qz47"});
        QVERIFY(dialog.isNull());
        QVERIFY(platform.prompts->shown.isEmpty());
        QVERIFY(openSettingsDialog());
        QCOMPARE(measurementState().SettingsPassword, QStringLiteral("qz47"));
    }

    void refusedAsOftenAsTyped()
    {
        TestPlatform platform;
        applyDefaultSettings(measurementState()); // password qz47
        QPointer<frmPass> dialog = makeDialog(nullptr);
        for (const char *wrong : {"QZ47", "qz4", "", "qz47 ", "Qz47", " qz47"}) {
            submit(dialog, {wrong});
            QVERIFY(dialog);
            QCOMPARE(platform.prompts->lastText(), kRefusal);
            QCOMPARE(dialog->txtPass[0]->text(), QString());
            QCOMPARE(dialog->focusWidget(), dialog->txtPass[0]);
            QVERIFY(!openSettingsDialog());
        }
        QCOMPARE(platform.prompts->shown.size(), 6);
        submit(dialog, {"qz47"});
        QVERIFY(dialog.isNull());
        QVERIFY(openSettingsDialog());
    }

    void enterInAnyBoxActsAsOk()
    {
        TestPlatform platform;
        applyDefaultSettings(measurementState()); // password qz47
        QPointer<frmPass> dialog = makeDialog(nullptr);
        QTest::keyClicks(dialog->txtPass[0], "nope");
        QTest::keyClick(dialog->txtPass[0], Qt::Key_Return);
        QCOMPARE(platform.prompts->texts(), QStringList{kRefusal});

        QTest::mouseClick(dialog->cmdPassword, Qt::LeftButton);
        for (int box = 0; box < 3; ++box) {
            platform.prompts->shown.clear();
            QTest::keyClicks(dialog->txtPass[box], "x");
            QTest::keyClick(dialog->txtPass[box], Qt::Key_Enter);
            QCOMPARE(platform.prompts->texts(), QStringList{kRefusal});
            QCOMPARE(dialog->PasswordChangeMode, qint16(-1));
        }

        QTest::keyClicks(dialog->txtPass[0], "qz47");
        QTest::keyClicks(dialog->txtPass[1], "n3w");
        QTest::keyClicks(dialog->txtPass[2], "n3w");
        QTest::keyClick(dialog->txtPass[2], Qt::Key_Return);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(dialog.isNull());
        QCOMPARE(measurementState().SettingsPassword, QStringLiteral("n3w"));
    }

    void changeModeLayoutKeepsTypedText()
    {
        TestPlatform platform;
        applyDefaultSettings(measurementState()); // password qz47
        frmPass dialog(nullptr);
        dialog.show();
        const int entryHeight = dialog.height();
        QTest::keyClicks(dialog.txtPass[0], "qz");
        QTest::mouseClick(dialog.cmdPassword, Qt::LeftButton);
        QCOMPARE(dialog.PasswordChangeMode, qint16(-1));
        QCOMPARE(dialog.Label1->text(),
                 QStringLiteral("　現在のパスワードと新しいパスワードを入力してください。\r\n"
                                "　パスワードとして設定できるのは半角英数のみです。"));
        QVERIFY(promptFits(dialog.Label1));
        QCOMPARE(dialog.txtPass[0]->text(), QStringLiteral("qz"));
        const QStringList captions = {"現在のパスワード", "新しいパスワード",
                                      "新しいパスワード（再入力）"};
        for (int i = 0; i < 3; ++i) {
            QVERIFY(dialog.lblPass[i]->isVisible());
            QCOMPARE(dialog.lblPass[i]->text(), captions[i]);
            QVERIFY(dialog.txtPass[i]->isVisible());
        }
        QCOMPARE(dialog.txtPass[2]->geometry(), QRect(128, 136, 129, 18));
        QCOMPARE(dialog.cmdOk->pos(), QPoint(112, 176));
        QCOMPARE(dialog.height() - entryHeight, 55); // (3525 - 2700) twips
        QCOMPARE(dialog.focusWidget(), dialog.txtPass[0]);
        QCOMPARE(dialog.txtPass[0]->nextInFocusChain(), dialog.txtPass[1]);
        QCOMPARE(dialog.txtPass[1]->nextInFocusChain(), dialog.txtPass[2]);
        QCOMPARE(dialog.txtPass[2]->nextInFocusChain(), dialog.cmdOk);
    }

    void changeRefusedEmptiesAllBoxes_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("new entries differ") << QStringList{"qz47", "abc", "abd"};
        QTest::newRow("current differs in case") << QStringList{"QZ47", "abc", "abc"};
    }

    void changeRefusedEmptiesAllBoxes()
    {
        QFETCH(QStringList, entries);
        TestPlatform platform;
        applyDefaultSettings(measurementState()); // password qz47
        QPointer<frmPass> dialog = makeDialog(nullptr);
        QTest::mouseClick(dialog->cmdPassword, Qt::LeftButton);
        submit(dialog, entries);
        QVERIFY(dialog);
        QCOMPARE(platform.prompts->texts(), QStringList{kRefusal});
        for (QLineEdit *box : dialog->txtPass)
            QCOMPARE(box->text(), QString());
        QCOMPARE(dialog->focusWidget(), dialog->txtPass[0]);
        QCOMPARE(dialog->PasswordChangeMode, qint16(-1));
        QVERIFY(dialog->txtPass[2]->isVisible());
        QCOMPARE(measurementState().SettingsPassword, QStringLiteral("qz47"));
        QVERIFY(!openSettingsDialog());
    }

    void emptyNewPasswordThenEmptyEntryOpens()
    {
        TestPlatform platform;
        applyDefaultSettings(measurementState()); // password qz47
        QPointer<frmPass> dialog = makeDialog(nullptr);
        QTest::mouseClick(dialog->cmdPassword, Qt::LeftButton);
        submit(dialog, {"qz47", "", ""});
        QVERIFY(dialog.isNull());
        QCOMPARE(measurementState().SettingsPassword, QString());
        QVERIFY(openSettingsDialog());
        closeSettingsDialogs();

        dialog = makeDialog(nullptr);
        QCOMPARE(dialog->PasswordChangeMode, qint16(0));
        submit(dialog, {""});
        QVERIFY(dialog.isNull());
        QVERIFY(platform.prompts->shown.isEmpty());
        QVERIFY(openSettingsDialog());
    }

    void cancelChangesNothing()
    {
        TestPlatform platform;
        applyDefaultSettings(measurementState()); // password qz47
        QPointer<frmPass> dialog = makeDialog(nullptr);
        QTest::mouseClick(dialog->cmdPassword, Qt::LeftButton);
        QTest::keyClicks(dialog->txtPass[0], "qz47");
        QTest::keyClicks(dialog->txtPass[1], "x");
        QTest::keyClicks(dialog->txtPass[2], "x");
        QTest::mouseClick(dialog->cmdCancel, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(dialog.isNull());
        QCOMPARE(measurementState().SettingsPassword, QStringLiteral("qz47"));
        QVERIFY(!openSettingsDialog());
        QVERIFY(platform.prompts->shown.isEmpty());
    }

    void menuOpensOneDialog()
    {
        TestPlatform platform;
        applyDefaultSettings(measurementState()); // password qz47
        frmMain main;
        main.mnuSystemDisp->trigger();
        QPointer<QWidget> first = main.settings().passwordWindow();
        QVERIFY(qobject_cast<frmPass *>(first));
        QVERIFY(first->isVisible());
        QVERIFY(!first->isModal());
        QTest::keyClicks(static_cast<frmPass *>(first.data())->txtPass[0], "q");

        main.mnuSystemDisp->trigger();
        QCOMPARE(main.settings().passwordWindow(), first);
        QCOMPARE(static_cast<frmPass *>(first.data())->txtPass[0]->text(), QStringLiteral("q"));
        int open = 0;
        for (QWidget *w : QApplication::topLevelWidgets())
            open += qobject_cast<frmPass *>(w) && w->isVisible();
        QCOMPARE(open, 1);

        // Once closed, the menu makes a fresh one in entry mode.
        QTest::mouseClick(static_cast<frmPass *>(first.data())->cmdPassword, Qt::LeftButton);
        first->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.isNull());
        main.mnuSystemDisp->trigger();
        auto *second = qobject_cast<frmPass *>(main.settings().passwordWindow().data());
        QVERIFY(second);
        QCOMPARE(second->PasswordChangeMode, qint16(0));
        QCOMPARE(second->txtPass[0]->text(), QString());
    }
};

const QString TestFrmPass::kRefusal =
    QStringLiteral("パスワードが違います。\nもう一度入力し直してください。");

QTEST_MAIN(TestFrmPass)
#include "tst_frmPass.moc"
