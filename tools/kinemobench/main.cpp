// What saving and opening a whole measurement (.kinemo) costs, and that it
// comes back exactly: four objects of 200 points each with their masses are
// encoded and written through the safe write, then read, checked and put
// back into the measurement, many times over. Prints the median and the
// slowest of each, and whether the file written again after opening and the
// momentum results computed from it are byte for byte the ones before.
//
// With a folder as its second argument it also writes there two small
// files to start the fuzzer from (tests/fuzz/corpus/kinemo_file).
//
//   kinemobench [repetitions] [seed folder]

#include "base/measurement_objects.h"
#include "base/measurement_state.h"
#include "datafile/measurement_csv.h"
#include "datafile/recovery_file.h"
#include "results/momentum_results.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cmath>

namespace {

// `points` points per object on the same frames, each object at its own
// speed, bouncing off the next around the middle.
MeasurementState measurement(int objectCount, int points)
{
    MeasurementState state;
    state.FrameRate = 30;
    state.RefLengthPixels = 412.5f;
    state.RefLengthValue = 1;
    state.LengthUnit = QStringLiteral("m");
    for (int object = objectCount - 1; object >= 0; --object) {
        objects::choose(state, object);
        for (int r = 1; r <= points; ++r) {
            const int f = r - 1;
            const int speed = 6 - object;
            const int x = 20 + 150 * object +
                          (f < points / 2 ? speed * f : speed * points / 2 - (f - points / 2));
            state.PointTable[r][MeasurementState::ColNumber] = r;
            state.PointTable[r][MeasurementState::ColFrame] = f;
            state.PointTable[r][MeasurementState::ColX] = x % 640;
            state.PointTable[r][MeasurementState::ColY] = 240 + (r * 7 + object) % 3;
        }
        state.PointCount = qint16(points);
        state.ObjectMass[object] = 0.25 * (object + 1);
    }
    return state;
}

struct Timing
{
    double median = 0;
    double slowest = 0;
};

template <typename Work> Timing timed(int repetitions, Work work)
{
    QList<double> ms;
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        ms.append(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.last()};
}

QByteArray momentumText(const MeasurementState &state)
{
    const results::MomentumResults r = results::computeMomentum(state);
    QByteArray text = results::momentumSummary(r).toUtf8();
    for (const QStringList &row : results::momentumTable(r))
        text += row.join(u'\t').toUtf8() + '\n';
    return text;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const int repetitions = argc > 1 ? std::max(1, atoi(argv[1])) : 50;
    if (argc > 2) {
        const QDir seeds(QString::fromLocal8Bit(argv[2]));
        recovery::Snapshot four = recovery::snapshotOf(measurement(4, 3), false);
        four.videoPath = QStringLiteral("/home/生徒/台車.avi");
        four.videoRelative = QStringLiteral("台車.avi");
        datafile::writeMeasurementFile(seeds.filePath(QStringLiteral("four_objects.kinemo")),
                                       recovery::encode(four, recovery::Kind::Measurement));
        const recovery::Snapshot two = recovery::snapshotOf(measurement(2, 4), false);
        datafile::writeMeasurementFile(seeds.filePath(QStringLiteral("two_objects.recovery")),
                                       recovery::encode(two));
    }

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("台車の衝突.kinemo"));
    const MeasurementState before = measurement(4, 200);
    recovery::Snapshot snapshot = recovery::snapshotOf(before, false);
    QByteArray written;
    const Timing save = timed(repetitions, [&] {
        written =
            recovery::encode(recovery::snapshotOf(before, false), recovery::Kind::Measurement);
        if (!datafile::writeMeasurementFile(path, written))
            qFatal("cannot write %s", qPrintable(path));
    });
    MeasurementState after;
    const Timing open = timed(repetitions, [&] {
        const recovery::Read read = recovery::readFile(path);
        if (!read.ok)
            qFatal("refused: %s", qPrintable(read.error));
        after = MeasurementState{};
        recovery::apply(read.snapshot, after);
    });
    const QByteArray again =
        recovery::encode(recovery::snapshotOf(after, false), recovery::Kind::Measurement);

    out << "measurement file of 4 objects x 200 points: " << written.size() << " bytes\n";
    out << "save (encode + safe write): median " << save.median << " ms, slowest " << save.slowest
        << " ms\n";
    out << "open (read + check + apply): median " << open.median << " ms, slowest " << open.slowest
        << " ms\n";
    out << "written again after opening, byte for byte the same: "
        << (again == written ? "yes" : "NO") << '\n';
    out << "momentum table and summary after opening the same: "
        << (momentumText(after) == momentumText(before) ? "yes" : "NO") << '\n';
    return again == written ? 0 : 1;
}
