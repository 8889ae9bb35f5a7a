// Frame exactness of the FFmpeg frame source on every container and codec the
// program accepts: each test clip shows its frame number, and the number read
// back from the delivered picture must be the slider position's frame.

#include "clip_maker.h"
#include "platform/ffmpeg_frame_source.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QtTest>
#include <atomic>
#include <thread>

Q_DECLARE_METATYPE(ClipKind)

namespace {

// Where a frame test goes: far jumps both ways, single steps back and
// forward, the ends, and position TotalFrames (one past the last frame).
QVector<int> jumpTargets(int frames, quint32 seed)
{
    QRandomGenerator random(seed);
    QVector<int> targets = {frames - 1, 0, frames, frames / 2, 1, frames - 2, 0};
    for (int i = 0; i < 24; ++i) {
        const int target = random.bounded(frames);
        targets.append(target);
        if (i % 4 == 0) {
            targets.append(std::max(0, target - 1)); // one step back
            targets.append(std::max(0, target - 2));
        } else if (i % 4 == 1) {
            targets.append(std::min(frames - 1, target + 1)); // one step forward
        }
    }
    return targets;
}

QString describe(const QString &what, int position, int expected, int seen)
{
    return QStringLiteral("%1: position %2 should show frame %3, shows %4")
        .arg(what)
        .arg(position)
        .arg(expected)
        .arg(seen);
}

} // namespace

class TestFfmpegFrameSource : public QObject
{
    Q_OBJECT

private slots:
    void frameExact_data();
    void frameExact();
    void timing_data();
    void timing();
    void displaySize_data();
    void displaySize();
    void streams_data();
    void streams();
    void variableFrameRate();
    void imageSizeIsExact();
    void badInput_data();
    void badInput();
    void truncatedVideoShowsWhatIsThere();
    void timeLimitStopsAndRecovers();
    void openingAgainReplacesTheFile();
    void sourcesInSeveralThreads();
    void skippingUnusedFramesOnTheWay_data();
    void skippingUnusedFramesOnTheWay();

private:
    void addNumberedRows();
};

void TestFfmpegFrameSource::addNumberedRows()
{
    QTest::addColumn<ClipKind>("kind");
    for (ClipKind kind : ClipMaker::numberedKinds())
        QTest::newRow(qPrintable(ClipMaker::name(kind))) << kind;
}

void TestFfmpegFrameSource::frameExact_data()
{
    addNumberedRows();
}

// Every frame in order, then far jumps and single steps in both directions:
// each must show the right number and the very same picture as the
// one-at-a-time pass.
void TestFfmpegFrameSource::frameExact()
{
    QFETCH(ClipKind, kind);
    const QString file = ClipMaker::path(kind);
    QVERIFY2(!file.isEmpty(), qPrintable(ClipMaker::lastError()));
    const ClipSpec spec = ClipMaker::spec(kind);

    FfmpegFrameSource stepping;
    QVERIFY(stepping.open(file));
    const QSize size = previewSizeFor(stepping.displaySize());
    const int total = stepping.frameCount();
    QCOMPARE(total, spec.frames);

    QVector<QImage> pictures;
    for (int n = 0; n < total; ++n) {
        const QImage image = stepping.frame(n, size);
        QVERIFY2(!image.isNull(), qPrintable(QStringLiteral("no picture at %1").arg(n)));
        const int seen = readFrameNumber(image);
        QVERIFY2(seen == n, qPrintable(describe("stepping", n, n, seen)));
        pictures.append(image);
    }
    // Stepping decodes each frame once: no seeks, no decoding twice.
    QVERIFY2(stepping.stats().framesDecoded <= total,
             qPrintable(QString::number(stepping.stats().framesDecoded)));
    QCOMPARE(stepping.stats().seeks, 0);
    QCOMPARE(stepping.scalerContextsBuilt(), 1);
    QCOMPARE(readFrameNumber(stepping.frame(total, size)), total - 1);

    FfmpegFrameSource jumping;
    QVERIFY(jumping.open(file));
    for (int target : jumpTargets(total, quint32(kind) + 1)) {
        const QImage image = jumping.frame(target, size);
        const int expected = std::min(target, total - 1);
        const int seen = readFrameNumber(image);
        QVERIFY2(seen == expected, qPrintable(describe("jumping", target, expected, seen)));
        QVERIFY2(image == pictures[expected],
                 qPrintable(QStringLiteral("position %1 differs from stepping").arg(target)));
    }
}

