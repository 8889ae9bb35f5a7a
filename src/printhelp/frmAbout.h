#pragma once
// The version dialog: the program's name, version and purpose. It is never
// modal, and there is only ever one: asking for it again brings the open one
// forward.

#include <QDialog>

class QLabel;
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

    static QString versionText();

    // There is no system-information tool on this platform: says so.
    void StartSysInfo();

private:
    explicit frmAbout(QWidget *parent = nullptr);
    void buildControls();
    void Form_Load();
};
