#include "results/frmStrobe.h"

#include "base/measurement_state.h"
#include "datafile/measurement_file_commands.h"
#include "platform/clipboard.h"
#include "platform/frame_source.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "platform/qt_named_menus.h"
#include "printhelp/help_page.h"
#include "printhelp/print_job.h"
#include "results/strobe_builder.h"
#include "results/strobe_picture.h"
#include "results/strobe_view_widget.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The picture of the video may be printed where the video may.
bool videoPrintAllowed(int printPermission)
{
    return printPermission != 2 && printPermission != 3;
}

} // namespace

frmStrobe::frmStrobe(strobe::Plan plan, std::unique_ptr<FrameSource> source, QWidget *parent)
    : QMainWindow(parent, Qt::Window), m_plan(std::move(plan))
{
    setObjectName(QStringLiteral("frmStrobe"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("キネモ　－ストロボ写真－"));
    buildMenus();
    buildControls();
    resize(800, 680);
    m_builder = std::make_unique<strobe::Builder>(m_plan, std::move(source));
    tmrProgress->start();
    applyStates();
}

// The builder goes first: its thread stops and is waited for.
frmStrobe::~frmStrobe() = default;

void frmStrobe::buildMenus()
{
    auto menu = [this](const char *name, const QString &title) {
        return addNamedMenu(menuBar(), name, title);
    };
    mnuFile = menu("mnuFile", QStringLiteral("ファイル(&F)"));
    mnuFileSave = addNamedItem(mnuFile, "mnuFileSave", QStringLiteral("画像を保存する(&S)…"));
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuline1"));
    mnuFilePrint = addNamedItem(mnuFile, "mnuFilePrint", QStringLiteral("印刷する(&P)"));
    mnuEdit = menu("mnuEdit", QStringLiteral("編集(&E)"));
    mnuEditCopy = addNamedItem(mnuEdit, "mnuEditCopy", QStringLiteral("コピー(&C)"));
    mnuEditCopy->setShortcut(QKeySequence::Copy);
    mnuHelp = menu("mnuHelp", QStringLiteral("ヘルプ(&H)"));
    mnuHelpRead = addNamedItem(mnuHelp, "mnuHelpRead", QStringLiteral("キネモの使い方(&R)"));

    connect(mnuFileSave, &QAction::triggered, this, &frmStrobe::savePicture);
    connect(mnuFilePrint, &QAction::triggered, this, &frmStrobe::printPicture);
    connect(mnuEditCopy, &QAction::triggered, this, &frmStrobe::copyPicture);
    connect(mnuHelpRead, &QAction::triggered, this, [] { openHelpPage(); });
}

void frmStrobe::buildControls()
{
    auto *centre = new QWidget(this);
    setCentralWidget(centre);
    auto *column = new QVBoxLayout(centre);

    auto *choicesRow = new QHBoxLayout;
    lblInterval = new QLabel(QStringLiteral("間隔"), centre);
    lblInterval->setObjectName(QStringLiteral("lblInterval"));
    cmbInterval = new QComboBox(centre);
    cmbInterval->setObjectName(QStringLiteral("cmbInterval"));
    cmbInterval->addItems({QStringLiteral("全部の点"), QStringLiteral("２点ごと"),
                           QStringLiteral("３点ごと"), QStringLiteral("４点ごと"),
                           QStringLiteral("５点ごと")});
    lblInterval->setBuddy(cmbInterval);
    chkMarkers = new QCheckBox(QStringLiteral("印を重ねる"), centre);
    chkMarkers->setObjectName(QStringLiteral("chkMarkers"));
    choicesRow->addWidget(lblInterval);
    choicesRow->addWidget(cmbInterval);
    choicesRow->addSpacing(16);
    choicesRow->addWidget(chkMarkers);
    // A choice of objects goes here when a measurement holds several
    // (Choices::shown).
    choicesRow->addStretch();
    column->addLayout(choicesRow);

    picStrobe = new StrobeViewWidget(centre);
    picStrobe->setObjectName(QStringLiteral("picStrobe"));
    column->addWidget(picStrobe, 1);

    auto *statusRow = new QHBoxLayout;
    lblStatus = new QLabel(centre);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    prgBuild = new QProgressBar(centre);
    prgBuild->setObjectName(QStringLiteral("prgBuild"));
    statusRow->addWidget(lblStatus, 1);
    statusRow->addWidget(prgBuild, 1);
    column->addLayout(statusRow);

    tmrProgress = new QTimer(this);
    tmrProgress->setObjectName(QStringLiteral("tmrProgress"));
    tmrProgress->setInterval(100);
    connect(tmrProgress, &QTimer::timeout, this, &frmStrobe::poll);
    connect(cmbInterval, &QComboBox::currentIndexChanged, this, &frmStrobe::recompose);
    connect(chkMarkers, &QCheckBox::toggled, this, &frmStrobe::recompose);
}

bool frmStrobe::built() const
{
    return !m_picture.isNull();
}

bool frmStrobe::waitUntilBuilt(int milliseconds)
{
    const QDeadlineTimer deadline(milliseconds);
    if (!m_builder->waitUntilFinished(int(deadline.remainingTime())))
        return false;
    poll();
    return built() || m_failed;
}

void frmStrobe::poll()
{
    const strobe::Builder::Progress p = m_builder->progress();
    prgBuild->setMaximum(std::max(1, p.total));
    prgBuild->setValue(p.done);
    if (!p.finished)
        return;
    tmrProgress->stop();
    m_failed = p.failed;
    recompose();
}

strobe::Choices frmStrobe::choices() const
{
    strobe::Choices c;
    c.every = cmbInterval->currentIndex() + 1;
    c.markers = chkMarkers->isChecked();
    return c;
}

void frmStrobe::recompose()
{
    if (const strobe::Material *material = m_builder->material()) {
        m_picture = strobe::strobePicture(m_plan, *material, choices());
        picStrobe->setPicture(m_picture);
    }
    applyStates();
}

void frmStrobe::applyStates()
{
    const bool ready = built();
    const bool building = !ready && !m_failed;
    mnuFileSave->setEnabled(ready);
    mnuEditCopy->setEnabled(ready);
    mnuFilePrint->setEnabled(ready && videoPrintAllowed(measurementState().PrintPermission));
    cmbInterval->setEnabled(ready);
    chkMarkers->setEnabled(ready);
    prgBuild->setVisible(building);
    if (m_failed)
        lblStatus->setText(QStringLiteral("映像を読めませんでした。"));
    else if (building)
        lblStatus->setText(QStringLiteral("映像からストロボ写真を作っています…"));
    else
        lblStatus->setText(
            QStringLiteral("%1×%2ピクセル").arg(m_picture.width()).arg(m_picture.height()));
}

void frmStrobe::savePicture()
{
    if (built())
        datafile::savePictureWithDialog(m_picture);
}

void frmStrobe::copyPicture()
{
    if (built() && platform().clipboard)
        platform().clipboard->setImage(m_picture);
}

void frmStrobe::printPicture()
{
    if (!built() || !videoPrintAllowed(measurementState().PrintPermission))
        return;
    if (paperReady())
        printWindowPicture(m_picture);
}