void TestFfmpegFrameSource::timing_data()
{
    addNumberedRows();
}

void TestFfmpegFrameSource::timing()
{
    QFETCH(ClipKind, kind);
    const QString file = ClipMaker::path(kind);
    QVERIFY2(!file.isEmpty(), qPrintable(ClipMaker::lastError()));
    const ClipSpec spec = ClipMaker::spec(kind);
    FfmpegFrameSource source;
    QVERIFY(source.open(file));
    QCOMPARE(source.path(), file);
    QCOMPARE(source.frameRate(), spec.frameRate());
    // The stream lasts exactly its frames, so the rounding rule gives them
    // back: 300 frames at 29.97 fps are 10.01 s and 300 slider steps.
    QVERIFY2(qAbs(source.streamLengthSeconds() - spec.frames / spec.frameRate()) < 0.001,
             qPrintable(QString::number(source.streamLengthSeconds(), 'f', 6)));
    QCOMPARE(source.frameCount(), spec.frames);
}

void TestFfmpegFrameSource::displaySize_data()
{
    QTest::addColumn<ClipKind>("kind");
    QTest::addColumn<QSize>("display");
    QTest::addColumn<int>("rotation");
    QTest::addColumn<QSize>("preview");

    QTest::newRow("4:3") << ClipKind::AviMjpeg25 << QSize(160, 120) << 0 << QSize(640, 480);
    QTest::newRow("16:9") << ClipKind::Wide16x9 << QSize(192, 108) << 0 << QSize(640, 360);
    QTest::newRow("rotated phone video")
        << ClipKind::Rotated90 << QSize(160, 120) << 90 << QSize(640, 480);
    QTest::newRow("upside down") << ClipKind::Rotated180 << QSize(160, 120) << 180
                                 << QSize(640, 480);
    QTest::newRow("on its other side")
        << ClipKind::Rotated270 << QSize(160, 120) << 270 << QSize(640, 480);
    QTest::newRow("pixels 4:3 wide")
        << ClipKind::NonSquarePixels << QSize(160, 120) << 0 << QSize(640, 480);
}

// The preview keeps the picture's true proportions, upright.
void TestFfmpegFrameSource::displaySize()
{
    QFETCH(ClipKind, kind);
    QFETCH(QSize, display);
    QFETCH(int, rotation);
    QFETCH(QSize, preview);
    const QString file = ClipMaker::path(kind);
    QVERIFY2(!file.isEmpty(), qPrintable(ClipMaker::lastError()));
    FfmpegFrameSource source;
    QVERIFY(source.open(file));
    QCOMPARE(source.displaySize(), display);
    QCOMPARE(source.rotationDegrees(), rotation);
    QCOMPARE(previewSizeFor(source.displaySize()), preview);
    const QImage image = source.frame(7, preview);
    QCOMPARE(image.size(), preview);
    // The pattern only reads when upright and not mirrored.
    QCOMPARE(readFrameNumber(image), 7);
}

void TestFfmpegFrameSource::streams_data()
{
    QTest::addColumn<ClipKind>("kind");
    QTest::addColumn<QVector<StreamKind>>("expected");
    QTest::newRow("video only") << ClipKind::AviMjpeg25 << QVector<StreamKind>{StreamKind::Video};
    QTest::newRow("video and sound")
        << ClipKind::Wide16x9 << QVector<StreamKind>{StreamKind::Video, StreamKind::Audio};
    QTest::newRow("program stream")
        << ClipKind::MpegPs2_2997 << QVector<StreamKind>{StreamKind::Video};
    QTest::newRow("sound only") << ClipKind::AudioOnly << QVector<StreamKind>{StreamKind::Audio};
}

