// The main window with generated clips: opening and closing a video, the
// frame shown in the preview, the navigation buttons, the slider, playback,
// the input pause and the continuous player.

#include "app/frmMain.h"
#include "base/measurement_state.h"
#include "clip_maker.h"
#include "platform/ffmpeg_frame_source.h"
#include "recording_platform.h"
#include "video/frmPlayer.h"
#include "video/plotting_cursor.h"
#include "video/preview_widget.h"
#include "video/video_part.h"

#include <QAction>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMediaPlayer>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

const QString kNoVideo = QStringLiteral("選択したファイルは映像が含まれていません");

// The FFmpeg source, counting the pictures asked for.
class CountingSource : public FfmpegFrameSource
{
public:
    explicit CountingSource(int *counter) : m_counter(counter) {}
    QImage frameAtTime(double seconds, QSize size) override
    {
        ++*m_counter;
        return FfmpegFrameSource::frameAtTime(seconds, size);
    }

private:
    int *m_counter;
};

} // namespace

class tst_frmMain_video : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestPlatform> m_platform;
    std::unique_ptr<frmMain> m_window;
    int m_renders = 0;

    frmMain &w() { return *m_window; }

    QString clip(ClipKind kind)
    {
        const QString file = ClipMaker::path(kind);
        if (file.isEmpty())
            qWarning("%s", qPrintable(ClipMaker::lastError()));
        return file;
    }
    void open(const QString &file)
    {
        m_platform->fileDialogs->openNames.enqueue(file);
        w().mnuFileOpen->trigger();
    }
    // The number the preview shows once the refresh tick has run.
    static bool rendered(int ms = 2000)
    {
        return QTest::qWaitFor([] { return !measurementState().FrameRefreshPending; }, ms);
    }
    int shownFrame()
    {
        if (!rendered())
            return -2;
        return readFrameNumber(w().picPreview->frame());
    }

private slots:
    void init();
    void cleanup();

    void openShowsFirstFrameAndTiming();
    void openFitsPreviewToProportions();
    void frameButtonsStayWithinTheVideo();
    void stepButtonsUseTheInterval_data();
    void stepButtonsUseTheInterval();
    void intervalTooltips();
    void severalStepsGiveOneRender();
    void sliderMovesByTheUser();
    void inputPauseCursors();
    void playbackAdvancesUntilStopped();
    void closeReturnsToStartUpState();
    void badFilesLeaveOpenVideo_data();
    void badFilesLeaveOpenVideo();
    void cancelAndMissingFileChangeNothing();
    void damagedVideoKeepsLastPicture();
    void playerPlaysPausesAndStops();
    void playerOfMpegCountsFromFirstPicture();
    void playerClosedByOpenAndClose();
};

void tst_frmMain_video::init()
{
    m_platform = std::make_unique<TestPlatform>();
    m_renders = 0;
    m_platform->fileDialogs->openNames.clear();
    platform().frameSources = [this] { return std::make_unique<CountingSource>(&m_renders); };
    m_window = std::make_unique<frmMain>();
    m_window->show();
}

void tst_frmMain_video::cleanup()
{
    m_window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_platform.reset();
}

