#include "platform/ffmpeg_frame_source.h"

#include "base/numbers.h"

#include <algorithm>
#include <cmath>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/display.h>
#include <libavutil/mem.h>
}

namespace {

// A wanted time at most this far ahead of the current frame is reached by
// decoding on, without a seek.
constexpr double ForwardWindowSeconds = 1.0;
// How far before the wanted time the second seek aims when the first landed
// late; each further try doubles it, until the start of the file is reached.
constexpr double FirstBackoffSeconds = 0.5;
constexpr int MaxSeeks = 12;
// Decoder errors in a row after which the stream counts as ended.
constexpr int MaxDecodeErrors = 200;
// Bytes at the end of a file read to find where its video really ends.
constexpr qint64 TailScanBytes = 2 * 1024 * 1024;
// Frames this close before a wanted frame are always decoded, so that the
// frame shown there is never one that was skipped.
constexpr double SkipMarginSeconds = 0.1;

double rateOf(AVRational rate)
{
    return rate.num > 0 && rate.den > 0 ? av_q2d(rate) : 0.0;
}

StreamKind kindOf(const AVStream *stream)
{
    switch (stream->codecpar->codec_type) {
    case AVMEDIA_TYPE_VIDEO:
        // A cover picture of a music file is a one-frame "video" stream, not
        // a video.
        return (stream->disposition & AV_DISPOSITION_ATTACHED_PIC) ? StreamKind::Other
                                                                   : StreamKind::Video;
    case AVMEDIA_TYPE_AUDIO:
        return StreamKind::Audio;
    default:
        return StreamKind::Other;
    }
}

// Clockwise turn that shows the picture upright, from the display matrix
// that phones store with portrait videos.
int rotationOf(const AVStream *stream)
{
    size_t size = 0;
    const uint8_t *matrix = av_stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, &size);
    if (!matrix || size < 9 * sizeof(int32_t))
        return 0;
    const double counterClockwise =
        av_display_rotation_get(reinterpret_cast<const int32_t *>(matrix));
    if (std::isnan(counterClockwise))
        return 0;
    int degrees = int(std::lround(-counterClockwise / 90.0)) * 90 % 360;
    return degrees < 0 ? degrees + 360 : degrees;
}

// The rate a camera filmed at, noted beside the rate the file plays at.
// Android phones write it into MP4/MOV metadata for slow-motion videos.
double captureRateOf(const AVFormatContext &format, const AVStream &stream)
{
    static const char *const keys[] = {"com.android.capture.fps"};
    for (const AVDictionary *tags : {stream.metadata, format.metadata}) {
        for (const char *key : keys) {
            const AVDictionaryEntry *entry = av_dict_get(tags, key, nullptr, 0);
            if (!entry || !entry->value)
                continue;
            const double rate = num::leadingNumber(QString::fromUtf8(entry->value));
            if (rate >= FrameSource::MinCaptureRate && rate <= FrameSource::MaxCaptureRate)
                return rate;
        }
    }
    return 0;
}

// The format's short name ("hevc"); for a format the library does not know,
// the four characters the file tags it with.
QString formatName(const AVCodecParameters &parameters)
{
    if (parameters.codec_id == AV_CODEC_ID_NONE && parameters.codec_tag != 0) {
        char tag[AV_FOURCC_MAX_STRING_SIZE] = {};
        av_fourcc_make_string(tag, parameters.codec_tag);
        return QString::fromLatin1(tag).trimmed();
    }
    return QString::fromLatin1(avcodec_get_name(parameters.codec_id));
}

} // namespace

FfmpegFrameSource::FfmpegFrameSource() = default;
FfmpegFrameSource::~FfmpegFrameSource() = default;

int FfmpegFrameSource::interruptRequested(void *opaque)
{
    auto *self = static_cast<FfmpegFrameSource *>(opaque);
    if (!self->m_deadline.hasExpired())
        return 0;
    self->m_interrupted = true;
    return 1;
}

bool FfmpegFrameSource::open(const QString &path)
{
    close();
    m_path = path;
    m_deadline.setRemainingTime(m_timeLimitMs);
    m_interrupted = false;
    m_packet = ffmpeg::makePacket();
    if (!m_packet || !openContainer() || m_interrupted) {
        close();
        return false;
    }
    readProperties();
    if (m_interrupted) {
        close();
        return false;
    }
    m_stats = Stats();
    return true;
}