void TestFfmpegFrameSource::streams()
{
    QFETCH(ClipKind, kind);
    QFETCH(QVector<StreamKind>, expected);
    const QString file = ClipMaker::path(kind);
    QVERIFY2(!file.isEmpty(), qPrintable(ClipMaker::lastError()));
    FfmpegFrameSource source;
    QVERIFY(source.open(file));
    QCOMPARE(source.streams(), expected);
    QCOMPARE(source.hasVideo(), expected.contains(StreamKind::Video));
}

// With a variable frame rate a position stands for a time, and the picture is
// the frame on screen at that time, not the n-th frame.
void TestFfmpegFrameSource::variableFrameRate()
{
    const QString file = ClipMaker::path(ClipKind::VariableRate);
    QVERIFY2(!file.isEmpty(), qPrintable(ClipMaker::lastError()));
    FfmpegFrameSource source;
    QVERIFY(source.open(file));
    // The average rate: 60 frames over the stream's length.
    QVERIFY(qAbs(source.frameRate() * source.streamLengthSeconds() - 60) < 1e-6);
    QCOMPARE(source.frameCount(), 60);
    const QSize size(160, 120);
    // Frame k is at k/30 s for k < 30, then at (2k - 30)/30 s; a position
    // shows the last frame that started by its time.
    auto frameAt = [&](int position) {
        const double thirtieths = position / source.frameRate() * 30 + 1e-9;
        const int k = int(thirtieths);
        return std::min(59, k < 30 ? k : 30 + (k - 30) / 2);
    };
    const QVector<int> positions = {0, 1, 2, 3, 19, 20, 21, 40, 59, 60, 33, 7, 55, 20};
    for (int position : positions) {
        const int seen = readFrameNumber(source.frame(position, size));
        QVERIFY2(seen == frameAt(position),
                 qPrintable(describe("variable rate", position, frameAt(position), seen)));
    }
    // Not the n-th frame: position 40 is 1.98 s, where frame 44 (1.93 s) is shown.
    QCOMPARE(readFrameNumber(source.frame(40, size)), 44);
    QCOMPARE(source.lastFrameSeconds(), 58 / 30.0);
}

void TestFfmpegFrameSource::imageSizeIsExact()
{
    const QString file = ClipMaker::path(ClipKind::Rotated90);
    QVERIFY2(!file.isEmpty(), qPrintable(ClipMaker::lastError()));
    FfmpegFrameSource source;
    QVERIFY(source.open(file));
    for (const QSize size : {QSize(640, 480), QSize(333, 251), QSize(161, 121), QSize(64, 48)}) {
        const QImage image = source.frame(3, size);
        QCOMPARE(image.size(), size);
        QCOMPARE(image.format(), QImage::Format_RGB32);
        QCOMPARE(qAlpha(image.pixel(size.width() - 1, size.height() - 1)), 255);
        QCOMPARE(readFrameNumber(image), 3);
    }
    QVERIFY(source.frame(3, QSize()).isNull());
    // One scaling context per size change, none for a repeated size.
    QCOMPARE(source.scalerContextsBuilt(), 4);
    QCOMPARE(readFrameNumber(source.frame(4, QSize(64, 48))), 4);
    QCOMPARE(source.scalerContextsBuilt(), 4);
}

void TestFfmpegFrameSource::badInput_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<bool>("video");
    QTest::addColumn<QString>("format"); // named when it cannot be decoded

    auto row = [](const char *name, ClipKind kind, bool opens, bool video,
                  const QString &format = QString()) {
        const QString file = ClipMaker::path(kind);
        QTest::newRow(name) << file << opens << video << format;
    };
    row("zero bytes", ClipKind::ZeroBytes, false, false);
    row("text named .avi", ClipKind::TextAsAvi, false, false);
    row("truncated MOV without its index", ClipKind::TruncatedMov, false, false);
    row("sound only", ClipKind::AudioOnly, true, false);
    row("video stream without frames", ClipKind::NoVideoPackets, true, true);
    row("codec tag nobody knows", ClipKind::UnknownCodec, true, true, QStringLiteral("QQQQ"));
    row("known format without decoder", ClipKind::NoDecoder, true, true, QStringLiteral("avs2"));
    QTest::newRow("missing file") << ClipMaker::dataDir() + "/no such file.avi" << false << false
                                  << QString();
    QTest::newRow("a folder") << ClipMaker::dataDir() << false << false << QString();
}

