// The tracking benchmark: generated clips with the ball's centre known on
// every frame are opened in the real main window; the ball is clicked once,
// exactly, on the first frame, and "自動追跡" follows it. Printed per clip:
// how many tracked points lie within 1 and 2 preview pixels of the true
// centre and how many more than 3 pixels off; frames left without a point
// between the first and the last; where and why tracking ended, and the last
// frame with the ball whole in the picture; g from the tracked points
// against g from exact clicks; on the phone-like clip the tracked steps per
// second beside the decoding limit measured in the same run, and what
// stepping back costs afterwards.
//
// Objects that are not balls follow (a sticker on a turning wheel, a
// jumper's hip, a hand in front, a cart at 5 fps, a steel ball at 3 fps, a
// rolling disc's mark, a turning glider): within 3 pixels or stopped is
// their aim.
//
// The real clips are measured too when they are there: the ball toss
// (ball_toss_30fps.mp4 with its reference centres, clicked on frame 10 where
// the reference centre is, as a user would, and tracked at 30 fps and at
// 15 fps; g from the tracked points against g from the reference) and the
// bicycle wheel (bicycle_wheel_60fps.mp4 with the hand marks of the sticker,
// clicked on frame 1); their errors in video pixels, within and beyond 5.
//
//   trackbench [clip folder [part of a clip's name or "real" [real clips' folder]]]
//
// Defaults: trackclips; the real clips in ../shared/clips beside the source
// tree. Clips are made on first use and kept; delete one to make it again.
// TRACKBENCH_POINTS=1 in the environment prints the error of every point.

#include "app/frmMain.h"
#include "base/measurement_state.h"
#include "bench_clips.h"
#include "digitize/tracking_part.h"
#include "recording_platform.h"
#include "video/cached_frame_source.h"
#include "video/preview_widget.h"
#include "video/video_part.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <cmath>
#include <cstdio>
#include <functional>
#include <optional>

using MS = MeasurementState;

