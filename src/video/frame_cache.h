#pragma once
// Preview pictures already decoded and scaled, by slider position and size,
// held within a byte budget whatever the length of the video. When the budget
// is full, the pictures farthest from the position on show go first, so the
// stretch around it (where the next steps go) stays.
//
// Safe to use from several threads: the user interface reads and writes it,
// the background decoder fills it.

#include <QImage>
#include <QSize>
#include <QtGlobal>

#include <map>
#include <mutex>
#include <tuple>

class FrameCache
{
public:
    static constexpr qint64 DefaultLimitBytes = qint64(256) * 1024 * 1024;

    struct Picture
    {
        QImage image;
        double seconds = -1; // time of the frame shown, relative to the stream start
    };

    explicit FrameCache(qint64 limitBytes = DefaultLimitBytes);

    // Lowering the budget drops pictures at once.
    void setLimitBytes(qint64 bytes);
    qint64 limitBytes() const;
    // Bytes of all pictures held; never more than the budget.
    qint64 bytes() const;
    int count() const;

    // The position and size on show; distances for eviction are measured
    // from it, and pictures of another size go before any of this size.
    void setCenter(qint32 position, QSize size);
    QSize centerSize() const;

    bool find(qint32 position, QSize size, Picture &out) const;
    bool contains(qint32 position, QSize size) const;
    // Keeps the picture unless it would be the first to go (it is farther
    // than everything held and the budget is full). False when not kept.
    bool insert(qint32 position, QSize size, const Picture &picture);
    void clear();

    // Bytes a picture of this size takes.
    static qint64 costOf(const QImage &image);

private:
    using Key = std::tuple<int, int, qint32>; // width, height, position
    using Map = std::map<Key, Picture>;

    static Key keyOf(qint32 position, QSize size)
    {
        return {size.width(), size.height(), position};
    }
    Map::iterator farthest();
    qint64 distanceOf(const Key &key) const;
    void evictDownTo(qint64 bytes);

    mutable std::mutex m_mutex;
    Map m_pictures;
    qint64 m_limit;
    qint64 m_bytes = 0;
    qint32 m_center = 0;
    QSize m_centerSize;
};
