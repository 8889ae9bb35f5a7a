// The main window's two result commands: the checks, a picture of the
// preview with every point on it, and a fresh result window each time.

#include "app/frmMain.h"

#include "app/measurement_state.h"
#include "app/preview_widget.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "results/frmResult1.h"
#include "results/frmResult2.h"
#include "results/result_opening.h"

#include <QAction>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace {

template <typename Window> void openResultWindow(frmMain &main, QPointer<QWidget> &slot)
{
    // Every command starts from a new window.
    if (slot)
        slot->close();

    const QString problem =
        results::resultOpeningProblem(main.txtLengthValue->text(), measurementState());
    if (!problem.isEmpty()) {
        platform().prompts->message(problem);
        return;
    }

    // The picture is taken with every plotted point on it.
    if (main.DataOpened)
        main.ShowAllMarkers();
    const QImage picture = main.picPreview->renderedPicture();
    main.ClearPreviewDrawing();

    auto *window = new Window(&main);
    window->setPreview(picture);
    QPointer<frmMain> owner(&main);
    window->setOpeningCheck([owner] {
        const QString text = owner ? owner->txtLengthValue->text()
                                   : QString::number(measurementState().RefLengthValue);
        return results::resultOpeningProblem(text, measurementState());
    });
    const results::DataCheck check = window->load();
    if (!check.ok()) {
        platform().prompts->message(results::dataProblemMessage(check));
        delete window;
        return;
    }
    window->show();
    slot = window;
}

} // namespace

void frmMain::wireResults()
{
    auto speed = [this] { openResultWindow<frmResult1>(*this, Result1Window); };
    auto distance = [this] { openResultWindow<frmResult2>(*this, Result2Window); };
    connect(mnuViewResult1, &QAction::triggered, this, speed);
    connect(mnuViewResult2, &QAction::triggered, this, distance);
    connect(cmdSpd, &QPushButton::clicked, this, speed);
    connect(cmdDis, &QPushButton::clicked, this, distance);
}
