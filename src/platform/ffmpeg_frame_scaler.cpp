#include "platform/ffmpeg_frame_scaler.h"

#include "platform/picture_buffers.h"

#include <QTransform>
#include <utility>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/mem.h>
#include <libswscale/swscale.h>
}

namespace {

// The old "J" formats are the plain YUV formats with full-range levels; the
// scaler wants the plain format and the range given separately.
AVPixelFormat withoutJpegRange(AVPixelFormat format, bool &fullRange)
{
    switch (format) {
    case AV_PIX_FMT_YUVJ420P:
        fullRange = true;
        return AV_PIX_FMT_YUV420P;
    case AV_PIX_FMT_YUVJ422P:
        fullRange = true;
        return AV_PIX_FMT_YUV422P;
    case AV_PIX_FMT_YUVJ444P:
        fullRange = true;
        return AV_PIX_FMT_YUV444P;
    case AV_PIX_FMT_YUVJ440P:
        fullRange = true;
        return AV_PIX_FMT_YUV440P;
    case AV_PIX_FMT_YUVJ411P:
        fullRange = true;
        return AV_PIX_FMT_YUV411P;
    default:
        return format;
    }
}

// Matrix coefficients for the frame: what the stream says, otherwise the
// usual guess (BT.709 for HD pictures, BT.601 below).
int colorspaceFor(const AVFrame &frame)
{
    switch (frame.colorspace) {
    case AVCOL_SPC_BT709:
        return SWS_CS_ITU709;
    case AVCOL_SPC_FCC:
        return SWS_CS_FCC;
    case AVCOL_SPC_BT470BG:
    case AVCOL_SPC_SMPTE170M:
        return SWS_CS_ITU601;
    case AVCOL_SPC_SMPTE240M:
        return SWS_CS_SMPTE240M;
    case AVCOL_SPC_BT2020_NCL:
    case AVCOL_SPC_BT2020_CL:
        return SWS_CS_BT2020;
    default:
        return frame.height >= 720 ? SWS_CS_ITU709 : SWS_CS_ITU601;
    }
}

} // namespace

bool FfmpegFrameScaler::prepare(const Key &key)
{
    if (m_contexts[0] && key == m_keys[0])
        return true;
    std::swap(m_contexts[0], m_contexts[1]);
    std::swap(m_keys[0], m_keys[1]);
    if (m_contexts[0] && key == m_keys[0])
        return true;
    ffmpeg::ScalerPtr &context = m_contexts[0];
    context.reset();
    m_keys[0] = Key();
    // Area averaging keeps thin lines visible when shrinking a large picture;
    // bilinear is smooth enough for enlarging a small one.
    const bool shrinking = key.dstWidth < key.srcWidth || key.dstHeight < key.srcHeight;
    const bool sameSize = key.dstWidth == key.srcWidth && key.dstHeight == key.srcHeight;
    // At the picture's own size nothing is scaled, and the direct colour
    // conversion (which accurate rounding would turn off) is several times
    // faster; it differs by a level or so at most.
    const int flags =
        sameSize ? SWS_POINT : (shrinking ? SWS_AREA : SWS_BILINEAR) | SWS_ACCURATE_RND;
    context.reset(sws_getContext(key.srcWidth, key.srcHeight, AVPixelFormat(key.srcFormat),
                                 key.dstWidth, key.dstHeight, AV_PIX_FMT_RGB32, flags, nullptr,
                                 nullptr, nullptr));
    if (!context)
        return false;
    const int *coefficients = sws_getCoefficients(key.colorspace);
    sws_setColorspaceDetails(context.get(), coefficients, key.fullRange,
                             sws_getCoefficients(SWS_CS_DEFAULT), 1, 0, 1 << 16, 1 << 16);
    m_keys[0] = key;
    ++m_contextsBuilt;
    return true;
}

QImage FfmpegFrameScaler::toImage(const AVFrame &frame, QSize size, int rotationDegrees)
{
    if (size.isEmpty() || frame.width <= 0 || frame.height <= 0)
        return {};
    const bool sideways = rotationDegrees == 90 || rotationDegrees == 270;
    const QSize scaled = sideways ? size.transposed() : size;

    bool fullRange = frame.color_range == AVCOL_RANGE_JPEG;
    const AVPixelFormat format = withoutJpegRange(AVPixelFormat(frame.format), fullRange);
    if (!sws_isSupportedInput(format))
        return {};

    Key key;
    key.srcWidth = frame.width;
    key.srcHeight = frame.height;
    key.srcFormat = format;
    key.fullRange = fullRange ? 1 : 0;
    key.colorspace = colorspaceFor(frame);
    key.dstWidth = scaled.width();
    key.dstHeight = scaled.height();
    if (!prepare(key))
        return {};

    // Rows aligned to 64 bytes so that the scaler's vector code can write
    // them directly; the image frees the buffer when its last copy goes.
    const int lineSize = (scaled.width() * 4 + 63) & ~63;
    uint8_t *buffer = picture_buffers::acquire(size_t(lineSize) * scaled.height());
    if (!buffer)
        return {};
    QImage image(buffer, scaled.width(), scaled.height(), lineSize, QImage::Format_RGB32,
                 picture_buffers::release, buffer);
    uint8_t *const planes[4] = {buffer, nullptr, nullptr, nullptr};
    const int strides[4] = {lineSize, 0, 0, 0};
    const int rows = sws_scale(m_contexts[0].get(), frame.data, frame.linesize, 0, frame.height,
                               planes, strides);
    if (rows <= 0)
        return {};
    if (rotationDegrees == 0)
        return image;
    return image.transformed(QTransform().rotate(rotationDegrees));
}