void tst_frmMain_video::openShowsFirstFrameAndTiming()
{
    const QString file = clip(ClipKind::MpegPs2_2997);
    QVERIFY(!file.isEmpty());
    MeasurementState &s = measurementState();
    s.PointCount = 2;
    s.PointTable[1][MeasurementState::ColFrame] = 5;
    s.RefLengthPixels = 33;
    s.markPointsWritten(); // saved: nothing to ask

    open(file);

    QVERIFY(m_platform->prompts->shown.isEmpty());
    QCOMPARE(m_platform->fileDialogs->filtersSeen.value(0), VideoPart::fileFilters());

    QCOMPARE(w().windowTitle(), QStringLiteral("キネモ　") + file);
    QCOMPARE(s.VideoPath, file);
    QCOMPARE(w().video().chosenFilePath(), file);
    QCOMPARE(s.TotalFrames, 300);
    QVERIFY(qAbs(s.FrameRate - 30000.0 / 1001.0) < 1e-6);
    QCOMPARE(w().lblCount->text(), QStringLiteral("/ 300"));
    QCOMPARE(w().lblFPSValue->text(), QStringLiteral("29.97"));
    QCOMPARE(w().lblCurrentFrameValue->text(), QStringLiteral("0"));
    QCOMPARE(w().lblCurrentTimeValue->text(), QStringLiteral("0.00秒 / 10.01秒"));
    QCOMPARE(w().ctrlSlider->minimum(), 0);
    QCOMPARE(w().ctrlSlider->maximum(), 300);
    QCOMPARE(w().ctrlSlider->pageStep(), 30);
    QCOMPARE(w().ctrlSlider->singleStep(), 3);
    QCOMPARE(w().ctrlSlider->value(), 0);
    QVERIFY(w().state().VideoOpen);
    QVERIFY(w().state().DataOpened);
    QVERIFY(!w().state().ShakeCorrectionOn);

    // The measurement of the previous video is gone.
    QCOMPARE(int(s.PointCount), 0);
    QCOMPARE(s.RefLengthPixels, 0.0f);

    for (QWidget *c : std::initializer_list<QWidget *>{
             w().ctrlSlider, w().cmdBackFrame, w().cmdFwdFrame, w().cmdPlay, w().cmdStop,
             w().cmdLength, w().cmdBack, w().cmdStep, w().cmdErase, w().cmdProtDisp, w().cmdPlayer})
        QVERIFY2(c->isEnabled(), qPrintable(c->objectName()));

    QCOMPARE(readFrameNumber(w().picPreview->frame()), 0);
    QCOMPARE(shownFrame(), 0);
}

void tst_frmMain_video::openFitsPreviewToProportions()
{
    const QString file = clip(ClipKind::Wide16x9);
    QVERIFY(!file.isEmpty());
    open(file);
    QCOMPARE(w().picPreview->size(), QSize(640, 360));
    QCOMPARE(w().picPreview->frame().size(), QSize(640, 360));
    QCOMPARE(readFrameNumber(w().picPreview->frame()), 0);

    // Stored on its side with a turn in its display matrix: shown upright.
    open(clip(ClipKind::Rotated90));
    QVERIFY(m_platform->prompts->shown.isEmpty());
    QCOMPARE(w().picPreview->size(), QSize(640, 480));
    w().cmdFwdFrame->click();
    QCOMPARE(shownFrame(), 1);

    // An upright phone video stands in the middle of the picture box.
    open(clip(ClipKind::CirclePortrait));
    QCOMPARE(w().picPreview->size(), QSize(270, 480));
    w().centralWidget()->layout()->activate();
    QCOMPARE(w().picPreview->geometry().center().x(), w().ctrlSlider->geometry().center().x());

    const QString japanese = clip(ClipKind::JapaneseName);
    QVERIFY(!japanese.isEmpty());
    open(japanese);
    QVERIFY(m_platform->prompts->shown.isEmpty());
    QCOMPARE(w().windowTitle(), QStringLiteral("キネモ　") + japanese);
    QCOMPARE(w().picPreview->size(), QSize(640, 480));
    QCOMPARE(readFrameNumber(w().picPreview->frame()), 0);
}

void tst_frmMain_video::frameButtonsStayWithinTheVideo()
{
    open(clip(ClipKind::AviMjpeg25)); // 75 frames at 25 per second
    QCOMPARE(measurementState().TotalFrames, 75);
    QVERIFY(rendered(2000));

    // Back at the first frame stays there, and still refreshes.
    w().cmdBackFrame->click();
    QCOMPARE(w().ctrlSlider->value(), 0);
    QVERIFY(measurementState().FrameRefreshPending);
    QCOMPARE(shownFrame(), 0);

    w().cmdFwdFrame->click();
    w().cmdFwdFrame->click();
    QCOMPARE(w().ctrlSlider->value(), 2);
    QCOMPARE(w().lblCurrentFrameValue->text(), QStringLiteral("2"));
    QCOMPARE(w().lblCurrentTimeValue->text(), QStringLiteral("0.08秒 / 3.00秒"));
    QCOMPARE(shownFrame(), 2);

    w().ctrlSlider->setValue(75);
    QCOMPARE(shownFrame(), 74); // one past the last frame shows the last one
    w().cmdFwdFrame->click();
    QCOMPARE(w().ctrlSlider->value(), 75);
    QVERIFY(measurementState().FrameRefreshPending);
    QCOMPARE(shownFrame(), 74);

    w().cmdBackFrame->click();
    QCOMPARE(shownFrame(), 74);
    w().cmdBackFrame->click();
    QCOMPARE(shownFrame(), 73);
    QCOMPARE(w().video().CurrentFrameTime(), 73 / 25.0);
}

