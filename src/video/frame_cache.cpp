#include "video/frame_cache.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <limits>

FrameCache::FrameCache(qint64 limitBytes) : m_limit(std::max<qint64>(0, limitBytes)) {}

void FrameCache::setLimitBytes(qint64 bytes)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_limit = std::max<qint64>(0, bytes);
    evictDownTo(m_limit);
}

qint64 FrameCache::limitBytes() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_limit;
}

qint64 FrameCache::bytes() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_bytes;
}

int FrameCache::count() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return int(m_pictures.size());
}

void FrameCache::setCenter(qint32 position, QSize size)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_center = position;
    m_centerSize = size;
}

QSize FrameCache::centerSize() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_centerSize;
}

bool FrameCache::find(qint32 position, QSize size, Picture &out) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_pictures.find(keyOf(position, size));
    if (it == m_pictures.end())
        return false;
    out = it->second;
    return true;
}

bool FrameCache::contains(qint32 position, QSize size) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_pictures.count(keyOf(position, size)) > 0;
}

bool FrameCache::insert(qint32 position, QSize size, const Picture &picture)
{
    const qint64 cost = costOf(picture.image);
    const Key key = keyOf(position, size);
    std::lock_guard<std::mutex> lock(m_mutex);
    if (picture.image.isNull() || cost > m_limit)
        return false;
    const auto existing = m_pictures.find(key);
    if (existing != m_pictures.end()) {
        m_bytes -= costOf(existing->second.image);
        m_pictures.erase(existing);
    }
    const qint64 distance = distanceOf(key);
    while (m_bytes + cost > m_limit) {
        const auto victim = farthest();
        // A picture farther out than everything held is not worth the room.
        if (distanceOf(victim->first) <= distance)
            return false;
        m_bytes -= costOf(victim->second.image);
        m_pictures.erase(victim);
    }
    m_pictures.emplace(key, picture);
    m_bytes += cost;
    return true;
}

void FrameCache::clear()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pictures.clear();
    m_bytes = 0;
}

qint64 FrameCache::costOf(const QImage &image)
{
    return image.sizeInBytes();
}

// Pictures of another size than the one on show are farther than any.
qint64 FrameCache::distanceOf(const Key &key) const
{
    if (std::get<0>(key) != m_centerSize.width() || std::get<1>(key) != m_centerSize.height())
        return std::numeric_limits<qint64>::max();
    return std::abs(qint64(std::get<2>(key)) - m_center);
}

// The first picture to go; the map must not be empty.
FrameCache::Map::iterator FrameCache::farthest()
{
    const auto first = m_pictures.begin();
    if (distanceOf(first->first) == std::numeric_limits<qint64>::max())
        return first;
    const auto last = std::prev(m_pictures.end());
    if (distanceOf(last->first) == std::numeric_limits<qint64>::max())
        return last;
    // Pictures of the size on show sort by position between those of other
    // sizes, so the farthest of them is at one end of their stretch.
    const Key from = keyOf(std::numeric_limits<qint32>::min(), m_centerSize);
    const Key to = keyOf(std::numeric_limits<qint32>::max(), m_centerSize);
    const auto low = m_pictures.lower_bound(from);
    const auto high = std::prev(m_pictures.upper_bound(to));
    return distanceOf(low->first) >= distanceOf(high->first) ? low : high;
}

void FrameCache::evictDownTo(qint64 bytes)
{
    while (m_bytes > bytes && !m_pictures.empty()) {
        const auto victim = farthest();
        m_bytes -= costOf(victim->second.image);
        m_pictures.erase(victim);
    }
}
