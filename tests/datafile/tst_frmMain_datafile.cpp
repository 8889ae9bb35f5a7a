// The main window's "データを保存する(&S)" and "データを取り込む(&L)": the
// dialogs, the overwrite question, the loaded measurement with its markers,
// and the files that must leave the measurement untouched.

#include "app/frmMain.h"
#include "base/measurement_state.h"
#include "datafile/measurement_csv.h"
#include "datafile/measurement_file_commands.h"
#include "digitize/digitizing_part.h"
#include "digitize/marker_set.h"
#include "recording_platform.h"
#include "results/result_window.h"
#include "results/results_part.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kOverwriteQuestion =
    QStringLiteral("同じ名前のファイルが存在します。\r\n上書きしますか？");

void plotThree(MeasurementState &s)
{
    const qint32 rows[3][6] = {
        {1, 10, 100, 200, 0, 0}, {2, 20, 150, 190, 0, 0}, {3, 30, 210, 185, 0, 0}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 6; ++c)
            s.PointTable[r + 1][c] = rows[r][c];
    s.PointCount = 3;
    s.RefLengthPixels = 152.5f;
    s.RefLengthValue = 10;
    s.FrameRate = 30;
    s.LengthUnit = QStringLiteral("cm");
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TestFrmMainDataFile : public QObject
{
    Q_OBJECT
private slots:
    void saveThenLoadThroughTheMenu();
    void overwriteQuestion();
    void cancelledDialogsDoNothing();
    void failedSaveBeeps();
    void badFileChangesNothing_data();
    void badFileChangesNothing();
    void unitComesBackWithTheFile_data();
    void unitComesBackWithTheFile();
};

void TestFrmMainDataFile::saveThenLoadThroughTheMenu()
{
    TestPlatform platform;
    frmMain w;
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("物理の実験")));
    const QString path = dir.filePath(QStringLiteral("物理の実験/落下運動.csv"));

    MeasurementState &s = measurementState();
    plotThree(s);
    const QByteArray expected = datafile::mainWindowCsv(s);

    platform.fileDialogs->saveNames << path;
    w.mnuFileSave->trigger();
    QCOMPARE(fileBytes(path), expected);
    QCOMPARE(platform.fileDialogs->filtersSeen, QStringList{QStringLiteral("キネモデータ(*.csv)")});
    QCOMPARE(platform.fileDialogs->suffixesSeen, QStringList{QStringLiteral("csv")});
    QVERIFY(platform.prompts->shown.isEmpty()); // a new file is not asked about
    QCOMPARE(platform.beeper->beeps, 0);

    // Another measurement in the window: two other points, no length.
    w.digitizing().clearMeasurement();
    s.PointTable[1][1] = 99;
    s.PointTable[2][1] = 98;
    s.PointCount = 2;
    s.RefLengthValue = 4;
    s.FrameRate = 15;
    w.digitizing().prepareMarkers();

    // Those are not saved: asked about, and answered いいえ.
    platform.fileDialogs->openNames << path;
    w.mnuFileLoad->trigger();
    QCOMPARE(platform.beeper->beeps, 0);
    QCOMPARE(platform.prompts->texts(), QStringList{datafile::unsavedPointsQuestion()});
    QCOMPARE(s.PointCount, qint16(3));
    QCOMPARE(s.PointTable[1][1], 10);
    QCOMPARE(s.PointTable[2][2], 150);
    QCOMPARE(s.PointTable[3][3], 185);
    QCOMPARE(s.RefLengthPixels, 152.5f);
    QCOMPARE(s.RefLengthValue, qint16(10));
    QCOMPARE(s.FrameRate, 30.0);
    QCOMPARE(w.lblFPSValue->text(), QStringLiteral("30.00")); // the rate the results use
    QCOMPARE(w.txtLengthValue->text(), QStringLiteral("10"));
    QCOMPARE(w.lblLength->text(), QStringLiteral("長さは設定されています"));
    QVERIFY(w.state().DataOpened);

    // Every loaded point has its markers, all shown.
    QCOMPARE(w.digitizing().markers().count(), 3);
    for (int k = 1; k <= 3; ++k) {
        const PointMarker &m = w.digitizing().markers().marker(k);
        QVERIFY(m[PointMarker::Middle].visible);
        QVERIFY(m[PointMarker::Dot].visible);
        QCOMPARE(m[PointMarker::Dot].centre, QPointF(s.PointTable[k][2], s.PointTable[k][3]));
    }

    // Saved again, the file is byte for byte the same.
    platform.prompts->shown.clear();
    platform.fileDialogs->saveNames << path;
    platform.prompts->answers << Prompts::Answer::Yes;
    w.mnuFileSave->trigger();
    QCOMPARE(platform.prompts->texts(), QStringList{kOverwriteQuestion});
    QCOMPARE(fileBytes(path), expected);
}

