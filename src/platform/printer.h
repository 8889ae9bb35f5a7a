#pragma once
// The system's printer. A page is always one landscape JIS B5 sheet drawn by
// printpage::paintPrintPage (printhelp/print_page.h); the real printer sends
// it to the default printer, the test one writes it into a PDF file.

#include <QImage>

class Printer
{
public:
    virtual ~Printer() = default;
    // Whether any printer is installed at all.
    virtual bool available() = 0;
    // Prints one page carrying the picture; false when the printer refused.
    virtual bool printPage(const QImage &picture) = 0;
};