void tst_frmMain_video::stepButtonsUseTheInterval_data()
{
    QTest::addColumn<QString>("rate");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("forward");
    QTest::addColumn<int>("back");

    QTest::newRow("3 near the end") << "3" << 73 << 75 << 70;
    QTest::newRow("3 at the end") << "3" << 75 << 75 << 72;
    QTest::newRow("1.5: 3.5 up, 0.5 down") << "1.5" << 2 << 4 << 0;
    QTest::newRow("not a number") << "abc" << 10 << 10 << 10;
    QTest::newRow("negative") << "-5" << 10 << 5 << 15;
    QTest::newRow("leading number") << " 10コマ" << 30 << 40 << 20;
    QTest::newRow("huge") << "99999999999" << 30 << 75 << 0;
}

void tst_frmMain_video::stepButtonsUseTheInterval()
{
    QFETCH(QString, rate);
    QFETCH(int, from);
    QFETCH(int, forward);
    QFETCH(int, back);
    open(clip(ClipKind::AviMjpeg25));
    w().txtRate->setText(rate);
    w().ctrlSlider->setValue(from);
    w().cmdStep->click();
    QCOMPARE(w().ctrlSlider->value(), forward);
    QCOMPARE(w().picPreview->cursor().shape(), Qt::WaitCursor);
    w().ctrlSlider->setValue(from);
    w().cmdBack->click();
    QCOMPARE(w().ctrlSlider->value(), back);
    QCOMPARE(shownFrame(), std::min(back, 74));
}

void tst_frmMain_video::intervalTooltips()
{
    QVERIFY(w().cmdStep->toolTip().isEmpty());
    QVERIFY(w().cmdBack->toolTip().isEmpty());
    w().txtRate->setText(QStringLiteral("2"));
    QCOMPARE(w().cmdStep->toolTip(), QStringLiteral("2コマ進めます"));
    QCOMPARE(w().cmdBack->toolTip(), QStringLiteral("2コマ戻します"));
    w().txtRate->setText(QStringLiteral("1.5x"));
    QCOMPARE(w().cmdStep->toolTip(), QStringLiteral("1.5xコマ進めます"));
}

void tst_frmMain_video::severalStepsGiveOneRender()
{
    open(clip(ClipKind::AviMjpeg25));
    QVERIFY(rendered(2000));
    QTest::qWait(150);
    const int before = m_renders;
    for (int i = 0; i < 5; ++i)
        w().cmdFwdFrame->click();
    QCOMPARE(m_renders, before); // moves do not decode
    QCOMPARE(shownFrame(), 5);
    QTest::qWait(250);
    QCOMPARE(m_renders, before + 1);
}

void tst_frmMain_video::sliderMovesByTheUser()
{
    open(clip(ClipKind::AviMjpeg25));
    QVERIFY(rendered(2000));
    w().ctrlSlider->triggerAction(QAbstractSlider::SliderPageStepAdd); // a click on the track
    QCOMPARE(w().ctrlSlider->value(), 8);                              // 75 / 10 rounds to 8
    QVERIFY(measurementState().FrameRefreshPending);
    QCOMPARE(w().lblCurrentFrameValue->text(), QStringLiteral("8"));
    QVERIFY(!w().state().InputPauseOver);
    QCOMPARE(shownFrame(), 8);
    w().ctrlSlider->triggerAction(QAbstractSlider::SliderSingleStepAdd); // 0.75 rounds to 1
    QCOMPARE(w().ctrlSlider->value(), 9);
    QCOMPARE(shownFrame(), 9);
}

