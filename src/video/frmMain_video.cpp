// Opening and closing a video, the frame shown in the preview, moving
// through the frames and the continuous player, as the main window does them.
//
// Moves never decode: they set the slider and FrameRefreshPending, and the
// 100 ms refresh tick renders the frame at the slider, so that several moves
// within one tick cost one picture.

#include "app/frmMain.h"

#include "app/measurement_state.h"
#include "app/preview_widget.h"
#include "digitize/plotting_cursor.h"
#include "platform/file_dialogs.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "video/cached_frame_source.h"
#include "video/frame_navigation.h"
#include "video/frame_source.h"
#include "video/frmPlayer.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

namespace {

// The preview's box: a video is shown as large as fits, in its own proportions.
const QSize kPreviewBox(640, 480);

const QString kOpenTitle = QStringLiteral("映像を開く");
const QString kVideoFilters =
    QStringLiteral("Video Files (*.avi *.mov *.mpg *.mpeg);;"
                   "スマートフォン・カメラの映像 (*.mp4 *.m4v *.mkv *.webm *.wmv *.3gp);;"
                   "すべてのファイル (*)");
const QString kNoVideo = QStringLiteral("選択したファイルは映像が含まれていません");

std::shared_ptr<FrameSource> makeFrameSource()
{
    if (platform().frameSources) {
        if (std::unique_ptr<FrameSource> source = platform().frameSources())
            return source;
    }
    // Decoded pictures are kept and the frames around the one on show are
    // decoded in the background, so that steps either way show at once.
    return std::make_shared<CachedFrameSource>();
}

} // namespace

struct frmMain::Video
{
    std::shared_ptr<FrameSource> source;
    QSize previewSize = kPreviewBox;
    // A video is on show: between a successful open and the next close.
    bool shown = false;
    // Set while the program itself moves the slider, so that only the user's
    // own moves run the slider's scroll action.
    bool sliderByProgram = false;
};

void frmMain::wireVideo()
{
    m_video = std::make_shared<Video>();

    connect(mnuFileOpen, &QAction::triggered, this, &frmMain::OpenVideo);
    connect(mnuFileClose, &QAction::triggered, this, &frmMain::CloseVideo);
    connect(tmrTimer, &QTimer::timeout, this, &frmMain::RenderCurrentFrame);

    connect(cmdFwdFrame, &QToolButton::clicked, this, [this] { moveBy(1, false); });
    connect(cmdBackFrame, &QToolButton::clicked, this, [this] { moveBy(-1, false); });
    connect(cmdStep, &QPushButton::clicked, this,
            [this] { moveBy(nav::stepInterval(txtRate->text()), true); });
    connect(cmdBack, &QPushButton::clicked, this,
            [this] { moveBy(-nav::stepInterval(txtRate->text()), true); });
    connect(tmrPlay, &QTimer::timeout, this, [this] { moveBy(1, false); });
    connect(cmdPlay, &QToolButton::clicked, tmrPlay, qOverload<>(&QTimer::start));
    connect(cmdStop, &QToolButton::clicked, this, [this] {
        tmrPlay->stop();
        showMarkersAndPause();
    });
    connect(ctrlSlider, &QSlider::valueChanged, this, [this] {
        if (!m_video->sliderByProgram)
            ctrlSlider_Scroll();
    });
    connect(tmrWait, &QTimer::timeout, this, &frmMain::tmrWait_Timer);
    connect(txtRate, &QLineEdit::textChanged, this, [this](const QString &text) {
        cmdStep->setToolTip(nav::forwardStepTip(text));
        cmdBack->setToolTip(nav::backStepTip(text));
    });
    connect(cmdPlayer, &QPushButton::clicked, this, &frmMain::cmdPlayer_Click);
}

FrameSource *frmMain::frameSource() const
{
    return m_video->source.get();
}

void frmMain::OpenVideo()
{
    const QString name = platform().fileDialogs->openFileName(kOpenTitle, kVideoFilters);
    if (name.isEmpty() || !QFileInfo::exists(name))
        return;
    openVideoFile(name);
}

