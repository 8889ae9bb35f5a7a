#include "platform/media_start_time.h"

#include "platform/ffmpeg_handles.h"

extern "C" {
#include <libavformat/avformat.h>
}

double videoStartSeconds(const QString &path)
{
    AVFormatContext *raw = nullptr;
    if (avformat_open_input(&raw, path.toUtf8().constData(), nullptr, nullptr) < 0)
        return 0; // the context was freed by avformat_open_input itself
    const ffmpeg::FormatPtr format(raw);
    if (avformat_find_stream_info(format.get(), nullptr) < 0)
        return 0;
    const int index = av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (index < 0)
        return 0;
    const AVStream *stream = format->streams[index];
    if (stream->start_time == AV_NOPTS_VALUE || stream->start_time <= 0)
        return 0;
    return stream->start_time * av_q2d(stream->time_base);
}
