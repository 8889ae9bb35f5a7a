// The strobe picture measured:
//
//  1. Correctness on a generated scene (a textured wall, a thrown ball whose
//     centre is known, a hand sweeping across between plotted frames),
//     encoded with H.264 and read back through the program's own builder:
//     how far each copy lies from the ball's true place, the mean absolute
//     difference per pixel from a frame without the ball away from the
//     copies, and how many pixels there differ by more than 40 levels (a
//     hand left over would).
//  2. Time on a phone-like 1080p60 H.264 clip: building the picture from 50
//     points against decoding those 50 frames with the same decoder.
//  3. With a real clip given, the picture for the README: the clip opened in
//     the main window, the ball clicked on a frame and followed with
//     "自動追跡", then the strobe window opened and grabbed (markers on).
//
//   strobebench [work folder [real clip [frame x y [picture.png]]]]
//
// e.g. strobebench /tmp/strobe ../shared/clips/ball_toss_30fps.mp4 10 220 328 docs/strobe.png
// (x, y: the ball's centre in video pixels on that frame).

#include "app/frmMain.h"
#include "base/measurement_state.h"
#include "digitize/tracking_part.h"
#include "platform/ffmpeg_frame_source.h"
#include "recording_platform.h"
#include "results/frmStrobe.h"
#include "results/strobe_builder.h"
#include "results/strobe_part.h"
#include "results/strobe_picture.h"
#include "strobe_scene.h"
#include "video/video_part.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <cstdio>
#include <opencv2/imgproc.hpp>

using namespace strobe;

namespace {

bool encode(const StrobeScene &scene, int fps, const QString &path, const QStringList &codec)
{
    if (QFile::exists(path))
        return true;
    const QString raw = path + QStringLiteral(".rgb");
    QFile file(raw);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (int i = 0; i < scene.frames; ++i) {
        const QImage image = scene.frame(i);
        for (int y = 0; y < image.height(); ++y)
            file.write(reinterpret_cast<const char *>(image.constScanLine(y)), image.width() * 3);
    }
    file.close();
    const int code = QProcess::execute(
        QStringLiteral("ffmpeg"),
        QStringList{"-nostdin", "-y", "-loglevel", "error", "-f", "rawvideo", "-pixel_format",
                    "rgb24", "-video_size",
                    QStringLiteral("%1x%2").arg(scene.size.width()).arg(scene.size.height()),
                    "-framerate", QString::number(fps), "-i", raw} +
            codec + QStringList{path});
    QFile::remove(raw);
    return code == 0;
}

const QStringList phoneH264{"-c:v", "libx264", "-preset", "veryfast", "-pix_fmt", "yuv420p",
                            "-g",   "250",     "-bf",     "3",        "-b:v",     "12M"};

// The plan a student makes by clicking the true centre on `frames`.
Plan planFor(const StrobeScene &scene, const QString &path, const std::vector<int> &frames,
             double fps)
{
    const double scale = scene.size.width() / 640.0;
    const QSize preview(640, qRound(scene.size.height() / scale));
    Plan plan;
    plan.videoPath = path;
    plan.previewSize = preview;
    plan.frameRate = fps;
    PlottedObject object;
    for (int f : frames) {
        const QPointF c = scene.centre(f);
        PlottedPoint p;
        p.number = int(object.points.size()) + 1;
        p.frame = f;
        p.position =
            QPointF(qRound((c.x() + 0.5) / scale - 0.5), qRound((c.y() + 0.5) / scale - 0.5));
        object.points.push_back(p);
    }
    plan.objects.push_back(object);
    return plan;
}

void correctness(const QString &folder)
{
    StrobeScene scene;
    // No ball on frame 0: it is the clean background, through the same encoder.
    scene.path = [](int f) {
        return f == 0 ? QPointF(-100, -100) : QPointF(60 + 13.3 * f, 380 - 22.0 * f + 0.55 * f * f);
    };
    const QString path = folder + QStringLiteral("/strobe_scene.mp4");
    if (!encode(scene, 30, path,
                {"-c:v", "libx264", "-preset", "medium", "-crf", "18", "-pix_fmt", "yuv420p"})) {
        std::printf("cannot encode %s\n", qPrintable(path));
        return;
    }
    std::vector<int> frames;
    for (int f = 2; f < 38; f += 2)
        frames.push_back(f);
    Builder builder(planFor(scene, path, frames, 30), std::make_unique<FfmpegFrameSource>());
    builder.waitUntilFinished(120000);
    const Material *material = builder.material();
    if (!material) {
        std::printf("the builder failed on %s\n", qPrintable(path));
        return;
    }
    FfmpegFrameSource reader;
    reader.open(path);
    const cv::Mat clean = toMat(reader.fullFrame(0));
    Choices choices;
    choices.every = 2;
    const cv::Mat picture = toMat(strobePicture(builder.plan(), *material, choices));
    cv::Mat diff;
    cv::absdiff(picture, clean, diff);
    cv::cvtColor(diff, diff, cv::COLOR_RGB2GRAY);
    cv::Mat away(diff.size(), CV_8U, cv::Scalar(255));
    away(cv::Rect(0, 0, 120, 32)) = 0; // the time step
    double worst = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
        const QPointF truth = scene.centre(frames[i]);
        cv::circle(away, cv::Point(qRound(truth.x()), qRound(truth.y())),
                   int(material->discRadius + 2), cv::Scalar(0), cv::FILLED);
        if (i % 2)
            continue;
        const int r = int(scene.radius + 4);
        const cv::Rect box(qRound(truth.x()) - r, qRound(truth.y()) - r, 2 * r + 1, 2 * r + 1);
        const cv::Moments m = cv::moments(diff(box));
        const double e = m.m00 > 0 ? std::hypot(box.x + m.m10 / m.m00 - truth.x(),
                                                box.y + m.m01 / m.m00 - truth.y())
                                   : 99;
        worst = std::max(worst, e);
    }
    cv::Mat stray = (diff > 40) & away;
    std::printf("generated scene (640x480 H.264, %zu copies of %zu points, hand on frames %d-%d):\n"
                "  largest copy offset %.2f px, disc radius %.1f px\n"
                "  away from the copies: mean abs difference %.2f levels per pixel, %d pixels "
                "off by more than 40\n",
                (frames.size() + 1) / 2, frames.size(), scene.handFirst, scene.handLast, worst,
                material->discRadius, cv::mean(diff, away)[0], cv::countNonZero(stray));
    toImage(picture).save(folder + QStringLiteral("/strobe_scene.png"));
}

