#pragma once
// The system's printer. A page is always one sheet carrying the picture of a
// window; how the sheet is laid out and drawn is the printing code's own
// (PageDrawing). The real printer sends the page to the default printer, the
// test one writes it into a PDF file.

#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QRect>
#include <functional>

class QPainter;

struct PageDrawing
{
    // The page set-up, given the margins the printer cannot print on (mm).
    std::function<QPageLayout(const QMarginsF &printerMarginsMm)> layout;
    // Draws the page; `printable` is the printable area in device coordinates.
    std::function<void(QPainter &, const QRect &printable, const QImage &picture)> paint;
};

class Printer
{
public:
    virtual ~Printer() = default;
    // Whether any printer is installed at all.
    virtual bool available() = 0;
    // Prints one page carrying the picture; false when the printer refused.
    virtual bool printPage(const QImage &picture) = 0;
};