void FfmpegFrameSource::close()
{
    resetDecodeState();
    m_codec.reset();
    m_format.reset();
    m_packet.reset();
    m_path.clear();
    m_streams.clear();
    m_videoIndex = -1;
    m_undecodableFormat.clear();
    m_lengthSeconds = 0;
    m_frameRate = 0;
    m_captureRate = 0;
    m_tolerance = 0;
    m_displaySize = QSize();
    m_rotation = 0;
    m_startTs = 0;
    m_atStart = false;
    m_undecodable = false;
    m_lastReturnedSeconds = -1;
    m_stats = Stats();
}

// Opens the file and the decoder of its video stream, positioned at the start.
bool FfmpegFrameSource::openContainer()
{
    m_codec.reset();
    m_skipping = false; // a new decoder skips nothing
    m_format.reset();
    resetDecodeState();

    AVFormatContext *context = avformat_alloc_context();
    if (!context)
        return false;
    context->interrupt_callback.callback = &FfmpegFrameSource::interruptRequested;
    context->interrupt_callback.opaque = this;
    // A local file only: a playlist inside a file must not make us open
    // other files or network addresses.
    context->protocol_whitelist = av_strdup("file");
    // FFmpeg takes UTF-8 file names on every system; the "file:" prefix keeps
    // a name with a colon from being read as a protocol.
    const QByteArray name = QByteArray("file:") + m_path.toUtf8();
    if (avformat_open_input(&context, name.constData(), nullptr, nullptr) < 0)
        return false; // the context is freed by FFmpeg on failure
    m_format.reset(context);
    if (avformat_find_stream_info(context, nullptr) < 0)
        return false;

    m_streams.clear();
    int firstVideo = -1;
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        m_streams.append(kindOf(context->streams[i]));
        if (firstVideo < 0 && m_streams.last() == StreamKind::Video)
            firstVideo = int(i);
    }
    const int best = av_find_best_stream(context, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    m_videoIndex = best >= 0 && m_streams.value(best) == StreamKind::Video ? best : firstVideo;
    for (unsigned i = 0; i < context->nb_streams; ++i)
        context->streams[i]->discard = int(i) == m_videoIndex ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    m_atStart = true;
    if (m_videoIndex < 0)
        return true;

    // A video stream without a usable decoder still counts as video; its
    // frames simply cannot be shown, and its format says why.
    const AVStream *stream = context->streams[m_videoIndex];
    m_undecodableFormat = formatName(*stream->codecpar);
    const AVCodec *decoder = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!decoder)
        return true;
    ffmpeg::CodecPtr codec(avcodec_alloc_context3(decoder));
    if (!codec || avcodec_parameters_to_context(codec.get(), stream->codecpar) < 0)
        return true;
    codec->pkt_timebase = stream->time_base;
    codec->thread_count = m_decoderThreads; // 0: one per core
    codec->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
    if (avcodec_open2(codec.get(), decoder, nullptr) < 0)
        return true;
    m_codec = std::move(codec);
    m_undecodableFormat.clear();
    return true;
}

AVStream *FfmpegFrameSource::videoStream() const
{
    return m_format && m_videoIndex >= 0 ? m_format->streams[m_videoIndex] : nullptr;
}

