#pragma once
// Owning handles for the FFmpeg objects the frame source keeps. Each deleter
// calls the object's own free function, so no path can leak a context.

#include <memory>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;

namespace ffmpeg {

struct FormatCloser
{
    void operator()(AVFormatContext *context) const;
};
struct CodecFreer
{
    void operator()(AVCodecContext *context) const;
};
struct FrameFreer
{
    void operator()(AVFrame *frame) const;
};
struct PacketFreer
{
    void operator()(AVPacket *packet) const;
};
struct ScalerFreer
{
    void operator()(SwsContext *context) const;
};

using FormatPtr = std::unique_ptr<AVFormatContext, FormatCloser>;
using CodecPtr = std::unique_ptr<AVCodecContext, CodecFreer>;
using FramePtr = std::unique_ptr<AVFrame, FrameFreer>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFreer>;
using ScalerPtr = std::unique_ptr<SwsContext, ScalerFreer>;

FramePtr makeFrame();
PacketPtr makePacket();

} // namespace ffmpeg
