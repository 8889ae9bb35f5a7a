#pragma once
// Open and save file dialogs. Filters use Qt's form:
// "キネモデータ(*.csv);;すべてのファイル (*)". An empty result means cancelled.
// Each dialog starts in `startFolder` (see dialog_folders.h for which).
// The save dialog does not ask about overwriting: callers ask through
// Prompts, in Japanese, so tests can answer.

#include <QString>

class FileDialogs
{
public:
    virtual ~FileDialogs() = default;
    virtual QString openFileName(const QString &title, const QString &filters,
                                 const QString &startFolder) = 0;
    virtual QString saveFileName(const QString &title, const QString &filters,
                                 const QString &defaultSuffix, const QString &startFolder) = 0;
};
