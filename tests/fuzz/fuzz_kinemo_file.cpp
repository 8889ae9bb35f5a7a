// Fuzz entry point for the measurement file (.kinemo) reader, the recovery
// file's format with several objects and their masses: any bytes must give
// either a refusal with a message or a whole measurement whose every object
// lies within the table, and an accepted one written again must read back
// the same. As for the recovery file, each input is read a second time with
// its digest made anew, so that the checks behind the digest are reached.

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
    std::fprintf(stderr, "measurement file property broken: %s\n", what);
    std::abort();
}

void check(const QByteArray &input)
{
    const recovery::Read read = recovery::decode(input);
    if (!read.ok) {
        if (read.error.isEmpty())
            fail("refusal without a message");
        if (!read.snapshot.empty())
            fail("points kept from a refused file");
        return;
    }
    const recovery::Snapshot &s = read.snapshot;
    if (s.empty() || s.chosenObject < 0 || s.chosenObject >= MeasurementState::MaxObjects)
        fail("no points, or no such object chosen");
    if (s.rows.size() != s.pointCount || s.pointCount > MeasurementState::MaxPoints)
        fail("the chosen object's count is not its rows");
    for (int object = 0; object < MeasurementState::MaxObjects; ++object) {
        const recovery::ObjectRows &other = s.others[object];
        if (other.rows.size() != other.pointCount || other.pointCount < 0 ||
            other.pointCount > MeasurementState::MaxPoints)
            fail("an object's count is not its rows");
        if (object == s.chosenObject && other.pointCount != 0)
            fail("the chosen object also among the others");
        if (!(s.masses[object] >= 0) || std::isinf(s.masses[object]))
            fail("a mass negative or infinite");
    }
    const recovery::Read again = recovery::decode(recovery::encode(s, read.kind));
    if (!again.ok || again.kind != read.kind)
        fail("a written file does not read back");
    if (again.snapshot != s)
        fail("the measurement changed in the round trip");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    return checkAsIsAndResealed(bytes, size, recovery::MaxFileBytes, check);
}
