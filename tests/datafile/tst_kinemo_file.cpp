// The file of a whole measurement (.kinemo) and the recovery file, which
// share one format: several objects with their masses come back bit for
// bit, a file of one object is the recovery file as it always was, and
// anything damaged or out of range is refused whole.

#include "base/measurement_objects.h"
#include "datafile/measurement_csv.h"
#include "datafile/recovery_file.h"

#include <QCryptographicHash>
#include <QStringDecoder>
#include <QtTest>

using MS = MeasurementState;

namespace {

QByteArray sealed(QByteArray body)
{
    return body + "sha256 " + QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex() +
           '\n';
}

QByteArray resealed(QByteArray bytes)
{
    bytes.truncate(bytes.lastIndexOf("sha256 "));
    return sealed(bytes);
}

// Four objects of `points` points each, Ｃ chosen, masses for three.
recovery::Snapshot fullMeasurement(int points)
{
    recovery::Snapshot s;
    s.videoPath = QStringLiteral("/home/生徒/台車 衝突.mp4");
    s.videoRelative = QStringLiteral("../台車 衝突.mp4");
    s.videoFrameRate = 30;
    s.frameRate = 30;
    s.refLengthPixels = 412.5f;
    s.refLengthValue = 1;
    s.lengthUnit = QStringLiteral("m");
    s.shakeCorrection = true;
    s.shakeOriginX = 17;
    s.shakeOriginY = 22;
    s.chosenObject = 2;
    s.masses = {0.25, 0.5, 0, 1.0 / 3};
    for (int object = 0; object < MS::MaxObjects; ++object) {
        QList<datafile::PointRow> rows;
        for (int r = 1; r <= points; ++r)
            rows.append({r, 2 * r + object, 10 * object + r, 300 - r, 17, 22 + object});
        if (object == s.chosenObject) {
            s.rows = rows;
            s.pointCount = qint16(points);
        } else {
            s.others[object] = {qint16(points), rows};
        }
    }
    // Tracking plotted the chosen object's last point and Ｂ's first two.
    s.trackedScores = {{points, 0.75}};
    s.others[1].trackedScores = {{1, 1.0 / 3}, {qMin(2, points), 0.5}};
    return s;
}

// A recovery file as the program of one object wrote it.
QByteArray versionOneFile(const MS &points)
{
    const QByteArray csv = datafile::mainWindowCsv(points);
    return sealed("KINEMO-RECOVERY 1\nvideo %2Fclips%2Fcart.avi\nvideo-rate 25\nframe-rate 25\n"
                  "ref-pixels 500\nref-value 30\nunit cm\nshake 0\nshake-origin 0 0\npoints " +
                  QByteArray::number(points.PointCount) + "\ncsv " +
                  QByteArray::number(csv.size()) + '\n' + csv);
}

MS threePoints()
{
    MS s;
    for (int r = 1; r <= 3; ++r) {
        s.PointTable[r][MS::ColNumber] = r;
        s.PointTable[r][MS::ColFrame] = 3 * r;
        s.PointTable[r][MS::ColX] = 100 + r;
        s.PointTable[r][MS::ColY] = 200 - r;
    }
    s.PointCount = 3;
    s.RefLengthPixels = 500;
    s.RefLengthValue = 30;
    s.FrameRate = 25;
    s.LengthUnit = QStringLiteral("cm");
    return s;
}

} // namespace

class TestKinemoFile : public QObject
{
    Q_OBJECT
private slots:
    void roundTripIsExact_data();
    void roundTripIsExact();
    void versionOneStillReads();
    void refusedWhole_data();
    void refusedWhole();
};

void TestKinemoFile::roundTripIsExact_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("points");
    QTest::newRow("measurement file, 4 x 200 points") << int(recovery::Kind::Measurement) << 200;
    QTest::newRow("recovery file, 4 x 3 points") << int(recovery::Kind::Recovery) << 3;
}

