#include "settings/settings_file.h"

#include "base/app_paths.h"
#include "base/measurement_state.h"
#include "base/numbers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

constexpr int kLineCount = 7;
// Lines after the first seven: optional, a missing one takes its default.
constexpr int kLaterLines = 3;
const char *const kCodec = "CP932";

// The settings in file order: six lines that every file has, then the later ones.
template <typename State> auto settingSlot(State &state, int index)
{
    auto fields = {
        &state.ResultDisplayMode,  &state.ResultKindMode,       &state.PrintPermission,
        &state.DistanceMethod,     &state.ClickAction,          &state.AllPointsMode,
        &state.TrackingPermission, &state.ComponentsPermission, &state.PositionPermission};
    return fields.begin()[index];
}

QList<QByteArray> splitLines(const QByteArray &content)
{
    QList<QByteArray> lines = content.split('\n');
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast(); // the break after the last line ends it, it does not start one
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}

} // namespace

void applyDefaultSettings(MeasurementState &state)
{
    state.SettingsPassword = QStringLiteral("qz47");
    state.ResultDisplayMode = 0;
    state.ResultKindMode = 0;
    state.PrintPermission = 0;
    state.DistanceMethod = 0;
    state.ClickAction = 1;
    state.AllPointsMode = 1;
    state.TrackingPermission = 0;
    state.ComponentsPermission = 0;
    state.PositionPermission = 0;
}

SettingsReadResult parseSettings(const QByteArray &content, MeasurementState &state)
{
    MeasurementState defaults;
    applyDefaultSettings(defaults);
    const QList<QByteArray> lines = splitLines(content);
    bool complete = lines.size() >= kLineCount;

    QStringDecoder decode(kCodec);
    if (!lines.isEmpty()) {
        const QString password = decode(lines[0]);
        if (decode.hasError()) {
            state.SettingsPassword = defaults.SettingsPassword;
            complete = false;
        } else {
            state.SettingsPassword = password;
        }
    } else {
        state.SettingsPassword = defaults.SettingsPassword;
    }

    for (int i = 0; i < kLineCount - 1 + kLaterLines; ++i) {
        std::optional<qint16> value;
        if (i + 1 < lines.size())
            value = num::toInt16(num::settingsNumber(QString::fromLatin1(lines[i + 1])));
        if (!value) {
            value = *settingSlot(defaults, i);
            // An older file ends after its seven lines; that is no damage.
            if (i + 1 < kLineCount || i + 1 < lines.size())
                complete = false;
        }
        *settingSlot(state, i) = *value;
    }
    return complete ? SettingsReadResult::Complete : SettingsReadResult::Repaired;
}

SettingsReadResult readSettingsFile(const QString &path, MeasurementState &state)
{
    QFile file(path);
    if (!file.exists()) {
        applyDefaultSettings(state);
        return SettingsReadResult::Missing;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        applyDefaultSettings(state);
        return SettingsReadResult::Repaired;
    }
    // Nine short lines; anything much longer is not a settings file.
    return parseSettings(file.read(64 * 1024), state);
}

QByteArray formatSettings(const MeasurementState &state)
{
    QStringEncoder encode(kCodec);
    QByteArray out = encode(state.SettingsPassword);
    out += "\r\n";
    for (int i = 0; i < kLineCount - 1 + kLaterLines; ++i) {
        out += num::signedIntText(*settingSlot(state, i)).toLatin1();
        out += "\r\n";
    }
    return out;
}

bool writeSettingsFile(const QString &path, const MeasurementState &state)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray content = formatSettings(state);
    // The content is only buffered so far: a full disk shows when it is
    // flushed. commit() would flush it too, but it does not count a failure
    // there and would put the short file in place of the old one.
    if (file.write(content) != content.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QString settingsPathToRead()
{
    const QString own = userSettingsFilePath();
    if (!own.isEmpty() && QFileInfo::exists(own))
        return own;
    return settingsFilePath();
}

SettingsReadResult loadSettings(MeasurementState &state)
{
    return readSettingsFile(settingsPathToRead(), state);
}

namespace {

// What a start reads while the user has no file of their own: the shared
// file, or the defaults. Compared as read, not byte for byte, so that a file
// written by hand or by an older version (seven lines) counts as the same.
QByteArray sharedSettings()
{
    MeasurementState shared;
    readSettingsFile(settingsFilePath(), shared);
    return formatSettings(shared);
}

} // namespace

SettingsSaved saveSettings(const MeasurementState &state)
{
    const QString own = userSettingsFilePath();
    const bool hasOwn = !own.isEmpty() && QFileInfo::exists(own);
    QStringList places;
    // An installed program never writes to its class-wide file, not even
    // when an administrator runs it.
    if (!hasOwn && !programIsInstalled())
        places << settingsFilePath();
    if (!own.isEmpty())
        places << own;

    SettingsSaved saved;
    for (const QString &path : places) {
        if (path == own && !hasOwn && formatSettings(state) == sharedSettings()) {
            // Unchanged settings are not copied to the user's folder: the
            // user keeps following the class-wide file, should it change.
            saved.ok = true;
            saved.path = settingsFilePath();
            saved.failed.clear();
            return saved;
        }
        if (path == own)
            QDir().mkpath(QFileInfo(own).absolutePath());
        if (writeSettingsFile(path, state)) {
            saved.ok = true;
            saved.path = path;
            return saved;
        }
        saved.failed << path;
    }
    return saved;
}