// Files that are no usable video: a clean answer, quickly, and no picture.
void TestFfmpegFrameSource::badInput()
{
    QFETCH(QString, file);
    QFETCH(bool, opens);
    QFETCH(bool, video);
    QFETCH(QString, format);
    QVERIFY2(!file.isEmpty(), qPrintable(ClipMaker::lastError()));

    QElapsedTimer clock;
    clock.start();
    FfmpegFrameSource source;
    QCOMPARE(source.open(file), opens);
    QCOMPARE(source.hasVideo(), video);
    QCOMPARE(source.undecodableFormat(), format);
    QVERIFY(source.frame(0, QSize(160, 120)).isNull());
    QVERIFY(source.frame(source.frameCount(), QSize(160, 120)).isNull());
    QVERIFY(source.frameAtTime(1e9, QSize(160, 120)).isNull());
    QCOMPARE(source.lastFrameSeconds(), -1.0);
    // Once known to hold no frame, a file is not read again for every request.
    QCOMPARE(source.stats().reopens + source.stats().seeks, 0);
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
    if (!opens) {
        QVERIFY(source.streams().isEmpty());
        QVERIFY(source.path().isEmpty());
    }
}

// A video cut off in the middle shows the frames it still has; positions
// beyond them show the last one that decodes.
void TestFfmpegFrameSource::truncatedVideoShowsWhatIsThere()
{
    const QString file = ClipMaker::path(ClipKind::TruncatedAvi);
    QVERIFY2(!file.isEmpty(), qPrintable(ClipMaker::lastError()));
    QElapsedTimer clock;
    clock.start();
    FfmpegFrameSource source;
    QVERIFY(source.open(file));
    QVERIFY(source.hasVideo());
    const QSize size(160, 120);
    QCOMPARE(readFrameNumber(source.frame(0, size)), 0);
    QCOMPARE(readFrameNumber(source.frame(10, size)), 10);
    const int last = readFrameNumber(source.frame(source.frameCount(), size));
    QVERIFY2(last > 10 && last < ClipMaker::spec(ClipKind::AviMpeg4_2997).frames,
             qPrintable(QString::number(last)));
    QCOMPARE(readFrameNumber(source.frame(149, size)), last);
    QCOMPARE(readFrameNumber(source.frame(5, size)), 5);
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
}

// A request that runs out of time gives no picture rather than a wrong one,
// and the next request with time to spare is exact again.
void TestFfmpegFrameSource::timeLimitStopsAndRecovers()
{
    const QString file = ClipMaker::path(ClipKind::Mp4H264_240);
    QVERIFY2(!file.isEmpty(), qPrintable(ClipMaker::lastError()));
    const QSize size(160, 120);
    FfmpegFrameSource source;
    source.setTimeLimitMs(0);
    QVERIFY(!source.open(file));
    source.setTimeLimitMs(20000);
    QVERIFY(source.open(file));
    QCOMPARE(readFrameNumber(source.frame(100, size)), 100);
    source.setTimeLimitMs(0);
    QVERIFY(source.frame(500, size).isNull());
    QVERIFY(source.frame(101, size).isNull());
    QCOMPARE(source.lastFrameSeconds(), 100 / 240.0);
    source.setTimeLimitMs(20000);
    QCOMPARE(readFrameNumber(source.frame(500, size)), 500);
    QCOMPARE(readFrameNumber(source.frame(101, size)), 101);
}