void TestKinemoFile::roundTripIsExact()
{
    QFETCH(int, kind);
    QFETCH(int, points);
    const recovery::Snapshot s = fullMeasurement(points);
    const QByteArray bytes = recovery::encode(s, recovery::Kind(kind));
    const recovery::Read read = recovery::decode(bytes);
    QVERIFY2(read.ok, qPrintable(read.error));
    QCOMPARE(int(read.kind), kind);
    if (kind == int(recovery::Kind::Measurement)) {
        QVERIFY(read.snapshot == s);
        // Plain UTF-8 throughout, the Japanese of the embedded files too.
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8.decode(bytes);
        QVERIFY(!utf8.hasError());
        QVERIFY(text.contains(QStringLiteral("画面上の長さ(m)")));
    }

    // Through the measurement state, as saving and opening go.
    MS state;
    recovery::apply(read.snapshot, state);
    QCOMPARE(state.ChosenObject, qint16(2));
    QCOMPARE(objects::objectsWithPoints(state), 4);
    QCOMPARE(objects::stateOf(state, 3).PointTable[points][MS::ColX], 30 + points);
    QCOMPARE(state.ObjectMass[1], 0.5);
    // Each object keeps its own tracked points, and choosing it brings them.
    QCOMPARE(state.TrackedScores, s.trackedScores);
    QCOMPARE(objects::stateOf(state, 1).TrackedScores, s.others[1].trackedScores);
    QVERIFY(objects::stateOf(state, 3).TrackedScores.isEmpty());
    QCOMPARE(objects::stateOf(objects::stateOf(state, 1), 2).TrackedScores, s.trackedScores);
    state.VideoPath = s.videoPath;
    recovery::Snapshot again = recovery::snapshotOf(state, true);
    again.videoRelative = read.snapshot.videoRelative;
    again.videoFrameRate = s.videoFrameRate;
    again.shakeCorrection = s.shakeCorrection;
    again.shakeOriginX = s.shakeOriginX;
    again.shakeOriginY = s.shakeOriginY;
    QCOMPARE(recovery::encode(again, recovery::Kind(kind)), bytes);
}

// A recovery file of the first version's single object reads, and a
// measurement of one object is still written without any line of objects.
void TestKinemoFile::versionOneStillReads()
{
    const MS points = threePoints();
    const QByteArray old = versionOneFile(points);
    const recovery::Read read = recovery::decode(old);
    QVERIFY2(read.ok, qPrintable(read.error));
    QCOMPARE(read.snapshot.pointCount, qint16(3));
    QCOMPARE(read.snapshot.chosenObject, qint16(0));
    QCOMPARE(read.snapshot.totalPoints(), 3);
    // Written again it gains the plotting interval, and nothing of objects.
    const QByteArray again = recovery::encode(read.snapshot);
    QVERIFY(!again.contains("object") && !again.contains("mass"));
    QVERIFY(recovery::decode(again).snapshot == read.snapshot);
    MS state;
    recovery::apply(read.snapshot, state);
    QVERIFY(!objects::severalInUse(state));
}

void TestKinemoFile::refusedWhole_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = recovery::encode(fullMeasurement(3), recovery::Kind::Measurement);
    const auto changed = [&good](const QByteArray &from, const QByteArray &to) {
        QByteArray bytes = good;
        return resealed(bytes.replace(from, to));
    };
    QTest::newRow("newer version") << changed("MEASUREMENT 1", "MEASUREMENT 2");
    QTest::newRow("digest old") << QByteArray(good).replace("mass 1 0.5", "mass 1 0.6");
    QTest::newRow("no path from the file") << changed("video-relative ..%2F", "");
    QTest::newRow("fifth object chosen") << changed("object 2\n", "object 4\n");
    QTest::newRow("Ａ written as chosen") << changed("object 2\n", "object 0\n");
    QTest::newRow("chosen object in words") << changed("object 2\n", "object two\n");
    QTest::newRow("zero mass") << changed("mass 1 0.5", "mass 1 0");
    QTest::newRow("negative mass") << changed("mass 1 0.5", "mass 1 -0.5");
    QTest::newRow("mass of a ton of tons") << changed("mass 1 0.5", "mass 1 1e7");
    QTest::newRow("masses out of order") << changed("mass 0 0.25\nmass 1", "mass 1 0.25\nmass 0");
    QTest::newRow("mass of a fifth object") << changed("mass 3 ", "mass 7 ");
    QTest::newRow("points of the chosen object twice")
        << changed("object-points 3 ", "object-points 2 ");
    QTest::newRow("objects out of order") << changed("object-points 0 ", "object-points 4 ");
    QTest::newRow("count not the rows") << changed("object-points 1 3", "object-points 1 2");
    QTest::newRow("an object without points") << changed("object-points 1 3", "object-points 1 0");
    QTest::newRow("a point not UTF-8") << changed("\" 3\",\" 7\"", "\" 3\",\"\xff 7\"");
    QTest::newRow("a line after the objects")
        << resealed(good.left(good.lastIndexOf("sha256")) + "object-points x\nsha256 x\n");
    QTest::newRow("a measurement file cut short") << good.left(good.size() * 2 / 3);
    // Nothing in any object.
    recovery::Snapshot none = fullMeasurement(0);
    none.others = {};
    QTest::newRow("no points at all") << recovery::encode(none, recovery::Kind::Measurement);
}

void TestKinemoFile::refusedWhole()
{
    QFETCH(QByteArray, bytes);
    const recovery::Read read = recovery::decode(bytes);
    QVERIFY(!read.ok);
    QVERIFY(!read.error.isEmpty());
    QCOMPARE(read.snapshot.totalPoints(), 0);
}

QTEST_GUILESS_MAIN(TestKinemoFile)
#include "tst_kinemo_file.moc"
