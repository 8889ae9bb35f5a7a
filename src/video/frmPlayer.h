#pragma once
// The continuous player: the open video at normal speed, with sound, in a
// window of its own. It starts playing as soon as it is shown. Pausing it
// reports the paused whole second, so the main window can move there.
//
// Positions are seconds from the start of the video stream. Some containers
// (MPEG program streams) begin their clock above zero; that start is read
// from the file and subtracted, so second 0 is always the first picture.

#include <QWidget>

class QAudioOutput;
class QMediaPlayer;
class QTimer;
class QToolButton;
class QVideoWidget;

class frmPlayer : public QWidget
{
    Q_OBJECT
public:
    // Plays `path` (the main window passes the open video).
    explicit frmPlayer(const QString &path, QWidget *parent = nullptr);
    ~frmPlayer() override;

    QToolButton *cmdStop = nullptr;
    QToolButton *cmdPause = nullptr;
    QToolButton *cmdPlay = nullptr;
    QVideoWidget *picVideoWindow = nullptr;
    QTimer *tmrTimer = nullptr;

    bool PlayerPlaying = false;

    QString filePath() const { return m_filePath; }
    // Length of the file in seconds, two decimals; 0 until it is known.
    double duration() const { return m_duration; }
    // Current position in seconds from the first picture.
    double currentPosition() const;
    QMediaPlayer *mediaPlayer() const { return m_player; }

    void cmdPlay_Click();
    void cmdPause_Click();
    void cmdStop_Click();
    void tmrTimer_Timer();

signals:
    // The user paused at this whole second (also kept as PlayerPauseSeconds).
    void pausedAt(qint32 seconds);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void openPlayerGraph();
    void showButtons(bool playing);
    void setPosition(double seconds);

    QString m_filePath;
    QMediaPlayer *m_player = nullptr;
    QAudioOutput *m_audio = nullptr;
    double m_duration = 0;
    double m_startPosition = 0;
    double m_rate = 1;
    qint64 m_clockOffsetMs = 0; // the player's position at the first picture
};
