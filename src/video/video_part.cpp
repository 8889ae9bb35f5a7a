#include "video/video_part.h"

#include "base/measurement_state.h"
#include "base/window_state.h"
#include "platform/dialog_folders.h"
#include "platform/file_dialogs.h"
#include "platform/frame_source.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "video/cached_frame_source.h"
#include "video/capture_rate.h"
#include "video/frame_navigation.h"
#include "video/frmPlayer.h"
#include "video/magnifier_widget.h"
#include "video/preview_widget.h"

#include <QAbstractButton>
#include <QAction>
#include <QColor>
#include <QFileInfo>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTimer>

namespace {

const QSize kPreviewBox = previewBox();

const QString kOpenTitle = QStringLiteral("映像を開く");
const QString kNoVideo = QStringLiteral("選択したファイルは映像が含まれていません");

// Why a file gives no picture: it holds a video in a format that cannot be
// shown here (named, so that it can be converted), or no video at all.
QString refusalOf(const FrameSource &source)
{
    const QString format = source.hasVideo() ? source.undecodableFormat() : QString();
    if (format.isEmpty())
        return kNoVideo;
    return QStringLiteral("この映像の形式（%1）は表示できません。").arg(format);
}
// The rate readout while times follow a filming rate that is not the file's.
const QColor kFilmedRateColour(192, 64, 0);

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
    : QObject(parent), m_state(state), m_c(controls), m_previewSize(kPreviewBox),
      m_plainRatePalette(controls.rateValue->palette())
{
    m_c.rateButton->setToolTip(capture::buttonTip());
    // The magnifier reads the frame on show at the video's own size, once
    // per frame: the pointer's moves then only cut out and enlarge.
    m_c.preview->magnifier()->setFrameSource([this] { return magnifiedFrame(); });
    wire();
}

VideoPart::~VideoPart() = default;

QString VideoPart::fileFilters()
{
    // Every kind of file the program opens, phones' and cameras' first;
    // the dialog matches them whatever the case of the name (.MP4, .MOV).
    return QStringLiteral(
        "映像ファイル (*.avi *.mov *.mpg *.mpeg *.mp4 *.m4v *.3gp *.mts *.m2ts *.mkv *.webm "
        "*.wmv);;"
        "Video Files (*.avi *.mov *.mpg *.mpeg);;"
        "すべてのファイル (*)");
}

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
    connect(m_c.rateButton, &QAbstractButton::clicked, this, &VideoPart::askFrameRate);
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
    const QString name = platform().fileDialogs->openFileName(
        kOpenTitle, fileFilters(), dialogfolders::startFolder(dialogfolders::Kind::Videos));
    if (name.isEmpty() || !QFileInfo::exists(name))
        return;
    openVideoFile(name);
}

bool VideoPart::openVideoFile(const QString &path, bool askCaptureRate)
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
        platform().prompts->message(refusalOf(*source), Prompts::Buttons::Ok,
                                    Prompts::Icon::Exclamation);
        return false;
    }
    if (m_guard && !m_guard(Emptying::Open))
        return false;

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
    dialogfolders::remember(dialogfolders::Kind::Videos, path);
    m_previewSize = size;
    m_c.preview->setFixedSize(size);
    m_shownPosition = 0;
    m_fullFrames.clear();
    m_c.preview->setFrame(first);

    m_state.videoOpened();
    measurement.RefLengthPixels = 0;
    measurement.VideoPath = path;
    m_c.count->setText(nav::countLabel(measurement.TotalFrames));
    showRateReadout();
    closePlayer();
    // The measurement of the old video goes before the new one is shown.
    emit videoOpened();

    measurement.FrameRefreshPending = false;
    setSliderQuietly(0);
    scrolledByUser();
    if (askCaptureRate)
        offerFileCaptureRate();
    return true;
}

void VideoPart::offerFileCaptureRate()
{
    const double filmed = m_source->captureRate();
    if (filmed <= 0 || capture::sameRate(filmed, playbackRate()))
        return;
    const Prompts::Answer answer = platform().prompts->message(
        capture::fileRateQuestion(filmed), Prompts::Buttons::YesNo, Prompts::Icon::Question);
    if (answer == Prompts::Answer::Yes)
        useFrameRate(filmed);
}

