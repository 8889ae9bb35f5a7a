#include "clip_maker.h"

#include "platform/ffmpeg_handles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/display.h>
}

namespace {

QString g_lastError;

// Raised whenever the way clips are made changes, so that stale clips from an
// older build are not reused.
const char *const DataVersion = "clips-3";

QStringList h264Args(int keyframeInterval)
{
    const QString interval = QString::number(keyframeInterval);
    return {"-c:v",          "libx264", "-preset",  "veryfast", "-crf",        "14",
            "-bf",           "3",       "-g",       interval,   "-keyint_min", interval,
            "-sc_threshold", "0",       "-pix_fmt", "yuv420p"};
}

const QStringList MjpegArgs = {"-c:v", "mjpeg", "-q:v", "3", "-pix_fmt", "yuvj420p"};

struct Recipe
{
    QStringList filters; // further inputs and filters for the upright numbered pictures
    QStringList codec;
    QString muxer;
    int clockwiseDisplay = 0; // display matrix added afterwards
};

Recipe recipeFor(ClipKind kind)
{
    switch (kind) {
    case ClipKind::AviMjpeg25:
    case ClipKind::JapaneseName:
        return {{}, MjpegArgs, "avi", 0};
    case ClipKind::AviMpeg4_2997:
        return {{},
                {"-c:v", "mpeg4", "-q:v", "3", "-bf", "2", "-g", "30", "-pix_fmt", "yuv420p"},
                "avi",
                0};
    case ClipKind::MpegPs1_25:
        return {{}, {"-c:v", "mpeg1video", "-q:v", "3", "-bf", "2", "-g", "12"}, "mpeg", 0};
    case ClipKind::MpegPs2_2997:
        return {{}, {"-c:v", "mpeg2video", "-q:v", "3", "-bf", "2", "-g", "15"}, "vob", 0};
    case ClipKind::MovH264_60:
        return {{}, h264Args(120), "mov", 0};
    case ClipKind::Mp4H264_240:
        return {{}, h264Args(240), "mp4", 0};
    case ClipKind::MovHevc30:
        return {{},
                {"-c:v", "libx265", "-preset", "fast", "-crf", "16", "-x265-params",
                 "keyint=60:min-keyint=60:bframes=4:open-gop=1:scenecut=0:log-level=error",
                 "-tag:v", "hvc1", "-pix_fmt", "yuv420p"},
                "mov",
                0};
    case ClipKind::Wide16x9:
        // With a sound track, as videos from cameras have.
        return {{"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=8000:duration=2"},
                h264Args(25) + QStringList{"-c:a", "aac", "-b:a", "32k"},
                "mp4",
                0};
    case ClipKind::VariableRate:
        // Frames 0..29 every 1/30 s, then every 2/30 s: 60 frames in 3 s.
        return {{"-vf", "setpts='if(lt(N,30),N,2*N-30)/(30*TB)'", "-fps_mode", "passthrough",
                 "-enc_time_base:v", "1/30"},
                h264Args(30) + QStringList{"-bf", "0"},
                "mp4",
                0};
    case ClipKind::CircleWide:
        return {{}, h264Args(25), "mp4", 0};
    case ClipKind::CirclePortrait:
    case ClipKind::Rotated90:
        // Stored turned a quarter to the left, as a phone held upright
        // stores its picture; the display matrix turns it back.
        return {{"-vf", "transpose=cclock"}, h264Args(30), "mov", 90};
    case ClipKind::Rotated180:
        return {{"-vf", "hflip,vflip"}, h264Args(30), "mov", 180};
    case ClipKind::Rotated270:
        return {{"-vf", "transpose=clock"}, h264Args(30), "mov", 270};
    case ClipKind::NonSquarePixels:
        return {{"-vf", "scale=120:120,setsar=4/3"}, h264Args(25), "mp4", 0};
    case ClipKind::MkvH264_2997:
        return {{}, h264Args(50), "matroska", 0};
    default:
        return {};
    }
}

bool fail(const QString &message)
{
    g_lastError = message;
    return false;
}

bool runFfmpeg(const QStringList &arguments, const QByteArray &input = {})
{
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start("ffmpeg", QStringList{"-hide_banner", "-loglevel", "error", "-y"} + arguments);
    if (!process.waitForStarted(10000))
        return fail("ffmpeg could not be started");
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(180000)) {
        process.kill();
        process.waitForFinished();
        return fail("ffmpeg took too long: " + arguments.join(' '));
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return fail("ffmpeg failed: " + arguments.join(' ') + "\n" +
                    QString::fromLocal8Bit(process.readAllStandardError()));
    return true;
}

// Copies a MOV file adding a display matrix that turns it `clockwise` degrees.
bool addRotation(const QString &from, const QString &to, int clockwise)
{
    AVFormatContext *rawInput = nullptr;
    if (avformat_open_input(&rawInput, from.toUtf8().constData(), nullptr, nullptr) < 0)
        return fail("cannot reopen " + from);
    ffmpeg::FormatPtr input(rawInput);
    if (avformat_find_stream_info(input.get(), nullptr) < 0 || input->nb_streams != 1)
        return fail("unexpected streams in " + from);

    AVFormatContext *rawOutput = nullptr;
    if (avformat_alloc_output_context2(&rawOutput, nullptr, "mov", to.toUtf8().constData()) < 0)
        return fail("cannot create " + to);
    auto closeOutput = [](AVFormatContext *context) {
        if (context->pb)
            avio_closep(&context->pb);
        avformat_free_context(context);
    };
    std::unique_ptr<AVFormatContext, decltype(closeOutput)> output(rawOutput, closeOutput);
    AVStream *source = input->streams[0];
    AVStream *target = avformat_new_stream(output.get(), nullptr);
    if (!target || avcodec_parameters_copy(target->codecpar, source->codecpar) < 0)
        return fail("cannot copy the stream of " + from);
    target->codecpar->codec_tag = 0;
    target->time_base = source->time_base;
    auto *matrix = reinterpret_cast<int32_t *>(
        av_stream_new_side_data(target, AV_PKT_DATA_DISPLAYMATRIX, 9 * sizeof(int32_t)));
    if (!matrix)
        return fail("cannot add a display matrix");
    av_display_rotation_set(matrix, clockwise); // clockwise, as the name says
    if (avio_open(&output->pb, to.toUtf8().constData(), AVIO_FLAG_WRITE) < 0 ||
        avformat_write_header(output.get(), nullptr) < 0)
        return fail("cannot write " + to);
    ffmpeg::PacketPtr packet = ffmpeg::makePacket();
    while (av_read_frame(input.get(), packet.get()) >= 0) {
        av_packet_rescale_ts(packet.get(), source->time_base, target->time_base);
        packet->stream_index = 0;
        packet->pos = -1;
        if (av_interleaved_write_frame(output.get(), packet.get()) < 0)
            return fail("cannot write a packet to " + to);
    }
    if (av_write_trailer(output.get()) < 0)
        return fail("cannot finish " + to);
    return true;
}

void addGrain(QImage &picture, quint32 seed)
{
    QRandomGenerator random(seed);
    for (int y = 0; y < picture.height(); ++y) {
        uchar *line = picture.scanLine(y);
        for (int x = 0; x < picture.width(); ++x)
            line[x] = uchar(qBound(0, line[x] + random.bounded(-40, 41), 255));
    }
}

QImage circlePicture(QSize size)
{
    QImage picture(size, QImage::Format_Grayscale8);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(QPointF(size.width() / 2.0, size.height() / 2.0), 30, 30);
    return picture;
}

bool makeNumbered(ClipKind kind, const QString &target)
{
    const ClipSpec spec = ClipMaker::spec(kind);
    const Recipe recipe = recipeFor(kind);
    const QSize size = spec.displaySize;
    QByteArray frames;
    frames.reserve(size.width() * size.height() * spec.frames);
    // MPEG program streams pack several small frames into one packet and
    // then time them wrongly; grain makes each frame as large as a camera's.
    const bool grain = kind == ClipKind::MpegPs1_25 || kind == ClipKind::MpegPs2_2997;
    const bool circle = kind == ClipKind::CircleWide || kind == ClipKind::CirclePortrait;
    for (int n = 0; n < spec.frames; ++n) {
        QImage picture = circle ? circlePicture(size) : framenumber::pattern(n, size);
        if (grain)
            addGrain(picture, quint32(n));
        for (int y = 0; y < size.height(); ++y)
            frames.append(reinterpret_cast<const char *>(picture.constScanLine(y)), size.width());
    }
    const QString encoded = recipe.clockwiseDisplay ? target + ".upright.mov" : target;
    // The variable-rate clip's pictures come at 30 fps before being re-timed.
    const QString inputRate = kind == ClipKind::VariableRate
                                  ? QStringLiteral("30")
                                  : QStringLiteral("%1/%2").arg(spec.rateNum).arg(spec.rateDen);
    const QStringList arguments =
        QStringList{"-f",          "rawvideo",
                    "-pix_fmt",    "gray",
                    "-video_size", QStringLiteral("%1x%2").arg(size.width()).arg(size.height()),
                    "-framerate",  inputRate,
                    "-i",          "-"} +
        recipe.filters + recipe.codec + QStringList{"-f", recipe.muxer, encoded};
    if (!runFfmpeg(arguments, frames))
        return false;
    if (!recipe.clockwiseDisplay)
        return true;
    const bool rotated = addRotation(encoded, target, recipe.clockwiseDisplay);
    QFile::remove(encoded);
    return rotated;
}

// The falling ball drawn frame by frame: a light wall, two black marks one
// metre apart on the left, a dark ball on the right.
bool makeFallingBall(const QString &target)
{
    using B = FallingBall;
    QByteArray frames;
    frames.reserve(B::Width * B::Height * B::Frames);
    for (int n = 0; n < B::Frames; ++n) {
        QImage picture(B::Width, B::Height, QImage::Format_RGB32);
        picture.fill(QColor(225, 225, 225));
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::black, 2));
        for (double y : {B::TopY, B::TopY + B::PixelsPerMetre})
            painter.drawLine(QPointF(B::MarkLeft, y), QPointF(B::MarkRight, y));
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(20, 20, 20));
        painter.drawEllipse(B::centre(n), B::Radius, B::Radius);
        painter.end();
        const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
        for (int y = 0; y < B::Height; ++y)
            frames.append(reinterpret_cast<const char *>(grey.constScanLine(y)), B::Width);
    }
    // Slow motion as Android phones save it: the file plays at 30 frames per
    // second and notes the filming rate in its metadata.
    return runFfmpeg(QStringList{"-f", "rawvideo", "-pix_fmt", "gray", "-video_size",
                                 QStringLiteral("%1x%2").arg(B::Width).arg(B::Height), "-framerate",
                                 "30", "-i", "-"} +
                         h264Args(30) +
                         QStringList{"-movflags", "use_metadata_tags", "-metadata",
                                     "com.android.capture.fps=240.000000", "-f", "mp4", target},
                     frames);
}