bool frmMain::openVideoFile(const QString &path)
{
    // Everything is checked on the new file before anything of the open
    // video changes: a file that is not a usable video leaves the open one,
    // and its measurement, as they were.
    std::shared_ptr<FrameSource> source = makeFrameSource();
    QSize size;
    QImage first;
    if (source->open(path) && source->hasVideo() && source->frameRate() > 0) {
        size = previewSizeFor(source->displaySize(), kPreviewBox);
        first = source->frame(0, picPreview->framePixelSize(size));
    }
    if (first.isNull()) {
        platform().prompts->message(kNoVideo, Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
        return false;
    }

    MeasurementState &state = measurementState();
    SetVideoTiming(source->streamLengthSeconds(), source->frameRate());
    setWindowTitle(QStringLiteral("キネモ　") + path);
    m_video->source = source;
    ChosenFilePath = path;

    m_video->previewSize = size;
    m_video->shown = true;
    picPreview->setFixedSize(size);
    picPreview->setFrame(first);

    VideoOpen = true;
    state.FrameRefreshPending = false;
    setSliderQuietly(0);
    ctrlSlider_Scroll();

    ctrlSlider->setEnabled(true);
    for (QWidget *w :
         std::initializer_list<QWidget *>{cmdBackFrame, cmdFwdFrame, cmdPlay, cmdStop, cmdLength,
                                          cmdBack, cmdStep, cmdErase, cmdProtDisp, cmdPlayer})
        w->setEnabled(true);

    showShakeCorrection(false);
    lblKijun->hide();
    showLengthNotSet();
    state.RefLengthPixels = 0;
    lblCount->setText(nav::countLabel(state.TotalFrames));
    lblFPSValue->setText(nav::frameRateLabel(state.FrameRate));

    ResetDigitizing();
    ClearMeasurement();
    ResetMarkers();
    DataOpened = true;
    ShakeCorrectionOn = false;
    AllPointsShown = false;
    state.VideoPath = ChosenFilePath;
    txtLengthValue->clear();
    if (PlayerWindow)
        PlayerWindow->close();
    return true;
}

void frmMain::CloseVideo()
{
    runStartUp();
    PrepareMarkers();
    picPreview->clearFrame();
    m_video->shown = false;
    // The decoders, their background thread and the pictures kept go with
    // the video.
    m_video->source.reset();
    setSliderQuietly(0);
    lblKijun->hide();
    showLengthNotSet();
    measurementState().RefLengthPixels = 0;
    if (PlayerWindow)
        PlayerWindow->close();
    // Nothing to plot on any more: no input pause, no plotting cursor.
    tmrWait->stop();
    InputPauseOver = false;
    picPreview->unsetCursor();
}

void frmMain::SetVideoTiming(double streamLength, double frameRate)
{
    MeasurementState &state = measurementState();
    state.FrameRate = frameRate;
    const std::optional<qint32> total = nav::totalFramesFor(streamLength, frameRate);
    if (!total)
        return;
    state.TotalFrames = *total;
    const nav::SliderSteps steps = nav::sliderSteps(*total);
    m_video->sliderByProgram = true;
    ctrlSlider->setRange(0, *total);
    ctrlSlider->setPageStep(steps.large);
    ctrlSlider->setSingleStep(steps.small);
    ctrlSlider->setTickInterval(100);
    m_video->sliderByProgram = false;
}

double frmMain::CurrentFrameTime() const
{
    return nav::positionSeconds(ctrlSlider->value(), measurementState().FrameRate);
}

void frmMain::RenderCurrentFrame()
{
    MeasurementState &state = measurementState();
    if (!state.FrameRefreshPending)
        return;
    // Cleared first: a frame that fails is not tried again until the next move.
    state.FrameRefreshPending = false;
    if (!m_video->shown || !m_video->source)
        return;
    const QImage image = m_video->source->frame(ctrlSlider->value(),
                                                picPreview->framePixelSize(m_video->previewSize));
    if (!image.isNull())
        picPreview->setFrame(image);
}

void frmMain::ShowPositionLabels()
{
    const MeasurementState &state = measurementState();
    const qint32 position = ctrlSlider->value();
    lblCurrentFrameValue->setText(QString::number(position));
    if (state.FrameRate != 0)
        lblCurrentTimeValue->setText(nav::timeLabel(position, state.TotalFrames, state.FrameRate));
}

void frmMain::moveBy(double frames, bool stepButton)
{
    MeasurementState &state = measurementState();
    if (stepButton)
        picPreview->setCursor(Qt::WaitCursor);
    setSliderQuietly(nav::steppedPosition(ctrlSlider->value(), frames, state.TotalFrames));
    state.FrameRefreshPending = true;
    ShowPositionLabels();
    showMarkersAndPause();
}

void frmMain::showMarkersAndPause()
{
    if (measurementState().AllPointsMode == 1)
        ShowAllMarkers();
    ShowFrameMarkers();
    BeginInputPause();
}

void frmMain::ctrlSlider_Scroll()
{
    if (VideoOpen) {
        ShowPositionLabels();
        measurementState().FrameRefreshPending = true;
    }
    showMarkersAndPause();
}

void frmMain::BeginInputPause()
{
    InputPauseOver = false;
    tmrWait->start();
    picPreview->setCursor(Qt::WaitCursor);
}

void frmMain::tmrWait_Timer()
{
    tmrWait->setInterval(100);
    if (InputPauseOver) {
        tmrWait->stop();
        return;
    }
    InputPauseOver = true;
    picPreview->setCursor(plotting_cursor::cursor(picPreview->devicePixelRatioF()));
}

void frmMain::setSliderQuietly(qint32 position)
{
    m_video->sliderByProgram = true;
    ctrlSlider->setValue(position);
    m_video->sliderByProgram = false;
}

void frmMain::cmdPlayer_Click()
{
    // A player closed a moment ago may still wait for its deletion.
    if (PlayerWindow && PlayerWindow->isVisible()) {
        PlayerWindow->raise();
        PlayerWindow->activateWindow();
        return;
    }
    auto *player = new frmPlayer(measurementState().VideoPath, this);
    connect(player, &frmPlayer::pausedAt, this, &frmMain::playerPausedAt);
    PlayerWindow = player;
    player->show();
}

void frmMain::playerPausedAt(qint32 seconds)
{
    const MeasurementState &state = measurementState();
    setSliderQuietly(nav::pausePosition(seconds, state.FrameRate, state.TotalFrames));
    measurementState().FrameRefreshPending = true;
    ShowPositionLabels();
}
