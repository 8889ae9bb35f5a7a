#include "video/frame_prefetcher.h"

#include "platform/ffmpeg_frame_source.h"

#include <algorithm>
#include <cmath>

namespace {

// Frames just ahead are decoded before the stretch behind, and a new
// position whose next frames are missing interrupts work on the stretch
// behind: the next steps forward must not wait for a whole keyframe interval.
constexpr int NextFrames = 2; // missing ones interrupt
constexpr int NearAhead = 15; // then decoded at once

} // namespace

FramePrefetcher::FramePrefetcher(const QString &path, FrameCache &cache, Reach reach,
                                 int decoderThreads)
    : m_path(path), m_cache(cache), m_reach(reach), m_decoderThreads(decoderThreads)
{
    m_thread = std::thread(&FramePrefetcher::run, this);
}

FramePrefetcher::~FramePrefetcher()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void FramePrefetcher::showing(qint32 position, QSize size, qint32 total)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_target.position = position;
        m_target.size = size;
        m_target.total = total;
        ++m_target.generation;
    }
    m_wake.notify_all();
}

void FramePrefetcher::hold(bool held)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_held = held;
    }
    m_wake.notify_all();
}

void FramePrefetcher::pause(bool paused)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_paused = paused;
    }
    m_wake.notify_all();
}

bool FramePrefetcher::waitUntilIdle(int milliseconds)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_idle.wait_for(lock, std::chrono::milliseconds(milliseconds),
                           [this] { return m_stop || m_target.generation == m_doneGeneration; });
}

int FramePrefetcher::framesDecoded() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_framesDecoded;
}

void FramePrefetcher::run()
{
    FfmpegFrameSource decoder;
    decoder.setCancelCheck([this] {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_stop;
    });
    decoder.setDecoderThreads(m_decoderThreads);
    if (!decoder.open(m_path) || !decoder.hasVideo()) {
        // Nothing can be decoded ahead; the caller decodes on its own.
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
        m_idle.notify_all();
        return;
    }
    m_decoder = &decoder;
    work(decoder);
    m_decoder = nullptr;
}

void FramePrefetcher::work(FfmpegFrameSource &decoder)
{
    Run current;
    QSize size;
    // Also asked inside a long decode from a keyframe: a position whose next
    // frames are missing stops work on the stretch behind even there.
    bool stopped = false;
    decoder.setCancelCheck([&] {
        stopped = !keepGoing(current, size) || (!current.nearAhead && nextFramesMissing());
        return stopped;
    });
    for (;;) {
        Target target;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [this] {
                return m_stop ||
                       (m_target.position >= 0 && m_target.generation != m_doneGeneration);
            });
            if (m_stop)
                return;
            target = m_target;
        }
        current = nextRun(target);
        size = target.size;
        bool done = current.empty();
        stopped = false;
        for (qint32 position = current.from; position <= current.to; ++position) {
            if (!keepGoing(current, size) || (!current.nearAhead && nextFramesMissing()))
                break;
            if (m_cache.contains(position, size))
                continue; // the caller decoded it meanwhile
            const QImage image = decoder.frame(position, size);
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_framesDecoded = decoder.stats().framesDecoded;
            }
            if (stopped)
                break;
            if (image.isNull()) {
                // A frame that cannot be decoded: leave it to the caller
                // rather than trying again and again.
                done = true;
                break;
            }
            m_pictureBytes = FrameCache::costOf(image);
            // The cache refuses it when nearer pictures fill it already.
            if (!m_cache.insert(position, size, {image, decoder.lastFrameSeconds()})) {
                done = true;
                break;
            }
        }
        if (done) {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_target.generation == target.generation) {
                m_doneGeneration = target.generation;
                m_idle.notify_all();
            }
        }
    }
}

// Asked between frames: waits while the caller decodes, and tells whether
// the run is still worth finishing for the position on show now.
bool FramePrefetcher::keepGoing(const Run &run, const QSize &size)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_wake.wait(lock, [this] { return m_stop || (!m_held && !m_paused); });
    if (m_stop || m_target.size != size)
        return false;
    qint32 low, high;
    windowFor(m_target.position, m_target.total, size, low, high);
    return run.from <= high && run.to >= low;
}

// The stretch kept around `position`, within what the cache can hold.
void FramePrefetcher::windowFor(qint32 position, qint32 total, const QSize &size, qint32 &low,
                                qint32 &high) const
{
    // Until the first picture tells, a picture is taken as 4 bytes a pixel.
    const qint64 picture = std::max<qint64>(
        1, m_pictureBytes ? m_pictureBytes : qint64(size.width()) * size.height() * 4);
    const qint64 room = std::max<qint64>(1, m_cache.limitBytes() / picture);
    const qint64 ahead = std::min<qint64>(m_reach.ahead, room / 4);
    const qint64 mostBehind =
        std::clamp<qint64>(room - ahead - 1, 0, std::max(0, m_reach.maxBehind));
    const qint32 keyframe = keyframeBefore(std::max(0, position - m_reach.minBehind));
    const qint64 behind = keyframe >= 0 ? position - keyframe : m_reach.behindWithoutIndex;
    low = qint32(std::max<qint64>(0, position - std::min(behind, mostBehind)));
    high = qint32(std::min<qint64>(total, position + ahead));
}

// Position of the keyframe at or before `position` (a frame or two early
// with B-frames), -1 when the file has no index.
qint32 FramePrefetcher::keyframeBefore(qint32 position) const
{
    const double rate = m_decoder ? m_decoder->frameRate() : 0;
    if (rate <= 0)
        return -1;
    const double seconds = m_decoder->keyframeAtOrBefore(position / rate);
    if (seconds < 0)
        return -1;
    return std::min(position, qint32(std::floor(seconds * rate)));
}

FramePrefetcher::Run FramePrefetcher::nextRun(const Target &target) const
{
    qint32 low, high;
    windowFor(target.position, target.total, target.size, low, high);
    const qint32 p = target.position;
    Run near = uncachedSpan(p, std::min(high, p + NearAhead), target.size);
    near.nearAhead = true;
    if (!near.empty())
        return near;
    const Run behind = uncachedSpan(low, p - 1, target.size);
    if (!behind.empty())
        return behind;
    return uncachedSpan(p, high, target.size);
}

// From the first position not in the cache between first and last to the
// last one: decoding goes through in one pass, passing over the positions
// held (a seek for each gap would cost a decode from its keyframe).
FramePrefetcher::Run FramePrefetcher::uncachedSpan(qint32 first, qint32 last,
                                                   const QSize &size) const
{
    Run run;
    run.from = first;
    while (run.from <= last && m_cache.contains(run.from, size))
        ++run.from;
    run.to = last;
    while (run.to >= run.from && m_cache.contains(run.to, size))
        --run.to;
    return run;
}

// Whether the position on show now misses one of its next frames.
bool FramePrefetcher::nextFramesMissing()
{
    Target target;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_target.generation == m_checkedGeneration)
            return false;
        m_checkedGeneration = m_target.generation;
        target = m_target;
    }
    const qint32 last = std::min(target.total, target.position + NextFrames);
    return !uncachedSpan(target.position, last, target.size).empty();
}
