#pragma once
// The teacher's settings file: CR LF lines in Shift_JIS (CP932) — the
// password, then ResultDisplayMode, ResultKindMode, PrintPermission,
// DistanceMethod, ClickAction, AllPointsMode as " 0"-style numbers; an
// eighth line, TrackingPermission, a ninth, ComponentsPermission, and a
// tenth, PositionPermission, follow them. Readers of the seven lines ignore
// what comes after them, and a file of seven to nine lines gives the later
// settings their defaults.

#include <QByteArray>
#include <QString>
#include <QStringList>

struct MeasurementState;

// Defaults of a first start: password "qz47", every setting 0 except
// ClickAction and AllPointsMode, which are 1 (tracking and the components
// window allowed).
void applyDefaultSettings(MeasurementState &state);

enum class SettingsReadResult
{
    Missing,  // no file: defaults applied
    Complete, // all seven lines read (and the later ones that are there)
    Repaired  // short, unreadable or out-of-range lines replaced by defaults
};

// Lines that read correctly are taken; every other value gets its default,
// so a damaged file never leaves an empty password or half the settings.
SettingsReadResult parseSettings(const QByteArray &content, MeasurementState &state);
SettingsReadResult readSettingsFile(const QString &path, MeasurementState &state);

QByteArray formatSettings(const MeasurementState &state);
// Replaces the file only once the new content is complete; false on failure.
bool writeSettingsFile(const QString &path, const MeasurementState &state);

// Where the settings live. They are read from the user's own file
// (userSettingsFilePath) when it exists, otherwise from the shared file
// (settingsFilePath: beside the program in a build folder, /etc/kinemo for
// an installed program), where an administrator puts class-wide defaults,
// otherwise the defaults apply. A program in a build folder writes them
// beside itself when that works; otherwise, and always when installed, they
// go to the user's own file, but settings that are the same as what the next
// start reads anyway (the shared file, or the defaults) are then not written
// at all. Once the user has a file of their own, that is the file the next
// start reads, so it is the one written.
QString settingsPathToRead();
SettingsReadResult loadSettings(MeasurementState &state);

struct SettingsSaved
{
    bool ok = false;
    QString path;       // where they went
    QStringList failed; // where writing was tried and failed, in order
};
SettingsSaved saveSettings(const MeasurementState &state);
