// The preview's cached frame source: whether a picture comes from the cache,
// from the background decoder or from a fresh seek, it must be the very
// picture a plain frame source decodes for that position, and the cache must
// stay within its budget.

#include "clip_maker.h"
#include "platform/ffmpeg_frame_source.h"
#include "platform/picture_buffers.h"
#include "video/cached_frame_source.h"
#include "video/frame_cache.h"

#include <QtTest>

Q_DECLARE_METATYPE(ClipKind)

namespace {

const QSize kSize(160, 120);

// Every position's picture from a plain source that steps through the file,
// without cache, skipping or background decoding.
QVector<QImage> referencePictures(const QString &file)
{
    FfmpegFrameSource plain;
    plain.setSkipUnusedFrames(false);
    QVector<QImage> pictures;
    if (!plain.open(file))
        return pictures;
    for (qint32 n = 0; n <= plain.frameCount(); ++n)
        pictures.append(plain.frame(n, kSize));
    return pictures;
}

QImage picture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::gray);
    return image;
}

} // namespace

class TestCachedFrameSource : public QObject
{
    Q_OBJECT

private slots:
    void cacheKeepsNearestWithinBudget();
    void samePicturesEveryWay_data();
    void samePicturesEveryWay();
    void staysWithinSmallBudget();
    void closingWhileFilling();
    void pictureBuffersAreReused();
    void fullFramesKeepThePreviewPictures();
};

// Eviction order: other sizes first, then the farthest from the position on
// show; a picture farther than all held is refused when the budget is full.
void TestCachedFrameSource::cacheKeepsNearestWithinBudget()
{
    const qint64 one = FrameCache::costOf(picture(16, 16));
    FrameCache cache(4 * one + one / 2);
    cache.setCenter(10, QSize(16, 16));
    QVERIFY(cache.insert(3, QSize(8, 8), {picture(16, 16), 0.1})); // another size
    for (qint32 position : {9, 10, 11})
        QVERIFY(cache.insert(position, QSize(16, 16), {picture(16, 16), position / 10.0}));
    QCOMPARE(cache.count(), 4);
    // Full: the picture of the other size goes first.
    QVERIFY(cache.insert(14, QSize(16, 16), {picture(16, 16), 1.4}));
    QVERIFY(!cache.contains(3, QSize(8, 8)));
    // Then the farthest: 14 (4 away) goes for 8 (2 away).
    QVERIFY(cache.insert(8, QSize(16, 16), {picture(16, 16), 0.8}));
    QVERIFY(!cache.contains(14, QSize(16, 16)));
    // Nothing held is farther than 30: refused, nothing lost.
    QVERIFY(!cache.insert(30, QSize(16, 16), {picture(16, 16), 3.0}));
    QCOMPARE(cache.count(), 4);
    // Replacing a picture does not count it twice.
    QVERIFY(cache.insert(10, QSize(16, 16), {picture(16, 16), 1.0}));
    QCOMPARE(cache.bytes(), 4 * one);
    FrameCache::Picture found;
    QVERIFY(cache.find(10, QSize(16, 16), found));
    QCOMPARE(found.seconds, 1.0);
    QVERIFY(!cache.find(10, QSize(8, 8), found));
    // A picture larger than the whole budget is never held.
    QVERIFY(!cache.insert(10, QSize(64, 64), {picture(64, 64), 1.0}));
    // Moving away and lowering the budget drops the now farthest.
    cache.setCenter(0, QSize(16, 16));
    cache.setLimitBytes(2 * one);
    QCOMPARE(cache.count(), 2);
    QVERIFY(cache.contains(8, QSize(16, 16)) && cache.contains(9, QSize(16, 16)));
}

void TestCachedFrameSource::samePicturesEveryWay_data()
{
    QTest::addColumn<ClipKind>("kind");
    for (ClipKind kind : {ClipKind::Mp4H264_240, ClipKind::MovHevc30, ClipKind::MpegPs2_2997,
                          ClipKind::AviMpeg4_2997, ClipKind::VariableRate})
        QTest::newRow(qPrintable(ClipMaker::name(kind))) << kind;
}

