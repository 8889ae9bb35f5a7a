// The recovery file through the real window: a measurement plotted by clicks
// outlives a crash (the window going without its quit, or a child copy of
// this program killed) and comes back when the student says yes; a "no", a
// damaged file, a normal quit and an emptied measurement leave no file; a
// moved video brings back the points alone; two copies keep two files.

#include "app/frmMain.h"
#include "base/app_paths.h"
#include "base/measurement_state.h"
#include "clip_maker.h"
#include "datafile/measurement_csv.h"
#include "datafile/measurement_file_commands.h"
#include "datafile/recovery_file.h"
#include "datafile/recovery_part.h"
#include "datafile/recovery_store.h"
#include "digitize/digitizing_part.h"
#include "digitize/marker_set.h"
#include "recording_platform.h"
#include "video/preview_widget.h"
#include "video/video_part.h"

#include <QAction>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QThread>
#include <QToolButton>
#include <QtTest>

using MS = MeasurementState;

namespace {

const QString kChildArgument = QStringLiteral("--plotting-copy");
const QString kAskingChildArgument = QStringLiteral("--asking-copy");

// A question left open: it says so and never returns, as a message box
// waits for an answer that does not come.
class OpenQuestion : public Prompts
{
public:
    Answer message(const QString &text, Buttons, Icon) override
    {
        QTextStream(stdout) << "asking " << text << Qt::endl;
        for (;;)
            QThread::sleep(1);
    }
    std::optional<QString> input(const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
};

bool pauseOver(frmMain &w)
{
    return QTest::qWaitFor([&w] { return w.state().InputPauseOver; }, 2000);
}

void click(frmMain &w, int x, int y)
{
    QTest::mouseClick(w.picPreview, Qt::LeftButton, {}, QPoint(x, y));
}

// Points `from` up to `count` on frames three apart, by clicks; with
// camera-shake correction each point is the object and then its reference.
bool plot(frmMain &w, int count, bool shake, int from = 0)
{
    for (int i = from; i < count; ++i) {
        w.ctrlSlider->setValue(3 * i);
        if (!pauseOver(w))
            return false;
        click(w, 100 + 7 * i, 300 - 5 * i);
        if (shake)
            click(w, 500 + i % 3, 60 - i % 2);
    }
    return measurementState().PointCount == count;
}

// The reference length between (100, 50) and (400, 450): 500 pixels, typed
// as 30 in the given unit.
void setLength(frmMain &w, const QString &unit)
{
    w.cmdLength->click();
    click(w, 100, 50);
    click(w, 400, 450);
    QTest::keyClicks(w.txtLengthValue, QStringLiteral("30"));
    w.cmbTanni->setCurrentText(unit);
    w.cmdLength->click();
}

QStringList recoveryFiles()
{
    return QDir(recoveryFolder())
        .entryList({QStringLiteral("*") + RecoveryStore::fileSuffix()}, QDir::Files);
}

// A copy of the program in a child process: the window with the clip open
// and three points plotted, writing into the given data folder. It says
// "ready" once its file is written and then waits to be killed.
int runPlottingCopy(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TestPlatform platform;
    setUserDataFolder(QString::fromLocal8Bit(argv[2]));
    frmMain w;
    w.show();
    measurementState().ClickAction = 0;
    if (!w.video().openVideoFile(QString::fromLocal8Bit(argv[3])) || !pauseOver(w) ||
        !plot(w, 3, false))
        return 2;
    w.recovery().store().waitUntilDone();
    QTextStream(stdout) << "ready" << Qt::endl;
    if (argv[1] == kAskingChildArgument) {
        // The student quits; the question about the unsaved points stays open.
        Platform services = ::platform();
        services.prompts = std::make_shared<OpenQuestion>();
        installPlatform(services);
        w.close();
    }
    return app.exec();
}

} // namespace

class tst_frmMain_recovery : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestPlatform> m_platform;
    std::unique_ptr<frmMain> m_window;
    QString m_clip;

    frmMain &w() { return *m_window; }

