#include "settings/settings_part.h"

#include "settings/frmPass.h"

#include <QAction>

SettingsPart::SettingsPart(QObject *owner, QAction *settingsCommand, QObject *parent)
    : QObject(parent), m_owner(owner)
{
    connect(settingsCommand, &QAction::triggered, this, &SettingsPart::showPasswordDialog);
}

void SettingsPart::showPasswordDialog()
{
    if (!m_password) {
        auto *dialog = new frmPass(m_owner);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        m_password = dialog;
    }
    m_password->show();
    m_password->raise();
    m_password->activateWindow();
}
