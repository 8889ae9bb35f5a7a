// The main window's print command and its help menu.

#include "app/frmMain.h"

#include "app/measurement_state.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "platform/window_capture.h"
#include "printhelp/frmAbout.h"
#include "printhelp/help_page.h"
#include "printhelp/print_job.h"

#include <QAction>
#include <QPushButton>

namespace {

// The all-points button's own action, whether or not the button is enabled
// or shown at the moment.
void toggleAllPoints(frmMain &window)
{
    emit window.cmdProtDisp->clicked(false);
}

// "画面の印刷(&P)": the window as it is, with every plotted point on it.
// When only the current frame's point is normally shown, the all-points
// display is switched on for the printout and off again afterwards, as the
// all-points button would do it.
void printMainWindow(frmMain &window)
{
    if (!window.AllPointsShown && measurementState().AllPointsMode == 0)
        toggleAllPoints(window);

    const auto answer = platform().prompts->message(
        printtexts::insertB5Paper(), Prompts::Buttons::OkCancel, Prompts::Icon::None);
    if (answer != Prompts::Answer::Ok) {
        if (window.AllPointsShown)
            toggleAllPoints(window);
        return;
    }

    WindowCapture *capture = platform().windowCapture.get();
    const QImage picture = capture ? capture->capture(&window) : QImage();
    printWindowPicture(picture);
    // Whatever became of the page, the window goes back to its normal
    // display so that the user can carry on plotting.
    if (window.AllPointsShown)
        toggleAllPoints(window);
}

} // namespace

void frmMain::wirePrintHelp()
{
    connect(mnuFilePrint, &QAction::triggered, this, [this] { printMainWindow(*this); });
    connect(mnuHelpHowto, &QAction::triggered, this, [] { openHelpPage(); });
    connect(mnuHelpAbout, &QAction::triggered, this, [] { frmAbout::showDialog(); });
}