    // The program starts: a new window, shown.
    void start()
    {
        m_window = std::make_unique<frmMain>();
        w().show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    // The program ends without its quit, its measurement gone with it.
    void crash()
    {
        w().recovery().store().waitUntilDone();
        m_window.reset();
        resetMeasurementState();
    }
    // The next start offers what is left, `answer` ready for the question.
    void startAndOffer(Prompts::Answer answer)
    {
        m_platform->prompts->shown.clear();
        start();
        m_platform->prompts->answers << answer;
        w().offerRecovery();
    }
    void openClip(const QString &path)
    {
        QVERIFY(w().video().openVideoFile(path));
        measurementState().ClickAction = 0;
        QVERIFY(pauseOver(w()));
    }
    // The recovery files once this copy has written what it was asked to.
    QStringList filesWritten()
    {
        w().recovery().store().waitUntilDone();
        return recoveryFiles();
    }
    // Starts another copy of the program, plotting on the clip in `mode`,
    // and returns what it has said once it says `until` (or ends first).
    QByteArray startCopy(QProcess &copy, const QString &mode, const QByteArray &until)
    {
        copy.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        copy.start(QCoreApplication::applicationFilePath(), {mode, userDataFolder(), m_clip});
        QByteArray said;
        if (!copy.waitForStarted())
            return said;
        (void)QTest::qWaitFor(
            [&] {
                said += copy.readAll();
                return said.contains(until) || copy.state() == QProcess::NotRunning;
            },
            60000);
        return said;
    }
    // What the main window shows of the measurement.
    QStringList shown()
    {
        return {w().lblFPSValue->text(),
                w().txtLengthValue->text(),
                w().cmbTanni->currentText(),
                w().lblLength->text(),
                w().cmdLength->text(),
                w().lblHosei->text(),
                QString::number(w().ctrlSlider->value()),
                QString::number(w().digitizing().markers().count()),
                w().txtRate->text()};
    }

private slots:
    void init()
    {
        m_platform = std::make_unique<TestPlatform>();
        m_clip = ClipMaker::path(ClipKind::AviMjpeg25);
        QVERIFY2(!m_clip.isEmpty(), qPrintable(ClipMaker::lastError()));
        start();
    }
    void cleanup()
    {
        m_window.reset();
        m_platform.reset();
    }

    void yesBringsBackEverything_data()
    {
        QTest::addColumn<bool>("shake");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("captureRate");
        QTest::addColumn<QString>("interval");
        QTest::addColumn<bool>("firstVersionFile"); // written without the interval
        QTest::newRow("plain, cm") << false << QStringLiteral("cm") << QString() << "1" << false;
        QTest::newRow("camera-shake correction, m, filmed at 240, every 3 frames")
            << true << QStringLiteral("m") << QStringLiteral("240") << "3" << false;
        QTest::newRow("file of the first programs") << false << "cm" << QString() << "1" << true;
    }
    void yesBringsBackEverything()
    {
        QFETCH(bool, shake);
        QFETCH(QString, unit);
        QFETCH(QString, captureRate);
        QFETCH(QString, interval);
        QFETCH(bool, firstVersionFile);
        openClip(m_clip);
        w().txtRate->setText(interval);
        if (shake) {
            m_platform->prompts->answers << Prompts::Answer::Yes;
            w().mnuSystemChenge->trigger();
        }
        if (!captureRate.isEmpty()) {
            m_platform->prompts->inputs << captureRate;
            w().cmdFPS->click();
        }
        QVERIFY(plot(w(), 10, shake));
        setLength(w(), unit);
        QVERIFY(pauseOver(w()));
        const MS before = measurementState();
        const QStringList shownBefore = shown();
        crash();
        if (firstVersionFile) {
            // The same file as the first programs wrote it: no interval line.
            QFile file(QDir(recoveryFolder()).filePath(recoveryFiles().constFirst()));
            QVERIFY(file.open(QIODevice::ReadWrite));
            QByteArray bytes = file.readAll();
            QVERIFY(bytes.contains("\ninterval 1\n"));
            bytes.replace("\ninterval 1\n", "\n");
            bytes.truncate(bytes.lastIndexOf("sha256 "));
            bytes += "sha256 " +
                     QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() + '\n';
            QVERIFY(file.resize(0));
            file.write(bytes);
        }

        startAndOffer(Prompts::Answer::Yes);
        QCOMPARE(m_platform->prompts->texts(),
                 QStringList{QStringLiteral("前回、キネモが正しく終了しませんでした。"
                                            "記録されていた打点（10点）を元に戻しますか？")});
        QCOMPARE(m_platform->prompts->shown.constFirst().buttons, Prompts::Buttons::YesNo);
        // The points, the reference length with its unit and the frame rate.
        QCOMPARE(datafile::mainWindowCsv(measurementState()), datafile::mainWindowCsv(before));
        QCOMPARE(measurementState().VideoPath, m_clip);
        QVERIFY(w().state().VideoOpen);
        QCOMPARE(w().state().ShakeCorrectionOn, shake);
        // Back on the last point's frame, and plotting goes on from there.
        QCOMPARE(shown(), shownBefore);
        QVERIFY(pauseOver(w()));
        QCOMPARE(w().digitizing().clicks().ShakeOriginX, before.PointTable[1][MS::ColRefX]);
        QVERIFY(plot(w(), 11, shake, 10));

        // The old file is gone; this copy's own holds the measurement.
        const QString own = w().recovery().store().filePath();
        QCOMPARE(filesWritten(), QStringList{QFileInfo(own).fileName()});
        const recovery::Read read = recovery::readFile(own);
        QVERIFY2(read.ok, qPrintable(read.error));
        QCOMPARE(int(read.snapshot.pointCount), 11);
        QCOMPARE(read.snapshot.shakeCorrection, shake);
    }

    // Answered "no", or a file that fails its check (named in the message):
    // nothing is loaded, the file goes, and so does the lock a killed copy
    // left with nothing plotted; nothing is offered at the next start.
    void refusedFileLeavesNothing_data()
    {
        QTest::addColumn<bool>("damaged");
        QTest::newRow("answered no") << false;
        QTest::newRow("damaged file") << true;
    }
    void refusedFileLeavesNothing()
    {
        QFETCH(bool, damaged);
        openClip(m_clip);
        QVERIFY(plot(w(), 4, false));
        crash();
        const QString path = QDir(recoveryFolder()).filePath(recoveryFiles().constFirst());
        if (damaged) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.resize(file.size() * 2 / 3));
        }
        QFile lock(QDir(recoveryFolder()).filePath(QStringLiteral("dead.recovery.lock")));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write("999999999\nkinemo\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        lock.close();

        startAndOffer(Prompts::Answer::No);
        if (damaged) {
            QCOMPARE(m_platform->prompts->shown.size(), 1);
            QVERIFY(m_platform->prompts->lastText().startsWith(
                QStringLiteral("前回の打点を記録したファイルが壊れていたため")));
            QVERIFY(m_platform->prompts->lastText().endsWith(QDir::toNativeSeparators(path)));
        } else {
            QCOMPARE(m_platform->prompts->texts(), QStringList{RecoveryPart::question(4)});
        }
        QCOMPARE(int(measurementState().PointCount), 0);
        QVERIFY(!w().state().VideoOpen);
        QVERIFY(recoveryFiles().isEmpty());
        QVERIFY(!lock.exists());
        crash();
        startAndOffer(Prompts::Answer::No);
        QVERIFY(m_platform->prompts->shown.isEmpty());
    }

