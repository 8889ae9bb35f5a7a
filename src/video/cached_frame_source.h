#pragma once
// The frame source the preview uses: the FFmpeg frame source with a cache of
// preview pictures in front of it and a background decoder that fills the
// cache around the position on show. A picture found in the cache costs no
// decoding; one that is not there is decoded at once on this thread (with the
// decoder's own threads), and the background decoder then fills the frames
// just ahead and the keyframe interval just behind.
//
// Every picture is the one the FFmpeg frame source gives for that position,
// whichever way it was made.

#include "platform/ffmpeg_frame_source.h"
#include "video/frame_cache.h"
#include "video/frame_prefetcher.h"

#include <memory>

class CachedFrameSource : public FrameSource
{
public:
    struct Counters
    {
        int hits = 0;   // pictures answered from the cache
        int misses = 0; // pictures decoded on the caller's thread
    };

    CachedFrameSource();
    ~CachedFrameSource() override;
    CachedFrameSource(const CachedFrameSource &) = delete;
    CachedFrameSource &operator=(const CachedFrameSource &) = delete;

    bool open(const QString &path) override;
    void close() override;
    QString path() const override { return m_front.path(); }

    QVector<StreamKind> streams() const override { return m_front.streams(); }
    QString undecodableFormat() const override { return m_front.undecodableFormat(); }
    double streamLengthSeconds() const override { return m_front.streamLengthSeconds(); }
    double frameRate() const override { return m_front.frameRate(); }
    double captureRate() const override { return m_front.captureRate(); }
    QSize displaySize() const override { return m_front.displaySize(); }
    int rotationDegrees() const override { return m_front.rotationDegrees(); }

    QImage frame(qint32 index, QSize size) override;
    // Decoded on this thread and not kept: the pictures kept and the stretch
    // the background decoder fills stay those of the preview. The preview's
    // picture of the same frame is kept on the way, for the cost of its
    // scaling, so that neither the preview nor the background decoder
    // decodes that frame again.
    QImage fullFrame(qint32 index) override;
    void setReadingInOrder(bool on) override;
    // A time that is no slider position is decoded directly, past the cache.
    QImage frameAtTime(double seconds, QSize size) override;
    double lastFrameSeconds() const override { return m_lastSeconds; }

    // Budget of the cache from the next open() on (videos larger than full
    // HD get at most 128 MiB, to leave room for their decoders).
    void setCacheLimitBytes(qint64 bytes) { m_cacheLimit = bytes; }

    // For tests and measurements.
    const FrameCache &cache() const { return m_cache; }
    // Whether the next open() starts the background decoder (on by default).
    void setBackgroundDecoding(bool on) { m_background = on; }
    void setReach(FramePrefetcher::Reach reach) { m_reach = reach; }
    // Waits until the background decoder has done what it can around the
    // position on show; true at once without one.
    bool waitUntilIdle(int milliseconds);
    int backgroundFramesDecoded() const;
    const Counters &counters() const { return m_counters; }
    const FfmpegFrameSource &foreground() const { return m_front; }

private:
    FfmpegFrameSource m_front;
    FrameCache m_cache;
    // Declared after the cache it fills, so that it stops first.
    std::unique_ptr<FramePrefetcher> m_prefetcher;
    FramePrefetcher::Reach m_reach;
    qint64 m_cacheLimit = FrameCache::DefaultLimitBytes;
    bool m_background = true;
    double m_lastSeconds = -1;
    Counters m_counters;
};