// Far jumps, steps back once the background decoder has filled the stretch
// behind, steps forward into frames decoded ahead, and jumps back to pictures
// held: each picture equals the plain source's, pixel for pixel.
void TestCachedFrameSource::samePicturesEveryWay()
{
    QFETCH(ClipKind, kind);
    const QString file = ClipMaker::path(kind);
    QVERIFY2(!file.isEmpty(), qPrintable(ClipMaker::lastError()));
    const QVector<QImage> reference = referencePictures(file);
    QVERIFY(!reference.isEmpty());
    const qint32 total = reference.size() - 1;

    CachedFrameSource source;
    QVERIFY(source.open(file));
    QCOMPARE(source.frameCount(), total);
    auto check = [&](qint32 position, const char *how) {
        const QImage image = source.frame(position, kSize);
        if (image != reference[std::clamp(position, 0, total)])
            QFAIL(qPrintable(QStringLiteral("%1: position %2 differs").arg(how).arg(position)));
    };

    const qint32 far = total - 3;
    check(far, "far jump");
    QVERIFY(source.waitUntilIdle(60000));
    const int missesBefore = source.counters().misses;
    // The keyframe interval behind, at least this many frames, was decoded in
    // the background: no step back decodes here.
    const qint32 behind = FramePrefetcher::Reach().minBehind;
    qint32 position = far;
    while (position > std::max(0, far - behind))
        check(--position, "step back after the jump");
    QCOMPARE(source.counters().misses, missesBefore);
    // Further back, the stretch follows the position on show, given time.
    while (position > std::max(0, far - behind - 40)) {
        QVERIFY(source.waitUntilIdle(60000));
        check(--position, "step back further");
    }
    QCOMPARE(source.counters().misses, missesBefore);
    QVERIFY(source.backgroundFramesDecoded() > 0);

    const qint32 middle = total / 2;
    check(middle, "jump to the middle");
    QVERIFY(source.waitUntilIdle(60000));
    for (qint32 position = middle + 1; position <= std::min(total, middle + 20); ++position)
        check(position, "step forward");
    check(total, "one past the last frame");
    check(total + 5, "beyond the end"); // shows the last frame too
    for (qint32 position : {far - 10, middle + 3, 0, 1, total / 3, far - 1})
        check(position, "jump");
    QVERIFY(source.counters().hits > 60);
    QCOMPARE(source.frame(-4, kSize), reference[0]);
}

// With a budget of a few dozen pictures on a clip ten times longer, the cache
// never holds more, keeps the pictures around the position on show, and the
// pictures stay exact.
void TestCachedFrameSource::staysWithinSmallBudget()
{
    const QString file = ClipMaker::path(ClipKind::Mp4H264_240);
    QVERIFY2(!file.isEmpty(), qPrintable(ClipMaker::lastError()));
    const QVector<QImage> reference = referencePictures(file);
    QVERIFY(!reference.isEmpty());
    const qint32 total = reference.size() - 1;

    CachedFrameSource source;
    const qint64 budget = 60 * FrameCache::costOf(reference[0]);
    source.setCacheLimitBytes(budget);
    QVERIFY(source.open(file));
    QVector<qint32> positions;
    for (qint32 n = 200; n < 260; ++n)
        positions.append(n);
    for (qint32 n = 700; n > 600; --n)
        positions.append(n);
    positions += {total, 0, 480, 479, 478, 300, 301, 302};
    for (int i = 0; i < positions.size(); ++i) {
        const qint32 position = positions[i];
        QCOMPARE(source.frame(position, kSize), reference[position]);
        if (i % 10 == 0)
            QVERIFY(source.waitUntilIdle(60000));
        QVERIFY2(source.cache().bytes() <= budget,
                 qPrintable(QString::number(source.cache().bytes())));
    }
    QVERIFY(source.waitUntilIdle(60000));
    QVERIFY(source.cache().bytes() <= budget);
    QVERIFY(source.cache().count() > 30); // the budget is used
    QVERIFY(source.cache().contains(302, kSize));
    QVERIFY(source.cache().contains(301, kSize));
}

