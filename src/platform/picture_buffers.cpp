#include "platform/picture_buffers.h"

#include <mutex>
#include <vector>

extern "C" {
#include <libavutil/mem.h>
}

namespace picture_buffers {

namespace {

// The size is kept in front of the pixels, one alignment unit ahead.
constexpr size_t Header = 64;
constexpr int MaxSpare = 16;

// Set when the pool is gone at exit: a picture dropped after that frees its
// buffer at once.
bool g_poolGone = false;

struct Spares
{
    std::mutex mutex;
    std::vector<uint8_t *> buffers; // starts of blocks, header included
    // The spares still kept at exit go back to the allocator.
    ~Spares()
    {
        g_poolGone = true;
        for (uint8_t *block : buffers)
            av_free(block);
    }
};

Spares &spares()
{
    static Spares instance;
    return instance;
}

size_t sizeOf(const uint8_t *block)
{
    return *reinterpret_cast<const size_t *>(block);
}

} // namespace

uint8_t *acquire(size_t bytes)
{
    Spares &pool = spares();
    {
        std::lock_guard<std::mutex> lock(pool.mutex);
        for (auto it = pool.buffers.begin(); it != pool.buffers.end(); ++it) {
            if (sizeOf(*it) == bytes) {
                uint8_t *block = *it;
                pool.buffers.erase(it);
                return block + Header;
            }
        }
    }
    auto *block = static_cast<uint8_t *>(av_malloc(Header + bytes));
    if (!block)
        return nullptr;
    *reinterpret_cast<size_t *>(block) = bytes;
    return block + Header;
}

void release(void *buffer)
{
    if (!buffer)
        return;
    if (g_poolGone) {
        av_free(static_cast<uint8_t *>(buffer) - Header);
        return;
    }
    uint8_t *dropped = nullptr;
    {
        Spares &pool = spares();
        std::lock_guard<std::mutex> lock(pool.mutex);
        // Full of spares: the oldest goes, so that after a change of picture
        // size no buffers of the old size stay behind for good.
        if (int(pool.buffers.size()) >= MaxSpare) {
            dropped = pool.buffers.front();
            pool.buffers.erase(pool.buffers.begin());
        }
        pool.buffers.push_back(static_cast<uint8_t *>(buffer) - Header);
    }
    av_free(dropped);
}

int spareCount()
{
    Spares &pool = spares();
    std::lock_guard<std::mutex> lock(pool.mutex);
    return int(pool.buffers.size());
}

} // namespace picture_buffers
