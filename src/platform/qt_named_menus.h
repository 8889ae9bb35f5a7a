#pragma once
// Menus and menu items carry their names as objectName, so that tests and
// the settings code find them the way the windows name them.

class QAction;
class QMenu;
class QMenuBar;
class QString;

QMenu *addNamedMenu(QMenuBar *bar, const char *name, const QString &title);
QAction *addNamedItem(QMenu *menu, const char *name, const QString &text);
