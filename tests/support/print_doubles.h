#pragma once
// Test doubles for the printer and the browser. The printer draws each page
// into a PDF file through the same page-drawing code as the real printer, so
// tests can read back the paper size and look at what was printed.

#include "platform/browser.h"
#include "platform/printer.h"

#include <QImage>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

class PdfPrinter : public Printer
{
public:
    bool installed = true; // false: the system has no printer
    bool refuses = false;  // true: every printout fails
    QStringList pages;     // PDF files written, one per page
    QImage lastPicture;
    // Called at each printout, before the page is written.
    std::function<void()> onPrint;

    bool available() override { return installed; }
    bool printPage(const QImage &picture) override;

private:
    QTemporaryDir m_folder;
};

class RecordingBrowser : public Browser
{
public:
    bool starts = true;
    QStringList opened;
    bool openLocalFile(const QString &path) override;
};

// Reads the size of the first page of a PDF file written by Qt, in points,
// from its /MediaBox; an invalid size when there is none.
QSizeF pdfMediaBoxPoints(const QString &path);

// Where the first picture of a PDF file written by Qt lies on its page, in
// millimetres from the page's top-left corner, worked out from the page's
// drawing commands; an empty rectangle when there is none.
QRectF pdfPictureRectMm(const QString &path);
