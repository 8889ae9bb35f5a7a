// How soon the magnifier shows a move of the pointer: the time from a mouse
// move on the preview to the end of the magnifier's paint, on a 1080p frame.
//
//   build/tools/magnifierbench [VIDEO]
//
// Without a video the frame is a generated 1920 x 1080 picture and only the
// moves are measured. With a video (a 1080p clip, e.g. one made by
// tools/make_bench_clips.sh) the frames come through the program's own frame
// source, and the first move on each new frame is measured apart: it is the
// one that fetches the frame at the video's own size.
//
// Runs on the screen it is given (Xvfb, or QT_QPA_PLATFORM=offscreen). The
// figures are for a report; no test depends on them.

#include "video/cached_frame_source.h"
#include "video/magnifier_widget.h"
#include "video/preview_widget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTextStream>
#include <QThread>
#include <algorithm>
#include <vector>

namespace {

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QImage generatedFrame()
{
    QImage frame(1920, 1080, QImage::Format_RGB32);
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            frame.setPixel(x, y, qRgb((x * 7) & 255, (y * 5) & 255, ((x ^ y) * 3) & 255));
    return frame;
}

// Milliseconds from a move to the magnifier's next paint.
double moveAndWait(PreviewWidget &preview, QPointF at)
{
    MagnifierWidget *magnifier = preview.magnifier();
    const int before = magnifier->paintCount();
    QElapsedTimer timer;
    timer.start();
    QMouseEvent move(QEvent::MouseMove, at, preview.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&preview, &move);
    while (magnifier->paintCount() == before && timer.elapsed() < 2000)
        QApplication::processEvents();
    return timer.nsecsElapsed() / 1e6;
}

void report(const char *what, std::vector<double> times)
{
    if (times.empty())
        return;
    std::sort(times.begin(), times.end());
    const auto at = [&](double share) { return times[size_t(share * (times.size() - 1))]; };
    out() << what << ": " << times.size() << " moves, median " << QString::number(at(0.5), 'f', 2)
          << " ms, 95th percentile " << QString::number(at(0.95), 'f', 2) << " ms, largest "
          << QString::number(times.back(), 'f', 2) << " ms\n";
    out().flush();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();

    CachedFrameSource source;
    QImage full;
    qint32 position = 0;
    const bool video = args.size() > 1;
    if (video) {
        if (!source.open(args[1]) || source.displaySize() != QSize(1920, 1080)) {
            out() << "not a 1080p video: " << args[1] << "\n";
            return 1;
        }
    } else {
        full = generatedFrame();
    }

    PreviewWidget preview;
    preview.setFixedSize(640, 360);
    preview.magnifier()->setFrameSource([&] { return video ? source.fullFrame(position) : full; });
    preview.show();
    QThread::msleep(200);
    app.processEvents();
    preview.setFrame(video ? source.frame(0, QSize(640, 360)) : full.scaled(640, 360));
    preview.setKeyboardAiming(true);
    preview.setMagnifier(true, true);
    app.processEvents();

    // Moves across the picture, a pixel or a few at a time, as a hand moves.
    std::vector<double> moves;
    std::vector<double> newFrames;
    for (int i = 0; i < 600; ++i) {
        const QPointF at(40 + (i * 3) % 560, 40 + (i * 2) % 280);
        if (video && i % 20 == 0) {
            position = std::min(position + 1, source.frameCount() - 1);
            preview.setFrame(source.frame(position, QSize(640, 360)));
            newFrames.push_back(moveAndWait(preview, at));
            continue;
        }
        moves.push_back(moveAndWait(preview, at));
    }
    out() << "platform " << QGuiApplication::platformName() << ", frame 1920x1080, magnifier "
          << preview.magnifier()->width() << "x" << preview.magnifier()->height() << " at "
          << preview.magnifier()->zoom() << "x\n";
    report("pointer move -> magnifier painted", moves);
    report("first move on a new frame (fetches the 1080p frame)", newFrames);

    // Steps back: the picture comes from the cache, while the frame at the
    // video's own size has to be decoded again from the keyframe before it.
    if (video) {
        std::vector<double> backFrames;
        for (int i = 0; i < 10; ++i) {
            position = std::max(position - 1, 0);
            preview.setFrame(source.frame(position, QSize(640, 360)));
            backFrames.push_back(moveAndWait(preview, QPointF(100 + i, 100)));
        }
        report("first move after a step back", backFrames);
    }
    return 0;
}