bool copyPrefix(ClipKind sourceKind, double fraction, const QString &target)
{
    const QString source = ClipMaker::path(sourceKind);
    QFile in(source);
    if (source.isEmpty() || !in.open(QIODevice::ReadOnly))
        return fail("cannot read " + source);
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return fail("cannot write " + target);
    out.write(in.read(qint64(in.size() * fraction)));
    return true;
}

bool writeFile(const QString &target, const QByteArray &content)
{
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size())
        return fail("cannot write " + target);
    return true;
}

bool replaceBytes(const QString &target, const QByteArray &from, const QByteArray &to)
{
    QFile file(target);
    if (!file.open(QIODevice::ReadOnly))
        return fail("cannot read " + target);
    QByteArray content = file.readAll();
    file.close();
    if (!content.contains(from))
        return fail("nothing to replace in " + target);
    return writeFile(target, content.replace(from, to));
}

bool make(ClipKind kind, const QString &target)
{
    switch (kind) {
    case ClipKind::AudioOnly:
        return runFfmpeg({"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=8000:duration=2",
                          "-c:a", "pcm_s16le", "-f", "avi", target});
    case ClipKind::ZeroBytes:
        return writeFile(target, {});
    case ClipKind::TextAsAvi:
        return writeFile(target, QByteArray("This is not a video.\n").repeated(40));
    case ClipKind::TruncatedAvi:
        return copyPrefix(ClipKind::AviMpeg4_2997, 0.4, target);
    case ClipKind::TruncatedMov:
        return copyPrefix(ClipKind::MovH264_60, 0.5, target);
    case ClipKind::NoVideoPackets:
        return runFfmpeg(QStringList{"-f", "lavfi", "-i", "color=c=gray:s=160x120:r=25:d=1"} +
                         MjpegArgs + QStringList{"-bsf:v", "noise=drop=1", "-f", "avi", target});
    case ClipKind::UnknownCodec:
        // A Motion JPEG AVI whose codec tags are overwritten afterwards: the
        // muxer itself refuses a tag it does not know.
        return runFfmpeg(QStringList{"-f", "lavfi", "-i", "color=c=gray:s=160x120:r=25:d=1"} +
                         MjpegArgs + QStringList{"-f", "avi", target}) &&
               replaceBytes(target, "MJPG", "QQQQ");
    case ClipKind::NoDecoder:
        // The tag of a format FFmpeg knows by name but cannot decode.
        return runFfmpeg(QStringList{"-f", "lavfi", "-i", "color=c=gray:s=160x120:r=25:d=1"} +
                         MjpegArgs + QStringList{"-f", "avi", target}) &&
               replaceBytes(target, "MJPG", "AVS2");
    case ClipKind::FallingBall240:
        return makeFallingBall(target);
    default:
        return makeNumbered(kind, target);
    }
}

} // namespace

