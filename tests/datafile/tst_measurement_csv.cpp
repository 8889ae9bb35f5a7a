// The measurement file: its exact bytes, round trips through the reader, the
// stream reading of short lines, and the files the reader must refuse. The
// recovery file, which carries a measurement file: exact round trips and the
// damaged, foreign and hostile files it must refuse whole.

#include "base/numbers.h"
#include "datafile/measurement_csv.h"
#include "datafile/recovery_file.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

using namespace datafile;

namespace {

// The main window's header line in CP932, encoded independently of the
// program (Python's cp932 codec).
const QByteArray kMainHeader = QByteArray::fromHex(
    "22834a834583938367222c228374838c815b8380222c2282778dc09557222c2282788dc09557222c228e9e8a"
    "d4222c2288da93ae8b9797a3222c2289e696ca8fe382cc92b782b381698373834e835a838b816a222c2289e6"
    "96ca8fe382cc92b782b328636d29222c228374838c815b8380838c815b8367220d0a");

void setRow(MeasurementState &s, int r, std::array<qint32, 6> cells)
{
    for (int c = 0; c < 6; ++c)
        s.PointTable[r][c] = cells[size_t(c)];
}

MeasurementState exampleState()
{
    MeasurementState s;
    setRow(s, 1, {1, 12, 120, 98, 0, 0});
    s.PointCount = 1;
    s.RefLengthPixels = 152.5f;
    s.RefLengthValue = 10;
    s.FrameRate = 30;
    s.LengthUnit = QStringLiteral("cm");
    return s;
}

QByteArray dataLines(const QList<QByteArray> &lines)
{
    QByteArray out = kMainHeader;
    for (const QByteArray &line : lines)
        out += line + "\r\n";
    return out;
}

QByteArray line(int count, int frame, int x, int y)
{
    return QStringLiteral("\" %1\",\" %2\",\" %3\",\" %4\",\" 0\",\" 0\",\" 100\",\" 10\",\" 30\"")
        .arg(count)
        .arg(frame)
        .arg(x)
        .arg(y)
        .toLatin1();
}

MeasurementFileData parsed(const QByteArray &bytes)
{
    const MeasurementFileRead read = parseMeasurementCsv(bytes);
    if (!read.ok)
        qWarning() << "refused:" << read.error;
    return read.data;
}

recovery::Snapshot recoverySnapshot()
{
    recovery::Snapshot s;
    s.videoPath = QStringLiteral("/home/生徒/実験 1/落下 #2%.mp4");
    s.videoFrameRate = 30000.0 / 1001;
    s.frameRate = 240;
    s.refLengthPixels = std::sqrt(123457.0f);
    s.refLengthValue = -32768;
    s.lengthUnit = QStringLiteral("c\"m\r\n㎝😀 ");
    s.shakeCorrection = true;
    s.shakeOriginX = 512;
    s.shakeOriginY = -3;
    for (int r = 1; r <= 3; ++r)
        s.rows.append({r, 70000 * r, -32768 + r, 32767 - r, 500 + r, 60 - r});
    s.pointCount = 3;
    // Points 2 and 3 plotted by automatic tracking.
    s.trackedScores = {{140000, 0.91234567890123456}, {210000, 1.0 / 3}};
    return s;
}

// The digest line made anew over changed content, so that the checks behind
// it are reached.
QByteArray resealed(QByteArray bytes)
{
    bytes.truncate(bytes.lastIndexOf("sha256 "));
    return bytes + "sha256 " + QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() +
           '\n';
}

} // namespace

class TestMeasurementCsv : public QObject
{
    Q_OBJECT
private slots:
    void exactBytesOfExample();
    void resultWindowFile();
    void unitFromHeader_data();
    void unitFromHeader();
    void zeroPointsGiveHeaderOnly();
    void roundTrip_data();
    void roundTrip();
    void lastCountFieldSetsPointCount();
    void shortLinesBorrowFromNext();
    void leadingNumericPart();
    void refused_data();
    void refused();
    void oversizedFileRefused();
    void applyClearsTheWholeTable();
    void japaneseNamesAndRepeatableWrites();
    void recoveryRoundTripIsExact_data();
    void recoveryRoundTripIsExact();
    void recoveryRefusedWhole_data();
    void recoveryRefusedWhole();
};

