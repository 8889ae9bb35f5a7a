#pragma once
// Where the program keeps its own files. Run from a build folder, its help
// page and shared settings file are beside it. Installed under <prefix>/bin,
// its files are in <prefix>/share/kinemo, the class-wide settings in
// /etc/kinemo, and it writes only to the user's own configuration folder
// (see settings/settings_file.h for which settings file is used). The
// recovery files of unsaved measurements live in the user's own data folder.

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

// <program folder>/../share/kinemo; the program counts as installed when
// that folder exists.
QString installedDataFolder();
bool programIsInstalled();

// The class-wide settings an administrator places for every user of an
// installed program: /etc/kinemo/kinmo.txt. Tests point it elsewhere.
QString classSettingsFilePath();
void setClassSettingsFilePath(const QString &path);

// The shared settings file: <program folder>/kinmo.txt in a build folder,
// classSettingsFilePath() for an installed program.
QString settingsFilePath();
QString userSettingsFilePath(); // <user's configuration folder>/kinmo.txt

// The user's own data folder (~/.local/share/キネモ on Linux), where the
// recovery files of unsaved measurements live. It need not exist yet.
QString userDataFolder();
// Tests point it at a temporary directory.
void setUserDataFolder(const QString &folder);
// <user's data folder>/recovery; empty without a home folder.
QString recoveryFolder();

// kinhelp.html beside the program, else in the installed data folder; the
// one beside the program when neither exists.
QString helpFilePath();
