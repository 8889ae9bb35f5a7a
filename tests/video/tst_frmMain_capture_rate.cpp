// The main window with a slow-motion clip (a ball falling under g, filmed at
// 240 frames per second and saved to play at 30, with the filming rate in its
// metadata): the question on opening, the rate typed into the input box, the
// readout, the measured gravity, the continuous player's pause and the
// measurement file.

#include "app/frmMain.h"
#include "base/measurement_state.h"
#include "clip_maker.h"
#include "recording_platform.h"
#include "results/frmResult1.h"
#include "results/results_part.h"
#include "video/frmPlayer.h"
#include "video/preview_widget.h"
#include "video/video_part.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <cmath>

using B = FallingBall;

namespace {

const QString kQuestion =
    QStringLiteral("この映像は１秒間に240コマで撮影されています。240コマとして計算しますか？");
const QString kTip = QStringLiteral("撮影 240 コマ／秒（ファイルは 30 コマ／秒で再生）");
// The preview shows the 320 x 240 clip at twice its size.
constexpr double kScale = 2;

// Centre of the dark ball in the preview's picture: the mean of its pixels
// weighted by how much darker than the wall they are.
QPointF ballCentre(const QImage &frame)
{
    const QImage grey = frame.convertToFormat(QImage::Format_Grayscale8);
    double sum = 0, sumX = 0, sumY = 0;
    for (int y = 0; y < grey.height(); ++y) {
        const uchar *line = grey.constScanLine(y);
        // Right of the one-metre marks.
        for (int x = grey.width() / 2; x < grey.width(); ++x) {
            const double weight = std::max(0, 225 - line[x]);
            if (weight < 20)
                continue;
            sum += weight;
            sumX += weight * (x + 0.5);
            sumY += weight * (y + 0.5);
        }
    }
    return sum > 0 ? QPointF(sumX / sum, sumY / sum) : QPointF(-1, -1);
}

} // namespace

class tst_frmMain_capture_rate : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestPlatform> m_platform;
    std::unique_ptr<frmMain> m_window;
    QString m_clip;

    frmMain &w() { return *m_window; }
    RecordingPrompts &prompts() { return *m_platform->prompts; }

    // Opens the slow-motion clip, answering the question about its rate.
    void open(const QString &file, Prompts::Answer answer = Prompts::Answer::Yes)
    {
        prompts().answers.enqueue(answer);
        m_platform->fileDialogs->openNames.enqueue(file);
        w().mnuFileOpen->trigger();
        prompts().answers.clear();
    }
    bool settled()
    {
        return QTest::qWaitFor(
            [this] {
                return w().state().InputPauseOver && !measurementState().FrameRefreshPending;
            },
            3000);
    }
    bool goTo(int frame)
    {
        w().ctrlSlider->setValue(frame);
        return settled();
    }
    void click(QPointF at) { QTest::mouseClick(w().picPreview, Qt::LeftButton, {}, at.toPoint()); }
    QColor readoutColour() const
    {
        return m_window->lblFPSValue->palette().color(QPalette::WindowText);
    }
    QColor plainColour() const { return m_window->lblFps2->palette().color(QPalette::WindowText); }
    // Plots the ball on frames 0, 12, ... 108 (a twentieth of a second of
    // real time apart) and sets 100 cm on the two marks.
    void plotTheFall();

private slots:
    void init();
    void cleanup();

    void openingAsksForTheFilmedRate();
    void typedRateKeepsPointsAndClosesResults();
    void fallGivesGravity_data();
    void fallGivesGravity();
    void playerPausesOnTheFilesClock();
    void measurementFileKeepsTheRate();
};

void tst_frmMain_capture_rate::init()
{
    m_platform = std::make_unique<TestPlatform>();
    m_window = std::make_unique<frmMain>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_clip = ClipMaker::path(ClipKind::FallingBall240);
    QVERIFY2(!m_clip.isEmpty(), qPrintable(ClipMaker::lastError()));
}

void tst_frmMain_capture_rate::cleanup()
{
    m_window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_platform.reset();
}

void tst_frmMain_capture_rate::plotTheFall()
{
    measurementState().ClickAction = 0;
    QVERIFY(settled());
    w().cmdLength->click();
    click({100, kScale * B::TopY});
    QTest::mouseMove(w().picPreview, QPoint(100, 300));
    click({100, kScale * (B::TopY + B::PixelsPerMetre)});
    w().txtLengthValue->setText(QStringLiteral("100"));
    w().cmbTanni->setCurrentText(QStringLiteral("cm"));
    w().cmdLength->click();
    QCOMPARE(measurementState().RefLengthPixels, float(kScale * B::PixelsPerMetre));

    for (int frame = 0; frame < B::Frames; frame += 12) {
        QVERIFY(goTo(frame));
        // The frame on show is the one at this position of the file's own
        // clock, whatever rate the times follow.
        const QPointF expected = kScale * B::centre(frame);
        const QPointF seen = ballCentre(w().picPreview->frame());
        QVERIFY2(QLineF(seen, expected).length() < 0.5,
                 qPrintable(QStringLiteral("frame %1: ball at %2, %3 instead of %4, %5")
                                .arg(frame)
                                .arg(seen.x())
                                .arg(seen.y())
                                .arg(expected.x())
                                .arg(expected.y())));
        click(expected);
    }
    QCOMPARE(int(measurementState().PointCount), 10);
}