void TestMeasurementCsv::exactBytesOfExample()
{
    // Before a length is set there is no unit: the header says cm, as the
    // unit box does.
    MeasurementState s = exampleState();
    s.LengthUnit.clear();
    const QByteArray bytes = mainWindowCsv(s);
    const QByteArray expectedLine =
        "\" 1\",\" 12\",\" 120\",\" 98\",\" 0\",\" 0\",\" 152.5\",\" 10\",\" 30\"\r\n";
    QCOMPARE(bytes, kMainHeader + expectedLine);
}

void TestMeasurementCsv::resultWindowFile()
{
    MeasurementState s = exampleState();
    s.LengthUnit = QStringLiteral("m");
    setRow(s, 2, {2, 14, 130, 97, 0, 0});
    s.PointCount = 2;
    // Row 1 missing, as the distance table leaves its last row for
    // DistanceMethod 2.
    const TimedValues rows{{0.4f, 0}};
    const QByteArray bytes = resultWindowCsv(s, rows);
    const QList<QByteArray> lines = bytes.split('\n');
    QCOMPARE(lines.size(), qsizetype(4)); // header, two points, empty rest after the last CR LF
    // Eighth label: "画面上の長さ(" + "m" + ")".
    QVERIFY(lines[0].contains(QByteArray::fromHex("89e696ca8fe382cc92b782b3286d29")));
    QVERIFY(!lines[0].contains(QByteArray::fromHex("28636d29"))); // not "(cm)"
    QCOMPARE(lines[1], QByteArray("\" 1\",\" 12\",\" 120\",\" 98\",\" .4\",\" 0\",\" 152.5\","
                                  "\" 10\",\" 30\"\r"));
    QCOMPARE(lines[2], QByteArray("\" 2\",\" 14\",\" 130\",\" 97\",\" 0\",\" 0\",\" 152.5\","
                                  "\" 10\",\" 30\"\r"));

    // A typed unit with a quote cannot end the field early.
    s.LengthUnit = QStringLiteral("c\"m");
    const MeasurementFileRead read = parseMeasurementCsv(resultWindowCsv(s, rows));
    QVERIFY2(read.ok, qPrintable(read.error));
    QCOMPARE(read.data.rows.size(), qsizetype(2));
}

void TestMeasurementCsv::unitFromHeader_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("unit");
    QTest::newRow("m") << "画面上の長さ(m)"
                       << "m";
    QTest::newRow("typed unit") << "画面上の長さ(ｍｍ)"
                                << "ｍｍ";
    QTest::newRow("empty") << "画面上の長さ()"
                           << "cm";
    QTest::newRow("unclosed") << "画面上の長さ(km"
                              << "cm";
    QTest::newRow("other label") << "h"
                                 << "cm";
}

void TestMeasurementCsv::unitFromHeader()
{
    QFETCH(QString, label);
    QFETCH(QString, unit);
    QStringEncoder encoder("CP932");
    const QByteArray header = "a,b,c,d,e,f,g,\"" + encoder.encode(label) + "\",i\r\n";
    const MeasurementFileRead read = parseMeasurementCsv(header + line(1, 1, 1, 1) + "\r\n");
    QVERIFY2(read.ok, qPrintable(read.error));
    MeasurementState s;
    s.LengthUnit = QStringLiteral("km");
    applyMeasurementFile(read.data, s);
    QCOMPARE(s.LengthUnit, unit);
}

void TestMeasurementCsv::zeroPointsGiveHeaderOnly()
{
    MeasurementState s = exampleState();
    s.PointCount = 0;
    QCOMPARE(mainWindowCsv(s), kMainHeader);
    const MeasurementFileRead read = parseMeasurementCsv(kMainHeader);
    QVERIFY(read.ok);
    QCOMPARE(read.data.rows.size(), qsizetype(0));
    QCOMPARE(read.data.pointCount, qint16(0));
}

