// The tracking benchmark: generated clips with the ball's centre known on
// every frame are opened in the real main window; the ball is clicked once,
// exactly, on the first frame, and "自動追跡" follows it. Printed per clip:
// the largest distance of a tracked point from the true centre in preview
// pixels; g from the tracked points against g from exact clicks and the
// bound that whole-pixel clicks put on g; where tracking stopped and why;
// on the phone-like clip the tracked steps per second beside the decoding
// limit measured in the same run, and what stepping back costs afterwards.
//
//   trackbench [clip folder [part of a clip's name]]   (default: trackclips)
//
// Clips are made on first use and kept; delete one to make it again.
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
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <array>
#include <cmath>
#include <cstdio>

using MS = MeasurementState;

namespace {

struct Fit
{
    double g = 0;     // m/s², downwards
    double bound = 0; // the most whole-pixel rounding (half a pixel a point) can move it
};

// y = a + b t + c t² by least squares; g = 2c in metres.
Fit fitGravity(const QList<double> &t, const QList<double> &y, double pixelsPerMetre)
{
    double m[3][3] = {};
    for (double ti : t)
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                m[i][j] += std::pow(ti, i + j);
    // Inverse of the 3 x 3 normal matrix.
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    const double inv20 = (m[1][0] * m[2][1] - m[1][1] * m[2][0]) / det;
    const double inv21 = -(m[0][0] * m[2][1] - m[0][1] * m[2][0]) / det;
    const double inv22 = (m[0][0] * m[1][1] - m[0][1] * m[1][0]) / det;
    Fit fit;
    for (int k = 0; k < t.size(); ++k) {
        const double w = inv20 + inv21 * t[k] + inv22 * t[k] * t[k];
        fit.g += 2 * w * y[k] / pixelsPerMetre;
        fit.bound += 2 * std::abs(w) * 0.5 / pixelsPerMetre;
    }
    return fit;
}

bool settle(frmMain &w)
{
    return QTest::qWaitFor(
        [&w] { return w.state().InputPauseOver && !measurementState().FrameRefreshPending; }, 5000);
}

struct Result
{
    int points = 0;
    double maxError = 0; // preview pixels, from the pixel's centre to the true centre
    int differFromClicks = 0;
    Fit tracked, clicked;
    double seconds = 0;
    TrackingPart::Stop stop = TrackingPart::Stop::None;
    int stopFrame = -1;
    QString message;
    bool onObstacle = false;
};

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

Result track(frmMain &w, const BenchClip &clip, TestPlatform &platform)
{
    Result r;
    const BallScene &scene = clip.scene;
    const QSize preview = w.video().previewSize();
    const double sx = double(scene.size.width()) / preview.width();
    const double sy = double(scene.size.height()) / preview.height();
    const auto previewOf = [&](QPointF p) { return QPointF(p.x() / sx, p.y() / sy); };

    w.txtRate->setText("1");
    w.ctrlSlider->setValue(0);
    settle(w);
    // An exact click: the preview pixel that holds the ball's centre.
    const QPointF first = previewOf(scene.centre(0));
    QTest::mouseClick(w.picPreview, Qt::LeftButton, {},
                      QPoint(int(std::floor(first.x())), int(std::floor(first.y()))));
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
    QList<double> t, yTracked, yClicked;
    for (int row = 1; row <= m.PointCount; ++row) {
        const int frame = m.PointTable[row][MS::ColFrame];
        const QPointF truth = previewOf(scene.centre(frame));
        const QPointF plotted(m.PointTable[row][MS::ColX] + 0.5, m.PointTable[row][MS::ColY] + 0.5);
        const QPointF d = plotted - truth;
        if (qEnvironmentVariableIsSet("TRACKBENCH_POINTS"))
            std::printf("    frame %d: error (%.2f, %.2f)\n", frame, d.x(), d.y());
        r.maxError = std::max(r.maxError, std::hypot(d.x(), d.y()));
        const QPoint exact(int(std::floor(truth.x())), int(std::floor(truth.y())));
        if (exact != QPoint(m.PointTable[row][MS::ColX], m.PointTable[row][MS::ColY]))
            ++r.differFromClicks;
        if (scene.obstacle) {
            const QRectF box(previewOf(scene.obstacle->topLeft()),
                             previewOf(scene.obstacle->bottomRight()));
            r.onObstacle = r.onObstacle || box.contains(plotted);
        }
        t.append(double(frame) / scene.framesPerSecond);
        yTracked.append(m.PointTable[row][MS::ColY]);
        yClicked.append(exact.y());
    }
    r.points = m.PointCount;
    if (clip.pixelsPerMetre > 0 && r.points >= 4) {
        const double perMetre = clip.pixelsPerMetre / sy;
        r.tracked = fitGravity(t, yTracked, perMetre);
        r.clicked = fitGravity(t, yClicked, perMetre);
    }
    return r;
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
    std::printf("  stepping back %d frames afterwards: %d from the cache, %d decoded, %.1f ms a "
                "step\n",
                steps, after.hits - before.hits, after.misses - before.misses, ms);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("trackclips");
    bool allWithin = true;

    const QString only = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
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
        w.show();
        if (!QTest::qWaitForWindowExposed(&w) || !w.video().openVideoFile(path) || !settle(w)) {
            std::fprintf(stderr, "cannot open %s\n", qPrintable(path));
            return 1;
        }
        const Result r = track(w, clip, platform);
        std::printf("%s (%dx%d, %d fps, %d frames):\n", qPrintable(clip.name),
                    clip.scene.size.width(), clip.scene.size.height(), clip.scene.framesPerSecond,
                    clip.scene.frames);
        std::printf("  %d points, largest error %.2f preview px, %d differ from exact clicks; "
                    "stopped: %s on frame %d\n",
                    r.points, r.maxError, r.differFromClicks, qPrintable(stopName(r.stop)),
                    r.stopFrame);
        if (!clip.lost)
            allWithin = allWithin && r.maxError <= 1.0;
        if (clip.pixelsPerMetre > 0) {
            std::printf("  g: tracked %.3f, exact clicks %.3f, difference %.3f, whole-pixel bound "
                        "%.3f m/s² (drawn with %.1f)\n",
                        r.tracked.g, r.clicked.g, std::abs(r.tracked.g - r.clicked.g),
                        r.tracked.bound, clip.gravity);
        }
        if (clip.lost) {
            const int f = r.stopFrame;
            std::printf("  hidden part of the ball: frame %d %.0f %%, frame %d %.0f %%; message "
                        "\"%s\"; a point on the obstacle: %s\n",
                        f - 1, 100 * clip.scene.hiddenFraction(f - 1), f,
                        100 * clip.scene.hiddenFraction(f), qPrintable(r.message),
                        r.onObstacle ? "yes" : "no");
        }
        if (clip.speed) {
            // The window's background decoder fills the stretch around the
            // stop first; the limit is measured with the processor free.
            if (auto *source = dynamic_cast<CachedFrameSource *>(w.video().frameSource()))
                source->waitUntilIdle(10000);
            const int from = 0, to = r.stopFrame;
            std::printf("  %.1f tracked steps per second (%d steps in %.2f s)\n",
                        r.points > 1 ? (r.points - 1) / r.seconds : 0.0, r.points - 1, r.seconds);
            std::printf("  decoding limit: %.1f full-size frames per second\n",
                        decodeLimit(path, from, to));
            stepBack(w, 30);
        }
        std::fflush(stdout);
    }
    std::printf("every tracked point within 1 preview pixel: %s\n", allWithin ? "yes" : "no");
    return allWithin ? 0 : 1;
}