void timing(const QString &folder)
{
    StrobeScene scene;
    scene.size = QSize(1920, 1080);
    scene.frames = 120;
    scene.radius = 24;
    scene.handFirst = 30;
    scene.handLast = 50;
    scene.path = [](int f) { return QPointF(150 + 14.0 * f, 950 - 24.0 * f + 0.2 * f * f); };
    const QString path = folder + QStringLiteral("/strobe_1080p60.mp4");
    if (!encode(scene, 60, path, phoneH264)) {
        std::printf("cannot encode %s\n", qPrintable(path));
        return;
    }
    std::vector<int> frames;
    for (int f = 10; f < 110; f += 2)
        frames.push_back(f);
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer clock;
        clock.start();
        {
            FfmpegFrameSource decoder;
            decoder.open(path);
            for (int f : frames)
                decoder.fullFrame(f);
        }
        const double decode = clock.nsecsElapsed() / 1e6;
        clock.restart();
        Builder builder(planFor(scene, path, frames, 60), std::make_unique<FfmpegFrameSource>());
        builder.waitUntilFinished(300000);
        const double build = clock.nsecsElapsed() / 1e6;
        clock.restart();
        const QImage picture = strobePicture(builder.plan(), *builder.material(), Choices());
        const double compose = clock.nsecsElapsed() / 1e6;
        // Where the time beyond decoding goes: the conversion of each frame
        // and the median.
        const QImage frame = scene.frame(frames[0]).convertToFormat(QImage::Format_RGB32);
        clock.restart();
        std::vector<cv::Mat> mats;
        for (int i = 0; i < Builder::MaxBackgroundFrames; ++i)
            mats.push_back(toMat(frame));
        const double convert = clock.nsecsElapsed() / 1e6;
        clock.restart();
        medianPicture(mats);
        const double median = clock.nsecsElapsed() / 1e6;
        std::printf(
            "1080p60 H.264, %zu points: decoding them %.0f ms, building %.0f ms (%.2fx); "
            "of that converting the background frames %.0f ms, their median %.0f ms; composing "
            "%.0f ms\n",
            frames.size(), decode, build, build / decode, convert, median, compose);
    }
}

void realClip(const QString &path, int frame, QPointF centre, const QString &out)
{
    TestPlatform platform;
    frmMain w;
    w.show();
    if (!QTest::qWaitForWindowExposed(&w) || !w.video().openVideoFile(path)) {
        std::printf("cannot open %s\n", qPrintable(path));
        return;
    }
    const QSize preview = w.video().previewSize();
    const QSize video = w.video().frameSource()->displaySize();
    const double sx = double(video.width()) / preview.width();
    const double sy = double(video.height()) / preview.height();
    w.video().moveTo(frame);
    QTest::qWait(300);
    QTest::qWaitFor([&] { return w.state().InputPauseOver; }, 3000);
    const QPoint click(qRound((centre.x() + 0.5) / sx - 0.5),
                       qRound((centre.y() + 0.5) / sy - 0.5));
    QTest::mouseClick(reinterpret_cast<QWidget *>(w.picPreview), Qt::LeftButton, {}, click);
    QTest::qWait(300);
    w.cmdTrack->click();
    QTest::qWaitFor([&] { return !w.state().Tracking; }, 60000);
    std::printf("real clip: %d points tracked\n", int(measurementState().PointCount));
    w.mnuViewStrobe->trigger();
    auto *strobe = qobject_cast<frmStrobe *>(w.strobe().strobeWindow().data());
    if (!strobe || !strobe->waitUntilBuilt(60000)) {
        std::printf("no strobe picture\n");
        return;
    }
    strobe->chkMarkers->setChecked(true);
    strobe->resize(720, 640);
    QTest::qWait(300);
    strobe->grab().save(out);
    strobe->picture().save(QFileInfo(out).absolutePath() + QStringLiteral("/strobe_full.png"));
    std::printf("real clip: picture %dx%d, window saved to %s\n", strobe->picture().width(),
                strobe->picture().height(), qPrintable(out));
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("strobeclips");
    QDir().mkpath(folder);
    if (argc > 5) {
        realClip(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]).toInt(),
                 QPointF(QString::fromLocal8Bit(argv[4]).toDouble(),
                         QString::fromLocal8Bit(argv[5]).toDouble()),
                 argc > 6 ? QString::fromLocal8Bit(argv[6]) : folder + QStringLiteral("/real.png"));
        return 0;
    }
    correctness(folder);
    timing(folder);
    return 0;
}
