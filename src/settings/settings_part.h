#pragma once
// The main window's "環境設定(&D)": the password dialog in front of the
// settings dialog, one at a time.

#include <QObject>
#include <QPointer>

class QAction;
class QWidget;

class SettingsPart : public QObject
{
    Q_OBJECT
public:
    // `owner` hears when new settings are in place (a SettingsListener).
    SettingsPart(QObject *owner, QAction *settingsCommand, QObject *parent = nullptr);

    // The password dialog, or the one already open brought forward.
    void showPasswordDialog();
    QPointer<QWidget> &passwordWindow() { return m_password; }

private:
    QObject *m_owner;
    QPointer<QWidget> m_password;
};
