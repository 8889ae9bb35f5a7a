#include "video/frmPlayer.h"

#include "base/measurement_state.h"
#include "base/numbers.h"
#include "platform/media_start_time.h"
#include "video/frame_navigation.h"

#include <QAudioOutput>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMediaPlayer>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QVideoWidget>
#include <algorithm>

namespace {

QToolButton *pictureButton(const char *name, QStyle::StandardPixmap icon, const QString &tip,
                           QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setIcon(parent->style()->standardIcon(icon));
    b->setIconSize(QSize(28, 28));
    b->setMinimumSize(44, 40);
    b->setToolTip(tip);
    return b;
}

// Whole seconds, halves to even, as the play and pause buttons compare them.
double wholeSeconds(double seconds)
{
    return num::roundHalfEven(seconds);
}

} // namespace

frmPlayer::frmPlayer(const QString &path, QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmPlayer"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("キネモ - 連続再生 -"));

    picVideoWindow = new QVideoWidget(this);
    picVideoWindow->setObjectName(QStringLiteral("picVideoWindow"));
    picVideoWindow->setMinimumSize(480, 360);
    cmdStop =
        pictureButton("cmdStop", QStyle::SP_MediaStop, QStringLiteral("映像を停止します"), this);
    cmdPause = pictureButton("cmdPause", QStyle::SP_MediaPause,
                             QStringLiteral("映像を一時停止します"), this);
    cmdPlay =
        pictureButton("cmdPlay", QStyle::SP_MediaPlay, QStringLiteral("映像を再生します"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdStop);
    buttons->addWidget(cmdPause);
    buttons->addWidget(cmdPlay);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(picVideoWindow, 1);
    layout->addLayout(buttons);

    connect(cmdPlay, &QToolButton::clicked, this, &frmPlayer::cmdPlay_Click);
    connect(cmdPause, &QToolButton::clicked, this, &frmPlayer::cmdPause_Click);
    connect(cmdStop, &QToolButton::clicked, this, &frmPlayer::cmdStop_Click);

    tmrTimer = new QTimer(this);
    tmrTimer->setObjectName(QStringLiteral("tmrTimer"));
    tmrTimer->setInterval(250);
    connect(tmrTimer, &QTimer::timeout, this, &frmPlayer::tmrTimer_Timer);
    tmrTimer->start();

    showButtons(false);
    m_filePath = path;
    openPlayerGraph();
}

frmPlayer::~frmPlayer() = default;

void frmPlayer::openPlayerGraph()
{
    m_player = new QMediaPlayer(this);
    m_audio = new QAudioOutput(this);
    m_player->setAudioOutput(m_audio);
    m_player->setVideoOutput(picVideoWindow);

    connect(m_player, &QMediaPlayer::durationChanged, this,
            [this](qint64 ms) { m_duration = num::roundHalfEven(ms / 10.0) / 100.0; });
    // The player's clock of an MPEG program stream starts where the stream
    // does, and stays there.
    m_clockOffsetMs = qRound64(videoStartSeconds(m_filePath) * 1000.0);
    m_player->setSource(QUrl::fromLocalFile(m_filePath));
    m_startPosition = 0.0;
    m_rate = m_player->playbackRate();
    cmdPlay_Click();
}

double frmPlayer::currentPosition() const
{
    if (!m_player)
        return 0;
    return std::max<qint64>(0, m_player->position() - m_clockOffsetMs) / 1000.0;
}

void frmPlayer::setPosition(double seconds)
{
    m_player->setPosition(m_clockOffsetMs + qint64(seconds * 1000.0));
}

void frmPlayer::cmdPlay_Click()
{
    if (!m_player)
        return;
    const double position = wholeSeconds(currentPosition());
    if (position < wholeSeconds(m_startPosition))
        setPosition(m_startPosition);
    else if (position == wholeSeconds(m_duration) ||
             m_player->mediaStatus() == QMediaPlayer::EndOfMedia)
        // Play after the end starts again from the beginning.
        setPosition(m_startPosition);
    m_player->play();
    PlayerPlaying = true;
    showButtons(true);
}

void frmPlayer::cmdPause_Click()
{
    if (!m_player)
        return;
    m_player->pause();
    PlayerPlaying = false;
    const qint32 seconds = nav::pauseSeconds(currentPosition());
    measurementState().PlayerPauseSeconds = seconds;
    emit pausedAt(seconds);
    showButtons(false);
}

void frmPlayer::cmdStop_Click()
{
    if (!m_player)
        return;
    m_player->stop();
    PlayerPlaying = false;
    setPosition(0);
    showButtons(false);
}

void frmPlayer::tmrTimer_Timer()
{
    if (!PlayerPlaying || !m_player)
        return;
    if (m_player->mediaStatus() == QMediaPlayer::EndOfMedia) {
        PlayerPlaying = false;
        showButtons(false);
    }
}

void frmPlayer::showButtons(bool playing)
{
    cmdPlay->setEnabled(!playing);
    cmdPause->setEnabled(playing);
    cmdStop->setEnabled(playing);
}

void frmPlayer::closeEvent(QCloseEvent *event)
{
    PlayerPlaying = false;
    tmrTimer->stop();
    if (m_player) {
        m_player->stop();
        m_player->setVideoOutput(nullptr);
    }
    event->accept();
}
