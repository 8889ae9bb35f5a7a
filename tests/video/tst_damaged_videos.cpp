// Damaged copies of the generated clips, opened and stepped through in the
// main window: cut off at several points, or with bytes overwritten in the
// header or in the middle. Each must either be refused with the no-video
// message, or show a picture and keep showing one (the last good one, when a
// frame cannot be decoded) through forward and back steps, far jumps,
// playback and the continuous player. No operation may hang: each one is
// timed, and one that takes longer than the hang limit fails the test.

#include "app/frmMain.h"
#include "base/measurement_state.h"
#include "clip_maker.h"
#include "recording_platform.h"
#include "video/preview_widget.h"
#include "video/video_part.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <functional>

namespace {

const QString kNoVideo = QStringLiteral("選択したファイルは映像が含まれていません");

// Far longer than any step takes on a sound file; only a hang reaches it.
constexpr qint64 kHangLimitMs = 20000;

enum class Damage
{
    Cut,         // the first `amount` per mille of the file (-n: the first n bytes)
    HeaderNoise, // 64 random bytes from byte `amount`
    MiddleNoise, // 512 random bytes at `amount` per mille of the file
    ZeroedStart, // the first `amount` bytes zeroed
};

struct Variant
{
    const char *name;
    Damage damage;
    int amount;
    bool withPlayer = false;
};

const Variant kVariants[] = {
    {"cut to 512 bytes", Damage::Cut, -512},
    {"cut at 5%", Damage::Cut, 50},
    {"cut at 40%", Damage::Cut, 400, true},
    {"cut at 99%", Damage::Cut, 990},
    {"noise in the header", Damage::HeaderNoise, 12},
    {"noise after the header", Damage::HeaderNoise, 200},
    {"noise in the middle", Damage::MiddleNoise, 500, true},
    {"start zeroed", Damage::ZeroedStart, 64},
};

QByteArray damaged(QByteArray bytes, const Variant &v, quint32 seed)
{
    QRandomGenerator random(seed);
    auto noise = [&](qsizetype from, qsizetype count) {
        for (qsizetype i = from; i < qMin(from + count, bytes.size()); ++i)
            bytes[i] = char(random.bounded(256));
    };
    switch (v.damage) {
    case Damage::Cut:
        bytes.truncate(v.amount < 0 ? -v.amount : bytes.size() * v.amount / 1000);
        break;
    case Damage::HeaderNoise:
        noise(v.amount, 64);
        break;
    case Damage::MiddleNoise:
        noise(bytes.size() * v.amount / 1000, 512);
        break;
    case Damage::ZeroedStart:
        for (qsizetype i = 0; i < qMin<qsizetype>(v.amount, bytes.size()); ++i)
            bytes[i] = 0;
        break;
    }
    return bytes;
}

} // namespace

class tst_damaged_videos : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestPlatform> m_platform;
    std::unique_ptr<frmMain> m_window;
    QTemporaryDir m_dir;
    int m_opened = 0;
    int m_refused = 0;

    frmMain &w() { return *m_window; }

    // Runs one user action and waits until its picture is on screen; fails
    // the test when the two together take longer than the hang limit.
    bool step(const char *what, const std::function<void()> &action)
    {
        QElapsedTimer timer;
        timer.start();
        action();
        const bool done = QTest::qWaitFor([] { return !measurementState().FrameRefreshPending; },
                                          int(kHangLimitMs));
        const qint64 ms = timer.elapsed();
        if (!done || ms > kHangLimitMs) {
            qWarning("%s took %lld ms", what, ms);
            return false;
        }
        return true;
    }

    bool pictureShown() const { return !m_window->picPreview->frame().isNull(); }

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void damagedCopyIsRefusedOrShown_data();
    void damagedCopyIsRefusedOrShown();
};

void tst_damaged_videos::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void tst_damaged_videos::cleanupTestCase()
{
    // Most damage still leaves a video to step through: a test that only
    // ever saw refusals would prove little about the stepping.
    qInfo("%d damaged copies opened, %d refused", m_opened, m_refused);
    QVERIFY(m_opened >= m_refused / 2);
}

void tst_damaged_videos::init()
{
    m_platform = std::make_unique<TestPlatform>();
    m_window = std::make_unique<frmMain>();
    m_window->show();
}

void tst_damaged_videos::cleanup()
{
    m_window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_platform.reset();
}

