#pragma once
// The frame source on FFmpeg (libavformat, libavcodec, libswscale).
//
// A frame is found by its own timestamp: seek to the keyframe at or before
// the wanted time, then decode forward. A seek that lands after the wanted
// time (MPEG program streams, HEVC open groups) is repeated further back, and
// going back to the very start re-opens the file, the only rewind that works
// in every container. Stepping forward continues decoding without a seek.
// Every file operation runs under a deadline, so a damaged or endless file
// cannot hang the caller.

#include "platform/ffmpeg_frame_scaler.h"
#include "platform/ffmpeg_handles.h"
#include "platform/frame_source.h"

#include <QDeadlineTimer>

#include <functional>

struct AVPacket;
struct AVStream;

class FfmpegFrameSource : public FrameSource
{
public:
    // Work counters since open(), for tests and measurements.
    struct Stats
    {
        int framesDecoded = 0; // frames received from the decoder
        int seeks = 0;         // container seeks, re-seeks included
        int reseeks = 0;       // seeks repeated because the first one landed late
        int reopens = 0;       // rewinds by opening the file again
    };

    FfmpegFrameSource();
    ~FfmpegFrameSource() override;
    FfmpegFrameSource(const FfmpegFrameSource &) = delete;
    FfmpegFrameSource &operator=(const FfmpegFrameSource &) = delete;

    bool open(const QString &path) override;
    void close() override;
    QString path() const override { return m_path; }

    QVector<StreamKind> streams() const override { return m_streams; }
    QString undecodableFormat() const override { return m_undecodableFormat; }
    double streamLengthSeconds() const override { return m_lengthSeconds; }
    double frameRate() const override { return m_frameRate; }
    double captureRate() const override { return m_captureRate; }
    QSize displaySize() const override { return m_displaySize; }
    int rotationDegrees() const override { return m_rotation; }

    QImage frameAtTime(double seconds, QSize size) override;
    double lastFrameSeconds() const override { return m_lastReturnedSeconds; }

    // Time of the last keyframe at or before `seconds` (relative to the
    // stream start) as the file's index gives it; -1 for files without an
    // index (MPEG program streams). Close enough to plan work ahead; frames
    // are always found by decoding.
    double keyframeAtOrBefore(double seconds) const;

    const Stats &stats() const { return m_stats; }
    // Scaling contexts built so far; one per change of picture or preview size.
    int scalerContextsBuilt() const { return m_scaler.contextsBuilt(); }
    // Upper bound for opening a file and for each frame request.
    void setTimeLimitMs(int milliseconds) { m_timeLimitMs = milliseconds; }
    // Decoder threads for the next open(); 0 lets FFmpeg take one per core.
    void setDecoderThreads(int count) { m_decoderThreads = count; }
    // Asked between decoded frames; true stops the request under way, which
    // then returns a null image. A background decoder uses it to give up
    // work that is no longer wanted (it may also wait inside the call).
    void setCancelCheck(std::function<bool()> check) { m_cancelCheck = std::move(check); }
    // On the way to a far frame, frames that no other frame is built on (most
    // B-frames of H.264 and HEVC) are not decoded when they lie well before
    // the wanted one. The frames shown do not change; on by default.
    void setSkipUnusedFrames(bool skip) { m_skipUnused = skip; }

private:
    struct Decoded
    {
        ffmpeg::FramePtr frame;
        double seconds = 0;
        explicit operator bool() const { return bool(frame); }
    };
    enum class Next
    {
        Frame,
        End
    };

    static int interruptRequested(void *opaque);

    bool openContainer();
    void readProperties();
    double measuredEndSeconds();
    AVStream *videoStream() const;
    double frameSeconds(const AVFrame &frame) const;
    static qint64 rawTimestamp(const AVFrame &frame);

    bool positionFor(double target);
    bool canContinueTo(double target) const;
    bool seekBefore(double seconds, double target);
    bool rewind();
    void resetDecodeState();
    Next decodeNext(Decoded &out);
    bool advanceTo(double target);
    bool skippingAllowed() const;
    void chooseSkipping(const AVPacket &packet);

    QString m_path;
    ffmpeg::FormatPtr m_format;
    ffmpeg::CodecPtr m_codec;
    ffmpeg::PacketPtr m_packet;
    FfmpegFrameScaler m_scaler;
    QDeadlineTimer m_deadline;
    int m_timeLimitMs = 20000;
    int m_decoderThreads = 0;
    std::function<bool()> m_cancelCheck;
    bool m_skipUnused = true;
    // Packets of frames before this time may skip their unused frames; -1
    // while nothing is skipped.
    double m_skipBefore = -1;
    bool m_skipping = false;    // the decoder skips unused frames now
    bool m_skippedSome = false; // it did so during this request

    // What the file says, read once at open().
    QVector<StreamKind> m_streams;
    int m_videoIndex = -1;
    QString m_undecodableFormat;
    double m_lengthSeconds = 0;
    double m_frameRate = 0;
    double m_captureRate = 0;
    double m_tolerance = 0; // timestamp rounding allowed when matching a time
    QSize m_displaySize;
    int m_rotation = 0;
    qint64 m_startTs = 0; // stream start in stream time-base units

    // Where decoding stands. `m_current` is the last frame taken from the
    // decoder in order, `m_lookahead` the one after it when already decoded.
    Decoded m_current;
    Decoded m_lookahead;
    bool m_atStart = false; // nothing read since the file was opened
    bool m_inputEnded = false;
    bool m_drainSent = false;
    bool m_interrupted = false;
    bool m_undecodable = false; // the whole stream was read without a frame
    double m_lastReturnedSeconds = -1;
    Stats m_stats;
};
