#include "base/app_paths.h"

#include <QCoreApplication>

namespace {
QString &folderOverride()
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

QString settingsFilePath()
{
    return programFolder() + QStringLiteral("/kinmo.txt");
}

QString helpFilePath()
{
    return programFolder() + QStringLiteral("/kinhelp.html");
}
