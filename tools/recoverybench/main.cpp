// What the recovery file costs: after every command the window takes a
// snapshot of the measurement and compares it with the one last written (on
// the user-interface thread); a changed one is encoded (there too) and
// written through a temporary file and a rename (on the store's own thread).
// Prints the median and the slowest of each, for measurements of several
// sizes, writing into the given folder (a temporary one in the user's data
// folder when none is given, since that is where the real files go).
//
//   recoverybench [folder] [repetitions]

#include "base/app_paths.h"
#include "base/measurement_state.h"
#include "datafile/recovery_file.h"
#include "datafile/recovery_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <functional>

namespace {

struct Timing
{
    double medianMs = 0;
    double maxMs = 0;
};

Timing timed(int repetitions, const std::function<void(int)> &work)
{
    QList<double> ms;
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer t;
        t.start();
        work(i);
        ms.append(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.last()};
}

void fill(MeasurementState &s, int points)
{
    for (int r = 1; r <= points; ++r) {
        s.PointTable[r][0] = r;
        s.PointTable[r][1] = 3 * r;
        s.PointTable[r][2] = 100 + r;
        s.PointTable[r][3] = 400 - r;
    }
    s.PointCount = qint16(points);
    s.RefLengthPixels = 487.3f;
    s.RefLengthValue = 50;
    s.LengthUnit = QStringLiteral("cm");
    s.FrameRate = 240;
    s.VideoPath = QStringLiteral("/home/student/実験/落下.mp4");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("キネモ"));
    QTextStream out(stdout);
    const QStringList args = app.arguments();
    const int repetitions = args.size() > 2 ? qMax(1, args[2].toInt()) : 200;
    QString base = args.size() > 1 ? args[1] : userDataFolder();
    QDir().mkpath(base);
    QTemporaryDir dir(QDir(base).filePath(QStringLiteral("recoverybench-XXXXXX")));
    if (!dir.isValid()) {
        out << "cannot make a folder in " << base << "\n";
        return 1;
    }
    out << "folder " << dir.path() << ", " << repetitions << " repetitions\n";
    out << "points  snapshot+compare  encode  file bytes  write (QSaveFile)  [median / slowest "
           "ms]\n";

    for (int points : {10, 150, 200}) {
        MeasurementState s;
        fill(s, points);
        recovery::Snapshot last = recovery::snapshotOf(s, true);
        // Every other turn the measurement differs from the last written one.
        const Timing compare = timed(repetitions, [&](int i) {
            s.PointTable[points][2] = 100 + (i & 1);
            const recovery::Snapshot now = recovery::snapshotOf(s, true);
            if (now != last)
                last = now;
        });
        QByteArray bytes;
        const Timing encode = timed(repetitions, [&](int) { bytes = recovery::encode(last); });

        RecoveryStore store(dir.path());
        if (!store.active()) {
            out << "no recovery store in " << dir.path() << "\n";
            return 1;
        }
        const Timing write = timed(repetitions, [&](int) {
            store.write(bytes);
            store.waitUntilDone();
        });
        if (store.failedWrites() > 0 || !recovery::readFile(store.filePath()).ok) {
            out << "writing failed\n";
            return 1;
        }
        store.remove();
        store.waitUntilDone();
        out << QStringLiteral("%1  %2 / %3  %4 / %5  %6  %7 / %8\n")
                   .arg(points, 6)
                   .arg(compare.medianMs, 0, 'f', 4)
                   .arg(compare.maxMs, 0, 'f', 4)
                   .arg(encode.medianMs, 0, 'f', 4)
                   .arg(encode.maxMs, 0, 'f', 4)
                   .arg(bytes.size(), 9)
                   .arg(write.medianMs, 0, 'f', 3)
                   .arg(write.maxMs, 0, 'f', 3);
    }
    return 0;
}