void tst_damaged_videos::damagedCopyIsRefusedOrShown_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("variant");
    const ClipKind kinds[] = {ClipKind::AviMjpeg25, ClipKind::AviMpeg4_2997, ClipKind::MpegPs1_25,
                              ClipKind::MovH264_60, ClipKind::MkvH264_2997,  ClipKind::Wide16x9};
    for (ClipKind kind : kinds) {
        for (int v = 0; v < int(std::size(kVariants)); ++v) {
            const QString row = ClipMaker::name(kind) + QStringLiteral(", ") +
                                QString::fromLatin1(kVariants[v].name);
            QTest::newRow(qPrintable(row)) << int(kind) << v;
        }
    }
}

void tst_damaged_videos::damagedCopyIsRefusedOrShown()
{
    QFETCH(int, kind);
    QFETCH(int, variant);
    const ClipKind clip = ClipKind(kind);
    const Variant &v = kVariants[variant];
    const QString original = ClipMaker::path(clip);
    QVERIFY2(!original.isEmpty(), qPrintable(ClipMaker::lastError()));
    QFile in(original);
    QVERIFY(in.open(QIODevice::ReadOnly));
    const QByteArray bytes = damaged(in.readAll(), v, quint32(kind * 100 + variant));

    const QString copy = m_dir.filePath(QStringLiteral("%1-%2.%3")
                                            .arg(ClipMaker::name(clip))
                                            .arg(variant)
                                            .arg(QFileInfo(original).suffix()));
    QFile out(copy);
    QVERIFY(out.open(QIODevice::WriteOnly));
    QCOMPARE(out.write(bytes), bytes.size());
    out.close();

    QElapsedTimer timer;
    timer.start();
    m_platform->fileDialogs->openNames.enqueue(copy);
    w().mnuFileOpen->trigger();
    QVERIFY2(timer.elapsed() < kHangLimitMs, "opening hung");

    // Refused: exactly the no-video message, and the window as at start-up.
    if (!m_platform->prompts->shown.isEmpty()) {
        QCOMPARE(m_platform->prompts->texts(), QStringList{kNoVideo});
        QVERIFY(!w().state().VideoOpen);
        QVERIFY(!w().ctrlSlider->isEnabled());
        QVERIFY(!pictureShown());
        ++m_refused;
        return;
    }
    ++m_opened;
    QVERIFY(w().state().VideoOpen);
    QVERIFY(pictureShown());
    QVERIFY(measurementState().TotalFrames >= 0);
    QSlider *slider = w().ctrlSlider;

    QVERIFY(step("forward", [&] { w().cmdFwdFrame->click(); }));
    QVERIFY(step("forward", [&] { w().cmdFwdFrame->click(); }));
    QVERIFY(step("back", [&] { w().cmdBackFrame->click(); }));
    QVERIFY(step("jump to the end", [&] { slider->setValue(slider->maximum()); }));
    QVERIFY(pictureShown());
    QVERIFY(step("back from the end", [&] { w().cmdBackFrame->click(); }));
    QVERIFY(step("jump to the middle", [&] { slider->setValue(slider->maximum() / 2); }));
    QVERIFY(step("step forward", [&] { w().cmdStep->click(); }));
    QVERIFY(step("step back", [&] { w().cmdBack->click(); }));
    QVERIFY(step("jump to the start", [&] { slider->setValue(0); }));
    QVERIFY(pictureShown());

    // Playback from the start for a moment, then stop.
    QVERIFY(step("play", [&] {
        w().cmdPlay->click();
        QTest::qWait(200);
        w().cmdStop->click();
    }));
    QVERIFY(pictureShown());

    // The continuous player opens the same file and closes again (for one
    // cut and one overwritten copy of each clip: it takes a second each).
    if (v.withPlayer) {
        QVERIFY(step("player open", [&] {
            w().cmdPlayer->click();
            QTest::qWait(300);
        }));
        QVERIFY(w().video().playerWindow());
        QVERIFY(step("player close", [&] {
            w().video().playerWindow()->close();
            QTest::qWait(50);
        }));
        QVERIFY(!w().video().playerWindow() || !w().video().playerWindow()->isVisible());
    }

    // Still usable afterwards, and no message along the way.
    QVERIFY(step("forward after the player", [&] { w().cmdFwdFrame->click(); }));
    QVERIFY(pictureShown());
    QVERIFY(m_platform->prompts->shown.isEmpty());
    QVERIFY(step("close", [&] { w().mnuFileClose->trigger(); }));
    QVERIFY(!pictureShown());
    QVERIFY(!slider->isEnabled());
}

QTEST_MAIN(tst_damaged_videos)
#include "tst_damaged_videos.moc"
