// framebench: opens a video through the preview's frame source and writes the
// pictures of chosen slider positions as PNG files, printing one JSON line:
//
//   framebench VIDEO [--size WxH | --box WxH] [--dump N[,N...]] [--out DIR]
//   framebench VIDEO [--size WxH | --box WxH] --bench [--walk] [--seed N]
//                    [--tick MS] [--fill-wait MS] [--no-background]
//   framebench VIDEO [--size WxH | --box WxH] --walk
//
// --bench measures stepping, jumping and memory, and the decoding limits
// (see bench.cpp); --walk steps through every frame and reports memory.
// --size is the exact picture size; without it the video's display size is
// fitted into --box (640x480 by default), as the main window does. --dump
// takes positions and ranges ("0,10,295-300"); "end" stands for the last
// position, TotalFrames. Each picture goes to DIR/N.png.

#include "bench.h"
#include "platform/ffmpeg_frame_source.h"
#include "platform/frame_source.h"
#include "video/cached_frame_source.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <cstdio>
#include <optional>

namespace {

std::optional<QSize> parseSize(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d+)[xX](\\d+)$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const QSize size(match.captured(1).toInt(), match.captured(2).toInt());
    if (size.isEmpty())
        return std::nullopt;
    return size;
}

// "0,10,295-300,end" -> positions; nullopt on a malformed list.
std::optional<QVector<qint32>> parsePositions(const QString &text, qint32 total)
{
    QVector<qint32> positions;
    for (const QString &raw : text.split(',', Qt::SkipEmptyParts)) {
        const QString item = raw.trimmed();
        auto number = [total](const QString &part) -> std::optional<qint32> {
            if (part == QLatin1String("end"))
                return total;
            bool ok = false;
            const int value = part.toInt(&ok);
            return ok && value >= 0 ? std::optional<qint32>(value) : std::nullopt;
        };
        const int dash = item.indexOf('-');
        if (dash > 0) {
            const auto from = number(item.left(dash));
            const auto to = number(item.mid(dash + 1));
            if (!from || !to || *to < *from)
                return std::nullopt;
            for (qint32 n = *from; n <= *to; ++n)
                positions.append(n);
        } else if (const auto single = number(item)) {
            positions.append(*single);
        } else {
            return std::nullopt;
        }
    }
    return positions;
}

double millisecondsSince(const QElapsedTimer &clock)
{
    return clock.nsecsElapsed() / 1e6;
}