void tst_frmMain_video::inputPauseCursors()
{
    open(clip(ClipKind::AviMjpeg25));
    QVERIFY(QTest::qWaitFor([this] { return w().state().InputPauseOver; }, 1000));
    QVERIFY(QTest::qWaitFor([this] { return !w().tmrWait->isActive(); }, 1000));
    const QCursor plotting = plotting_cursor::cursor();
    QCOMPARE(w().picPreview->cursor().pixmap().toImage(), plotting.pixmap().toImage());

    w().cmdFwdFrame->click();
    QVERIFY(!w().state().InputPauseOver);
    QVERIFY(w().tmrWait->isActive());
    QCOMPARE(w().picPreview->cursor().shape(), Qt::WaitCursor);
    QVERIFY(QTest::qWaitFor([this] { return w().state().InputPauseOver; }, 1000));
    QCOMPARE(w().picPreview->cursor().pixmap().toImage(), plotting.pixmap().toImage());
    // The timer switches itself off one tick after the plotting cursor is back.
    QVERIFY(QTest::qWaitFor([this] { return !w().tmrWait->isActive(); }, 1000));
    QVERIFY(w().state().InputPauseOver);
}

void tst_frmMain_video::playbackAdvancesUntilStopped()
{
    open(clip(ClipKind::AviMjpeg25));
    w().ctrlSlider->setValue(70);
    w().cmdPlay->click();
    QVERIFY(w().tmrPlay->isActive());
    QCOMPARE(w().tmrPlay->interval(), 200);
    QVERIFY(QTest::qWaitFor([this] { return w().ctrlSlider->value() == 75; }, 3000));
    QTest::qWait(450); // held at the end while playing
    QCOMPARE(w().ctrlSlider->value(), 75);
    QVERIFY(w().tmrPlay->isActive());

    w().ctrlSlider->setValue(10); // other moves during playback are allowed
    QVERIFY(QTest::qWaitFor([this] { return w().ctrlSlider->value() >= 12; }, 3000));
    w().cmdStop->click();
    QVERIFY(!w().tmrPlay->isActive());
    QVERIFY(!w().state().InputPauseOver);
    const int stoppedAt = w().ctrlSlider->value();
    QTest::qWait(450);
    QCOMPARE(w().ctrlSlider->value(), stoppedAt);
    QCOMPARE(shownFrame(), stoppedAt);
}

void tst_frmMain_video::closeReturnsToStartUpState()
{
    const QString file = clip(ClipKind::AviMjpeg25);
    open(file);
    w().ctrlSlider->setValue(20);
    QCOMPARE(shownFrame(), 20);
    w().cmdPlay->click();
    measurementState().PointCount = 1;
    measurementState().PointTable[1][MeasurementState::ColFrame] = 20;
    measurementState().markPointsWritten(); // saved: the close asks nothing

    w().mnuFileClose->trigger();
    QCOMPARE(w().windowTitle(), QStringLiteral("キネモ"));
    QCOMPARE(w().lblCount->text(), QStringLiteral("/ 0"));
    QCOMPARE(w().lblCurrentFrameValue->text(), QStringLiteral("0"));
    QCOMPARE(w().lblCurrentTimeValue->text(), QStringLiteral("0.00秒/0.00秒"));
    QCOMPARE(w().lblFPSValue->text(), QStringLiteral("0"));
    QCOMPARE(w().ctrlSlider->value(), 0);
    QVERIFY(w().picPreview->frame().isNull());
    QVERIFY(w().video().frameSource() == nullptr);
    QVERIFY(!w().tmrPlay->isActive());
    QCOMPARE(w().picPreview->cursor().shape(), Qt::ArrowCursor);
    for (QWidget *c : std::initializer_list<QWidget *>{
             w().ctrlSlider, w().cmdBackFrame, w().cmdFwdFrame, w().cmdPlay, w().cmdStop,
             w().cmdLength, w().cmdBack, w().cmdStep, w().cmdErase, w().cmdPlayer})
        QVERIFY2(!c->isEnabled(), qPrintable(c->objectName()));
    // The measurement and the timing stay until another video is opened.
    QCOMPARE(int(measurementState().PointCount), 1);
    QCOMPARE(measurementState().TotalFrames, 75);
    QTest::qWait(250);
    QVERIFY(w().picPreview->frame().isNull());

    open(file);
    QCOMPARE(int(measurementState().PointCount), 0);
    QCOMPARE(w().windowTitle(), QStringLiteral("キネモ　") + file);
    QCOMPARE(shownFrame(), 0);
}