void TestMeasurementCsv::roundTrip_data()
{
    QTest::addColumn<int>("points");
    QTest::addColumn<float>("pixels");
    QTest::addColumn<double>("rate");
    QTest::addColumn<qint16>("refValue");
    QTest::newRow("one point") << 1 << 152.5f << 30.0 << qint16(10);
    QTest::newRow("long digits") << 7 << 123.456789f << 29.97002997002997 << qint16(-3);
    QTest::newRow("below one") << 3 << 0.3333333f << 0.5 << qint16(32767);
    QTest::newRow("exponent forms") << 2 << 1.5e-7f << 1.0e20 << qint16(-32768);
    QTest::newRow("full table") << 200 << 640.0f << 59.94005994005994 << qint16(100);
}

void TestMeasurementCsv::roundTrip()
{
    QFETCH(int, points);
    QFETCH(float, pixels);
    QFETCH(double, rate);
    QFETCH(qint16, refValue);

    MeasurementState s;
    for (int r = 1; r <= points; ++r)
        setRow(s, r, {r, 100000 + r * 37, (r * 13) % 640 - 5, 479 - r % 480, -r, r * 2});
    s.PointTable[1][2] = -32768;
    s.PointTable[1][3] = 32767;
    s.PointCount = qint16(points);
    s.RefLengthPixels = pixels;
    s.RefLengthValue = refValue;
    s.FrameRate = rate;

    const QByteArray bytes = mainWindowCsv(s);
    QCOMPARE(bytes.count("\r\n"), qsizetype(points + 1));
    const MeasurementFileRead read = parseMeasurementCsv(bytes);
    QVERIFY2(read.ok, qPrintable(read.error));

    MeasurementState back;
    back.FrameRate = 99;
    applyMeasurementFile(read.data, back);
    QCOMPARE(back.PointCount, s.PointCount);
    for (int r = 0; r < MeasurementState::TableRows; ++r)
        for (int c = 0; c < 6; ++c)
            QCOMPARE(back.PointTable[r][c], s.PointTable[r][c]);
    QCOMPARE(back.RefLengthValue, refValue);
    // The lengths and the rate come back as the digits that were written.
    QCOMPARE(back.RefLengthPixels, float(num::leadingNumber(num::fileNumberText(pixels))));
    QCOMPARE(back.FrameRate, num::leadingNumber(num::fileNumberText(rate)));
    QVERIFY(qAbs(back.RefLengthPixels - pixels) <= qAbs(pixels) * 1e-6f);
    QVERIFY(qAbs(back.FrameRate - rate) <= qAbs(rate) * 1e-14);
}

void TestMeasurementCsv::lastCountFieldSetsPointCount()
{
    QList<QByteArray> lines;
    for (int i = 1; i <= 7; ++i)
        lines << line(i <= 4 ? i : 5, i * 10, i, i + 100);
    const MeasurementFileData data = parsed(dataLines(lines));
    QCOMPARE(data.rows.size(), qsizetype(7));
    QCOMPARE(data.pointCount, qint16(5));

    MeasurementState s;
    applyMeasurementFile(data, s);
    QCOMPARE(s.PointCount, qint16(5));
    QCOMPARE(s.PointTable[6][1], 60);
    QCOMPARE(s.PointTable[7][0], 5);
    QCOMPARE(s.PointTable[7][3], 107);
    QCOMPARE(s.PointTable[8][1], 0);
}

void TestMeasurementCsv::shortLinesBorrowFromNext()
{
    // The first record is split over three lines, the second ends on a line
    // that already starts the third; blank lines carry no fields.
    const QByteArray bytes =
        kMainHeader +
        "\" 1\",\" 12\",\" 120\"\r\n"
        "\" 98\",\" 0\",\" 0\",\" 152.5\"\r\n\r\n"
        "\" 10\",\" 30\"\r\n"
        "\" 2\",\" 14\",\" 130\",\" 97\",\" 0\",\" 0\",\" 152.5\",\" 10\",\" 30\",\" 3\"\r\n"
        "\" 16\",\" 140\",\" 96\",\" 0\",\" 0\",\" 152.5\",\" 10\",\" 30\"\r\n";
    const MeasurementFileData data = parsed(bytes);
    QCOMPARE(data.rows.size(), qsizetype(3));
    QCOMPARE(data.rows[0], (PointRow{1, 12, 120, 98, 0, 0}));
    QCOMPARE(data.rows[1], (PointRow{2, 14, 130, 97, 0, 0}));
    QCOMPARE(data.rows[2], (PointRow{3, 16, 140, 96, 0, 0}));
    QCOMPARE(data.pointCount, qint16(3));
    QCOMPARE(data.refLengthPixels, 152.5f);
}

