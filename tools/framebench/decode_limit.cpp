#include "decode_limit.h"

#include "platform/ffmpeg_frame_scaler.h"
#include "platform/ffmpeg_handles.h"

#include <QElapsedTimer>
#include <functional>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace {

// Decodes the video stream from the start, handing each frame to `use`;
// the number of frames, or -1 when the file cannot be decoded.
// `milliseconds` is the time from the opened decoder to the last frame.
int decodeFrames(const QString &path, int maxFrames, const std::function<void(AVFrame &)> &use,
                 double &milliseconds)
{
    AVFormatContext *context = nullptr;
    const QByteArray name = QByteArray("file:") + path.toUtf8();
    if (avformat_open_input(&context, name.constData(), nullptr, nullptr) < 0)
        return -1;
    ffmpeg::FormatPtr format(context);
    if (avformat_find_stream_info(context, nullptr) < 0)
        return -1;
    const AVCodec *decoder = nullptr;
    const int index = av_find_best_stream(context, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
    if (index < 0 || !decoder)
        return -1;
    ffmpeg::CodecPtr codec(avcodec_alloc_context3(decoder));
    if (!codec || avcodec_parameters_to_context(codec.get(), context->streams[index]->codecpar) < 0)
        return -1;
    // As the preview's decoder: one thread per core, frame and slice threads.
    codec->thread_count = 0;
    codec->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
    if (avcodec_open2(codec.get(), decoder, nullptr) < 0)
        return -1;

    ffmpeg::PacketPtr packet = ffmpeg::makePacket();
    ffmpeg::FramePtr frame = ffmpeg::makeFrame();
    QElapsedTimer clock;
    clock.start();
    int frames = 0;
    bool draining = false;
    while (frames < maxFrames) {
        const int received = avcodec_receive_frame(codec.get(), frame.get());
        if (received == 0) {
            ++frames;
            use(*frame);
            av_frame_unref(frame.get());
            continue;
        }
        if (received != AVERROR(EAGAIN) || draining)
            break;
        if (av_read_frame(context, packet.get()) < 0) {
            avcodec_send_packet(codec.get(), nullptr);
            draining = true;
            continue;
        }
        if (packet->stream_index == index)
            avcodec_send_packet(codec.get(), packet.get());
        av_packet_unref(packet.get());
    }
    milliseconds = clock.nsecsElapsed() / 1e6;
    return frames;
}

} // namespace

DecodeLimit measureDecodeLimit(const QString &path, QSize previewSize, int rotationDegrees,
                               int maxFrames)
{
    DecodeLimit limit;
    double decodeTotal = 0;
    const int frames = decodeFrames(
        path, maxFrames, [](AVFrame &) {}, decodeTotal);
    if (frames <= 0)
        return limit;

    FfmpegFrameScaler scaler;
    double scaleTotal = 0;
    int scaled = 0;
    double ignored = 0;
    decodeFrames(
        path, maxFrames,
        [&](AVFrame &frame) {
            QElapsedTimer scaling;
            scaling.start();
            const QImage image = scaler.toImage(frame, previewSize, rotationDegrees);
            scaleTotal += scaling.nsecsElapsed() / 1e6;
            scaled += image.isNull() ? 0 : 1;
        },
        ignored);
    limit.frames = frames;
    limit.decodeMs = decodeTotal / frames;
    limit.scaleMs = scaled ? scaleTotal / scaled : 0;
    return limit;
}
