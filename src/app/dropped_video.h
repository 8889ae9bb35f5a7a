#pragma once
// What a drop onto the main window offers to open: the path of exactly one
// local file. Several files, folders, web addresses and plain text are not
// taken, so that a drop never opens something the user did not mean.

#include <QString>

class QMimeData;

// The local file's path, or empty when the drop is not one local file.
QString droppedVideoPath(const QMimeData &data);