namespace {

// y = a + b t + c t² by least squares; g = 2c in metres.
double fitGravity(const QList<double> &t, const QList<double> &y, double pixelsPerMetre)
{
    double m[3][3] = {};
    for (double ti : t)
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                m[i][j] += std::pow(ti, i + j);
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    const double inv20 = (m[1][0] * m[2][1] - m[1][1] * m[2][0]) / det;
    const double inv21 = -(m[0][0] * m[2][1] - m[0][1] * m[2][0]) / det;
    const double inv22 = (m[0][0] * m[1][1] - m[0][1] * m[1][0]) / det;
    double g = 0;
    for (int k = 0; k < t.size(); ++k)
        g += 2 * (inv20 + inv21 * t[k] + inv22 * t[k] * t[k]) * y[k] / pixelsPerMetre;
    return g;
}

bool settle(frmMain &w)
{
    return QTest::qWaitFor(
        [&w] { return w.state().InputPauseOver && !measurementState().FrameRefreshPending; }, 5000);
}

QString stopName(TrackingPart::Stop s)
{
    switch (s) {
    case TrackingPart::Stop::LastFrame:
        return "last frame";
    case TrackingPart::Stop::PointLimit:
        return "200 points";
    case TrackingPart::Stop::LeftPicture:
        return "left the picture";
    case TrackingPart::Stop::Lost:
        return "lost";
    case TrackingPart::Stop::ByUser:
        return "by the user";
    case TrackingPart::Stop::Interrupted:
        return "interrupted";
    case TrackingPart::Stop::None:
        break;
    }
    return "running";
}

// Decoding and turning into pictures alone, full size, in order from `from`.
double decodeLimit(const QString &path, int from, int to)
{
    CachedFrameSource source;
    source.setBackgroundDecoding(false);
    if (!source.open(path))
        return 0;
    source.fullFrame(from);
    QElapsedTimer clock;
    clock.start();
    for (int i = from + 1; i <= to; ++i)
        source.fullFrame(i);
    return (to - from) / (clock.nsecsElapsed() / 1e9);
}

// Where the object truly is on a frame, in the coordinates of the point
// table (whole preview pixels); none where it is not known.
using Truth = std::function<std::optional<QPointF>(int frame)>;

struct Run
{
    int firstFrame = 0;
    int interval = 1;
    QPoint click;                    // preview pixel
    std::optional<QPoint> reference; // the camera-shake reference point, clicked too
    Truth truth;
    double framesPerSecond = 30;
    double pixelsPerMetre = 0; // preview pixels (0: no g)
    double errorScale = 1;     // errors counted in these units a preview pixel (video pixels)
};

struct Result
{
    int points = 0; // tracked, the click not counted
    int within1 = 0, within2 = 0, over3 = 0, within5 = 0, over5 = 0, unknown = 0;
    double maxError = 0;
    int gaps = 0; // frames between the first and the last point without one
    double gTracked = 0, gTruth = 0;
    double seconds = 0;
    TrackingPart::Stop stop = TrackingPart::Stop::None;
    int stopFrame = -1, lastPointFrame = -1;
    QString message;
};

Result track(frmMain &w, const Run &run, TestPlatform &platform)
{
    Result r;
    w.txtRate->setText(QString::number(run.interval));
    w.ctrlSlider->setValue(run.firstFrame);
    settle(w);
    if (run.reference && !w.state().ShakeCorrectionOn)
        w.mnuSystemChenge->trigger();
    QTest::mouseClick(w.picPreview, Qt::LeftButton, {}, run.click);
    if (run.reference)
        QTest::mouseClick(w.picPreview, Qt::LeftButton, {}, *run.reference);
    settle(w);
    platform.prompts->shown.clear();

    QElapsedTimer clock;
    clock.start();
    w.cmdTrack->click();
    if (!QTest::qWaitFor([&w] { return !w.state().Tracking; }, 600000))
        std::fprintf(stderr, "tracking had not ended after 10 minutes\n");
    r.seconds = clock.nsecsElapsed() / 1e9;
    r.stop = w.tracking().lastStop();
    r.stopFrame = w.ctrlSlider->value();
    r.message = platform.prompts->lastText();

    const MS &m = measurementState();
    QList<double> t, yTracked, yTruth;
    QMap<int, bool> plotted;
    for (int row = 1; row <= m.PointCount; ++row) {
        const int frame = m.PointTable[row][MS::ColFrame];
        plotted[frame] = true;
        r.lastPointFrame = std::max(r.lastPointFrame, frame);
        const std::optional<QPointF> truth = run.truth(frame);
        if (row > 1) {
            ++r.points;
            if (!truth) {
                ++r.unknown;
                if (qEnvironmentVariableIsSet("TRACKBENCH_POINTS"))
                    std::printf("    frame %d: at (%d, %d), no true centre known\n", frame,
                                int(m.PointTable[row][MS::ColX]), int(m.PointTable[row][MS::ColY]));
            } else {
                const QPointF d =
                    QPointF(m.PointTable[row][MS::ColX], m.PointTable[row][MS::ColY]) - *truth;
                const double e = std::hypot(d.x(), d.y()) * run.errorScale;
                if (qEnvironmentVariableIsSet("TRACKBENCH_POINTS"))
                    std::printf("    frame %d: error (%.2f, %.2f)\n", frame, d.x(), d.y());
                r.maxError = std::max(r.maxError, e);
                r.within1 += e <= 1.0;
                r.within2 += e <= 2.0;
                r.over3 += e > 3.0;
                r.within5 += e <= 5.0;
                r.over5 += e > 5.0;
            }
        }
        t.append(frame / run.framesPerSecond);
        yTracked.append(m.PointTable[row][MS::ColY]);
    }
    if (m.PointCount > 0)
        for (int f = run.firstFrame; f <= r.lastPointFrame; f += run.interval)
            r.gaps += !plotted.contains(f);
    if (run.pixelsPerMetre > 0 && m.PointCount >= 4) {
        r.gTracked = fitGravity(t, yTracked, run.pixelsPerMetre);
        // The truth over the same stretch of frames.
        QList<double> tt;
        for (int f = run.firstFrame; f <= r.lastPointFrame; f += run.interval)
            if (const std::optional<QPointF> truth = run.truth(f)) {
                tt.append(f / run.framesPerSecond);
                yTruth.append(truth->y());
            }
        r.gTruth = fitGravity(tt, yTruth, run.pixelsPerMetre);
    }
    return r;
}

void print(const QString &name, const Result &r)
{
    std::printf("%-52s %3d %4d %4d %4d %5d  %s on frame %d, last point on %d\n", qPrintable(name),
                r.points, r.within1, r.within2, r.over3, r.gaps, qPrintable(stopName(r.stop)),
                r.stopFrame, r.lastPointFrame);
    if (r.unknown > 0)
        std::printf("    %d points on frames without a reference centre\n", r.unknown);
    if (r.gTracked != 0)
        std::printf("    g: tracked %.3f, truth %.3f m/s² (%.2f %%); largest error %.2f px\n",
                    r.gTracked, r.gTruth, 100 * (r.gTracked - r.gTruth) / r.gTruth, r.maxError);
    if (r.stop == TrackingPart::Stop::Lost)
        std::printf("    message \"%s\"\n", qPrintable(r.message));
}

// Stepping back over the tracked frames afterwards, one frame at a time as
// the student checks them: pictures found in the cache, and the time a step
// takes until its picture is shown.
void stepBack(frmMain &w, int steps)
{
    auto *source = dynamic_cast<CachedFrameSource *>(w.video().frameSource());
    if (!source)
        return;
    source->waitUntilIdle(5000);
    const CachedFrameSource::Counters before = source->counters();
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < steps; ++i) {
        w.cmdBackFrame->click();
        w.video().renderCurrentFrame();
    }
    const double ms = clock.nsecsElapsed() / 1e6 / steps;
    const CachedFrameSource::Counters after = source->counters();
    std::printf("    stepping back %d frames afterwards: %d from the cache, %d decoded, %.1f ms a "
                "step\n",
                steps, after.hits - before.hits, after.misses - before.misses, ms);
}

