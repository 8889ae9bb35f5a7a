#include "base/app_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString kSettingsFileName = QStringLiteral("/kinmo.txt");
const QString kHelpFileName = QStringLiteral("/kinhelp.html");

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

QString &classFileOverride()
{
    static QString path;
    return path;
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

QString installedDataFolder()
{
    return QDir::cleanPath(programFolder() + QStringLiteral("/../share/kinemo"));
}

bool programIsInstalled()
{
    return QFileInfo(installedDataFolder()).isDir();
}

QString classSettingsFilePath()
{
    if (!classFileOverride().isEmpty())
        return classFileOverride();
    return QStringLiteral("/etc/kinemo") + kSettingsFileName;
}

void setClassSettingsFilePath(const QString &path)
{
    classFileOverride() = path;
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
    return programIsInstalled() ? classSettingsFilePath() : programFolder() + kSettingsFileName;
}

QString userSettingsFilePath()
{
    const QString folder = userConfigFolder();
    // Without a home folder there is no place of the user's own.
    return folder.isEmpty() ? QString() : folder + kSettingsFileName;
}

QString helpFilePath()
{
    const QString beside = programFolder() + kHelpFileName;
    const QString installed = installedDataFolder() + kHelpFileName;
    if (!QFileInfo::exists(beside) && QFileInfo::exists(installed))
        return installed;
    return beside;
}
