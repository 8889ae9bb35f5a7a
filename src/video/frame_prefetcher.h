#pragma once
// Decodes, on a thread of its own with a decoder of its own, the frames
// around the position on show into the frame cache: a few frames ahead
// first, then the keyframe interval behind in one pass from its keyframe
// (every frame decoded on the way is kept), then the rest ahead. Stepping either way then
// finds its picture ready.
//
// The thread never holds up the caller: showing() only records the new
// position. Work that no longer touches the stretch around it is dropped
// between two frames, and while the caller decodes a frame itself the thread
// waits between two frames, so that both do not share the processor.

#include "video/frame_cache.h"

#include <QSize>
#include <QString>

#include <condition_variable>
#include <mutex>
#include <thread>

class FfmpegFrameSource;

class FramePrefetcher
{
public:
    // The stretch kept around the position on show, in frames, within what
    // the cache can hold: `ahead` frames after it, and before it everything
    // from the keyframe before the `minBehind` frames just behind (at most
    // `maxBehind`; `behindWithoutIndex` in files without a keyframe index).
    struct Reach
    {
        int ahead = 30;
        int minBehind = 30;
        int maxBehind = 600;
        int behindWithoutIndex = 60;
    };

    // Starts the thread, which opens `path` itself with `decoderThreads`
    // decoder threads (0: one per core).
    FramePrefetcher(const QString &path, FrameCache &cache, Reach reach, int decoderThreads);
    // Stops the thread; it ends within one frame's decode.
    ~FramePrefetcher();
    FramePrefetcher(const FramePrefetcher &) = delete;
    FramePrefetcher &operator=(const FramePrefetcher &) = delete;

    // The caller shows `position` at `size`; `total` is the last position.
    void showing(qint32 position, QSize size, qint32 total);
    // While held, the thread waits before decoding its next frame.
    void hold(bool held);
    // The same for as long as the caller reads the frames in order itself.
    void pause(bool paused);
    // Waits until everything around the latest position is done (or can not
    // be done); false when `milliseconds` pass first.
    bool waitUntilIdle(int milliseconds);
    // Frames decoded by the thread so far.
    int framesDecoded() const;

private:
    struct Run
    {
        qint32 from = 0, to = -1;
        bool nearAhead = false; // the frames just after the position on show
        bool empty() const { return to < from; }
    };
    struct Target
    {
        qint32 position = -1;
        QSize size;
        qint32 total = 0;
        quint64 generation = 0;
    };

    void run();
    void work(FfmpegFrameSource &decoder);
    bool keepGoing(const Run &run, const QSize &size);
    Run nextRun(const Target &target) const;
    Run uncachedSpan(qint32 first, qint32 last, const QSize &size) const;
    bool nextFramesMissing();
    void windowFor(qint32 position, qint32 total, const QSize &size, qint32 &low,
                   qint32 &high) const;

    qint32 keyframeBefore(qint32 position) const;

    const QString m_path;
    FrameCache &m_cache;
    Reach m_reach;
    int m_decoderThreads;
    qint64 m_pictureBytes = 0;              // size of one picture, known after the first
    FfmpegFrameSource *m_decoder = nullptr; // the thread's own, while it runs

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    Target m_target;
    quint64 m_doneGeneration = 0;
    quint64 m_checkedGeneration = 0; // last position looked at for missing next frames
    bool m_stop = false;
    bool m_held = false;
    bool m_paused = false;
    int m_framesDecoded = 0;
    std::thread m_thread;
};