// Closing, opening another file and destroying the source while the
// background decoder is busy: nothing hangs, the next file shows right.
void TestCachedFrameSource::closingWhileFilling()
{
    const QString longGop = ClipMaker::path(ClipKind::Mp4H264_240);
    const QString other = ClipMaker::path(ClipKind::MovHevc30);
    QVERIFY2(!longGop.isEmpty() && !other.isEmpty(), qPrintable(ClipMaker::lastError()));
    CachedFrameSource source;
    QVERIFY(source.open(longGop));
    QVERIFY(!source.frame(700, kSize).isNull()); // starts a long fill behind
    source.close();
    QVERIFY(source.frame(10, kSize).isNull());
    QCOMPARE(source.cache().count(), 0);

    QVERIFY(source.open(longGop));
    QVERIFY(!source.frame(650, kSize).isNull());
    QVERIFY(source.open(other)); // replaces the file mid-fill
    QCOMPARE(readFrameNumber(source.frame(77, kSize)), 77);
    QVERIFY(source.waitUntilIdle(60000));
    QCOMPARE(readFrameNumber(source.frame(76, kSize)), 76);

    auto dying = std::make_unique<CachedFrameSource>();
    QVERIFY(dying->open(longGop));
    QVERIFY(!dying->frame(719, kSize).isNull());
    dying.reset();
}

// A dropped picture's buffer serves the next picture of its size, and only a
// few spares are kept however many pictures go.
void TestCachedFrameSource::pictureBuffersAreReused()
{
    uint8_t *first = picture_buffers::acquire(4096 + 7);
    QVERIFY(first);
    QCOMPARE(reinterpret_cast<quintptr>(first) % 64, quintptr(0));
    first[4096 + 6] = 1; // the whole size is usable
    picture_buffers::release(first);
    QCOMPARE(picture_buffers::acquire(4096 + 7), first);
    picture_buffers::release(first);

    std::vector<uint8_t *> many;
    for (int i = 0; i < 100; ++i)
        many.push_back(picture_buffers::acquire(1000));
    for (uint8_t *buffer : many)
        picture_buffers::release(buffer);
    QVERIFY(picture_buffers::spareCount() <= 16);

    // Pictures the cache drops come back as spares.
    const QString file = ClipMaker::path(ClipKind::AviMjpeg25);
    QVERIFY2(!file.isEmpty(), qPrintable(ClipMaker::lastError()));
    CachedFrameSource source;
    source.setBackgroundDecoding(false);
    source.setCacheLimitBytes(3 * FrameCache::costOf(QImage(kSize, QImage::Format_RGB32)) + 4096);
    QVERIFY(source.open(file));
    uint8_t *spare = picture_buffers::acquire(size_t(160 * 4) * 120);
    picture_buffers::release(spare);
    QCOMPARE(source.frame(0, kSize).constBits(), spare);
    for (qint32 position = 1; position < 20; ++position)
        QCOMPARE(readFrameNumber(source.frame(position, kSize)), position);
    QVERIFY(source.cache().count() <= 3);
    QVERIFY(picture_buffers::spareCount() <= 16);
}

// Tracking reads full-size frames in order: each is the frame of its
// position, and its preview picture is kept on the way, exact, without a
// preview picture going.
void TestCachedFrameSource::fullFramesKeepThePreviewPictures()
{
    const QString file = ClipMaker::path(ClipKind::MovH264_60);
    QVERIFY2(!file.isEmpty(), qPrintable(ClipMaker::lastError()));
    const QSize preview(80, 60);
    FfmpegFrameSource plain;
    QVERIFY(plain.open(file));

    CachedFrameSource source;
    QVERIFY(source.open(file));
    QVERIFY(!source.frame(100, preview).isNull());
    QVERIFY(source.waitUntilIdle(60000));
    const int held = source.cache().count();
    source.setReadingInOrder(true);
    for (qint32 n = 101; n <= 130; ++n) {
        const QImage full = source.fullFrame(n);
        QCOMPARE(full.size(), source.displaySize());
        QCOMPARE(readFrameNumber(full), n);
        FrameCache::Picture kept;
        QVERIFY(source.cache().find(n, preview, kept));
        QCOMPARE(kept.image, plain.frame(n, preview));
    }
    source.setReadingInOrder(false);
    QVERIFY(source.cache().count() >= held);
    const int misses = source.counters().misses;
    for (qint32 n = 130; n >= 90; --n)
        QVERIFY(!source.frame(n, preview).isNull());
    QCOMPARE(source.counters().misses, misses);
}

QTEST_GUILESS_MAIN(TestCachedFrameSource)
#include "tst_cached_frame_source.moc"