void TestFrmMainDataFile::overwriteQuestion()
{
    TestPlatform platform;
    frmMain w;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("既存.csv"));
    writeBytes(path, "old content");
    plotThree(measurementState());

    platform.fileDialogs->saveNames << path;
    platform.prompts->answers << Prompts::Answer::No;
    w.mnuFileSave->trigger();
    QCOMPARE(platform.prompts->shown.size(), qsizetype(1));
    QCOMPARE(platform.prompts->shown[0].text, kOverwriteQuestion);
    QCOMPARE(platform.prompts->shown[0].buttons, Prompts::Buttons::YesNo);
    QCOMPARE(platform.prompts->shown[0].icon, Prompts::Icon::Question);
    QCOMPARE(fileBytes(path), QByteArray("old content"));

    platform.fileDialogs->saveNames << path;
    platform.prompts->answers << Prompts::Answer::Yes;
    w.mnuFileSave->trigger();
    QCOMPARE(fileBytes(path), datafile::mainWindowCsv(measurementState()));
    QCOMPARE(platform.beeper->beeps, 0);
}

void TestFrmMainDataFile::cancelledDialogsDoNothing()
{
    TestPlatform platform;
    frmMain w;
    plotThree(measurementState());
    w.mnuFileSave->trigger();
    w.mnuFileLoad->trigger();
    QCOMPARE(platform.fileDialogs->filtersSeen.size(), qsizetype(2));
    QVERIFY(platform.prompts->shown.isEmpty());
    QCOMPARE(platform.beeper->beeps, 0);
    QCOMPARE(measurementState().PointCount, qint16(3));
    QVERIFY(!w.state().DataOpened);
}

void TestFrmMainDataFile::failedSaveBeeps()
{
    TestPlatform platform;
    frmMain w;
    QTemporaryDir dir;
    plotThree(measurementState());
    // A folder of that name is in the way: nothing can be written there.
    const QString blocked = dir.filePath(QStringLiteral("データ.csv"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("データ.csv")));
    platform.fileDialogs->saveNames << blocked;
    w.mnuFileSave->trigger();
    QCOMPARE(platform.beeper->beeps, 1);
    QVERIFY(QFileInfo(blocked).isDir());
}

void TestFrmMainDataFile::badFileChangesNothing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("garbage") << QByteArray("これは測定データではありません\r\n1,2,3\r\n");
    QTest::newRow("binary") << QByteArray("GIF89a\x01\0\x01\0\x80\0\0\xff\xff\xff", 16);
    QByteArray tooLong = "a,b,c,d,e,f,g,h,i\r\n";
    for (int i = 1; i <= datafile::MaxDataLines + 1; ++i)
        tooLong += QByteArray::number(qMin(i, 200)) + "," + QByteArray::number(i) +
                   ",1,1,0,0,100,10,30\r\n";
    QTest::newRow("too many lines") << tooLong;
    QTest::newRow("bad value after good lines") << QByteArray(
        "a,b,c,d,e,f,g,h,i\r\n1,5,1,1,0,0,100,10,30\r\n2,6,70000,1,0,0,100,10,30\r\n");
}

