#pragma once
// What a teacher or the school's IT staff need to know when something goes
// wrong, as plain text to read or paste into a message: the program's
// version, the libraries it runs on, the system, the screen scale and the
// files the program uses.

#include <QString>

struct SystemFacts
{
    QString programVersion; // "2.0.0"
    qreal screenScale = 1;  // device pixels per logical pixel
    qreal logicalDpi = 96;
};

QString systemInfoText(const SystemFacts &facts);
