#include "app/dropped_video.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

QString droppedVideoPath(const QMimeData &data)
{
    if (!data.hasUrls())
        return {};
    const QList<QUrl> urls = data.urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return {};
    const QString path = urls.first().toLocalFile();
    if (!QFileInfo(path).isFile())
        return {};
    return path;
}
