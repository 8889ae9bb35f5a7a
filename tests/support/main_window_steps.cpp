#include "main_window_steps.h"

#include "app/frmMain.h"

#include <QSlider>
#include <QTest>

bool inputPauseOver(frmMain &window)
{
    return QTest::qWaitFor([&window] { return window.state().InputPauseOver; }, 2000);
}

bool goToFrame(frmMain &window, int frame)
{
    window.ctrlSlider->setValue(frame);
    return window.ctrlSlider->value() == frame && inputPauseOver(window);
}
