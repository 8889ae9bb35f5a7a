// Fuzz entry point for the settings file reader: any bytes give a password
// and six settings; those, written again, read back complete and unchanged.

#include "base/measurement_state.h"
#include "settings/settings_file.h"

#include <QByteArray>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void fail(const char *what)
{
    std::fprintf(stderr, "settings file property broken: %s\n", what);
    std::abort();
}

bool sameSettings(const MeasurementState &a, const MeasurementState &b)
{
    return a.SettingsPassword == b.SettingsPassword && a.ResultDisplayMode == b.ResultDisplayMode &&
           a.ResultKindMode == b.ResultKindMode && a.PrintPermission == b.PrintPermission &&
           a.DistanceMethod == b.DistanceMethod && a.ClickAction == b.ClickAction &&
           a.AllPointsMode == b.AllPointsMode;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    // The reader takes at most 64 KiB of a file.
    if (size > 64 * 1024)
        return 0;
    const QByteArray input(reinterpret_cast<const char *>(bytes), qsizetype(size));
    MeasurementState state;
    const SettingsReadResult result = parseSettings(input, state);
    if (result == SettingsReadResult::Missing)
        fail("content read as a missing file");

    MeasurementState again;
    const QByteArray written = formatSettings(state);
    if (parseSettings(written, again) != SettingsReadResult::Complete)
        fail("written settings do not read back complete");
    if (!sameSettings(state, again))
        fail("settings changed in the round trip");
    return 0;
}
