#pragma once
// Qt's own texts in Japanese: the buttons and labels of the file dialog, the
// right-click menu of every text box ("元に戻す", "コピー", ...), the
// standard buttons. Every text of the program itself is Japanese, so Qt's
// are too, whatever language the desktop is set to.

class QCoreApplication;

// Installs Qt's Japanese translation (Debian's qt6-translations-l10n puts it
// in Qt's translations folder) and makes Japanese the default locale for
// Qt's widgets. False when the translation is not there: Qt's texts then
// stay English and the program works as before.
bool installJapaneseQtTexts(QCoreApplication &app);