void tst_frmMain_capture_rate::openingAsksForTheFilmedRate()
{
    QVERIFY(!w().cmdFPS->isEnabled());
    QVERIFY(!w().cmdFPS->toolTip().isEmpty());

    // Declined: the file's own rate, as for any video.
    open(m_clip, Prompts::Answer::No);
    QCOMPARE(prompts().texts(), QStringList{kQuestion});
    QCOMPARE(prompts().shown.constFirst().buttons, Prompts::Buttons::YesNo);
    QCOMPARE(prompts().shown.constFirst().icon, Prompts::Icon::Question);
    QCOMPARE(measurementState().FrameRate, 30.0);
    QCOMPARE(w().lblFPSValue->text(), QStringLiteral("30.00"));
    QCOMPARE(w().lblCurrentTimeValue->text(), QStringLiteral("0.00秒 / 3.63秒"));
    QVERIFY(w().lblFPSValue->toolTip().isEmpty());
    QCOMPARE(readoutColour(), plainColour());
    QVERIFY(w().cmdFPS->isEnabled());

    // Accepted: times follow the filming rate; frames stay the file's.
    open(m_clip);
    QCOMPARE(prompts().shown.size(), 2);
    QCOMPARE(measurementState().FrameRate, 240.0);
    QCOMPARE(measurementState().TotalFrames, B::Frames);
    QCOMPARE(w().ctrlSlider->maximum(), B::Frames);
    QCOMPARE(w().lblFPSValue->text(), QStringLiteral("240.00"));
    QCOMPARE(w().lblFPSValue->toolTip(), kTip);
    QVERIFY(readoutColour() != plainColour());
    QCOMPARE(w().lblCurrentTimeValue->text(), QStringLiteral("0.00秒 / 0.45秒"));
    w().ctrlSlider->setValue(60);
    QCOMPARE(w().lblCurrentTimeValue->text(), QStringLiteral("0.25秒 / 0.45秒"));

    // Another video starts from its own rate, without a question.
    open(ClipMaker::path(ClipKind::AviMjpeg25));
    QCOMPARE(prompts().shown.size(), 2);
    QCOMPARE(measurementState().FrameRate, 25.0);
    QCOMPARE(w().lblFPSValue->text(), QStringLiteral("25.00"));
    QVERIFY(w().lblFPSValue->toolTip().isEmpty());
    QCOMPARE(readoutColour(), plainColour());

    // Closed: the start-up readout, nothing to change.
    open(m_clip);
    w().mnuFileClose->trigger();
    QCOMPARE(w().lblFPSValue->text(), QStringLiteral("0"));
    QVERIFY(w().lblFPSValue->toolTip().isEmpty());
    QCOMPARE(readoutColour(), plainColour());
    QVERIFY(!w().cmdFPS->isEnabled());
}

void tst_frmMain_capture_rate::typedRateKeepsPointsAndClosesResults()
{
    open(m_clip, Prompts::Answer::No);
    plotTheFall();
    w().cmdSpd->click();
    QPointer<QWidget> speed = w().results().speedWindow();
    QVERIFY(speed);
    QVERIFY(goTo(24));
    QCOMPARE(w().lblCurrentTimeValue->text(), QStringLiteral("0.80秒 / 3.63秒"));
    prompts().shown.clear();

    // Refused entries say why and keep the rate in use.
    for (const char *bad : {"0", "-240", "abc", "100001", ""}) {
        prompts().inputs.enqueue(QString::fromUtf8(bad));
        w().cmdFPS->click();
        QCOMPARE(prompts().shown.size(), 1);
        QVERIFY2(prompts().lastText().endsWith(QStringLiteral("コマ数は変わっていません。")), bad);
        QCOMPARE(prompts().shown.constLast().icon, Prompts::Icon::Exclamation);
        QCOMPARE(measurementState().FrameRate, 30.0);
        prompts().shown.clear();
    }
    w().cmdFPS->click(); // cancelled
    QCOMPARE(measurementState().FrameRate, 30.0);
    QVERIFY(speed);

    prompts().inputs.enqueue(QStringLiteral("240"));
    w().cmdFPS->click();
    QCOMPARE(prompts().inputPrompts.constLast(),
             QStringLiteral("撮影したときの１秒間のコマ数を入力して下さい。"));
    QCOMPARE(prompts().inputDefaults.constLast(), QStringLiteral("30"));
    QVERIFY(prompts().shown.isEmpty());
    QCOMPARE(measurementState().FrameRate, 240.0);
    QCOMPARE(w().lblFPSValue->toolTip(), kTip);
    // The time label follows at once; the points are frame numbers and stay.
    QCOMPARE(w().lblCurrentTimeValue->text(), QStringLiteral("0.10秒 / 0.45秒"));
    QCOMPARE(w().ctrlSlider->value(), 24);
    QCOMPARE(int(measurementState().PointCount), 10);
    QCOMPARE(measurementState().PointTable[3][MeasurementState::ColFrame], 24);
    QVERIFY(QTest::qWaitFor([&speed] { return speed.isNull(); }, 2000));

    // The file's own rate typed back: the readout is plain again.
    prompts().inputs.enqueue(QStringLiteral("３０"));
    w().cmdFPS->click();
    QCOMPARE(prompts().inputDefaults.constLast(), QStringLiteral("240"));
    QCOMPARE(measurementState().FrameRate, 30.0);
    QVERIFY(w().lblFPSValue->toolTip().isEmpty());
    QCOMPARE(readoutColour(), plainColour());
}

