// Qt's own texts in Japanese: the right-click menu of the main window's text
// boxes, and the file dialogs the program really shows, which start in the
// folder they are given.

#include "app/frmMain.h"
#include "app/japanese_qt_texts.h"
#include "platform/file_dialogs.h"
#include "platform/qt_platform.h"
#include "printhelp/print_page.h"
#include "recording_platform.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

namespace {

struct DialogSeen
{
    bool shown = false;
    bool native = true;
    QString folder;
    QStringList labels;  // look in, file name, files of type
    QStringList buttons; // the button box, left to right as created
};

// Looks at the next file dialog the program shows, then cancels it.
DialogSeen inspectNextFileDialog(const std::function<QString()> &show)
{
    DialogSeen seen;
    auto *poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [&seen, poll] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll->stop();
        seen.shown = true;
        seen.native = !dialog->testOption(QFileDialog::DontUseNativeDialog);
        seen.folder = dialog->directory().absolutePath();
        for (const char *name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"}) {
            if (auto *label = dialog->findChild<QLabel *>(QLatin1String(name)))
                seen.labels << label->text();
        }
        if (auto *box = dialog->findChild<QDialogButtonBox *>())
            for (QAbstractButton *button : box->buttons())
                seen.buttons << button->text();
        dialog->reject();
    });
    poll->start();
    const QString chosen = show();
    delete poll;
    if (!chosen.isEmpty())
        seen.shown = false; // a cancelled dialog gives no name
    return seen;
}

} // namespace

class TestJapaneseQtTexts : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // The file dialog keeps its history in the user's configuration.
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
        QVERIFY(installJapaneseQtTexts(*QCoreApplication::instance()));
    }

    void textBoxMenus()
    {
        TestPlatform platform;
        frmMain w;
        for (QLineEdit *box : {w.txtRate, w.cmbTanni->lineEdit()}) {
            QVERIFY(box);
            std::unique_ptr<QMenu> menu(box->createStandardContextMenu());
            QStringList texts;
            for (QAction *action : menu->actions())
                if (!action->isSeparator())
                    texts << action->text().section(QLatin1Char('\t'), 0, 0); // no shortcut
            QCOMPARE(texts, (QStringList{"元に戻す(&U)", "やり直す(&R)", "切り取り(&T)",
                                         "コピー(&C)", "貼り付け(&P)", "削除", "すべてを選択"}));
        }
    }

    void fileDialogs()
    {
        const Platform services = makeQtPlatform(printpage::drawing());
        QTemporaryDir dir;
        const DialogSeen open = inspectNextFileDialog([&] {
            return services.fileDialogs->openFileName(
                QStringLiteral("映像を開く"), QStringLiteral("キネモデータ(*.csv)"), dir.path());
        });
        QVERIFY(open.shown);
        QVERIFY(!open.native);
        QCOMPARE(open.folder, dir.path());
        QCOMPARE(open.labels, (QStringList{"アドレス:", "ファイル名(&N):", "ファイルの種類:"}));
        QCOMPARE(open.buttons, (QStringList{"開く(&O)", "キャンセル"}));

        const DialogSeen save = inspectNextFileDialog([&] {
            return services.fileDialogs->saveFileName(QStringLiteral("データを保存する"),
                                                      QStringLiteral("キネモデータ(*.csv)"),
                                                      QStringLiteral("csv"), dir.path());
        });
        QVERIFY(save.shown);
        QCOMPARE(save.folder, dir.path());
        QCOMPARE(save.buttons, (QStringList{"保存(&S)", "キャンセル"}));
    }

private:
    QTemporaryDir m_config;
};

QTEST_MAIN(TestJapaneseQtTexts)
#include "tst_japanese_qt_texts.moc"
