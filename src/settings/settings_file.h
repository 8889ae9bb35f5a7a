#pragma once
// The teacher's settings file: CR LF lines in Shift_JIS (CP932) — the
// password, then ResultDisplayMode, ResultKindMode, PrintPermission,
// DistanceMethod, ClickAction, AllPointsMode as " 0"-style numbers; an
// eighth line, TrackingPermission, follows them. Readers of the seven lines
// ignore what comes after them, and a file of seven lines gives tracking its
// default.

#include <QByteArray>
#include <QString>

struct MeasurementState;

// Defaults of a first start: password "qz47", every setting 0 except
// ClickAction and AllPointsMode, which are 1 (tracking allowed).
void applyDefaultSettings(MeasurementState &state);

enum class SettingsReadResult
{
    Missing,  // no file: defaults applied
    Complete, // all seven lines read (and the eighth when there is one)
    Repaired  // short, unreadable or out-of-range lines replaced by defaults
};

// Lines that read correctly are taken; every other value gets its default,
// so a damaged file never leaves an empty password or half the settings.
SettingsReadResult parseSettings(const QByteArray &content, MeasurementState &state);
SettingsReadResult readSettingsFile(const QString &path, MeasurementState &state);

QByteArray formatSettings(const MeasurementState &state);
// Replaces the file only once the new content is complete; false on failure.
bool writeSettingsFile(const QString &path, const MeasurementState &state);
