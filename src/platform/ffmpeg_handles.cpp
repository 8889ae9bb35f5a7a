#include "platform/ffmpeg_handles.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace ffmpeg {

void FormatCloser::operator()(AVFormatContext *context) const
{
    avformat_close_input(&context);
}

void CodecFreer::operator()(AVCodecContext *context) const
{
    avcodec_free_context(&context);
}

void FrameFreer::operator()(AVFrame *frame) const
{
    av_frame_free(&frame);
}

void PacketFreer::operator()(AVPacket *packet) const
{
    av_packet_free(&packet);
}

void ScalerFreer::operator()(SwsContext *context) const
{
    sws_freeContext(context);
}

FramePtr makeFrame()
{
    return FramePtr(av_frame_alloc());
}

PacketPtr makePacket()
{
    return PacketPtr(av_packet_alloc());
}

} // namespace ffmpeg
