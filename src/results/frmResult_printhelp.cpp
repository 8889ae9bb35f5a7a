#include "results/frmResult_printhelp.h"

#include "platform/platform.h"
#include "platform/prompts.h"
#include "platform/window_capture.h"
#include "printhelp/frmAbout.h"
#include "printhelp/help_page.h"
#include "printhelp/print_job.h"
#include "results/frmResult1.h"
#include "results/frmResult2.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace {

void printPictureOf(QWidget &window)
{
    WindowCapture *capture = platform().windowCapture.get();
    printWindowPicture(capture ? capture->capture(&window) : QImage());
}

void wireHelp(ResultWindow &window)
{
    QObject::connect(window.mnuHelpRead, &QAction::triggered, &window, [] { openHelpPage(); });
    QObject::connect(window.mnuHelpAbout, &QAction::triggered, &window,
                     [] { frmAbout::showDialog(); });
}

} // namespace

namespace resultprint {

void printSpeedWindow(frmResult1 &window)
{
    window.lblCredit->show();
    window.txtDai->clear();
    window.txtDai->show();

    const std::optional<QString> title = platform().prompts->input(
        QStringLiteral("表題を入力して下さい"), QStringLiteral("表題の入力"), QString());
    window.PrintTitle = title.value_or(QString());
    window.txtDai->setText(window.PrintTitle);

    // On Cancel the credit line and the title stay on the window until the
    // next printout.
    if (paperReady())
        window.tmrWait->start();
}

void speedWaitTick(frmResult1 &window)
{
    if (window.PrintWaitTicks != 2) {
        ++window.PrintWaitTicks;
        return;
    }
    // Stopped before anything can fail or ask, so that the printout is tried
    // exactly once.
    window.tmrWait->stop();
    printPictureOf(window);
    window.lblCredit->hide();
    window.txtDai->hide();
}

void printDistanceWindow(ResultWindow &window)
{
    window.lblCredit->show();
    if (!paperReady())
        return; // the credit line stays until the next printout
    printPictureOf(window);
    window.lblCredit->hide();
}

} // namespace resultprint

void wireResultPrintHelp(frmResult1 &window)
{
    QObject::connect(window.mnuFilePrint, &QAction::triggered, &window,
                     [&window] { resultprint::printSpeedWindow(window); });
    QObject::connect(window.tmrWait, &QTimer::timeout, &window,
                     [&window] { resultprint::speedWaitTick(window); });
    wireHelp(window);
}

void wireUntitledPrintHelp(ResultWindow &window)
{
    QObject::connect(window.mnuFilePrint, &QAction::triggered, &window,
                     [&window] { resultprint::printDistanceWindow(window); });
    wireHelp(window);
}

void wireResultPrintHelp(frmResult2 &window)
{
    wireUntitledPrintHelp(window);
}
