// Fuzz entry point for the recovery file reader: any bytes must give either
// a refusal with a message or a whole measurement within the columns'
// ranges, and an accepted measurement written again must read back the same.
// Nearly every change breaks the file's digest; each input is therefore
// read a second time with its digest made anew, so that the checks behind
// it are reached.

#include "datafile/recovery_file.h"
#include "resealed_input.h"

#include <QByteArray>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void fail(const char *what)
{
    std::fprintf(stderr, "recovery file property broken: %s\n", what);
    std::abort();
}

void check(const QByteArray &input)
{
    const recovery::Read read = recovery::decode(input);
    if (!read.ok) {
        if (read.error.isEmpty())
            fail("refusal without a message");
        return;
    }
    const recovery::Snapshot &s = read.snapshot;
    if (s.pointCount < 1 || s.pointCount > MeasurementState::MaxPoints ||
        s.rows.size() != s.pointCount)
        fail("point count out of range or not the number of rows");
    if (!(s.frameRate >= 0) || std::isinf(s.frameRate) || !(s.videoFrameRate >= 0) ||
        std::isinf(s.videoFrameRate))
        fail("a frame rate negative or infinite");
    if (!(s.refLengthPixels >= 0) || std::isinf(s.refLengthPixels))
        fail("reference pixels negative or infinite");

    const recovery::Read again = recovery::decode(recovery::encode(s));
    if (!again.ok)
        fail("a written file does not read back");
    if (again.snapshot != s)
        fail("the measurement changed in the round trip");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    return checkAsIsAndResealed(bytes, size, recovery::MaxFileBytes, check);
}