QPointF FallingBall::centre(int frame)
{
    const double t = frame / CaptureRate;
    return {X, TopY + Gravity * t * t / 2 * PixelsPerMetre};
}

ClipSpec ClipMaker::spec(ClipKind kind)
{
    const QSize standard(160, 120);
    switch (kind) {
    case ClipKind::AviMjpeg25:
        return {"mjpeg_25.avi", 75, 25, 1, standard};
    case ClipKind::AviMpeg4_2997:
        return {"mpeg4_bframes_29.97.avi", 150, 30000, 1001, standard};
    case ClipKind::MpegPs1_25:
        return {"mpeg1_25.mpg", 75, 25, 1, standard};
    case ClipKind::MpegPs2_2997:
        return {"mpeg2_29.97.mpg", 300, 30000, 1001, standard};
    case ClipKind::MovH264_60:
        return {"h264_60.mov", 240, 60, 1, standard};
    case ClipKind::Mp4H264_240:
        return {"h264_240.mp4", 720, 240, 1, standard};
    case ClipKind::MovHevc30:
        return {"hevc_30.mov", 120, 30, 1, standard};
    case ClipKind::Wide16x9:
        return {"wide_16x9.mp4", 50, 25, 1, QSize(192, 108)};
    case ClipKind::Rotated90:
        return {"rotated_90.mov", 60, 30, 1, standard};
    case ClipKind::Rotated180:
        return {"rotated_180.mov", 60, 30, 1, standard};
    case ClipKind::Rotated270:
        return {"rotated_270.mov", 60, 30, 1, standard};
    case ClipKind::NonSquarePixels:
        return {"sar_4x3.mp4", 50, 25, 1, standard};
    case ClipKind::VariableRate:
        return {"variable_rate.mp4", 60, 20, 1, standard};
    case ClipKind::JapaneseName:
        return {QStringLiteral("日本語フォルダ/実験　動画.avi"), 30, 30, 1, standard};
    case ClipKind::MkvH264_2997:
        return {"h264_29.97.mkv", 150, 30000, 1001, standard};
    case ClipKind::FallingBall240:
        return {"falling_ball_240_as_30.mp4", 0, 30, 1,
                QSize(FallingBall::Width, FallingBall::Height)};
    case ClipKind::CircleWide:
        return {"circle_wide.mp4", 10, 25, 1, QSize(192, 108)};
    case ClipKind::CirclePortrait:
        return {"circle_portrait.mov", 10, 25, 1, QSize(90, 160)};
    case ClipKind::AudioOnly:
        return {"audio_only.avi", 0, 0, 1, QSize()};
    case ClipKind::ZeroBytes:
        return {"zero_bytes.avi", 0, 0, 1, QSize()};
    case ClipKind::TextAsAvi:
        return {"text_as_video.avi", 0, 0, 1, QSize()};
    case ClipKind::TruncatedAvi:
        return {"truncated.avi", 0, 0, 1, QSize()};
    case ClipKind::TruncatedMov:
        return {"truncated.mov", 0, 0, 1, QSize()};
    case ClipKind::NoVideoPackets:
        return {"no_video_packets.avi", 0, 0, 1, QSize()};
    case ClipKind::UnknownCodec:
        return {"unknown_codec.avi", 0, 0, 1, QSize()};
    case ClipKind::NoDecoder:
        return {"no_decoder.avi", 0, 0, 1, QSize()};
    }
    return {};
}