void TestMeasurementCsv::leadingNumericPart()
{
    // Unquoted fields, LF-only lines, text after numbers, halves to even, an
    // empty field and a text without a number both give 0.
    const QByteArray bytes = "a,b,c,d,e,f,g,h,i\n"
                             "1, 12.5 ,120px,97.5,\"\",abc,1.5E+2,10cm,3E1\n";
    const MeasurementFileData data = parsed(bytes);
    QCOMPARE(data.rows.size(), qsizetype(1));
    QCOMPARE(data.rows[0], (PointRow{1, 12, 120, 98, 0, 0}));
    QCOMPARE(data.refLengthPixels, 150.0f);
    QCOMPARE(data.refLengthValue, qint16(10));
    QCOMPARE(data.frameRate, 30.0);
}

void TestMeasurementCsv::refused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("blank lines only") << QByteArray("\r\n\r\n  \r\n");
    QTest::newRow("garbage text") << QByteArray("hello world\r\nthis is not a measurement\r\n");
    QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    QTest::newRow("invalid CP932") << kMainHeader + QByteArray("\"\x81\xff\"\r\n");
    QTest::newRow("eight fields") << dataLines({line(1, 12, 120, 98).chopped(6)});
    QTest::newRow("header cut short") << QByteArray("\"a\",\"b\",\"c\"\r\n");
    QTest::newRow("X beyond 16 bits") << dataLines({line(1, 12, 40000, 98)});
    QTest::newRow("Y below 16 bits") << dataLines({line(1, 12, 120, -32769)});
    QTest::newRow("frame beyond 32 bits")
        << dataLines({line(1, 12, 120, 98).replace(" 12", " 3E9")});
    QTest::newRow("count 201") << dataLines({line(201, 12, 120, 98)});
    QTest::newRow("negative count") << dataLines({line(-1, 12, 120, 98)});
    QTest::newRow("reference value beyond 16 bits")
        << dataLines({line(1, 12, 120, 98).replace("\" 10\"", "\" 32768\"")});
    QTest::newRow("negative frame rate")
        << dataLines({line(1, 12, 120, 98).replace("\" 30\"", "\"-30\"")});
    QTest::newRow("pixels beyond single precision")
        << dataLines({line(1, 12, 120, 98).replace("\" 100\"", "\" 1E39\"")});
    QTest::newRow("bad value on a later line")
        << dataLines({line(1, 12, 120, 98), line(2, 14, 120, 98), line(3, 16, 99999, 98)});
    QList<QByteArray> tooMany;
    for (int i = 1; i <= MaxDataLines + 1; ++i)
        tooMany << line(qMin(i, 200), i, 1, 1);
    QTest::newRow("202 data lines") << dataLines(tooMany);
}

void TestMeasurementCsv::refused()
{
    QFETCH(QByteArray, bytes);
    const MeasurementFileRead read = parseMeasurementCsv(bytes);
    QVERIFY(!read.ok);
    QVERIFY(!read.error.isEmpty());
    QCOMPARE(read.data.rows.size(), qsizetype(0));
}

void TestMeasurementCsv::oversizedFileRefused()
{
    QTemporaryDir dir;
    QList<QByteArray> lines;
    for (int i = 1; i <= MaxDataLines; ++i)
        lines << line(qMin(i, 200), i, 1, 1);
    const QString fine = dir.filePath(QStringLiteral("201.csv"));
    QVERIFY(writeMeasurementFile(fine, dataLines(lines)));
    const MeasurementFileRead ok = readMeasurementFile(fine);
    QVERIFY2(ok.ok, qPrintable(ok.error));
    QCOMPARE(ok.data.rows.size(), qsizetype(MaxDataLines));

    const QString big = dir.filePath(QStringLiteral("big.csv"));
    QVERIFY(writeMeasurementFile(big, kMainHeader + QByteArray(MaxFileBytes, ' ')));
    QVERIFY(!readMeasurementFile(big).ok);
    QVERIFY(!readMeasurementFile(dir.filePath(QStringLiteral("missing.csv"))).ok);
}

