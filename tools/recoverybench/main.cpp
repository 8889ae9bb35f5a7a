// What the recovery file costs: after every command the window takes a
// snapshot of the measurement and compares it with the one last written (on
// the user-interface thread, the only cost a click pays); a changed one is
// encoded and written through a temporary file and a rename (on the store's
// own thread).
// Prints the median and the slowest of each, for measurements of several
// sizes, writing into the given folder (a temporary one in the user's data
// folder when none is given, since that is where the real files go).
//
// With a video, it also plots 150 points by clicks in the real main window
// (offscreen), once with the recovery file and once without one (no data
// folder to write to), and prints what one click costs in each.
//
//   recoverybench [folder] [repetitions] [video]

#include "app/frmMain.h"
#include "base/app_paths.h"
#include "base/measurement_state.h"
#include "datafile/recovery_file.h"
#include "datafile/recovery_part.h"
#include "datafile/recovery_store.h"
#include "platform/platform.h"
#include "platform/qt_platform.h"
#include "printhelp/print_page.h"
#include "video/preview_widget.h"
#include "video/video_part.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <algorithm>
#include <functional>

namespace {

struct Timing
{
    double medianMs = 0;
    double maxMs = 0;
    double p95Ms = 0;
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
    return {ms[ms.size() / 2], ms.last(), ms[ms.size() * 95 / 100]};
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

constexpr int kWindowClicks = 150;

// One click on the preview, from the press to the window having derived its
// controls (and, with the recovery file, handed the measurement to the store).
std::optional<Timing> timedClicks(const QString &video, const QString &dataFolder, bool *recorded)
{
    setUserDataFolder(dataFolder);
    resetMeasurementState();
    frmMain w;
    w.show();
    if (!QTest::qWaitForWindowExposed(&w) || !w.video().openVideoFile(video))
        return std::nullopt;
    measurementState().ClickAction = 0;
    const auto settled = [&w] {
        return QTest::qWaitFor([&w] { return w.state().InputPauseOver; }, 3000);
    };
    // A point on each of 150 frames; only the click itself is timed.
    QList<double> ms;
    for (int i = 0; i < kWindowClicks; ++i) {
        w.ctrlSlider->setValue(i);
        if (!settled())
            return std::nullopt;
        const QPointF at(100 + i, 300 - i);
        QMouseEvent press(QEvent::MouseButtonPress, at, w.picPreview->mapToGlobal(at),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QElapsedTimer t;
        t.start();
        QApplication::sendEvent(w.picPreview, &press);
        ms.append(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    const Timing timing{ms[ms.size() / 2], ms.last(), ms[ms.size() * 95 / 100]};
    w.recovery().store().waitUntilDone();
    *recorded = w.recovery().store().active() &&
                recovery::readFile(w.recovery().store().filePath()).snapshot.pointCount ==
                    measurementState().PointCount;
    settled();
    // Not a normal quit: the file goes with the folder.
    return timing;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("キネモ"));
    installPlatform(makeQtPlatform(printpage::drawing()));
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
    out << "points  snapshot+compare  encode  file bytes  encode+write on the store's thread  "
           "[median / slowest ms]\n";

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
            store.write(last);
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
    if (args.size() < 4)
        return 0;
    bool recorded = false;
    const std::optional<Timing> with =
        timedClicks(args[3], dir.filePath(QStringLiteral("data")), &recorded);
    bool none = false;
    const std::optional<Timing> without =
        timedClicks(args[3], QStringLiteral("/dev/null/no-folder"), &none);
    if (!with || !without) {
        out << "cannot open " << args[3] << "\n";
        return 1;
    }
    out << QStringLiteral("window, %1 clicks: with the recovery file %2 / %3 / %4 ms (file %5), "
                          "without %6 / %7 / %8 ms  [median / 95th percentile / slowest ms per "
                          "click]\n")
               .arg(kWindowClicks)
               .arg(with->medianMs, 0, 'f', 3)
               .arg(with->p95Ms, 0, 'f', 3)
               .arg(with->maxMs, 0, 'f', 3)
               .arg(recorded ? QStringLiteral("up to date") : QStringLiteral("NOT up to date"))
               .arg(without->medianMs, 0, 'f', 3)
               .arg(without->p95Ms, 0, 'f', 3)
               .arg(without->maxMs, 0, 'f', 3);
    return 0;
}
