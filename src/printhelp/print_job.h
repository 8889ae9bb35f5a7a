#pragma once
// Sending the picture of a window to paper. Every print command of the
// program ends here, after its own questions and its capture of the window.
//
// With no printer installed the user is offered to save the same page as a
// PDF file instead; a printout or a file that fails is reported in a message
// box, so a print command never fails unnoticed.

#include <QImage>
#include <QString>

enum class PrintOutcome
{
    Printed,    // the page went to the printer
    SavedAsPdf, // no printer; the page was saved as a PDF file
    Abandoned,  // no printer, and the user did not want a PDF file
    Failed,     // the printer or the file refused; the user has been told
};

PrintOutcome printWindowPicture(const QImage &picture);

// Before a print command captures its window: with a printer, "プリンタにＢ５
// 用紙を入れてください" (OK / キャンセル); without one there is no paper to ask
// for, and the offer of a PDF file comes instead. False: cancelled.
bool paperReady();

// Texts of the messages, for the windows and their tests.
namespace printtexts {
QString insertB5Paper(); // "プリンタにＢ５用紙を入れてください"
QString noPrinter();     // offer to save as PDF
QString pdfDialogTitle();
QString pdfFilter();
QString overwrite(const QString &path);
QString pdfFailed();
QString printFailed();
QString captureFailed();
} // namespace printtexts
