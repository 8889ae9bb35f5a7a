// The real "映像を開く" dialog with the program's filters: phone and camera
// videos show under the default filter whatever the case of their names;
// other files do not.

#include "platform/file_dialogs.h"
#include "platform/printer.h"
#include "platform/qt_platform.h"
#include "video/video_part.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class tst_video_file_dialog : public QObject
{
    Q_OBJECT
private slots:
    void defaultFilterListsPhoneVideos_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("phone, camera, text")
            << QStringList{"a.mp4", "B.MOV", "c.txt"} << QStringList{"B.MOV", "a.mp4"};
        QTest::newRow("every kind, upper case")
            << QStringList{"D.AVI", "e.3GP", "f.MTS", "g.m2ts", "h.WEBM", "i.mpg.bak"}
            << QStringList{"D.AVI", "e.3GP", "f.MTS", "g.m2ts", "h.WEBM"};
    }
    void defaultFilterListsPhoneVideos()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, listed);
        QTemporaryDir dir;
        for (const QString &name : files) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        installPlatform(makeQtPlatform({}));

        // What the dialog lists once it has read the folder; then it is closed.
        QStringList seen;
        QTimer::singleShot(0, [&seen, &listed] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            auto *view = dialog->findChild<QAbstractItemView *>(QStringLiteral("treeView"));
            auto names = [view] {
                QStringList names;
                for (int row = 0; view && row < view->model()->rowCount(view->rootIndex()); ++row)
                    names << view->model()->index(row, 0, view->rootIndex()).data().toString();
                names.sort();
                return names;
            };
            (void)QTest::qWaitFor([&] { return names() == listed; }, 5000);
            seen = names();
            dialog->reject();
        });
        const QString chosen = platform().fileDialogs->openFileName(
            QStringLiteral("映像を開く"), VideoPart::fileFilters(), dir.path());
        QVERIFY(chosen.isEmpty());
        QCOMPARE(seen, listed);
    }
};

QTEST_MAIN(tst_video_file_dialog)
#include "tst_video_file_dialog.moc"