void TestMeasurementCsv::applyClearsTheWholeTable()
{
    MeasurementState s;
    for (int r = 0; r < MeasurementState::TableRows; ++r)
        setRow(s, r, {7, 7, 7, 7, 7, 7});
    s.PointCount = 5;
    s.RefLengthPixels = 80;
    s.RefLengthValue = 4;
    s.FrameRate = 25;
    s.LengthUnit = QStringLiteral("km");

    applyMeasurementFile(parsed(dataLines({line(1, 3, 4, 5)})), s);
    QCOMPARE(s.PointTable[0][0], 0);
    QCOMPARE(s.PointTable[1][1], 3);
    QCOMPARE(s.PointTable[2][0], 0);
    QCOMPARE(s.PointTable[201][5], 0);
    QCOMPARE(s.PointCount, qint16(1));
    QCOMPARE(s.RefLengthPixels, 100.0f);
    QCOMPARE(s.LengthUnit, QStringLiteral("cm")); // the file's

    // A header-only file leaves a cleared measurement; the typed length and
    // the frame rate stay.
    applyMeasurementFile(parsed(kMainHeader), s);
    QCOMPARE(s.PointCount, qint16(0));
    QCOMPARE(s.PointTable[1][1], 0);
    QCOMPARE(s.RefLengthPixels, 0.0f);
    QCOMPARE(s.RefLengthValue, qint16(10));
    QCOMPARE(s.FrameRate, 30.0);
}

void TestMeasurementCsv::japaneseNamesAndRepeatableWrites()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("理科 実験データ")));
    const QString path = dir.filePath(QStringLiteral("理科 実験データ/振り子の実験①.csv"));
    MeasurementState s = exampleState();
    setRow(s, 2, {2, 15, 133, 90, 0, 0});
    s.PointCount = 2;
    const QByteArray bytes = mainWindowCsv(s);

    QVERIFY(writeMeasurementFile(path, bytes));
    QFile first(path);
    QVERIFY(first.open(QIODevice::ReadOnly));
    const QByteArray once = first.readAll();
    first.close();
    QVERIFY(writeMeasurementFile(path, mainWindowCsv(s)));
    QFile second(path);
    QVERIFY(second.open(QIODevice::ReadOnly));
    QCOMPARE(second.readAll(), once);
    QCOMPARE(once, bytes);

    const MeasurementFileRead read = readMeasurementFile(path);
    QVERIFY2(read.ok, qPrintable(read.error));
    QCOMPARE(read.data.rows.size(), qsizetype(2));
    QCOMPARE(read.data.rows[1], (PointRow{2, 15, 133, 90, 0, 0}));

    // A folder that does not exist: the write fails and leaves nothing.
    const QString nowhere = dir.filePath(QStringLiteral("無い フォルダ/a.csv"));
    QVERIFY(!writeMeasurementFile(nowhere, bytes));
    QVERIFY(!QFile::exists(nowhere));
}

void TestMeasurementCsv::recoveryRoundTripIsExact_data()
{
    QTest::addColumn<int>("points");
    QTest::addColumn<bool>("withVideo");
    QTest::newRow("3 points, odd path, unit and numbers") << 3 << true;
    QTest::newRow("200 points, no video") << 200 << false;
}

// Every value comes back bit for bit, through the state as well.
void TestMeasurementCsv::recoveryRoundTripIsExact()
{
    QFETCH(int, points);
    QFETCH(bool, withVideo);
    recovery::Snapshot s = recoverySnapshot();
    for (int r = s.rows.size() + 1; r <= points; ++r)
        s.rows.append({r, r, r, -r, 0, 0});
    s.pointCount = qint16(points);
    if (!withVideo) {
        s.videoPath.clear();
        s.videoFrameRate = 0;
    }
    const QByteArray bytes = recovery::encode(s);
    const recovery::Read read = recovery::decode(bytes);
    QVERIFY2(read.ok, qPrintable(read.error));
    QVERIFY(read.snapshot == s);

    MeasurementState state;
    state.PointTable[points + 1][1] = 99; // left over beyond the points: cleared
    recovery::apply(read.snapshot, state);
    QCOMPARE(state.PointTable[points + 1][1], 0);
    state.VideoPath = s.videoPath;
    recovery::Snapshot again = recovery::snapshotOf(state, withVideo);
    again.videoFrameRate = s.videoFrameRate;
    again.shakeCorrection = s.shakeCorrection;
    again.shakeOriginX = s.shakeOriginX;
    again.shakeOriginY = s.shakeOriginY;
    QVERIFY(again == s);
    QCOMPARE(recovery::encode(again), bytes);
}