// The reference centres beside the real clip: frame, x, y (video pixels,
// the centre of pixel (i, j) at (i, j)).
QMap<int, QPointF> readCentres(const QString &path)
{
    QMap<int, QPointF> centres;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return centres;
    while (!file.atEnd()) {
        const QList<QByteArray> cells = file.readLine().trimmed().split(',');
        bool ok = false;
        const int frame = cells.value(0).toInt(&ok);
        if (ok && cells.size() >= 3)
            centres[frame] = QPointF(cells[1].toDouble(), cells[2].toDouble());
    }
    return centres;
}

bool openIn(frmMain &w, const QString &path)
{
    w.show();
    return QTest::qWaitForWindowExposed(&w) && w.video().openVideoFile(path) && settle(w);
}

// A real clip with positions found without the program: clicked on
// `firstFrame` where the reference is, as a user would.
struct RealClip
{
    QString name;
    QString video;
    QString positions; // frame, x, y (video pixels)
    int firstFrame = 0;
    double framesPerSecond = 30;
    QList<int> intervals;
    double metreInVideoPixels = 0; // 0: no g
};

void realClip(const RealClip &clip, bool &noneOver5)
{
    const QMap<int, QPointF> centres = readCentres(clip.positions);
    if (centres.isEmpty() || !QFileInfo::exists(clip.video)) {
        std::printf("(no real clip at %s)\n", qPrintable(clip.video));
        return;
    }
    for (int interval : clip.intervals) {
        TestPlatform platform;
        frmMain w;
        if (!openIn(w, clip.video)) {
            std::printf("cannot open %s\n", qPrintable(clip.video));
            return;
        }
        const QSize preview = w.video().previewSize();
        const QSize video = w.video().frameSource()->fullFrame(0).size();
        const double sx = double(video.width()) / preview.width();
        const double sy = double(video.height()) / preview.height();
        const auto previewOf = [&](QPointF p) {
            return QPointF((p.x() + 0.5) / sx - 0.5, (p.y() + 0.5) / sy - 0.5);
        };
        Run run;
        run.firstFrame = clip.firstFrame;
        run.interval = interval;
        const QPointF start = previewOf(centres.value(clip.firstFrame));
        run.click = QPoint(qRound(start.x()), qRound(start.y()));
        run.truth = [&](int frame) -> std::optional<QPointF> {
            if (!centres.contains(frame))
                return std::nullopt;
            return previewOf(centres.value(frame));
        };
        run.framesPerSecond = clip.framesPerSecond;
        run.pixelsPerMetre = clip.metreInVideoPixels / sy;
        // Against the reference in its own unit: video pixels.
        run.errorScale = std::max(sx, sy);
        const Result r = track(w, run, platform);
        print(QStringLiteral("real %1, %2 fps, from frame %3")
                  .arg(clip.name)
                  .arg(clip.framesPerSecond / interval)
                  .arg(clip.firstFrame),
              r);
        std::printf("    errors in video pixels: within 5 px %d, more than 5 px off %d\n",
                    r.within5, r.over5);
        noneOver5 = noneOver5 && r.over5 == 0;
        std::fflush(stdout);
    }
}

