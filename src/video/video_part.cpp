#include "video/video_part.h"

#include "base/measurement_state.h"
#include "base/window_state.h"
#include "platform/file_dialogs.h"
#include "platform/frame_source.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "video/cached_frame_source.h"
#include "video/frame_navigation.h"
#include "video/frmPlayer.h"
#include "video/preview_widget.h"

#include <QAbstractButton>
#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTimer>

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

VideoPart::VideoPart(WindowState &state, const VideoControls &controls, QObject *parent)
    : QObject(parent), m_state(state), m_c(controls), m_previewSize(kPreviewBox)
{
    wire();
}

VideoPart::~VideoPart() = default;

void VideoPart::wire()
{
    connect(m_c.open, &QAction::triggered, this, &VideoPart::openWithDialog);
    connect(m_c.close, &QAction::triggered, this, &VideoPart::closeVideo);
    connect(m_c.refreshTimer, &QTimer::timeout, this, &VideoPart::renderCurrentFrame);

    connect(m_c.forwardFrame, &QAbstractButton::clicked, this, [this] { moveBy(1); });
    connect(m_c.backFrame, &QAbstractButton::clicked, this, [this] { moveBy(-1); });
    connect(m_c.forwardStep, &QAbstractButton::clicked, this, &VideoPart::stepForward);
    connect(m_c.backStep, &QAbstractButton::clicked, this,
            [this] { moveBy(-nav::stepInterval(m_c.interval->text())); });
    connect(m_c.playTimer, &QTimer::timeout, this, [this] { moveBy(1); });
    connect(m_c.play, &QAbstractButton::clicked, this, [this] {
        m_state.Playing = true;
        emit changed();
    });
    connect(m_c.stop, &QAbstractButton::clicked, this, [this] {
        m_state.Playing = false;
        emit moved();
        beginInputPause();
    });
    connect(m_c.slider, &QSlider::valueChanged, this, [this] {
        if (!m_sliderByProgram)
            scrolledByUser();
    });
    connect(m_c.waitTimer, &QTimer::timeout, this, &VideoPart::waitTick);
    connect(m_c.interval, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_c.forwardStep->setToolTip(nav::forwardStepTip(text));
        m_c.backStep->setToolTip(nav::backStepTip(text));
    });
    connect(m_c.player, &QAbstractButton::clicked, this, &VideoPart::openPlayer);
}

FrameSource *VideoPart::frameSource() const
{
    return m_source.get();
}

QSize VideoPart::previewSize() const
{
    return m_previewSize;
}

void VideoPart::openWithDialog()
{
    const QString name = platform().fileDialogs->openFileName(kOpenTitle, kVideoFilters);
    if (name.isEmpty() || !QFileInfo::exists(name))
        return;
    openVideoFile(name);
}