QString ClipMaker::name(ClipKind kind)
{
    static const char *const names[] = {
        "AviMjpeg25",    "AviMpeg4_2997",   "MpegPs1_25",   "MpegPs2_2997",   "MovH264_60",
        "Mp4H264_240",   "MovHevc30",       "Wide16x9",     "Rotated90",      "Rotated180",
        "Rotated270",    "NonSquarePixels", "JapaneseName", "MkvH264_2997",   "AudioOnly",
        "ZeroBytes",     "TextAsAvi",       "TruncatedAvi", "TruncatedMov",   "NoVideoPackets",
        "UnknownCodec",  "NoDecoder",       "VariableRate", "FallingBall240", "CircleWide",
        "CirclePortrait"};
    static_assert(sizeof(names) / sizeof(names[0]) == int(ClipKind::CirclePortrait) + 1);
    return QString::fromLatin1(names[int(kind)]);
}

QList<ClipKind> ClipMaker::numberedKinds()
{
    return {ClipKind::AviMjpeg25,   ClipKind::AviMpeg4_2997, ClipKind::MpegPs1_25,
            ClipKind::MpegPs2_2997, ClipKind::MovH264_60,    ClipKind::Mp4H264_240,
            ClipKind::MovHevc30,    ClipKind::Wide16x9,      ClipKind::Rotated90,
            ClipKind::Rotated180,   ClipKind::Rotated270,    ClipKind::NonSquarePixels,
            ClipKind::JapaneseName, ClipKind::MkvH264_2997};
}

QString ClipMaker::dataDir()
{
    return QStringLiteral(KINEMO_TEST_DATA_DIR) + '/' + DataVersion;
}

QString ClipMaker::lastError()
{
    return g_lastError;
}

QString ClipMaker::path(ClipKind kind)
{
    const QString target = dataDir() + '/' + spec(kind).fileName;
    const QFileInfo info(target);
    if (info.exists() && (info.size() > 0 || kind == ClipKind::ZeroBytes))
        return target;
    if (!QDir().mkpath(info.absolutePath())) {
        fail("cannot create " + info.absolutePath());
        return {};
    }
    // Made under a private name and renamed, so that test programs running
    // side by side never see half a file.
    const QString part = QStringLiteral("%1/.part-%2-%3")
                             .arg(info.absolutePath())
                             .arg(QCoreApplication::applicationPid())
                             .arg(info.fileName());
    QFile::remove(part);
    if (!make(kind, part)) {
        QFile::remove(part);
        return {};
    }
    if (!QFile::rename(part, target)) {
        QFile::remove(part);
        if (!QFileInfo::exists(target)) {
            fail("cannot rename " + part);
            return {};
        }
    }
    return target;
}
