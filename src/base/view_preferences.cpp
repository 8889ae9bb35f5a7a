#include "base/view_preferences.h"

#include "base/app_paths.h"

#include <QDir>
#include <QSettings>

namespace viewprefs {

namespace {

const QString MagnifierKey = QStringLiteral("magnifier");

QString preferencesPath()
{
    return QDir(userConfigFolder()).filePath(QStringLiteral("view.ini"));
}

} // namespace

bool magnifierOn()
{
    if (userConfigFolder().isEmpty())
        return true;
    return QSettings(preferencesPath(), QSettings::IniFormat).value(MagnifierKey, true).toBool();
}

bool setMagnifierOn(bool on)
{
    if (userConfigFolder().isEmpty() || !QDir().mkpath(userConfigFolder()))
        return false;
    QSettings settings(preferencesPath(), QSettings::IniFormat);
    settings.setValue(MagnifierKey, on);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace viewprefs