void TestMeasurementCsv::recoveryRefusedWhole_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = recovery::encode(recoverySnapshot());
    const auto changed = [&good](const QByteArray &from, const QByteArray &to) {
        QByteArray bytes = good;
        return resealed(bytes.replace(from, to));
    };
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("foreign text") << QByteArray("hello\nworld\n");
    QTest::newRow("a measurement file") << mainWindowCsv(exampleState());
    QTest::newRow("newer version")
        << resealed(QByteArray(good).replace("RECOVERY 1", "RECOVERY 2"));
    QTest::newRow("cut in the points") << good.left(good.size() / 2);
    QTest::newRow("last byte missing") << good.chopped(1);
    QTest::newRow("digest line missing") << good.left(good.lastIndexOf("sha256"));
    QTest::newRow("one point changed, digest old")
        << QByteArray(good).replace("\" 2\",\" 140000\"", "\" 2\",\" 140001\"");
    QTest::newRow("no points") << changed("points 3", "points 0");
    QTest::newRow("201 points") << changed("points 3", "points 201");
    QTest::newRow("count not the rows") << changed("points 3", "points 2");
    QTest::newRow("reference value beyond 16 bits")
        << changed("ref-value -32768", "ref-value 40000");
    QTest::newRow("negative frame rate") << changed("frame-rate 240", "frame-rate -240");
    QTest::newRow("infinite frame rate") << changed("frame-rate 240", "frame-rate inf");
    QTest::newRow("not a number") << changed("frame-rate 240", "frame-rate nan");
    QTest::newRow("shake neither 0 nor 1") << changed("shake 1", "shake 2");
    QTest::newRow("shake origin beyond 16 bits")
        << changed("shake-origin 512", "shake-origin 99999");
    QTest::newRow("unit not UTF-8") << changed("unit c", "unit %FF%FEc");
    QTest::newRow("unit with a raw blank") << changed("unit c", "unit c c");
    QTest::newRow("path with a NUL") << changed("video %2Fhome", "video %00%2Fhome");
    QTest::newRow("a line missing") << changed("shake 1\n", "");
    // Axes: both points on one pixel, a value missing, a value not a number.
    for (const char *axes : {"axes 10 20 10.5 20.5", "axes 10 20 30", "axes 10 20 30 nan"})
        QTest::addRow("%s", axes) << changed("\npoints 3", QByteArray("\n") + axes + "\npoints 3");
    const qsizetype sizeAt = good.indexOf("\ncsv ") + 5;
    const qsizetype sizeEnd = good.indexOf('\n', sizeAt);
    const int size = good.mid(sizeAt, sizeEnd - sizeAt).toInt();
    for (int wrong : {size - 10, size + 10, -size}) {
        QByteArray bytes = good;
        QTest::addRow("points said to be %d bytes", wrong)
            << resealed(bytes.replace(sizeAt, sizeEnd - sizeAt, QByteArray::number(wrong)));
    }
    QTest::newRow("tracked score above 1") << changed("210000:0.33333333333333331", "210000:1.5");
    QTest::newRow("tracked entry without its score")
        << changed("tracked 140000:", "tracked 140000");
    QTest::newRow("a bad point inside")
        << changed("\" 3\",\" 210000\",\"-32765\"", "\" 3\",\" 210000\",\"-99999\"");
    QTest::newRow("a line after the points")
        << resealed(good.left(good.lastIndexOf("sha256")) + "extra\nsha256 x\n");
}

void TestMeasurementCsv::recoveryRefusedWhole()
{
    QFETCH(QByteArray, bytes);
    const recovery::Read read = recovery::decode(bytes);
    QVERIFY(!read.ok);
    QVERIFY(!read.error.isEmpty());
    QCOMPARE(read.snapshot.rows.size(), qsizetype(0));
}

QTEST_GUILESS_MAIN(TestMeasurementCsv)
#include "tst_measurement_csv.moc"
