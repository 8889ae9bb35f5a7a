#pragma once
// The main window's video: opening and closing a file, the frame shown in the
// preview, moving through the frames, frame-by-frame playback, the short
// input pause after each move, the continuous player, and the frame rate
// that times follow (the file's own, or the rate the video was filmed at).
//
// Moves never decode: they set the slider and FrameRefreshPending, and the
// 100 ms refresh tick renders the frame at the slider, so that several moves
// within one tick cost one picture.

#include <QImage>
#include <QObject>
#include <QPalette>
#include <QPointer>
#include <QSize>
#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <utility>

class FrameSource;
class PreviewWidget;
class QAbstractButton;
class QAction;
class QLabel;
class QLineEdit;
class QSlider;
class QTimer;
class QWidget;
struct WindowState;

struct VideoControls
{
    QWidget *window = nullptr; // carries the video's name in its title
    PreviewWidget *preview = nullptr;
    QSlider *slider = nullptr;
    QAbstractButton *backFrame = nullptr;
    QAbstractButton *forwardFrame = nullptr;
    QAbstractButton *play = nullptr;
    QAbstractButton *stop = nullptr;
    QAbstractButton *backStep = nullptr;
    QAbstractButton *forwardStep = nullptr;
    QAbstractButton *player = nullptr;
    QLineEdit *interval = nullptr;
    QLabel *frameValue = nullptr;
    QLabel *count = nullptr;
    QLabel *timeValue = nullptr;
    QLabel *rateValue = nullptr;
    QAbstractButton *rateButton = nullptr; // asks for the capture rate
    QTimer *refreshTimer = nullptr;
    QTimer *playTimer = nullptr;
    QTimer *waitTimer = nullptr;
    QAction *open = nullptr;
    QAction *close = nullptr;
};

class VideoPart : public QObject
{
    Q_OBJECT
public:
    VideoPart(WindowState &state, const VideoControls &controls, QObject *parent = nullptr);
    ~VideoPart() override;

    // "映像を開く(&O)": the open dialog, then openVideoFile().
    // The dialog's filters, the first one the default.
    static QString fileFilters();
    void openWithDialog();
    // False when the file is not a usable video; nothing changes then.
    // Without `askCaptureRate` a rate the file notes it was filmed at is not
    // offered (a measurement brought back brings its own rate).
    bool openVideoFile(const QString &path, bool askCaptureRate = true);
    void closeVideo();

    // What is about to empty the measurement: another video (from the
    // menu or a drop) or closing this one.
    enum class Emptying
    {
        Open,
        Close
    };
    // Asked once a new video has been checked, or before the video closes;
    // false stops the command with nothing changed. Without one, it goes on.
    void setMeasurementGuard(std::function<bool(Emptying)> guard) { m_guard = std::move(guard); }

    // The frame on show (the slider's position).
    qint32 position() const;
    // Its time: the position over FrameRate; 0 before a video was opened.
    double CurrentFrameTime() const;
    // Moves by `frames` (negative: back), held within the video; the step
    // buttons' moves also when the buttons are disabled.
    void moveBy(double frames);
    // The forward step of "次へ進む" by the plotting interval.
    void stepForward();
    // The position a step back by the plotting interval would reach.
    qint32 positionBefore() const;
    // Moves to `position` as the program's own move (tracking).
    void moveTo(qint32 position);
    // The short pause after a move: clicks on the preview are not taken
    // until the next tick of the wait timer.
    void beginInputPause();
    // The refresh tick: renders the frame at the slider when a move asked.
    void renderCurrentFrame();

    // The readouts after start-up: "/ 0", "0", "0.00秒/0.00秒", "0".
    void resetReadouts();

    // The capture rate. FrameRate is the rate times and speeds are worked
    // out with; it starts as the file's own rate, and becomes the rate the
    // video was filmed at when the user accepts the file's note of it or
    // types one. Positions and decoding keep the file's own rate.
    // askFrameRate() is the input box; useFrameRate() sets an accepted rate
    // (the points stay: they are frame numbers).
    void askFrameRate();
    void useFrameRate(double rate);
    // FrameRate was replaced from elsewhere (a measurement file was loaded):
    // the readout and, with a video, the time label follow it.
    void showFrameRate();

    // The open video file's own frame rate (FrameRate without a video).
    double playbackRate() const;
    FrameSource *frameSource() const; // the open video's; null without one
    QSize previewSize() const;
    const QString &chosenFilePath() const { return m_chosenPath; }
    QPointer<QWidget> &playerWindow() { return m_player; }
    void closePlayer();

signals:
    // After every move: the markers of the new frame are to be shown.
    void moved();
    // A new video replaced the old one: its measurement starts empty.
    void videoOpened();
    void videoClosed();
    // FrameRate changed while the measurement stayed: results shown so far
    // are out of date.
    void frameRateChanged();
    // Something the window's controls follow has changed.
    void changed();

private:
    void wire();
    void scrolledByUser();
    void waitTick();
    void playerPausedAt(qint32 seconds);
    void openPlayer();
    void setSliderQuietly(qint32 position);
    void showPositionLabels();
    void afterMove();
    void offerFileCaptureRate();
    void showRateReadout();
    void markRateReadout(const QString &filmedRateTip);
    // The frame on show at the video's own size, for the magnifier.
    QImage magnifiedFrame();

    WindowState &m_state;
    VideoControls m_c;
    std::shared_ptr<FrameSource> m_source;
    QSize m_previewSize;
    qint32 m_shownPosition = 0; // the position of the frame the preview shows
    // The last frames the magnifier read, newest first (full HD: 8 MiB each).
    static constexpr size_t FullFramesKept = 4;
    std::deque<std::pair<qint32, QImage>> m_fullFrames;
    QString m_chosenPath;
    QPointer<QWidget> m_player;
    bool m_sliderByProgram = false;
    QPalette m_plainRatePalette;
    std::function<bool(Emptying)> m_guard;
};
