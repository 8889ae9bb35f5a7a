// Unsaved points through the real window: every command that would empty
// them (another video from the menu or a drop, loading a file, closing the
// video, quitting) asks first; はい saves, and a cancelled save stops the
// command; いいえ goes on; キャンセル changes nothing. Until the points are
// saved or given up, the recovery file keeps them. Saved points are not
// asked about.

#include "app/frmMain.h"
#include "base/measurement_state.h"
#include "clip_maker.h"
#include "datafile/measurement_csv.h"
#include "datafile/measurement_file_commands.h"
#include "datafile/recovery_file.h"
#include "datafile/recovery_part.h"
#include "datafile/recovery_store.h"
#include "recording_platform.h"
#include "video/preview_widget.h"
#include "video/video_part.h"

#include <QAction>
#include <QFile>
#include <QMimeData>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>

namespace {

enum class Answer
{
    SaveAs,        // はい, and a file name in the save dialog
    SaveCancelled, // はい, then the save dialog cancelled
    No,            // いいえ
    Cancel,        // キャンセル
    SavedBefore,   // saved with the menu first: nothing to ask
};

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

Q_DECLARE_METATYPE(Answer)

class tst_frmMain_unsaved : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestPlatform> m_platform;
    std::unique_ptr<frmMain> m_window;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_clip;

    frmMain &w() { return *m_window; }

    bool plotThree()
    {
        for (int i = 0; i < 3; ++i) {
            w().ctrlSlider->setValue(3 * i);
            if (!QTest::qWaitFor([this] { return w().state().InputPauseOver; }, 2000))
                return false;
            QTest::mouseClick(w().picPreview, Qt::LeftButton, {}, QPoint(100 + 9 * i, 300 - i));
        }
        return measurementState().PointCount == 3;
    }
    // Runs the command; true when it went through.
    bool run(const QString &command)
    {
        if (command == "open") {
            m_platform->fileDialogs->openNames << m_clip;
            w().mnuFileOpen->trigger();
            return w().state().VideoOpen && measurementState().PointCount == 0;
        }
        if (command == "drop") {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(m_clip)});
            QDragEnterEvent enter(QPoint(9, 9), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(m_window.get(), &enter);
            QDropEvent drop(QPointF(9, 9), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(m_window.get(), &drop);
            QCoreApplication::processEvents(); // the open runs after the drop
            return w().state().VideoOpen && measurementState().PointCount == 0;
        }
        if (command == "load") {
            MeasurementState other;
            other.PointCount = 1;
            other.PointTable[1][MeasurementState::ColFrame] = 7;
            const QString csv = m_dir->filePath(QStringLiteral("別の測定.csv"));
            if (!datafile::writeMeasurementFile(csv, datafile::mainWindowCsv(other)))
                return false;
            m_platform->fileDialogs->openNames << csv;
            w().mnuFileLoad->trigger();
            return measurementState().PointTable[1][MeasurementState::ColFrame] == 7;
        }
        if (command == "close") {
            w().mnuFileClose->trigger();
            return !w().state().VideoOpen;
        }
        return w().close();
    }
    // The points this copy's recovery file holds (0: no file).
    int recoveredPoints()
    {
        w().recovery().store().waitUntilDone();
        const QString path = w().recovery().store().filePath();
        return QFile::exists(path) ? recovery::readFile(path).snapshot.pointCount : 0;
    }

private slots:
    void init()
    {
        m_platform = std::make_unique<TestPlatform>();
        m_dir = std::make_unique<QTemporaryDir>();
        m_clip = ClipMaker::path(ClipKind::AviMjpeg25);
        QVERIFY2(!m_clip.isEmpty(), qPrintable(ClipMaker::lastError()));
        m_window = std::make_unique<frmMain>();
        w().show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QVERIFY(w().video().openVideoFile(m_clip));
        measurementState().ClickAction = 0;
        QVERIFY(plotThree());
    }
    void cleanup()
    {
        m_window.reset();
        m_platform.reset();
    }

    void commandAsksFirst_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("goesOn");
        for (const char *command : {"open", "drop", "load", "close", "quit"}) {
            const QString c = QString::fromLatin1(command);
            QTest::addRow("%s, はい", command) << c << Answer::SaveAs << true;
            QTest::addRow("%s, はい, save cancelled", command)
                << c << Answer::SaveCancelled << false;
            QTest::addRow("%s, いいえ", command) << c << Answer::No << true;
            QTest::addRow("%s, キャンセル", command) << c << Answer::Cancel << false;
            QTest::addRow("%s, saved before", command) << c << Answer::SavedBefore << true;
        }
    }
    void commandAsksFirst()
    {
        QFETCH(QString, command);
        QFETCH(Answer, answer);
        QFETCH(bool, goesOn);
        const QByteArray before = datafile::mainWindowCsv(measurementState());
        const QString saveAs = m_dir->filePath(QStringLiteral("落下.csv"));
        RecordingPrompts &prompts = *m_platform->prompts;
        if (answer == Answer::SavedBefore) {
            m_platform->fileDialogs->saveNames << saveAs;
            w().mnuFileSave->trigger();
            QCOMPARE(fileBytes(saveAs), before);
            if (command == "quit")
                prompts.answers << Prompts::Answer::Yes; // キネモを終了しますか？
        } else {
            prompts.answers << (answer == Answer::No       ? Prompts::Answer::No
                                : answer == Answer::Cancel ? Prompts::Answer::Cancel
                                                           : Prompts::Answer::Yes);
            if (answer == Answer::SaveAs)
                m_platform->fileDialogs->saveNames << saveAs;
        }
        QCOMPARE(recoveredPoints(), 3);

        QCOMPARE(run(command), goesOn);

        const QString question = answer != Answer::SavedBefore ? datafile::unsavedPointsQuestion()
                                 : command == "quit" ? QStringLiteral("キネモを終了しますか？")
                                                     : QString();
        QCOMPARE(prompts.texts(), question.isEmpty() ? QStringList() : QStringList{question});
        if (!question.isEmpty())
            QCOMPARE(prompts.shown.constFirst().icon, Prompts::Icon::Question);
        if (answer == Answer::SaveAs)
            QCOMPARE(fileBytes(saveAs), before);
        if (!goesOn) {
            // Nothing changed, and a crash would still bring them back.
            QVERIFY(w().state().VideoOpen);
            QCOMPARE(datafile::mainWindowCsv(measurementState()), before);
            QCOMPARE(recoveredPoints(), 3);
        } else if (command == "close") {
            // The closed video's points stay once saved; いいえ gives them up.
            QCOMPARE(int(measurementState().PointCount), answer == Answer::No ? 0 : 3);
        }
        if (goesOn && command == "quit")
            QVERIFY(!QFile::exists(w().recovery().store().filePath()));
        // Asked once: what is left now is saved or gone.
        if (goesOn && command != "quit")
            QVERIFY(!measurementState().hasUnsavedPoints());
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    tst_frmMain_unsaved test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frmMain_unsaved.moc"
