#pragma once
// The environment settings dialog: eight arrays of option buttons, one per
// setting, spread over five tabs. "O  K" takes the choices into the settings,
// brings the main window's commands into line with them and writes the
// settings file; "初期設定" selects the defaults' buttons; "キャンセル" just
// closes, leaving the settings as they were. Opened only by the password dialog.
//
// Option buttons of an array are named "<array>_<index>" (optPrint_0 ..
// optPrint_3); the members optDisp1 ... optMomentum hold them by index.

#include "settings/settings_options.h"

#include <QList>
#include <QPointer>
#include <QWidget>
#include <array>

struct MeasurementState;
class QButtonGroup;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QTabWidget;

class frmSystem : public QWidget
{
    Q_OBJECT
public:
    // "O  K" tells `owner` when it is a SettingsListener
    // (settings/settings_listener.h); it may be gone by then, and is then
    // left alone.
    explicit frmSystem(QObject *owner, QWidget *parent = nullptr);

    // Shows the dialog, or brings forward the one already open; it deletes
    // itself when closed.
    static frmSystem *showSettings(QObject *owner);

    QTabWidget *Tab1 = nullptr;
    QGroupBox *frameDisp1 = nullptr;
    QGroupBox *frameDisp2 = nullptr;
    QGroupBox *framePrint = nullptr;
    QGroupBox *frameProt = nullptr;
    QGroupBox *frameAction = nullptr;
    QGroupBox *frameAll = nullptr;
    QGroupBox *frameTrack = nullptr;
    QGroupBox *frameCmp = nullptr;
    QGroupBox *frameMomentum = nullptr;
    QGroupBox *framePos = nullptr;
    QList<QRadioButton *> optDisp1;
    QList<QRadioButton *> optDisp2;
    QList<QRadioButton *> optPrint;
    QList<QRadioButton *> optProt;
    QList<QRadioButton *> optAction;
    QList<QRadioButton *> optAll;
    QList<QRadioButton *> optTrack;
    QList<QRadioButton *> optCmp;
    QList<QRadioButton *> optMomentum;
    QList<QRadioButton *> optPos;
    QPushButton *cmdStandard = nullptr;
    QPushButton *cmdOk = nullptr;
    QPushButton *cmdCancel = nullptr;

private:
    void buildControls();
    void buildFrame(int setting, const QRect &geometryTwips);
    void selectCurrentValues();
    void selectValuesOf(const MeasurementState &state);

    void Tab1_Click(int tab);
    void cmdOk_Click();
    void cmdStandard_Click();
    void cmdCancel_Click();

    QPointer<QObject> m_owner;
    std::array<QGroupBox *, SettingCount> m_frames{};
    std::array<QButtonGroup *, SettingCount> m_groups{};
};
