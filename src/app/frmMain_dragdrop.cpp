// Dropping a video file onto the main window opens it as the open command
// does once its dialog has given a file: the same checks, the same messages.

#include "app/dropped_video.h"
#include "app/frmMain.h"
#include "video/video_part.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>

void frmMain::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData() && !droppedVideoPath(*event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void frmMain::dropEvent(QDropEvent *event)
{
    const QString path = event->mimeData() ? droppedVideoPath(*event->mimeData()) : QString();
    // The file may have gone between the drag and the drop.
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // The drag's source waits for the drop to finish; a message box shown
    // from inside the drop would hold it, so the file is opened afterwards.
    QMetaObject::invokeMethod(
        this, [this, path] { m_video->openVideoFile(path); }, Qt::QueuedConnection);
}