double VideoPart::playbackRate() const
{
    return m_source ? m_source->frameRate() : measurementState().FrameRate;
}

void VideoPart::askFrameRate()
{
    if (!m_state.VideoOpen)
        return;
    const std::optional<QString> typed = platform().prompts->input(
        capture::inputPrompt(), QString(), capture::rateText(measurementState().FrameRate));
    if (!typed)
        return;
    const capture::Entry entry = capture::readEntry(*typed);
    if (!entry.rate) {
        platform().prompts->message(entry.problem, Prompts::Buttons::Ok,
                                    Prompts::Icon::Exclamation);
        return;
    }
    // The file's own rate as typed is the file's own rate exactly (29.97
    // for 30000/1001).
    useFrameRate(capture::sameRate(*entry.rate, playbackRate()) ? playbackRate() : *entry.rate);
}

void VideoPart::useFrameRate(double rate)
{
    MeasurementState &measurement = measurementState();
    // The rate shown in the box, accepted as it was, changes nothing.
    if (!m_state.VideoOpen || capture::sameRate(rate, measurement.FrameRate))
        return;
    measurement.FrameRate = rate;
    showFrameRate();
    emit frameRateChanged();
    emit changed();
}

void VideoPart::showFrameRate()
{
    // Also without a video (a loaded file): the rate the results use.
    showRateReadout();
    if (m_state.VideoOpen)
        showPositionLabels();
}

void VideoPart::showRateReadout()
{
    const double rate = measurementState().FrameRate;
    m_c.rateValue->setText(nav::frameRateLabel(rate));
    const bool filmedRate = rate > 0 && !capture::sameRate(rate, playbackRate());
    markRateReadout(filmedRate ? capture::readoutTip(rate, playbackRate()) : QString());
}

void VideoPart::markRateReadout(const QString &filmedRateTip)
{
    // A rate that is not the file's stands out, and its tooltip names both.
    const bool filmedRate = !filmedRateTip.isEmpty();
    m_c.rateValue->setToolTip(filmedRateTip);
    QPalette palette = m_plainRatePalette;
    if (filmedRate)
        palette.setColor(QPalette::WindowText, kFilmedRateColour);
    m_c.rateValue->setPalette(palette);
    QFont font = m_c.rateValue->font();
    font.setBold(filmedRate);
    m_c.rateValue->setFont(font);
}

void VideoPart::closeVideo()
{
    if (m_guard && !m_guard(Emptying::Close))
        return;
    m_state.videoClosed();
    m_c.preview->clearFrame();
    // The decoders, their background thread and the pictures kept go with
    // the video.
    m_source.reset();
    m_fullFrames.clear();
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
    const qint32 at = position();
    const QImage image = m_source->frame(at, m_c.preview->framePixelSize(m_previewSize));
    if (!image.isNull()) {
        m_shownPosition = at;
        m_c.preview->setFrame(image);
    }
}

QImage VideoPart::magnifiedFrame()
{
    if (!m_source)
        return {};
    for (const auto &[position, image] : m_fullFrames)
        if (position == m_shownPosition)
            return image;
    // A step back goes to a frame the decoder has left behind: the last few
    // are kept, so that going back over them costs no decoding again.
    const QImage image = m_source->fullFrame(m_shownPosition);
    if (!image.isNull()) {
        m_fullFrames.emplace_front(m_shownPosition, image);
        if (m_fullFrames.size() > FullFramesKept)
            m_fullFrames.pop_back();
    }
    return image;
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
    markRateReadout(QString());
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
    // Seconds of the file's own clock: its playback rate turns them into a
    // position, whatever rate the video was filmed at.
    setSliderQuietly(nav::pausePosition(seconds, playbackRate(), measurementState().TotalFrames));
    measurementState().FrameRefreshPending = true;
    showPositionLabels();
    emit changed();
}
