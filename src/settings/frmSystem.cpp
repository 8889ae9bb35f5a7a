#include "settings/frmSystem.h"
#include "settings/settings_listener.h"

#include "base/measurement_state.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "settings/option_button_widget.h"
#include "settings/settings_file.h"
#include "settings/twips.h"

#include <QButtonGroup>
#include <QDir>
#include <QGroupBox>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

QPointer<frmSystem> &openDialog()
{
    static QPointer<frmSystem> dialog;
    return dialog;
}

} // namespace

frmSystem::frmSystem(QObject *owner, QWidget *parent) : QWidget(parent, Qt::Dialog), m_owner(owner)
{
    setObjectName(QStringLiteral("frmSystem"));
    setWindowTitle(QStringLiteral("キネモ　- 環境設定 -"));
    QFont small = font();
    small.setPointSize(9);
    setFont(small);
    buildControls();

    // Each opening starts on the first tab with the current values selected.
    selectCurrentValues();
    Tab1_Click(1);
}

frmSystem *frmSystem::showSettings(QObject *owner)
{
    QPointer<frmSystem> &dialog = openDialog();
    if (!dialog) {
        dialog = new frmSystem(owner);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}

void frmSystem::buildControls()
{
    setFixedSize(twipsToPixels(4965), twipsToPixels(4455));

    // The tab strip only chooses which frames show; the frames lie over it.
    Tab1 = new QTabWidget(this);
    Tab1->setObjectName(QStringLiteral("Tab1"));
    Tab1->setGeometry(twipsRect(120, 240, 4725, 3495));
    for (const QString &caption : settingsTabCaptions())
        Tab1->addTab(new QWidget, caption);
    // All five tabs fit side by side, without scroll arrows.
    Tab1->setUsesScrollButtons(false);
    Tab1->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 4px 9px; }"));
    connect(Tab1, &QTabWidget::currentChanged, this, [this](int index) { Tab1_Click(index + 1); });

    const QRect resultFrame(360, 840, 4245, 2600);
    // The momentum window's frame lies under what the result windows show.
    buildFrame(OptDisp1, QRect(360, 840, 4245, 1860));
    buildFrame(OptMomentum, QRect(360, 2760, 4245, 900));
    // The kinds of result share their tab with the components and the
    // position window.
    buildFrame(OptDisp2, QRect(360, 720, 4245, 1335));
    buildFrame(OptCmp, QRect(360, 2100, 4245, 780));
    buildFrame(OptPos, QRect(360, 2910, 4245, 780));
    buildFrame(OptPrint, resultFrame);
    // The distance frame leaves room under it for the tracking frame.
    buildFrame(OptProt, QRect(360, 840, 4245, 1575));
    buildFrame(OptTrack, QRect(360, 2520, 4245, 1095));
    buildFrame(OptAction, QRect(360, 720, 4245, 1275));
    buildFrame(OptAll, QRect(360, 2160, 4245, 1395));
    frameDisp1 = m_frames[OptDisp1];
    frameDisp2 = m_frames[OptDisp2];
    framePrint = m_frames[OptPrint];
    frameProt = m_frames[OptProt];
    frameAction = m_frames[OptAction];
    frameAll = m_frames[OptAll];
    frameTrack = m_frames[OptTrack];
    frameCmp = m_frames[OptCmp];
    frameMomentum = m_frames[OptMomentum];
    framePos = m_frames[OptPos];

    auto makeButton = [this](const char *name, const QString &caption, const QRect &twips) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(QString::fromLatin1(name));
        button->setGeometry(twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
        return button;
    };
    cmdStandard = makeButton("cmdStandard", QStringLiteral("初期設定"), QRect(120, 3960, 855, 375));
    cmdOk = makeButton("cmdOk", QStringLiteral("O  K"), QRect(1920, 3960, 1335, 375));
    cmdCancel = makeButton("cmdCancel", QStringLiteral("キャンセル"), QRect(3360, 3960, 1335, 375));
    connect(cmdStandard, &QPushButton::clicked, this, &frmSystem::cmdStandard_Click);
    connect(cmdOk, &QPushButton::clicked, this, &frmSystem::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSystem::cmdCancel_Click);
}

void frmSystem::buildFrame(int setting, const QRect &twips)
{
    const SettingOption &option = settingOptions()[setting];
    auto *frame = new QGroupBox(option.frameCaption, this);
    frame->setObjectName(option.frameName);
    frame->setGeometry(twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(8, 4, 6, 4);
    layout->setSpacing(2);

    auto *group = new QButtonGroup(frame);
    QList<QRadioButton *> buttons;
    for (int i = 0; i < option.captions.size(); ++i) {
        auto *button = new OptionButton(option.captions[i], frame);
        button->setObjectName(optionButtonName(option.arrayName, i));
        group->addButton(button, i);
        layout->addWidget(button);
        buttons.append(button);
    }
    layout->addStretch();
    frame->raise();

    static const std::array<QList<QRadioButton *> frmSystem::*, SettingCount> arrays = {
        &frmSystem::optDisp1,  &frmSystem::optDisp2,   &frmSystem::optPrint, &frmSystem::optProt,
        &frmSystem::optAction, &frmSystem::optAll,     &frmSystem::optTrack, &frmSystem::optCmp,
        &frmSystem::optPos,    &frmSystem::optMomentum};
    this->*arrays[setting] = buttons;
    m_frames[setting] = frame;
    m_groups[setting] = group;
}

void frmSystem::selectCurrentValues()
{
    selectValuesOf(measurementState());
}

void frmSystem::selectValuesOf(const MeasurementState &state)
{
    for (int i = 0; i < SettingCount; ++i) {
        const SettingOption &option = settingOptions()[i];
        const int selected = selectionForValue(option, state.*option.field);
        QButtonGroup *group = m_groups[i];
        if (selected >= 0) {
            group->button(selected)->setChecked(true);
        } else {
            // A value without a button (edited file) shows no choice at all.
            group->setExclusive(false);
            for (QAbstractButton *button : group->buttons())
                button->setChecked(false);
            group->setExclusive(true);
        }
    }
}

void frmSystem::Tab1_Click(int tab)
{
    const QList<int> shown = framesOfTab(tab);
    if (shown.isEmpty())
        return;
    for (int i = 0; i < SettingCount; ++i)
        m_frames[i]->setVisible(shown.contains(i));
}

void frmSystem::cmdOk_Click()
{
    MeasurementState &state = measurementState();
    for (int i = 0; i < SettingCount; ++i)
        storeSelection(state, settingOptions()[i], m_groups[i]->checkedId());

    if (auto *listener = dynamic_cast<SettingsListener *>(m_owner.data()))
        listener->settingsApplied();

    // The settings stay applied even when the file cannot be written; the
    // teacher is told, so that the next start does not surprise anyone.
    const SettingsSaved saved = saveSettings(state);
    if (!saved.ok) {
        QString text = QStringLiteral("設定ファイルを保存できませんでした。");
        for (const QString &path : saved.failed)
            text += QLatin1Char('\n') + QDir::toNativeSeparators(path);
        platform().prompts->message(text, Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
    }
    close();
}

void frmSystem::cmdStandard_Click()
{
    // Only the buttons: the settings change on "O  K", so that "キャンセル"
    // after this leaves the teacher's settings, the main window and the file
    // as they were.
    MeasurementState defaults;
    applyDefaultSettings(defaults);
    selectValuesOf(defaults);
}

void frmSystem::cmdCancel_Click()
{
    close();
}
