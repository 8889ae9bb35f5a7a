#include "printhelp/printhelp_part.h"

#include "base/measurement_state.h"
#include "base/window_state.h"
#include "digitize/digitizing_part.h"
#include "platform/platform.h"
#include "platform/window_capture.h"
#include "printhelp/frmAbout.h"
#include "printhelp/help_page.h"
#include "printhelp/print_job.h"

#include <QAction>

PrintHelpPart::PrintHelpPart(WindowState &state, DigitizingPart &digitizing,
                             const PrintHelpControls &controls, QObject *parent)
    : QObject(parent), m_state(state), m_digitizing(digitizing), m_c(controls)
{
    connect(m_c.print, &QAction::triggered, this, &PrintHelpPart::printWindow);
    connect(m_c.howTo, &QAction::triggered, this, [] { openHelpPage(); });
    connect(m_c.about, &QAction::triggered, this, [] { frmAbout::showDialog(); });
}

void PrintHelpPart::printWindow()
{
    // When only the current frame's point is normally shown, the all-points
    // display is switched on for the printout and off again afterwards, as
    // the all-points button would do it.
    if (!m_state.AllPointsShown && measurementState().AllPointsMode == 0)
        m_digitizing.setAllPointsDisplay(true);

    if (paperReady()) {
        WindowCapture *capture = platform().windowCapture.get();
        printWindowPicture(capture ? capture->capture(m_c.window) : QImage());
    }
    // Whatever became of the page, the window goes back to its normal
    // display so that the user can carry on plotting.
    m_digitizing.setAllPointsDisplay(false);
    emit changed();
}