void tst_frmMain_video::badFilesLeaveOpenVideo_data()
{
    // A video stream that cannot be decoded is named by its format (or by
    // the file's tag for it when FFmpeg does not know it at all).
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("audio only") << int(ClipKind::AudioOnly) << kNoVideo;
    QTest::newRow("zero bytes") << int(ClipKind::ZeroBytes) << kNoVideo;
    QTest::newRow("text named .avi") << int(ClipKind::TextAsAvi) << kNoVideo;
    QTest::newRow("video stream without frames") << int(ClipKind::NoVideoPackets) << kNoVideo;
    QTest::newRow("unknown codec") << int(ClipKind::UnknownCodec)
                                   << QStringLiteral("この映像の形式（QQQQ）は表示できません。");
    QTest::newRow("codec without decoder")
        << int(ClipKind::NoDecoder) << QStringLiteral("この映像の形式（avs2）は表示できません。");
    QTest::newRow("MOV cut before its index") << int(ClipKind::TruncatedMov) << kNoVideo;
}

void tst_frmMain_video::badFilesLeaveOpenVideo()
{
    QFETCH(int, kind);
    QFETCH(QString, message);
    const QString good = clip(ClipKind::AviMjpeg25);
    const QString bad = clip(ClipKind(kind));
    QVERIFY(!bad.isEmpty());
    open(good);
    w().ctrlSlider->setValue(30);
    QCOMPARE(shownFrame(), 30);
    measurementState().PointCount = 1;
    FrameSource *source = w().video().frameSource();

    open(bad);
    QCOMPARE(m_platform->prompts->texts(), QStringList{message});
    QCOMPARE(m_platform->prompts->shown.constFirst().icon, Prompts::Icon::Exclamation);
    QCOMPARE(w().windowTitle(), QStringLiteral("キネモ　") + good);
    QCOMPARE(w().video().frameSource(), source);
    QCOMPARE(measurementState().VideoPath, good);
    QCOMPARE(measurementState().TotalFrames, 75);
    QCOMPARE(measurementState().FrameRate, 25.0);
    QCOMPARE(int(measurementState().PointCount), 1);
    QCOMPARE(w().ctrlSlider->value(), 30);
    QCOMPARE(w().lblCount->text(), QStringLiteral("/ 75"));
    QCOMPARE(readFrameNumber(w().picPreview->frame()), 30);
    w().cmdFwdFrame->click();
    QCOMPARE(shownFrame(), 31);

    // Without a video open, the window stays in its start-up state.
    m_window = std::make_unique<frmMain>();
    open(bad);
    QCOMPARE(m_platform->prompts->shown.size(), 2);
    QCOMPARE(w().windowTitle(), QStringLiteral("キネモ"));
    QVERIFY(!w().state().VideoOpen);
    QVERIFY(!w().ctrlSlider->isEnabled());
}

void tst_frmMain_video::cancelAndMissingFileChangeNothing()
{
    w().mnuFileOpen->trigger(); // no name: cancelled
    open(m_platform->programFolder + QStringLiteral("/missing.avi"));
    QVERIFY(m_platform->prompts->shown.isEmpty());
    QCOMPARE(m_platform->fileDialogs->filtersSeen.size(), 2);
    QCOMPARE(w().windowTitle(), QStringLiteral("キネモ"));
    QVERIFY(!w().state().VideoOpen);
    QVERIFY(w().video().frameSource() == nullptr);
}

void tst_frmMain_video::damagedVideoKeepsLastPicture()
{
    for (ClipKind kind : {ClipKind::TruncatedAvi}) {
        const QString file = clip(kind);
        QVERIFY(!file.isEmpty());
        open(file);
        QVERIFY2(m_platform->prompts->shown.isEmpty(), qPrintable(file));
        QCOMPARE(shownFrame(), 0);
        // Far beyond what the truncated file holds: some picture stays.
        w().ctrlSlider->setValue(w().ctrlSlider->maximum());
        QVERIFY(rendered(5000));
        QTest::qWait(150);
        QVERIFY(!w().picPreview->frame().isNull());
        w().ctrlSlider->setValue(1);
        QCOMPARE(shownFrame(), 1);
    }
}