void FfmpegFrameSource::readProperties()
{
    AVStream *stream = videoStream();
    if (!stream)
        return;
    const AVRational timeBase = stream->time_base;
    m_frameRate = rateOf(stream->avg_frame_rate);
    if (m_frameRate <= 0)
        m_frameRate = rateOf(stream->r_frame_rate);
    if (m_frameRate <= 0 && m_codec)
        m_frameRate = rateOf(m_codec->framerate);
    m_captureRate = captureRateOf(*m_format, *stream);
    // Frame timestamps are rounded to the container's clock (a millisecond in
    // some formats): one tick of it is allowed, but never a quarter frame.
    m_tolerance = av_q2d(timeBase);
    if (m_frameRate > 0)
        m_tolerance = std::min(m_tolerance, 0.25 / m_frameRate);
    m_startTs = stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
    // Time 0 is the first frame the decoder gives, wherever the container
    // says the stream starts: AVI files with B-frames give the first frame
    // the time of the second one, MPEG program streams start at 0.5 s or so.
    if (m_codec) {
        if (decodeNext(m_current) == Next::Frame) {
            const qint64 first = rawTimestamp(*m_current.frame);
            if (first != AV_NOPTS_VALUE)
                m_startTs = first;
            m_current.seconds = 0;
        } else if (!m_interrupted) {
            m_undecodable = true; // read to the end without a single frame
        }
    }

    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0) {
        m_lengthSeconds = stream->duration * av_q2d(timeBase);
    } else if (m_format->duration != AV_NOPTS_VALUE && m_format->duration > 0) {
        double offset = 0;
        if (m_format->start_time != AV_NOPTS_VALUE)
            offset = std::max(0.0, m_startTs * av_q2d(timeBase) -
                                       m_format->start_time / double(AV_TIME_BASE));
        m_lengthSeconds = std::max(0.0, m_format->duration / double(AV_TIME_BASE) - offset);
    }
    // Without a length in the headers FFmpeg estimates it from the last
    // timestamps, and misses the last frame when B-frames are reordered at
    // the end (MPEG program streams).
    if (m_format->duration_estimation_method != AVFMT_DURATION_FROM_STREAM)
        m_lengthSeconds = std::max(m_lengthSeconds, measuredEndSeconds());

    const AVCodecParameters *parameters = stream->codecpar;
    m_rotation = rotationOf(stream);
    if (parameters->width > 0 && parameters->height > 0) {
        const AVRational aspect = av_guess_sample_aspect_ratio(m_format.get(), stream, nullptr);
        double width = parameters->width;
        if (aspect.num > 0 && aspect.den > 0)
            width *= av_q2d(aspect);
        m_displaySize = QSize(std::max(1, int(num::roundHalfEven(width))), parameters->height);
        if (m_rotation == 90 || m_rotation == 270)
            m_displaySize.transpose();
    }
}

// End time of the video stream (relative to its start) found by decoding
// the frames near the end of the file; 0 when that cannot be done.
double FfmpegFrameSource::measuredEndSeconds()
{
    AVStream *stream = videoStream();
    if (!stream || !m_codec || !m_format->pb || (m_format->iformat->flags & AVFMT_NO_BYTE_SEEK))
        return 0;
    const qint64 size = avio_size(m_format->pb);
    if (size <= 0)
        return 0;
    resetDecodeState();
    m_atStart = false; // whatever happens, the next frame starts over
    if (av_seek_frame(m_format.get(), -1, std::max<qint64>(0, size - TailScanBytes),
                      AVSEEK_FLAG_BYTE) < 0)
        return 0;
    const double period = m_frameRate > 0 ? 1.0 / m_frameRate : 0.0;
    double end = 0;
    Decoded decoded;
    while (decodeNext(decoded) == Next::Frame) {
        // Only the container's own timestamps count here; nothing before
        // them is known to fill gaps from.
        if (rawTimestamp(*decoded.frame) != AV_NOPTS_VALUE)
            end = std::max(end, decoded.seconds + period);
    }
    resetDecodeState();
    return end;
}

qint64 FfmpegFrameSource::rawTimestamp(const AVFrame &frame)
{
    return frame.best_effort_timestamp != AV_NOPTS_VALUE ? frame.best_effort_timestamp : frame.pts;
}

double FfmpegFrameSource::frameSeconds(const AVFrame &frame) const
{
    const double period = m_frameRate > 0 ? 1.0 / m_frameRate : 0.0;
    const qint64 ts = rawTimestamp(frame);
    if (ts == AV_NOPTS_VALUE)
        return m_current ? m_current.seconds + period : 0.0; // assume it follows
    const double seconds = (ts - m_startTs) * av_q2d(videoStream()->time_base);
    // Frames come in presentation order, so a time that does not advance is
    // wrong (MPEG program streams with several small frames in one packet);
    // such a frame follows the one before it.
    if (m_current && seconds <= m_current.seconds)
        return m_current.seconds + period;
    return seconds;
}

QImage FfmpegFrameSource::frameAtTime(double seconds, QSize size)
{
    if (!m_format || !m_codec || m_undecodable || size.isEmpty() || !std::isfinite(seconds))
        return {};
    m_deadline.setRemainingTime(m_timeLimitMs);
    m_interrupted = false;
    const double target = std::max(0.0, seconds) + m_tolerance;
    m_skippedSome = false;
    m_skipBefore = skippingAllowed() ? target - SkipMarginSeconds - 2 / m_frameRate : -1;
    bool found = positionFor(target);
    if (found && m_skippedSome && m_current && m_current.seconds < m_skipBefore) {
        // No frame came within the margin (a pause in a variable-rate video):
        // the frame shown may be one that was skipped, so decode it in full.
        resetDecodeState();
        m_atStart = false;
        m_skipBefore = -1;
        found = positionFor(target);
    }
    m_skipBefore = -1;
    if (m_codec && m_skipping) {
        m_codec->skip_frame = AVDISCARD_DEFAULT;
        m_skipping = false;
    }
    if (!found || m_interrupted || !m_current) {
        // Start over cleanly next time rather than trust a half-read state.
        resetDecodeState();
        m_atStart = false;
        return {};
    }
    QImage image = m_scaler.toImage(*m_current.frame, size, m_rotation);
    if (!image.isNull())
        m_lastReturnedSeconds = m_current.seconds;
    return image;
}

