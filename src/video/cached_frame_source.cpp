#include "video/cached_frame_source.h"

#include <algorithm>

namespace {

constexpr qint64 LargePicturePixels = 1920 * 1088;
// Pictures larger than full HD take two decoders of 100-200 MiB each; with a
// smaller cache the program stays within 512 MiB. It still holds more than
// a phone's keyframe interval of previews.
constexpr qint64 LargeVideoCacheBytes = qint64(128) * 1024 * 1024;

// Keeps the background decoder waiting while the caller decodes.
class Hold
{
public:
    explicit Hold(FramePrefetcher *prefetcher) : m_prefetcher(prefetcher)
    {
        if (m_prefetcher)
            m_prefetcher->hold(true);
    }
    ~Hold()
    {
        if (m_prefetcher)
            m_prefetcher->hold(false);
    }
    Hold(const Hold &) = delete;
    Hold &operator=(const Hold &) = delete;

private:
    FramePrefetcher *m_prefetcher;
};

} // namespace

CachedFrameSource::CachedFrameSource() = default;

CachedFrameSource::~CachedFrameSource()
{
    m_prefetcher.reset();
}

bool CachedFrameSource::open(const QString &path)
{
    close();
    if (!m_front.open(path))
        return false;
    const QSize picture = m_front.displaySize();
    const bool large = qint64(picture.width()) * picture.height() > LargePicturePixels;
    m_cache.setLimitBytes(large ? std::min(m_cacheLimit, LargeVideoCacheBytes) : m_cacheLimit);
    if (m_background && m_front.hasVideo() && m_front.frameRate() > 0) {
        // The background decoder uses the cores while the caller does not
        // decode (it waits meanwhile), except on pictures larger than full
        // HD: each decoder thread holds pictures of its own, and two such
        // decoders beside the cache would take too much memory.
        m_prefetcher = std::make_unique<FramePrefetcher>(path, m_cache, m_reach, large ? 1 : 0);
    }
    return true;
}

void CachedFrameSource::close()
{
    m_prefetcher.reset();
    m_cache.clear();
    m_front.close();
    m_lastSeconds = -1;
    m_counters = Counters();
}

QImage CachedFrameSource::frame(qint32 index, QSize size)
{
    if (size.isEmpty() || frameRate() <= 0)
        return {};
    // Every position past the last frame shows the last one, and every
    // position before the start the first.
    const qint32 position = std::clamp<qint32>(index, 0, frameCount());
    m_cache.setCenter(position, size);
    FrameCache::Picture picture;
    if (m_cache.find(position, size, picture)) {
        ++m_counters.hits;
    } else {
        ++m_counters.misses;
        Hold hold(m_prefetcher.get());
        picture.image = m_front.frame(position, size);
        picture.seconds = m_front.lastFrameSeconds();
        if (!picture.image.isNull())
            m_cache.insert(position, size, picture);
    }
    if (m_prefetcher)
        m_prefetcher->showing(position, size, frameCount());
    if (picture.image.isNull())
        return {};
    m_lastSeconds = picture.seconds;
    return picture.image;
}

QImage CachedFrameSource::fullFrame(qint32 index)
{
    if (frameRate() <= 0)
        return {};
    const qint32 position = std::clamp<qint32>(index, 0, frameCount());
    Hold hold(m_prefetcher.get());
    const QImage image = m_front.frame(position, displaySize());
    if (image.isNull())
        return {};
    const double seconds = m_front.lastFrameSeconds();
    const QSize shown = m_cache.centerSize();
    if (!shown.isEmpty() && shown != displaySize() && !m_cache.contains(position, shown)) {
        const QImage preview = m_front.frame(position, shown);
        if (!preview.isNull())
            m_cache.insert(position, shown, {preview, m_front.lastFrameSeconds()});
    }
    m_lastSeconds = seconds;
    return image;
}

void CachedFrameSource::setReadingInOrder(bool on)
{
    if (m_prefetcher)
        m_prefetcher->pause(on);
}

QImage CachedFrameSource::frameAtTime(double seconds, QSize size)
{
    Hold hold(m_prefetcher.get());
    const QImage image = m_front.frameAtTime(seconds, size);
    if (!image.isNull())
        m_lastSeconds = m_front.lastFrameSeconds();
    return image;
}

bool CachedFrameSource::waitUntilIdle(int milliseconds)
{
    return !m_prefetcher || m_prefetcher->waitUntilIdle(milliseconds);
}

int CachedFrameSource::backgroundFramesDecoded() const
{
    return m_prefetcher ? m_prefetcher->framesDecoded() : 0;
}
