#pragma once
// Where the program keeps its own files: the help page lives in the
// program's folder; the settings file there or in the user's own
// configuration folder (see settings/settings_file.h for which is used); the
// recovery files in the user's own data folder.

#include <QString>

QString programFolder();
// Tests point the program folder at a temporary directory.
void setProgramFolder(const QString &folder);

// The user's own configuration folder (~/.config/キネモ on Linux). It need
// not exist yet.
QString userConfigFolder();
// Tests point it at a temporary directory, so that no test reads or writes
// the real one.
void setUserConfigFolder(const QString &folder);

// The user's own data folder (~/.local/share/キネモ on Linux), where the
// recovery files of unsaved measurements live. It need not exist yet.
QString userDataFolder();
// Tests point it at a temporary directory.
void setUserDataFolder(const QString &folder);
// <user's data folder>/recovery; empty without a home folder.
QString recoveryFolder();

QString settingsFilePath();     // <program folder>/kinmo.txt
QString userSettingsFilePath(); // <user's configuration folder>/kinmo.txt
QString helpFilePath();         // <program folder>/kinhelp.html