double FfmpegFrameSource::keyframeAtOrBefore(double seconds) const
{
    AVStream *stream = videoStream();
    if (!stream || !std::isfinite(seconds))
        return -1;
    const double timeBase = av_q2d(stream->time_base);
    const int entry = av_index_search_timestamp(
        stream, m_startTs + std::llround(std::max(0.0, seconds) / timeBase), AVSEEK_FLAG_BACKWARD);
    const AVIndexEntry *keyframe = entry >= 0 ? avformat_index_get_entry(stream, entry) : nullptr;
    if (!keyframe)
        return -1;
    return std::max(0.0, (keyframe->timestamp - m_startTs) * timeBase);
}

// Skipping needs the packets' own presentation times, which only the
// containers of phone and camera videos give reliably; there it matters,
// as their keyframes lie seconds apart.
bool FfmpegFrameSource::skippingAllowed() const
{
    if (!m_skipUnused || !m_codec || m_frameRate <= 0 || !m_format->iformat)
        return false;
    if (m_codec->codec_id == AV_CODEC_ID_HEVC) {
        // An HEVC picture marked unused may still be the reference of a
        // picture in a higher temporal layer (phones record such layers):
        // skip only in streams whose configuration says there is one layer.
        const AVCodecParameters *parameters = videoStream()->codecpar;
        const uint8_t *config = parameters->extradata;
        if (!config || parameters->extradata_size < 23 || config[0] != 1 ||
            ((config[21] >> 3) & 7) != 1)
            return false;
    } else if (m_codec->codec_id != AV_CODEC_ID_H264) {
        return false;
    }
    const QByteArray demuxer(m_format->iformat->name);
    return demuxer.contains("mp4") || demuxer.contains("matroska");
}

void FfmpegFrameSource::chooseSkipping(const AVPacket &packet)
{
    bool skip = false;
    if (m_skipBefore >= 0 && packet.pts != AV_NOPTS_VALUE)
        skip = (packet.pts - m_startTs) * av_q2d(videoStream()->time_base) < m_skipBefore;
    if (skip != m_skipping) {
        // Frame threads take the setting over with each packet.
        m_codec->skip_frame = skip ? AVDISCARD_NONREF : AVDISCARD_DEFAULT;
        m_skipping = skip;
    }
    m_skippedSome = m_skippedSome || skip;
}

// Leaves in m_current the last frame whose time is not after `target`.
bool FfmpegFrameSource::positionFor(double target)
{
    if (canContinueTo(target))
        return advanceTo(target);
    double backoff = 0;
    for (int attempt = 0; attempt < MaxSeeks && !m_interrupted; ++attempt) {
        const double from = target - m_tolerance - backoff;
        if (from <= 0)
            break;
        if (seekBefore(from, target))
            return advanceTo(target);
        ++m_stats.reseeks;
        backoff = backoff == 0 ? FirstBackoffSeconds : backoff * 2;
    }
    if (m_interrupted || !rewind())
        return false;
    if (advanceTo(target))
        return true;
    // From the very start to the end without a frame: no use trying again.
    if (!m_interrupted && !m_current)
        m_undecodable = true;
    return false;
}

bool FfmpegFrameSource::canContinueTo(double target) const
{
    double position;
    if (m_current)
        position = m_current.seconds;
    else if (m_atStart)
        position = 0;
    else
        return false;
    if (position > target)
        return false;
    if (target - position <= ForwardWindowSeconds)
        return true;
    // Further ahead: a seek only pays when a keyframe lies between here and
    // there. The index of MP4 and AVI files tells; other files are sought.
    AVStream *stream = videoStream();
    const double timeBase = av_q2d(stream->time_base);
    const int entry = av_index_search_timestamp(stream, m_startTs + std::llround(target / timeBase),
                                                AVSEEK_FLAG_BACKWARD);
    if (entry < 0)
        return false;
    const AVIndexEntry *keyframe = avformat_index_get_entry(stream, entry);
    return keyframe && keyframe->timestamp <= m_startTs + std::llround(position / timeBase);
}

