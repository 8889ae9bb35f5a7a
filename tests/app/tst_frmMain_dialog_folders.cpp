// Where the main window's file dialogs start: the video dialog in the folder
// of the last video opened, the measurement dialogs in that of the last file
// saved or loaded, the two remembered apart; before the first one, in the
// user's video or documents folder when it exists, otherwise at home.

#include "app/frmMain.h"
#include "base/measurement_state.h"
#include "clip_maker.h"
#include "recording_platform.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

class TestDialogFolders : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // A home of the test's own, without the usual folders yet.
        QVERIFY(m_home.isValid());
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(".config")));
    }

    void firstDialogsStartAtHome()
    {
        TestPlatform platform;
        frmMain w;
        const QString home = m_home.path();
        w.mnuFileOpen->trigger();
        w.mnuFileLoad->trigger();
        QCOMPARE(platform.fileDialogs->foldersSeen, (QStringList{home, home}));

        QVERIFY(QDir(home).mkpath("Videos") && QDir(home).mkpath("Documents"));
        w.mnuFileOpen->trigger();
        w.mnuFileSave->trigger();
        QCOMPARE(platform.fileDialogs->foldersSeen.mid(2),
                 (QStringList{home + "/Videos", home + "/Documents"}));
    }

    void lastFoldersRememberedApart()
    {
        TestPlatform platform;
        frmMain w;
        const QString clip = ClipMaker::path(ClipKind::AviMjpeg25);
        QVERIFY2(!clip.isEmpty(), qPrintable(ClipMaker::lastError()));
        const QString clipFolder = QFileInfo(clip).absolutePath();
        QTemporaryDir saved, loaded;
        const QString savedFile = saved.filePath(QStringLiteral("測定.csv"));
        const QString loadedFile = loaded.filePath(QStringLiteral("取り込み.csv"));
        PresetFileDialogs &dialogs = *platform.fileDialogs;

        dialogs.openNames << clip;
        w.mnuFileOpen->trigger();
        QVERIFY(w.state().VideoOpen);
        measurementState().PointCount = 0;
        dialogs.saveNames << savedFile;
        w.mnuFileSave->trigger();
        QVERIFY(QFile::copy(savedFile, loadedFile));
        dialogs.openNames << loadedFile;
        w.mnuFileLoad->trigger();
        w.mnuFileOpen->trigger();
        w.mnuFileSave->trigger();

        const QStringList seen = dialogs.foldersSeen;
        QCOMPARE(seen.size(), 5);
        QCOMPARE(seen[2], saved.path());  // after the save
        QCOMPARE(seen[3], clipFolder);    // the video dialog after a video
        QCOMPARE(seen[4], loaded.path()); // after the load
    }

private:
    QTemporaryDir m_home;
};

QTEST_MAIN(TestDialogFolders)
#include "tst_frmMain_dialog_folders.moc"
