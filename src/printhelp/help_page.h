#pragma once
// The help page "kinhelp.html" beside the program, shown in the desktop's
// web browser. A missing page or a browser that cannot start is reported in a
// message box; the program carries on.

#include <QString>

// Opens the help page; false (after telling the user) when it could not.
bool openHelpPage();

namespace helptexts {
QString missing(const QString &path);
QString noBrowser(const QString &path);
} // namespace helptexts