// Seeks to the keyframe at or before `from` and decodes up to the first
// keyframe. False when that frame is already later than `target`: the seek
// landed late and has to be repeated further back.
bool FfmpegFrameSource::seekBefore(double from, double target)
{
    resetDecodeState();
    m_atStart = false;
    ++m_stats.seeks;
    const double timeBase = av_q2d(videoStream()->time_base);
    const qint64 ts = m_startTs + std::llround(from / timeBase);
    if (av_seek_frame(m_format.get(), m_videoIndex, ts, AVSEEK_FLAG_BACKWARD) < 0)
        return false;
    avcodec_flush_buffers(m_codec.get());
    Decoded decoded;
    while (decodeNext(decoded) == Next::Frame) {
        if (decoded.seconds > target)
            return false;
        // Frames before the first keyframe are built on pictures the decoder
        // never saw; they are not shown.
        if (decoded.frame->key_frame || decoded.frame->pict_type == AV_PICTURE_TYPE_I) {
            // Later frames are timed from this one, so it needs a time of its
            // own (AVI files only time their packets in decoding order, and the
            // last keyframe of a file may come out of the decoder untimed).
            if (rawTimestamp(*decoded.frame) == AV_NOPTS_VALUE)
                return false;
            m_current = std::move(decoded);
            return true;
        }
    }
    return false;
}

bool FfmpegFrameSource::rewind()
{
    if (!m_atStart) {
        ++m_stats.reopens;
        if (!openContainer() || !m_codec)
            return false;
    }
    resetDecodeState();
    return true;
}

void FfmpegFrameSource::resetDecodeState()
{
    m_current = Decoded();
    m_lookahead = Decoded();
    m_inputEnded = false;
    m_drainSent = false;
    if (m_codec)
        avcodec_flush_buffers(m_codec.get());
}

// Takes frames from the decoder in order; m_current ends as the frame shown
// at `target` (the first frame when `target` is before it, the last frame
// when the stream ends first).
bool FfmpegFrameSource::advanceTo(double target)
{
    if (!m_current && decodeNext(m_current) != Next::Frame)
        return false;
    for (;;) {
        if (!m_lookahead && decodeNext(m_lookahead) != Next::Frame)
            return !m_interrupted;
        if (m_lookahead.seconds > target)
            return true;
        m_current = std::move(m_lookahead);
        m_lookahead = Decoded();
    }
}

// The next frame in presentation order, reading packets as needed and
// draining the decoder at the end of the file (frame threading holds back
// a frame per thread until then).
FfmpegFrameSource::Next FfmpegFrameSource::decodeNext(Decoded &out)
{
    if (m_cancelCheck && m_cancelCheck()) {
        m_interrupted = true;
        return Next::End;
    }
    ffmpeg::FramePtr frame = ffmpeg::makeFrame();
    if (!frame)
        return Next::End;
    int errors = 0;
    for (;;) {
        const int received = avcodec_receive_frame(m_codec.get(), frame.get());
        if (received == 0) {
            ++m_stats.framesDecoded;
            out.seconds = frameSeconds(*frame);
            out.frame = std::move(frame);
            return Next::Frame;
        }
        if (received == AVERROR_EOF || m_interrupted)
            return Next::End;
        if (received != AVERROR(EAGAIN) && ++errors > MaxDecodeErrors)
            return Next::End;
        if (m_drainSent)
            return Next::End;
        if (!m_inputEnded) {
            // FFmpeg asks the interrupt callback only when it refills its
            // buffer; a file that decodes slowly is stopped here as well.
            if (m_deadline.hasExpired()) {
                m_interrupted = true;
                return Next::End;
            }
            const int read = av_read_frame(m_format.get(), m_packet.get());
            if (read >= 0) {
                m_atStart = false;
                // Damaged packets are skipped; the decoder recovers at the
                // next keyframe.
                if (m_packet->stream_index == m_videoIndex)
                    chooseSkipping(*m_packet);
                if (m_packet->stream_index == m_videoIndex &&
                    avcodec_send_packet(m_codec.get(), m_packet.get()) < 0 &&
                    ++errors > MaxDecodeErrors) {
                    av_packet_unref(m_packet.get());
                    return Next::End;
                }
                av_packet_unref(m_packet.get());
                continue;
            }
            m_inputEnded = true;
            if (m_interrupted)
                return Next::End;
        }
        avcodec_send_packet(m_codec.get(), nullptr);
        m_drainSent = true;
    }
}