    // Erasing everything or opening another video empties the measurement:
    // the file goes; plotting writes it again; a confirmed quit removes it
    // and its lock.
    void emptyMeasurementAndNormalQuitLeaveNoFile()
    {
        openClip(m_clip);
        QVERIFY(plot(w(), 2, false));
        QCOMPARE(filesWritten().size(), 1);
        m_platform->prompts->answers << Prompts::Answer::Yes;
        w().mnuEditAll->trigger();
        QVERIFY(filesWritten().isEmpty());

        QVERIFY(plot(w(), 2, false));
        QCOMPARE(filesWritten().size(), 1);
        openClip(m_clip);
        QVERIFY(filesWritten().isEmpty());

        QVERIFY(plot(w(), 3, false));
        const int writes = w().recovery().writesAsked();
        // Moving through the video changes no measurement: nothing written.
        w().ctrlSlider->setValue(40);
        QVERIFY(pauseOver(w()));
        QCOMPARE(w().recovery().writesAsked(), writes);
        m_platform->prompts->answers << Prompts::Answer::No; // not saved, not wanted
        QVERIFY(w().close());
        QVERIFY(recoveryFiles().isEmpty());
        m_window.reset();
        QVERIFY(QDir(recoveryFolder()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }

    void movedVideoBringsBackThePointsOnly()
    {
        QTemporaryDir dir;
        const QString video = dir.filePath(QStringLiteral("振り子.avi"));
        QVERIFY(QFile::copy(m_clip, video));
        openClip(video);
        QVERIFY(plot(w(), 5, false));
        setLength(w(), QStringLiteral("cm"));
        const QByteArray measurement = datafile::mainWindowCsv(measurementState());
        crash();
        QVERIFY(QFile::rename(video, dir.filePath(QStringLiteral("別の場所.avi"))));

        startAndOffer(Prompts::Answer::Yes);
        QCOMPARE(m_platform->prompts->texts(),
                 (QStringList{RecoveryPart::question(5),
                              QStringLiteral("前回の映像が見つからなかったため、打点だけを元に戻し"
                                             "ました。\n映像があった場所：\n") +
                                  QDir::toNativeSeparators(video)}));
        QVERIFY(!w().state().VideoOpen);
        QVERIFY(w().state().DataOpened);
        QCOMPARE(datafile::mainWindowCsv(measurementState()), measurement);
        QCOMPARE(w().digitizing().markers().count(), 5);
    }

    // Another copy quits with unsaved points and is killed while it asks
    // about them: the next start still offers them back.
    void killedWhileAskingKeepsThePoints()
    {
        QProcess copy;
        const QByteArray said = startCopy(copy, kAskingChildArgument, "asking");
        QVERIFY2(said.contains("ready\nasking " + datafile::unsavedPointsQuestion().toUtf8()),
                 said.constData());
        copy.kill();
        QVERIFY(copy.waitForFinished());

        m_platform->prompts->answers << Prompts::Answer::Yes;
        w().offerRecovery();
        QCOMPARE(m_platform->prompts->texts(), QStringList{RecoveryPart::question(3)});
        QCOMPARE(int(measurementState().PointCount), 3);
    }

    // Another copy of the program runs beside this one: two files. Its file
    // is not offered while it runs; once it is killed, it is.
    void twoCopiesKeepTwoFiles()
    {
        QProcess copy;
        QCOMPARE(startCopy(copy, kChildArgument, "ready").trimmed(), QByteArray("ready"));

        openClip(m_clip);
        QVERIFY(plot(w(), 10, false));
        QList<int> counts;
        for (const QString &name : filesWritten())
            counts << recovery::readFile(QDir(recoveryFolder()).filePath(name)).snapshot.pointCount;
        std::sort(counts.begin(), counts.end());
        QCOMPARE(counts, (QList<int>{3, 10}));

        w().offerRecovery();
        QVERIFY(m_platform->prompts->shown.isEmpty());
        copy.kill();
        QVERIFY(copy.waitForFinished());
        m_platform->prompts->answers << Prompts::Answer::No;
        w().offerRecovery();
        QCOMPARE(m_platform->prompts->texts(), QStringList{RecoveryPart::question(3)});
        QCOMPARE(int(measurementState().PointCount), 10);
        QCOMPARE(recoveryFiles(),
                 QStringList{QFileInfo(w().recovery().store().filePath()).fileName()});
    }
};

int main(int argc, char *argv[])
{
    if (argc >= 4 && (argv[1] == kChildArgument || argv[1] == kAskingChildArgument))
        return runPlottingCopy(argc, argv);
    QApplication app(argc, argv);
    tst_frmMain_recovery test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frmMain_recovery.moc"
