// Fuzz entry point for the FFmpeg frame source: the input is written to a
// file, opened, asked for its properties and decoded at a few positions in
// the order a student steps (start, next, far jump, back, end). Opening and
// every request run under a short time limit, so one input stays fast.

#include "platform/ffmpeg_frame_source.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

extern "C" {
#include <libavutil/log.h>
}

namespace {

void fail(const char *what)
{
    std::fprintf(stderr, "frame source property broken: %s\n", what);
    std::abort();
}

// Computed each time: the file is also removed from an exit handler, which
// runs after static objects are gone.
QString inputPath()
{
    const QString dir = qEnvironmentVariable("TMPDIR", QStringLiteral("/tmp"));
    return QDir(dir).filePath(
        QStringLiteral("kinemo-fuzz-%1.avi").arg(QString::number(qint64(getpid()))));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    av_log_set_level(AV_LOG_QUIET);
    std::atexit([] { QFile::remove(inputPath()); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    {
        QFile file(inputPath());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(bytes), qint64(size));
    }

    FfmpegFrameSource source;
    source.setTimeLimitMs(1500);
    if (!source.open(inputPath()))
        return 0;
    const double rate = source.frameRate();
    const double length = source.streamLengthSeconds();
    if (!(rate >= 0) || std::isinf(rate) || !(length >= 0) || std::isinf(length))
        fail("frame rate or length negative, infinite or not a number");
    const double filmed = source.captureRate();
    if (filmed != 0 &&
        !(filmed >= FrameSource::MinCaptureRate && filmed <= FrameSource::MaxCaptureRate))
        fail("a capture rate outside the rates taken");
    if (!source.hasVideo()) {
        if (!source.displaySize().isEmpty() || rate != 0)
            fail("a size or a rate without a video stream");
        return 0;
    }
    const qint32 frames = source.frameCount();
    if (frames < 0)
        fail("negative frame count");

    const QSize box(32, 24);
    const qint32 positions[] = {0, 1, 2, frames / 2, 1, frames, frames + 1, 0};
    for (qint32 position : positions) {
        const QImage image = source.frame(position, box);
        if (!image.isNull() && image.size() != box)
            fail("picture not scaled to the asked size");
    }
    return 0;
}
