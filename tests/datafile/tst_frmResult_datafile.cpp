// "データを書き込む(&S)" of the two result windows: the unit in the header and
// the window's own times and distances in columns 5 and 6.

#include "base/measurement_state.h"
#include "base/numbers.h"
#include "datafile/measurement_csv.h"
#include "recording_platform.h"
#include "results/frmResult1.h"
#include "results/frmResult2.h"

#include <QAction>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void plotFour(MeasurementState &s)
{
    const qint32 rows[4][6] = {{1, 10, 100, 200, 0, 0},
                               {2, 20, 150, 200, 0, 0},
                               {3, 30, 210, 200, 0, 0},
                               {4, 40, 280, 200, 0, 0}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 6; ++c)
            s.PointTable[r + 1][c] = rows[r][c];
    s.PointCount = 4;
    s.RefLengthPixels = 100;
    s.RefLengthValue = 10;
    s.FrameRate = 30;
    s.LengthUnit = QStringLiteral("m");
}

QStringList fileLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringDecoder decoder("CP932");
    QString text = decoder.decode(f.readAll());
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

class TestFrmResultDataFile : public QObject
{
    Q_OBJECT
private slots:
    void speedWindowWritesItsResultRows();
    void distanceWindowLastLineWithMethod2();
};

void TestFrmResultDataFile::speedWindowWritesItsResultRows()
{
    TestPlatform platform;
    QTemporaryDir dir;
    plotFour(measurementState());
    frmResult1 w;
    QVERIFY(w.load().ok());

    const QString path = dir.filePath(QStringLiteral("速さの結果.csv"));
    platform.fileDialogs->saveNames << path;
    w.mnuFileSave->trigger();
    QCOMPARE(platform.beeper->beeps, 0);
    QCOMPARE(platform.fileDialogs->filtersSeen, QStringList{QStringLiteral("キネモデータ(*.csv)")});

    const QStringList lines = fileLines(path);
    QCOMPARE(lines.size(), qsizetype(5));
    QVERIFY(lines[0].contains(QStringLiteral("\"画面上の長さ(m)\"")));
    const auto &rows = w.results().ResultRows;
    for (int i = 0; i < 4; ++i) {
        const QStringList fields = lines[i + 1].split(QLatin1Char(','));
        QCOMPARE(fields.size(), qsizetype(9));
        QCOMPARE(fields[4], QLatin1Char('"') +
                                num::fileNumberText(rows[size_t(i)][results::RowTime]) +
                                QLatin1Char('"'));
        QCOMPARE(fields[5], QLatin1Char('"') +
                                num::fileNumberText(rows[size_t(i)][results::RowValue]) +
                                QLatin1Char('"'));
    }
    // Point 2 is 50 pixels from point 1 at 100 pixels to 10 m.
    QCOMPARE(lines[2].split(QLatin1Char(','))[5], QStringLiteral("\" 5\""));
}

void TestFrmResultDataFile::distanceWindowLastLineWithMethod2()
{
    TestPlatform platform;
    QTemporaryDir dir;
    plotFour(measurementState());
    measurementState().DistanceMethod = 2;
    frmResult2 w;
    QVERIFY(w.load().ok());

    const QString path = dir.filePath(QStringLiteral("距離の結果.csv"));
    platform.fileDialogs->saveNames << path;
    w.mnuFileSave->trigger();
    QCOMPARE(platform.beeper->beeps, 0);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), datafile::resultWindowCsv(
                              measurementState(), results::fileColumns(w.results().DistanceRows)));

    const QStringList lines = fileLines(path);
    QCOMPARE(lines.size(), qsizetype(5));
    const QStringList last = lines[4].split(QLatin1Char(','));
    QCOMPARE(last[4], QStringLiteral("\" 0\""));
    QCOMPARE(last[5], QStringLiteral("\" 0\""));

    // The file reads back like any other measurement file.
    const datafile::MeasurementFileRead read = datafile::readMeasurementFile(path);
    QVERIFY2(read.ok, qPrintable(read.error));
    QCOMPARE(read.data.pointCount, qint16(4));
}

QTEST_MAIN(TestFrmResultDataFile)
#include "tst_frmResult_datafile.moc"
