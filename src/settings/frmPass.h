#pragma once
// The password dialog in front of the environment settings. In entry mode it
// asks for the settings password; "パスワード変更" switches it to change mode,
// where the current password and a new one typed twice are entered. A correct
// entry opens the settings dialog and closes this one. There is no limit on
// the number of attempts.
//
// The arrays lblPass and txtPass are indexed 0..2; their controls are named
// "lblPass_0" .. "lblPass_2" and "txtPass_0" .. "txtPass_2".

#include <QList>
#include <QPointer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

class frmPass : public QWidget
{
    Q_OBJECT
public:
    // `owner` is handed on to the settings dialog, whose "O  K" tells it
    // when it is a SettingsListener (settings/settings_listener.h).
    explicit frmPass(QObject *owner, QWidget *parent = nullptr);

    QLabel *Label1 = nullptr;
    QList<QLabel *> lblPass;
    QList<QLineEdit *> txtPass;
    QPushButton *cmdPassword = nullptr;
    QPushButton *cmdOk = nullptr;
    QPushButton *cmdCancel = nullptr;

    // 0 entry mode, -1 change-password mode.
    qint16 PasswordChangeMode = 0;

private:
    void buildControls();
    void applyEntryLayout();
    void applyChangeLayout();
    void refuse();

    void cmdPassword_Click();
    void cmdOk_Click();
    void cmdCancel_Click();

    QPointer<QObject> m_owner;
};
