#include "base/app_paths.h"

#include <QCoreApplication>
#include <QStandardPaths>

namespace {

const QString kSettingsFileName = QStringLiteral("/kinmo.txt");

QString &folderOverride()
{
    static QString folder;
    return folder;
}

QString &configOverride()
{
    static QString folder;
    return folder;
}

QString &dataOverride()
{
    static QString folder;
    return folder;
}

} // namespace

QString programFolder()
{
    if (!folderOverride().isEmpty())
        return folderOverride();
    return QCoreApplication::applicationDirPath();
}

void setProgramFolder(const QString &folder)
{
    folderOverride() = folder;
}

QString userConfigFolder()
{
    if (!configOverride().isEmpty())
        return configOverride();
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

void setUserConfigFolder(const QString &folder)
{
    configOverride() = folder;
}

QString userDataFolder()
{
    if (!dataOverride().isEmpty())
        return dataOverride();
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

void setUserDataFolder(const QString &folder)
{
    dataOverride() = folder;
}

QString recoveryFolder()
{
    const QString folder = userDataFolder();
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/recovery");
}

QString settingsFilePath()
{
    return programFolder() + kSettingsFileName;
}

QString userSettingsFilePath()
{
    const QString folder = userConfigFolder();
    // Without a home folder there is no place of the user's own.
    return folder.isEmpty() ? QString() : folder + kSettingsFileName;
}

QString helpFilePath()
{
    return programFolder() + QStringLiteral("/kinhelp.html");
}
