#include "platform/dialog_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace dialogfolders {

namespace {

QString &remembered(Kind kind)
{
    static QString folders[2];
    return folders[kind == Kind::Videos ? 0 : 1];
}

QString firstFolder(Kind kind)
{
    const QString folder = QStandardPaths::writableLocation(
        kind == Kind::Videos ? QStandardPaths::MoviesLocation : QStandardPaths::DocumentsLocation);
    // The standard place names a folder of the home folder whether it is
    // there or not.
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        return folder;
    return QDir::homePath();
}

} // namespace

QString startFolder(Kind kind)
{
    const QString &folder = remembered(kind);
    // A folder removed or unmounted since (a USB stick) is not offered.
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        return folder;
    return firstFolder(kind);
}

void remember(Kind kind, const QString &filePath)
{
    if (filePath.isEmpty())
        return;
    remembered(kind) = QFileInfo(filePath).absolutePath();
}

void forgetAll()
{
    remembered(Kind::Videos).clear();
    remembered(Kind::Measurements).clear();
}

} // namespace dialogfolders
