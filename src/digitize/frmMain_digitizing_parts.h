#pragma once
// The main window's digitizing state, shared by the files that wire the
// preview clicks, the markers, the reference length and the camera-shake
// switch.

#include "app/frmMain.h"
#include "app/measurement_state.h"
#include "digitize/digitizing_state.h"
#include "digitize/marker_set.h"
#include "digitize/point_plotter.h"
#include "digitize/reference_length.h"

struct frmMain::Digitizing
{
    DigitizingState clicks;
    MarkerSet markers;
    ReferenceDrawing drawing;
    PointPlotter plotter{measurementState(), clicks};
    ReferenceLength length{clicks, drawing};
};

class QColor;
class QLabel;

namespace digitizing_ui {
void setTextColour(QLabel *label, const QColor &colour);
}