bool VideoPart::openVideoFile(const QString &path)
{
    // Everything is checked on the new file before anything of the open
    // video changes: a file that is not a usable video leaves the open one,
    // and its measurement, as they were.
    std::shared_ptr<FrameSource> source = makeFrameSource();
    QSize size;
    QImage first;
    if (source->open(path) && source->hasVideo() && source->frameRate() > 0) {
        size = previewSizeFor(source->displaySize(), kPreviewBox);
        first = source->frame(0, m_c.preview->framePixelSize(size));
    }
    if (first.isNull()) {
        platform().prompts->message(kNoVideo, Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
        return false;
    }

    MeasurementState &measurement = measurementState();
    measurement.FrameRate = source->frameRate();
    if (const std::optional<qint32> total =
            nav::totalFramesFor(source->streamLengthSeconds(), source->frameRate())) {
        measurement.TotalFrames = *total;
        const nav::SliderSteps steps = nav::sliderSteps(*total);
        m_sliderByProgram = true;
        m_c.slider->setRange(0, *total);
        m_c.slider->setPageStep(steps.large);
        m_c.slider->setSingleStep(steps.small);
        m_sliderByProgram = false;
    }
    m_c.window->setWindowTitle(QStringLiteral("キネモ　") + path);
    m_source = source;
    m_chosenPath = path;
    m_previewSize = size;
    m_c.preview->setFixedSize(size);
    m_c.preview->setFrame(first);

    m_state.videoOpened();
    measurement.RefLengthPixels = 0;
    measurement.VideoPath = path;
    m_c.count->setText(nav::countLabel(measurement.TotalFrames));
    m_c.rateValue->setText(nav::frameRateLabel(measurement.FrameRate));
    closePlayer();
    // The measurement of the old video goes before the new one is shown.
    emit videoOpened();

    measurement.FrameRefreshPending = false;
    setSliderQuietly(0);
    scrolledByUser();
    return true;
}

void VideoPart::closeVideo()
{
    m_state.videoClosed();
    m_c.preview->clearFrame();
    // The decoders, their background thread and the pictures kept go with
    // the video.
    m_source.reset();
    setSliderQuietly(0);
    measurementState().RefLengthPixels = 0;
    closePlayer();
    m_c.waitTimer->stop();
    emit videoClosed();
    emit changed();
}

qint32 VideoPart::position() const
{
    return m_c.slider->value();
}

double VideoPart::CurrentFrameTime() const
{
    return nav::positionSeconds(position(), measurementState().FrameRate);
}

void VideoPart::moveBy(double frames)
{
    const MeasurementState &measurement = measurementState();
    setSliderQuietly(nav::steppedPosition(position(), frames, measurement.TotalFrames));
    afterMove();
}

void VideoPart::stepForward()
{
    moveBy(nav::stepInterval(m_c.interval->text()));
}

qint32 VideoPart::positionBefore() const
{
    return nav::steppedPosition(position(), -nav::stepInterval(m_c.interval->text()),
                                measurementState().TotalFrames);
}

void VideoPart::moveTo(qint32 target)
{
    setSliderQuietly(nav::clampPosition(target, measurementState().TotalFrames, position()));
    afterMove();
}

void VideoPart::afterMove()
{
    measurementState().FrameRefreshPending = true;
    showPositionLabels();
    emit moved();
    beginInputPause();
}

void VideoPart::scrolledByUser()
{
    if (m_state.VideoOpen) {
        showPositionLabels();
        measurementState().FrameRefreshPending = true;
    }
    emit moved();
    beginInputPause();
}

void VideoPart::beginInputPause()
{
    m_state.InputPauseOver = false;
    m_c.waitTimer->start();
    emit changed();
}

void VideoPart::waitTick()
{
    m_c.waitTimer->setInterval(100);
    if (m_state.InputPauseOver) {
        m_c.waitTimer->stop();
        return;
    }
    m_state.InputPauseOver = true;
    emit changed();
}

void VideoPart::renderCurrentFrame()
{
    MeasurementState &measurement = measurementState();
    if (!measurement.FrameRefreshPending)
        return;
    // Cleared first: a frame that fails is not tried again until the next move.
    measurement.FrameRefreshPending = false;
    if (!m_state.VideoOpen || !m_source)
        return;
    const QImage image = m_source->frame(position(), m_c.preview->framePixelSize(m_previewSize));
    if (!image.isNull())
        m_c.preview->setFrame(image);
}

void VideoPart::showPositionLabels()
{
    const MeasurementState &measurement = measurementState();
    const qint32 at = position();
    m_c.frameValue->setText(QString::number(at));
    if (measurement.FrameRate != 0)
        m_c.timeValue->setText(nav::timeLabel(at, measurement.TotalFrames, measurement.FrameRate));
}

void VideoPart::resetReadouts()
{
    m_c.count->setText(QStringLiteral("/ 0"));
    m_c.frameValue->setText(QStringLiteral("0"));
    m_c.timeValue->setText(QStringLiteral("0.00秒/0.00秒"));
    m_c.rateValue->setText(QStringLiteral("0"));
}

void VideoPart::setSliderQuietly(qint32 at)
{
    m_sliderByProgram = true;
    m_c.slider->setValue(at);
    m_sliderByProgram = false;
}

void VideoPart::openPlayer()
{
    // The player only ever plays the video that is open.
    if (!m_state.VideoOpen)
        return;
    // A player closed a moment ago may still wait for its deletion.
    if (m_player && m_player->isVisible()) {
        m_player->raise();
        m_player->activateWindow();
        return;
    }
    auto *player = new frmPlayer(measurementState().VideoPath, m_c.window);
    connect(player, &frmPlayer::pausedAt, this, &VideoPart::playerPausedAt);
    m_player = player;
    player->show();
}

void VideoPart::closePlayer()
{
    if (m_player)
        m_player->close();
}

void VideoPart::playerPausedAt(qint32 seconds)
{
    // The frame is held while a mode belongs to it (a length being set, a
    // camera-shake pair half made): the player pauses, the window stays.
    if (!m_state.VideoOpen || m_state.frameHeld())
        return;
    const MeasurementState &measurement = measurementState();
    // Seconds of the file's own clock: its playback rate turns them into a
    // position.
    const double playbackRate = m_source ? m_source->frameRate() : measurement.FrameRate;
    setSliderQuietly(nav::pausePosition(seconds, playbackRate, measurement.TotalFrames));
    measurementState().FrameRefreshPending = true;
    showPositionLabels();
    emit changed();
}
