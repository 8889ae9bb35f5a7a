#include "app/frmMain.h"

#include "settings/frmPass.h"

#include <QAction>

void frmMain::wireSettings()
{
    // "環境設定": the password dialog, or the one already open brought forward.
    connect(mnuSystemDisp, &QAction::triggered, this, [this] {
        if (!PasswordWindow) {
            auto *dialog = new frmPass(this);
            dialog->setAttribute(Qt::WA_DeleteOnClose);
            PasswordWindow = dialog;
        }
        PasswordWindow->show();
        PasswordWindow->raise();
        PasswordWindow->activateWindow();
    });
}
