#pragma once
// The desktop's clipboard, for what the user pastes elsewhere: a result
// table into a spreadsheet, a strobe picture into a document.

#include <QImage>
#include <QString>

class Clipboard
{
public:
    virtual ~Clipboard() = default;
    virtual void setText(const QString &text) = 0;
    virtual void setImage(const QImage &image) = 0;
};
