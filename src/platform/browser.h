#pragma once
// The desktop's web browser, which shows the help page.

#include <QString>

class Browser
{
public:
    virtual ~Browser() = default;
    // Opens a local file; false when no browser could be started. Does not
    // wait for the browser.
    virtual bool openLocalFile(const QString &path) = 0;
};
