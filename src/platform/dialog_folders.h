#pragma once
// Where the file dialogs start: in the folder of the last video opened, or
// of the last measurement file saved or loaded, during this run. Videos and
// measurement files are remembered apart. Before the first one, a video
// dialog starts in the user's video folder and a measurement dialog in the
// documents folder, each when it exists, otherwise in the home folder.

#include <QString>

namespace dialogfolders {

enum class Kind
{
    Videos,
    Measurements
};

QString startFolder(Kind kind);
// `filePath` was opened, saved or loaded: its folder is where the next
// dialog of that kind starts.
void remember(Kind kind, const QString &filePath);
// Back to the state of a new run (tests).
void forgetAll();

} // namespace dialogfolders
