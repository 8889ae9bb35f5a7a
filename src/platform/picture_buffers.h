#pragma once
// Pixel buffers for preview pictures, handed back for reuse when a picture is
// dropped. The frame cache drops and makes pictures of one size all the time,
// from two threads; going through the allocator each time scatters its heap,
// and the program's memory would creep up over a long video. A few spare
// buffers are kept; the rest go back to the allocator.

#include <cstddef>
#include <cstdint>

namespace picture_buffers {

// A buffer of `bytes` bytes, aligned to 64 bytes; null when out of memory.
uint8_t *acquire(size_t bytes);
// Gives back a buffer from acquire(); fits QImage's cleanup function.
void release(void *buffer);
// Spare buffers kept now, for tests.
int spareCount();

} // namespace picture_buffers
