// Fuzz entry point for the measurement file reader: any bytes must give
// either a refusal with a message or data within the columns' ranges, and
// accepted data written again by the main window must read back the same.

#include "base/measurement_state.h"
#include "datafile/measurement_csv.h"

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

void checkRanges(const datafile::MeasurementFileData &data)
{
    if (data.rows.size() > datafile::MaxDataLines)
        fail("more rows than the table holds");
    for (const datafile::PointRow &row : data.rows) {
        if (row[0] < 0 || row[0] > MeasurementState::MaxPoints)
            fail("count out of range");
        for (int c = 2; c < MeasurementState::TableColumns; ++c)
            if (row[size_t(c)] < -32768 || row[size_t(c)] > 32767)
                fail("16-bit column out of range");
    }
    if (!data.rows.isEmpty()) {
        if (!(data.refLengthPixels >= 0) || std::isinf(data.refLengthPixels))
            fail("reference pixels negative or infinite");
        if (!(data.frameRate >= 0) || std::isinf(data.frameRate))
            fail("frame rate negative or infinite");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    if (size > size_t(datafile::MaxFileBytes))
        return 0;
    const QByteArray input(reinterpret_cast<const char *>(bytes), qsizetype(size));
    const datafile::MeasurementFileRead read = datafile::parseMeasurementCsv(input);
    if (!read.ok) {
        if (read.error.isEmpty())
            fail("refusal without a message");
        return 0;
    }
    checkRanges(read.data);

    // The main window writes PointCount rows: the round trip is exact when
    // the last count equals the number of rows.
    const datafile::MeasurementFileData &data = read.data;
    if (data.rows.isEmpty() || data.pointCount != data.rows.size())
        return 0;
    MeasurementState state;
    datafile::applyMeasurementFile(data, state);
    const datafile::MeasurementFileRead again =
        datafile::parseMeasurementCsv(datafile::mainWindowCsv(state));
    if (!again.ok)
        fail("a written file does not read back");
    if (again.data.rows != data.rows)
        fail("rows changed in the round trip");
    if (again.data.pointCount != data.pointCount ||
        again.data.refLengthValue != data.refLengthValue)
        fail("count or reference length changed in the round trip");
    // Seven significant digits for the single-precision length.
    const double pixels = data.refLengthPixels;
    if (std::fabs(double(again.data.refLengthPixels) - pixels) > 1e-6 * pixels)
        fail("reference pixels changed in the round trip");
    if (std::fabs(again.data.frameRate - data.frameRate) > 1e-13 * data.frameRate)
        fail("frame rate changed in the round trip");
    return 0;
}