QList<RealClip> realClips(const QString &folder)
{
    RealClip toss{
        "toss", folder + "/ball_toss_30fps.mp4", folder + "/ball_toss_30fps_centres.csv", 10, 30,
        {1, 2}};
    // The stick from (272, 446) to (273, 47) is one metre.
    toss.metreInVideoPixels = std::hypot(1.0, 399.0);
    // Marked by hand at the sticker's lower end; the first mark is on frame 1.
    RealClip wheel{"wheel",
                   folder + "/bicycle_wheel_60fps.mp4",
                   folder + "/bicycle_wheel_60fps_marks.csv",
                   1,
                   60,
                   {1}};
    return {toss, wheel};
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("trackclips");
    const QString only = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const QString real = argc > 3 ? QString::fromLocal8Bit(argv[3])
                                  : QStringLiteral(KINEMO_SOURCE_DIR "/../shared/clips");
    bool allWithin = true, noneOver3 = true, noneOver5 = true;

    std::printf("%-52s %3s %4s %4s %4s %5s  %s\n", "clip", "pts", "<=1", "<=2", ">3", "empty",
                "how it ended");
    for (const BenchClip &clip : benchClips()) {
        if (!only.isEmpty() && !clip.name.contains(only))
            continue;
        const QString path = QDir(folder).filePath(clip.fileName);
        if (!QFileInfo::exists(path)) {
            QString error;
            std::fprintf(stderr, "making %s\n", qPrintable(path));
            if (!writeBallClip(clip.scene, path, clip.codec, &error)) {
                std::fprintf(stderr, "%s\n", qPrintable(error));
                return 1;
            }
        }
        TestPlatform platform;
        frmMain w;
        if (!openIn(w, path)) {
            std::fprintf(stderr, "cannot open %s\n", qPrintable(path));
            return 1;
        }
        const BallScene &scene = clip.scene;
        const QSize preview = w.video().previewSize();
        const double sx = double(scene.size.width()) / preview.width();
        const double sy = double(scene.size.height()) / preview.height();
        // Scene positions have pixel (i, j) covering [i, i+1) x [j, j+1).
        const auto previewOf = [&](QPointF p) { return QPointF(p.x() / sx, p.y() / sy); };
        Run run;
        const QPointF first = previewOf(scene.centre(0));
        run.click = QPoint(int(std::floor(first.x())), int(std::floor(first.y())));
        run.truth = [&](int frame) -> std::optional<QPointF> {
            // With camera-shake correction the points are where the ball is
            // against the reference mark, as on the first frame.
            const QPointF camera = scene.mark ? scene.markAt(frame) - scene.markAt(0) : QPointF();
            return previewOf(scene.centre(frame) - camera) - QPointF(0.5, 0.5);
        };
        if (scene.mark) {
            const QPointF mark = previewOf(scene.markAt(0));
            run.reference = QPoint(int(std::floor(mark.x())), int(std::floor(mark.y())));
        }
        run.framesPerSecond = scene.framesPerSecond;
        run.pixelsPerMetre = clip.pixelsPerMetre / sy;
        const Result r = track(w, run, platform);
        // The last frame with all of the ball in the picture.
        int inside = -1;
        for (int f = 0; f < scene.frames; ++f) {
            const QPointF c = scene.centre(f);
            if (QRectF(QPointF(0, 0), QSizeF(scene.size))
                    .adjusted(scene.radius, scene.radius, -scene.radius, -scene.radius)
                    .contains(c) &&
                scene.hiddenFraction(f) == 0)
                inside = f;
            else if (inside >= 0)
                break;
        }
        print(QStringLiteral("%1 (%2x%3 %4 fps)")
                  .arg(clip.name)
                  .arg(scene.size.width())
                  .arg(scene.size.height())
                  .arg(scene.framesPerSecond),
              r);
        std::printf("    the ball whole in the picture and not hidden up to frame %d\n", inside);
        if (!clip.lost && !clip.hard)
            allWithin = allWithin && r.maxError <= 1.0;
        noneOver3 = noneOver3 && r.over3 == 0;
        if (clip.speed) {
            // The window's background decoder fills the stretch around the
            // stop first; the limit is measured with the processor free.
            if (auto *source = dynamic_cast<CachedFrameSource *>(w.video().frameSource()))
                source->waitUntilIdle(10000);
            std::printf("    %.1f tracked steps per second (%d steps in %.2f s); decoding "
                        "limit %.1f full-size frames per second\n",
                        r.points / r.seconds, r.points, r.seconds,
                        decodeLimit(path, 0, r.stopFrame));
            stepBack(w, 30);
        }
        std::fflush(stdout);
    }
    for (const RealClip &clip : realClips(real))
        if (only.isEmpty() || only == QStringLiteral("real") || clip.name == only)
            realClip(clip, noneOver5);
    std::printf("every tracked point within 1 preview pixel: %s; none more than 3 px off on a "
                "generated scene: %s; none more than 5 px off on a real clip: %s\n",
                allWithin ? "yes" : "no", noneOver3 ? "yes" : "no", noneOver5 ? "yes" : "no");
    return allWithin && noneOver3 && noneOver5 ? 0 : 1;
}