void TestFrmMainDataFile::badFileChangesNothing()
{
    QFETCH(QByteArray, bytes);
    TestPlatform platform;
    frmMain w;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("壊れた.csv"));
    writeBytes(path, bytes);

    MeasurementState &s = measurementState();
    plotThree(s);
    w.digitizing().prepareMarkers();
    w.txtLengthValue->setText(QStringLiteral("10"));
    MeasurementState before = s;

    platform.fileDialogs->openNames << path;
    w.mnuFileLoad->trigger();
    QCOMPARE(platform.beeper->beeps, 1);
    QCOMPARE(platform.prompts->shown.size(), qsizetype(1));
    QVERIFY(!platform.prompts->lastText().isEmpty());
    QVERIFY(!w.state().DataOpened);
    QCOMPARE(s.PointCount, before.PointCount);
    for (int r = 0; r < MeasurementState::TableRows; ++r)
        for (int c = 0; c < MeasurementState::TableColumns; ++c)
            QCOMPARE(s.PointTable[r][c], before.PointTable[r][c]);
    QCOMPARE(s.RefLengthPixels, before.RefLengthPixels);
    QCOMPARE(s.RefLengthValue, before.RefLengthValue);
    QCOMPARE(s.FrameRate, before.FrameRate);
    QCOMPARE(w.digitizing().markers().count(), 3);
    QCOMPARE(w.txtLengthValue->text(), QStringLiteral("10"));
}

void TestFrmMainDataFile::unitComesBackWithTheFile_data()
{
    QTest::addColumn<int>("writer");
    QTest::addColumn<QString>("unit");
    const char *const writers[] = {"main window", "speed window", "distance window"};
    for (int writer = 0; writer < 3; ++writer)
        for (const char *unit : {"cm", "m", "km"})
            QTest::addRow("%s, %s", writers[writer], unit) << writer << QString::fromLatin1(unit);
}

void TestFrmMainDataFile::unitComesBackWithTheFile()
{
    QFETCH(int, writer);
    QFETCH(QString, unit);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("単位.csv"));
    {
        TestPlatform platform;
        frmMain w;
        plotThree(measurementState());
        measurementState().LengthUnit = unit;
        platform.fileDialogs->saveNames << path;
        if (writer == 0) {
            w.mnuFileSave->trigger();
        } else {
            w.txtLengthValue->setText(QStringLiteral("10"));
            (writer == 1 ? w.cmdSpd : w.cmdDis)->click();
            auto *window = qobject_cast<ResultWindow *>(
                (writer == 1 ? w.results().speedWindow() : w.results().distanceWindow()).data());
            QVERIFY(window);
            window->mnuFileSave->trigger();
        }
        QVERIFY(QFileInfo::exists(path));
    }

    // A program just started has no unit yet; one that measured before has
    // another. Both take the file's.
    TestPlatform platform;
    frmMain w;
    for (const QString &before :
         {QString(), unit == QStringLiteral("m") ? QStringLiteral("km") : QStringLiteral("m")}) {
        measurementState().LengthUnit = before;
        w.cmbTanni->setCurrentText(before.isEmpty() ? QStringLiteral("cm") : before);
        platform.fileDialogs->openNames << path;
        w.mnuFileLoad->trigger();
        QCOMPARE(measurementState().LengthUnit, unit);
        QCOMPARE(w.cmbTanni->currentText(), unit);
    }
    w.cmdSpd->click();
    auto *speed = qobject_cast<ResultWindow *>(w.results().speedWindow().data());
    QVERIFY(speed);
    QVERIFY2(speed->summary().endsWith(QStringLiteral("　") + unit + QStringLiteral("/秒です。")),
             qPrintable(speed->summary()));
}

QTEST_MAIN(TestFrmMainDataFile)
#include "tst_frmMain_datafile.moc"