void TestFfmpegFrameSource::openingAgainReplacesTheFile()
{
    const QString first = ClipMaker::path(ClipKind::Wide16x9);
    const QString second = ClipMaker::path(ClipKind::MpegPs2_2997);
    const QString bad = ClipMaker::path(ClipKind::TextAsAvi);
    QVERIFY2(!first.isEmpty() && !second.isEmpty() && !bad.isEmpty(),
             qPrintable(ClipMaker::lastError()));
    FfmpegFrameSource source;
    QVERIFY(source.open(first));
    QCOMPARE(readFrameNumber(source.frame(30, QSize(192, 108))), 30);
    QVERIFY(source.open(second));
    QCOMPARE(source.path(), second);
    QCOMPARE(source.frameCount(), 300);
    QCOMPARE(source.displaySize(), QSize(160, 120));
    QCOMPARE(readFrameNumber(source.frame(299, QSize(160, 120))), 299);
    QVERIFY(!source.open(bad));
    QVERIFY(source.streams().isEmpty());
    QCOMPARE(source.frameRate(), 0.0);
    QVERIFY(source.frame(0, QSize(160, 120)).isNull());
}

// Objects share nothing: sources for the same and for other files decode side
// by side in their own threads, each exactly.
void TestFfmpegFrameSource::sourcesInSeveralThreads()
{
    const QList<ClipKind> kinds = {ClipKind::MovH264_60, ClipKind::MovH264_60, ClipKind::MovHevc30,
                                   ClipKind::MpegPs2_2997};
    QStringList files;
    for (ClipKind kind : kinds) {
        files.append(ClipMaker::path(kind));
        QVERIFY2(!files.last().isEmpty(), qPrintable(ClipMaker::lastError()));
    }
    std::atomic<int> wrongFrames{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < files.size(); ++i) {
        threads.emplace_back([&, i] {
            FfmpegFrameSource source;
            if (!source.open(files[i])) {
                ++wrongFrames;
                return;
            }
            // Forward, then backward in strides, so that seeks run in parallel.
            const int total = source.frameCount();
            QVector<int> positions;
            for (int n = 0; n < total; ++n)
                positions.append(n);
            for (int n = total - 1; n >= 0; n -= 7)
                positions.append(n);
            for (int n : positions) {
                if (readFrameNumber(source.frame(n, QSize(160, 120))) != n)
                    ++wrongFrames;
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    QCOMPARE(wrongFrames.load(), 0);
}

void TestFfmpegFrameSource::skippingUnusedFramesOnTheWay_data()
{
    QTest::addColumn<ClipKind>("kind");
    QTest::addColumn<int>("target");
    QTest::newRow("H.264, end of a keyframe interval") << ClipKind::Mp4H264_240 << 719;
    QTest::newRow("H.264, middle of one") << ClipKind::Mp4H264_240 << 601;
    QTest::newRow("HEVC, open groups") << ClipKind::MovHevc30 << 118;
}

// A far jump decodes fewer frames when the B-frames nothing refers to are
// skipped on the way, and shows the same picture.
void TestFfmpegFrameSource::skippingUnusedFramesOnTheWay()
{
    QFETCH(ClipKind, kind);
    QFETCH(int, target);
    const QString file = ClipMaker::path(kind);
    QVERIFY2(!file.isEmpty(), qPrintable(ClipMaker::lastError()));
    FfmpegFrameSource full;
    full.setSkipUnusedFrames(false);
    FfmpegFrameSource skipping;
    QVERIFY(full.open(file) && skipping.open(file));
    const QImage expected = full.frame(target, QSize(160, 120));
    QCOMPARE(readFrameNumber(expected), target);
    QCOMPARE(skipping.frame(target, QSize(160, 120)), expected);
    QVERIFY2(skipping.stats().framesDecoded < full.stats().framesDecoded - 10,
             qPrintable(QStringLiteral("%1 of %2 frames")
                            .arg(skipping.stats().framesDecoded)
                            .arg(full.stats().framesDecoded)));
    // Going on from there decodes every frame again.
    const int next = std::min(target + 1, ClipMaker::spec(kind).frames - 1);
    QCOMPARE(readFrameNumber(skipping.frame(target + 1, QSize(160, 120))), next);
}

QTEST_GUILESS_MAIN(TestFfmpegFrameSource)
#include "tst_ffmpeg_frame_source.moc"
