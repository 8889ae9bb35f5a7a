#pragma once
// Where the program keeps its own files: the settings file and the help page
// live in the program's folder.

#include <QString>

QString programFolder();
// Tests point the program folder at a temporary directory.
void setProgramFolder(const QString &folder);

QString settingsFilePath(); // <program folder>/kinmo.txt
QString helpFilePath();     // <program folder>/kinhelp.html
