#pragma once
// The version dialog: the program's name, version and purpose, and on
// request the system information. It is never
// modal, and there is only ever one: asking for it again brings the open one
// forward.

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

class frmAbout : public QDialog
{
    Q_OBJECT
public:
    // Shows the dialog, creating it when none is open, and returns it.
    static frmAbout *showDialog();
    // The open dialog, or null.
    static frmAbout *openDialog();

    QLabel *picIcon = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblDescription = nullptr;
    QLabel *lblDisclaimer = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdSysInfo = nullptr;
    // Shown by "ｼｽﾃﾑ情報(&S)...": the versions, the system and the files in
    // use, and the button that copies them for a message to IT staff.
    QPlainTextEdit *txtSysInfo = nullptr;
    QPushButton *cmdCopy = nullptr;

    static QString versionText();

    // Shows the system information in the dialog.
    void StartSysInfo();

private:
    explicit frmAbout(QWidget *parent = nullptr);
    void buildControls();
    void Form_Load();
};
