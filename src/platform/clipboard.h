#pragma once
// The desktop's clipboard, for text that the user pastes elsewhere (a
// result table into a spreadsheet).

#include <QString>

class Clipboard
{
public:
    virtual ~Clipboard() = default;
    virtual void setText(const QString &text) = 0;
};