int finish(const QJsonObject &report, int exitCode)
{
    std::printf("%s\n", QJsonDocument(report).toJson(QJsonDocument::Compact).constData());
    return exitCode;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes the preview pictures of slider positions of a video."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("video"), QStringLiteral("The video file."));
    parser.addOption(
        {QStringLiteral("size"), QStringLiteral("Exact picture size."), QStringLiteral("WxH")});
    parser.addOption({QStringLiteral("box"), QStringLiteral("Box the display size is fitted into."),
                      QStringLiteral("WxH"), QStringLiteral("640x480")});
    parser.addOption({QStringLiteral("dump"), QStringLiteral("Positions to write."),
                      QStringLiteral("N[,N...]")});
    parser.addOption(
        {QStringLiteral("out"), QStringLiteral("Folder for N.png."), QStringLiteral("DIR"), "."});
    parser.addOption({QStringLiteral("bench"), QStringLiteral("Measure stepping and jumping.")});
    parser.addOption({QStringLiteral("walk"), QStringLiteral("Step through every frame.")});
    parser.addOption({QStringLiteral("no-background"),
                      QStringLiteral("Measure without the background decoder.")});
    parser.addOption({QStringLiteral("seed"), QStringLiteral("Seed of the random positions."),
                      QStringLiteral("N"), QStringLiteral("1")});
    parser.addOption({QStringLiteral("tick"), QStringLiteral("Least time between requests."),
                      QStringLiteral("MS"), QStringLiteral("100")});
    parser.addOption({QStringLiteral("fill-wait"),
                      QStringLiteral("Longest wait for the background decoder after a jump."),
                      QStringLiteral("MS"), QStringLiteral("10000")});
    parser.process(app);

    const QStringList arguments = parser.positionalArguments();
    const std::optional<QSize> box = parseSize(parser.value(QStringLiteral("box")));
    std::optional<QSize> size;
    if (parser.isSet(QStringLiteral("size")))
        size = parseSize(parser.value(QStringLiteral("size")));
    if (arguments.size() != 1 || !box || (parser.isSet(QStringLiteral("size")) && !size)) {
        std::fprintf(stderr, "%s", qPrintable(parser.helpText()));
        return 2;
    }

    QJsonObject report;
    report[QStringLiteral("file")] = arguments.first();
    CachedFrameSource source;
    QElapsedTimer clock;
    clock.start();
    const bool opened = source.open(arguments.first());
    report[QStringLiteral("open_ms")] = millisecondsSince(clock);
    report[QStringLiteral("has_video")] = opened && source.hasVideo();
    if (!opened || !source.hasVideo()) {
        report[QStringLiteral("error")] =
            opened ? QStringLiteral("no video stream") : QStringLiteral("cannot open");
        return finish(report, 1);
    }
    const qint32 total = source.frameCount();
    const QSize pictureSize = size ? *size : previewSizeFor(source.displaySize(), *box);
    report[QStringLiteral("frame_rate")] = source.frameRate();
    report[QStringLiteral("total_frames")] = total;
    report[QStringLiteral("stream_length")] = source.streamLengthSeconds();
    report[QStringLiteral("display_size")] = QStringLiteral("%1x%2")
                                                 .arg(source.displaySize().width())
                                                 .arg(source.displaySize().height());
    report[QStringLiteral("rotation")] = source.rotationDegrees();
    report[QStringLiteral("picture_size")] =
        QStringLiteral("%1x%2").arg(pictureSize.width()).arg(pictureSize.height());

    if (parser.isSet(QStringLiteral("bench")) || parser.isSet(QStringLiteral("walk"))) {
        source.close();
        BenchOptions options;
        options.path = arguments.first();
        options.pictureSize = pictureSize;
        options.seed = parser.value(QStringLiteral("seed")).toUInt();
        options.tickMs = parser.value(QStringLiteral("tick")).toInt();
        options.fillWaitMs = parser.value(QStringLiteral("fill-wait")).toInt();
        options.timings = parser.isSet(QStringLiteral("bench"));
        options.walk = parser.isSet(QStringLiteral("walk"));
        options.background = !parser.isSet(QStringLiteral("no-background"));
        return finish(report, runBench(options, report) ? 0 : 1);
    }

    const auto positions = parsePositions(parser.value(QStringLiteral("dump")), total);
    if (!positions) {
        report[QStringLiteral("error")] = QStringLiteral("bad --dump list");
        return finish(report, 2);
    }
    const QDir out(parser.value(QStringLiteral("out")));
    if (!positions->isEmpty() && !QDir().mkpath(out.path())) {
        report[QStringLiteral("error")] = QStringLiteral("cannot create the output folder");
        return finish(report, 1);
    }
    QJsonArray dumped;
    int failures = 0;
    for (qint32 position : *positions) {
        clock.restart();
        const QImage image = source.frame(position, pictureSize);
        const double frameMs = millisecondsSince(clock);
        const bool saved =
            !image.isNull() && image.save(out.filePath(QStringLiteral("%1.png").arg(position)));
        failures += saved ? 0 : 1;
        QJsonObject item;
        item[QStringLiteral("position")] = position;
        item[QStringLiteral("ms")] = frameMs;
        if (!image.isNull())
            item[QStringLiteral("frame_seconds")] = source.lastFrameSeconds();
        item[QStringLiteral("ok")] = saved;
        dumped.append(item);
    }
    report[QStringLiteral("dumped")] = dumped;
    const FfmpegFrameSource::Stats &stats = source.foreground().stats();
    report[QStringLiteral("frames_decoded")] = stats.framesDecoded;
    report[QStringLiteral("seeks")] = stats.seeks;
    report[QStringLiteral("reopens")] = stats.reopens;
    return finish(report, failures ? 1 : 0);
}
