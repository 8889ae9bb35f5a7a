#pragma once
// The printed page: one sheet of JIS B5 paper (182 x 257 mm) turned to
// landscape, carrying the picture of a window. The page is laid out in its own
// units: the printable area runs from (-19, -25) at its top left to (178, 261)
// at its bottom right, so one x unit is about twice as long as one y unit.
// The picture is placed 150 units wide at (0, 0) and 300 x (height / width)
// units high, which keeps its proportions on the paper.
//
// Both the printer and the PDF file draw the page with paintPrintPage(), so a
// page saved as PDF is the page the printer would have printed.

#include "platform/printer.h"

#include <QImage>
#include <QPageLayout>
#include <QRect>
#include <QRectF>
#include <QString>

class QPainter;

namespace printpage {

// The page's own coordinates over the printable area.
QRect pageWindow();

// Where the picture goes in page units. A picture so tall that it would run
// off the bottom of the page is shrunk, keeping its proportions, until it
// fits; a picture without width or height gives an empty rectangle.
QRectF picturePlacement(const QSize &pictureSize);

// JIS B5, landscape, with the given margins in millimetres.
QPageLayout pageLayout(const QMarginsF &marginsMm = QMarginsF());

// Draws the page into the painter. `printable` is the printable area in the
// device's own coordinates (for a printer: 0, 0, width(), height()). The
// painter's window and viewport are restored afterwards.
void paintPrintPage(QPainter &painter, const QRect &printable, const QImage &picture);

// Writes the page as a one-page PDF file. False when the file cannot be
// written or the picture is empty.
bool writePrintPagePdf(const QString &path, const QImage &picture);

// Margins a PDF page keeps free, as a printer would.
QMarginsF pdfMarginsMm();

// This page, for the system's printer.
PageDrawing drawing();

} // namespace printpage