void tst_frmMain_capture_rate::fallGivesGravity_data()
{
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<double>("rate");
    // Declined, the file's 30 frames a second stretch every time eightfold:
    // speeds come out 8 and accelerations 64 times too small.
    QTest::newRow("filming rate accepted") << true << B::CaptureRate;
    QTest::newRow("declined") << false << B::PlaybackRate;
}

void tst_frmMain_capture_rate::fallGivesGravity()
{
    QFETCH(bool, accepted);
    QFETCH(double, rate);
    open(m_clip, accepted ? Prompts::Answer::Yes : Prompts::Answer::No);
    QCOMPARE(measurementState().FrameRate, rate);
    plotTheFall();
    w().cmdSpd->click();
    auto *speed = qobject_cast<frmResult1 *>(w().results().speedWindow().data());
    QVERIFY(speed);
    const results::SpeedResults &r = speed->results();
    QCOMPARE(r.count, 10);

    // g from the first and the last speed of the table, in cm/s².
    const auto &first = r.SpeedRows[0];
    const auto &last = r.SpeedRows[8];
    const double span = last[results::RowTime] - first[results::RowTime];
    const double g = (last[results::RowValue] - first[results::RowValue]) / span;
    // What the table's truncations allow: each click is within half a
    // preview pixel (a quarter centimetre here), each interval's length is
    // cut down to a millimetre and each speed down to a whole cm/s.
    const double interval = 12 / rate;
    const double cmPerPixel = 100 / (kScale * B::PixelsPerMetre);
    const double speedError = (2 * 0.5 * cmPerPixel + 0.1) / interval + 1;
    const double bound = 2 * speedError / span;
    const double truth = 100 * B::Gravity * std::pow(rate / B::CaptureRate, 2);
    qInfo("g = %.4f m/s² (true %.4f, allowed ±%.4f)", g / 100, truth / 100, bound / 100);
    QVERIFY2(
        std::abs(g - truth) <= bound,
        qPrintable(QStringLiteral("g = %1 cm/s², expected %2 ± %3").arg(g).arg(truth).arg(bound)));
}

void tst_frmMain_capture_rate::playerPausesOnTheFilesClock()
{
    open(m_clip);
    QCOMPARE(measurementState().FrameRate, 240.0);
    w().cmdPlayer->click();
    auto *player = qobject_cast<frmPlayer *>(w().video().playerWindow().data());
    QVERIFY(player);
    QVERIFY(QTest::qWaitFor([player] { return player->currentPosition() >= 1.6; }, 10000));
    player->cmdPause->click();
    // The player's seconds are the file's: 30 frames each, not 240.
    const int seconds = measurementState().PlayerPauseSeconds;
    QVERIFY(seconds >= 2 && seconds <= 3);
    QCOMPARE(w().ctrlSlider->value(), 30 * seconds);
    QCOMPARE(w().lblCurrentTimeValue->text(),
             QStringLiteral("%1秒 / 0.45秒").arg(30.0 * seconds / 240, 0, 'f', 2));
    QVERIFY(settled());
    QVERIFY(QLineF(ballCentre(w().picPreview->frame()), kScale * B::centre(30 * seconds)).length() <
            0.5);
    player->close();
}

void tst_frmMain_capture_rate::measurementFileKeepsTheRate()
{
    open(m_clip);
    plotTheFall();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("落下.csv"));
    m_platform->fileDialogs->saveNames.enqueue(path);
    w().mnuFileSave->trigger();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QVERIFY(lines.value(1).endsWith("\" 240\"\r"));

    // The same video opened at its own rate: the file brings 240 back, and
    // the readout and the time label show it.
    open(m_clip, Prompts::Answer::No);
    QCOMPARE(measurementState().FrameRate, 30.0);
    m_platform->fileDialogs->openNames.enqueue(path);
    w().mnuFileLoad->trigger();
    QCOMPARE(measurementState().FrameRate, 240.0);
    QCOMPARE(int(measurementState().PointCount), 10);
    QCOMPARE(w().lblFPSValue->text(), QStringLiteral("240.00"));
    QCOMPARE(w().lblFPSValue->toolTip(), kTip);
    QCOMPARE(w().lblCurrentTimeValue->text(), QStringLiteral("0.00秒 / 0.45秒"));
}

QTEST_MAIN(tst_frmMain_capture_rate)
#include "tst_frmMain_capture_rate.moc"