void tst_frmMain_video::playerPlaysPausesAndStops()
{
    open(clip(ClipKind::AviMjpeg25)); // 3 s
    w().cmdPlayer->click();
    auto *player = qobject_cast<frmPlayer *>(w().video().playerWindow().data());
    QVERIFY(player);
    QCOMPARE(player->windowTitle(), QStringLiteral("キネモ - 連続再生 -"));
    QVERIFY(player->PlayerPlaying); // playing at once
    QVERIFY(!player->cmdPlay->isEnabled());
    QVERIFY(player->cmdPause->isEnabled());
    QVERIFY(player->cmdStop->isEnabled());
    QCOMPARE(player->tmrTimer->interval(), 250);

    // A second click only brings the same player forward.
    w().cmdPlayer->click();
    QCOMPARE(w().video().playerWindow().data(), player);

    QVERIFY(QTest::qWaitFor([player] { return player->currentPosition() >= 1.6; }, 10000));
    player->cmdPause->click();
    QVERIFY(!player->PlayerPlaying);
    QVERIFY(player->cmdPlay->isEnabled());
    QVERIFY(!player->cmdPause->isEnabled());
    QVERIFY(!player->cmdStop->isEnabled());
    QCOMPARE(measurementState().PlayerPauseSeconds, 2);
    QCOMPARE(w().ctrlSlider->value(), 50);
    QCOMPARE(w().lblCurrentFrameValue->text(), QStringLiteral("50"));
    QCOMPARE(w().lblCurrentTimeValue->text(), QStringLiteral("2.00秒 / 3.00秒"));
    QCOMPARE(shownFrame(), 50);
    QCOMPARE(player->duration(), 3.0);

    // Play continues to the end; the completion check notices it.
    player->cmdPlay->click();
    QVERIFY(player->PlayerPlaying);
    QVERIFY(QTest::qWaitFor([player] { return !player->PlayerPlaying; }, 10000));
    QVERIFY(player->cmdPlay->isEnabled());
    QVERIFY(!player->cmdStop->isEnabled());

    // Play after the end starts again from the beginning.
    player->cmdPlay->click();
    QVERIFY(QTest::qWaitFor(
        [player] {
            return player->mediaPlayer()->playbackState() == QMediaPlayer::PlayingState &&
                   player->currentPosition() > 0.05 && player->currentPosition() < 1.5;
        },
        5000));
    player->cmdStop->click();
    QVERIFY(!player->PlayerPlaying);
    QVERIFY(player->cmdPlay->isEnabled());
    QVERIFY(!player->cmdPause->isEnabled());
    QVERIFY(QTest::qWaitFor([player] { return player->currentPosition() < 0.05; }, 2000));
}

void tst_frmMain_video::playerOfMpegCountsFromFirstPicture()
{
    // The clock of an MPEG program stream starts above zero (about 0.5 s);
    // the player counts from the first picture.
    open(clip(ClipKind::MpegPs1_25));
    w().cmdPlayer->click();
    auto *player = qobject_cast<frmPlayer *>(w().video().playerWindow().data());
    QVERIFY(player);
    QVERIFY(QTest::qWaitFor(
        [player] {
            return player->mediaPlayer()->playbackState() == QMediaPlayer::PlayingState &&
                   player->mediaPlayer()->position() > 0;
        },
        10000));
    QVERIFY2(player->currentPosition() < 0.4,
             qPrintable(QString::number(player->currentPosition())));
    QTest::qWait(700);
    player->cmdPause->click();
    const double paused = player->currentPosition();
    QVERIFY2(paused < 1.4, qPrintable(QString::number(paused)));
    const int seconds = measurementState().PlayerPauseSeconds;
    QCOMPARE(seconds, qRound(paused));
    QCOMPARE(w().ctrlSlider->value(), 25 * seconds);
}

void tst_frmMain_video::playerClosedByOpenAndClose()
{
    const QString file = clip(ClipKind::AviMjpeg25);
    open(file);
    w().cmdPlayer->click();
    QPointer<QWidget> first = w().video().playerWindow();
    QVERIFY(first);

    open(clip(ClipKind::Wide16x9));
    QVERIFY(QTest::qWaitFor([&first] { return first.isNull(); }, 2000));
    QVERIFY(w().video().playerWindow().isNull());

    w().cmdPlayer->click();
    auto *second = qobject_cast<frmPlayer *>(w().video().playerWindow().data());
    QVERIFY(second);
    QCOMPARE(second->filePath(), clip(ClipKind::Wide16x9));

    QPointer<QWidget> watch = second;
    w().mnuFileClose->trigger();
    QVERIFY(QTest::qWaitFor([&watch] { return watch.isNull(); }, 2000));
}

QTEST_MAIN(tst_frmMain_video)
#include "tst_frmMain_video.moc"
