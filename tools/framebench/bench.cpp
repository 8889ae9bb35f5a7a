// What --bench measures, all at the preview size on the same clip:
//
// Through the preview's own frame source (cache and background decoder),
// with requests at most one per refresh tick as the main window makes them:
// open_ms; step_forward (100 steps from a random start); step_back (the 100
// steps back again); jump (50 random positions); back_after_jump (three far
// jumps, each followed, once the background decoder is done or after
// --fill-wait ms, by 30 steps back); peak_rss_mib over all of that.
//
// Then the limits, in the same run: decode_ms and scale_ms per frame of a
// plain decode from the start, and seek_uncached, the same 50 jumps through
// a frame source without cache or background decoder as it was before the
// cache (seek_skipping: the same, skipping unused frames on the way).
//
// --walk instead steps through every frame without pause and reports the
// resident memory after 10 s of video and at the end.
//
// Times are median and 95th percentile in milliseconds.

#include "bench.h"

#include "decode_limit.h"
#include "platform/ffmpeg_frame_source.h"
#include "video/cached_frame_source.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QThread>
#include <QVector>
#include <algorithm>
#include <cmath>

namespace {

constexpr int Steps = 100;
constexpr int Jumps = 50;
constexpr int FarJumps = 3;
constexpr int StepsAfterJump = 30;
constexpr int LimitFrames = 300;

class Samples
{
public:
    void add(double ms) { m_ms.append(ms); }
    // Nearest-rank percentile.
    double percentile(double p) const
    {
        if (m_ms.isEmpty())
            return 0;
        QVector<double> sorted = m_ms;
        std::sort(sorted.begin(), sorted.end());
        const int rank = int(std::ceil(p / 100.0 * sorted.size()));
        return sorted[std::clamp(rank, 1, int(sorted.size())) - 1];
    }
    QJsonObject json() const
    {
        return {{QStringLiteral("median"), round2(percentile(50))},
                {QStringLiteral("p95"), round2(percentile(95))},
                {QStringLiteral("n"), int(m_ms.size())}};
    }
    static double round2(double v) { return std::round(v * 100) / 100; }

private:
    QVector<double> m_ms;
};

// Resident memory from /proc/self/status ("VmRSS", "VmHWM"), in MiB.
double memoryMib(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return Samples::round2(
                line.mid(line.indexOf(':') + 1).trimmed().split(' ').first().toDouble() / 1024.0);
    }
    return -1;
}

// Starts each request no sooner than one tick after the one before.
class Ticker
{
public:
    explicit Ticker(int tickMs) : m_tickMs(tickMs) {}
    void wait()
    {
        if (m_clock.isValid()) {
            const qint64 left = m_tickMs - m_clock.elapsed();
            if (left > 0)
                QThread::msleep(quint64(left));
        }
        m_clock.start();
    }

private:
    int m_tickMs;
    QElapsedTimer m_clock;
};

double timed(FrameSource &source, qint32 position, QSize size, bool &ok)
{
    QElapsedTimer clock;
    clock.start();
    ok = !source.frame(position, size).isNull() && ok;
    return clock.nsecsElapsed() / 1e6;
}

QVector<qint32> jumpTargets(quint32 seed, qint32 total)
{
    QRandomGenerator random(seed);
    QVector<qint32> targets;
    for (int i = 0; i < Jumps; ++i)
        targets.append(qint32(random.bounded(total + 1)));
    return targets;
}

Samples seekWithout(const BenchOptions &options, const QVector<qint32> &targets, bool skip,
                    bool &ok)
{
    Samples samples;
    FfmpegFrameSource plain;
    plain.setSkipUnusedFrames(skip);
    ok = plain.open(options.path) && ok;
    for (qint32 target : targets)
        samples.add(timed(plain, target, options.pictureSize, ok));
    return samples;
}

void measureTimings(const BenchOptions &options, QJsonObject &report, bool &ok)
{
    const QSize size = options.pictureSize;
    CachedFrameSource source;
    source.setBackgroundDecoding(options.background);
    QElapsedTimer clock;
    clock.start();
    ok = source.open(options.path) && ok;
    report[QStringLiteral("open_ms")] = Samples::round2(clock.nsecsElapsed() / 1e6);
    report[QStringLiteral("first_frame_ms")] = Samples::round2(timed(source, 0, size, ok));
    const qint32 total = source.frameCount();
    const int rotation = source.rotationDegrees();
    QRandomGenerator random(options.seed);
    Ticker ticker(options.tickMs);

    Samples forward, back, jump, backAfterJump;
    const qint32 start = qint32(random.bounded(std::max(1, total - Steps)));
    ticker.wait();
    timed(source, start, size, ok);
    for (int k = 1; k <= Steps && start + k <= total; ++k) {
        ticker.wait();
        forward.add(timed(source, start + k, size, ok));
    }
    for (qint32 position = std::min(total, start + Steps) - 1; position >= start; --position) {
        ticker.wait();
        back.add(timed(source, position, size, ok));
    }
    const QVector<qint32> targets = jumpTargets(options.seed + 1, total);
    const int missesBeforeJumps = source.counters().misses;
    for (qint32 target : targets) {
        ticker.wait();
        jump.add(timed(source, target, size, ok));
    }
    report[QStringLiteral("jump_misses")] = source.counters().misses - missesBeforeJumps;
    double longestFill = 0;
    qint32 position = targets.last();
    for (int round = 0; round < FarJumps; ++round) {
        // Far: at least a third of the clip away from where we are.
        qint32 target = position;
        while (std::abs(target - position) < total / 3)
            target = qint32(random.bounded(total + 1));
        ticker.wait();
        timed(source, target, size, ok);
        QElapsedTimer filling;
        filling.start();
        source.waitUntilIdle(options.fillWaitMs);
        longestFill = std::max(longestFill, filling.nsecsElapsed() / 1e6);
        for (position = target; position > std::max(0, target - StepsAfterJump);) {
            ticker.wait();
            backAfterJump.add(timed(source, --position, size, ok));
        }
    }
    report[QStringLiteral("step_forward")] = forward.json();
    report[QStringLiteral("step_back")] = back.json();
    report[QStringLiteral("jump")] = jump.json();
    report[QStringLiteral("back_after_jump")] = backAfterJump.json();
    report[QStringLiteral("fill_wait_ms")] = Samples::round2(longestFill);
    report[QStringLiteral("cache_hits")] = source.counters().hits;
    report[QStringLiteral("cache_misses")] = source.counters().misses;
    report[QStringLiteral("cache_mib")] = Samples::round2(source.cache().bytes() / 1048576.0);
    report[QStringLiteral("cache_limit_mib")] =
        Samples::round2(source.cache().limitBytes() / 1048576.0);
    report[QStringLiteral("background_frames")] = source.backgroundFramesDecoded();
    report[QStringLiteral("peak_rss_mib")] = memoryMib("VmHWM");
    source.close();

    const DecodeLimit limit =
        measureDecodeLimit(options.path, size, rotation, std::min(total, LimitFrames));
    ok = limit.ok() && ok;
    report[QStringLiteral("decode_ms")] = Samples::round2(limit.decodeMs);
    report[QStringLiteral("scale_ms")] = Samples::round2(limit.scaleMs);
    const Samples uncached = seekWithout(options, targets, false, ok);
    report[QStringLiteral("seek_uncached")] = uncached.json();
    report[QStringLiteral("seek_skipping")] = seekWithout(options, targets, true, ok).json();

    // The goals: steps within 1.5 times decoding and scaling one frame, far
    // jumps within 0.6 times the seek without cache.
    const double stepLimit = 1.5 * (limit.decodeMs + limit.scaleMs);
    const double jumpLimit = 0.6 * uncached.percentile(50);
    report[QStringLiteral("step_limit_ms")] = Samples::round2(stepLimit);
    report[QStringLiteral("jump_limit_ms")] = Samples::round2(jumpLimit);
    report[QStringLiteral("goals")] = QJsonObject{
        {QStringLiteral("step_forward"), forward.percentile(95) <= stepLimit},
        {QStringLiteral("step_back"), back.percentile(95) <= stepLimit},
        {QStringLiteral("back_after_jump"), backAfterJump.percentile(95) <= stepLimit},
        {QStringLiteral("jump"), jump.percentile(50) <= jumpLimit},
        {QStringLiteral("memory"), report.value(QStringLiteral("peak_rss_mib")).toDouble() <= 512}};
}

void measureWalk(const BenchOptions &options, QJsonObject &report, bool &ok)
{
    CachedFrameSource source;
    source.setBackgroundDecoding(options.background);
    ok = source.open(options.path) && ok;
    const qint32 total = source.frameCount();
    const qint32 tenSeconds = qint32(std::lround(10 * source.frameRate()));
    QElapsedTimer clock;
    clock.start();
    for (qint32 position = 0; position <= total; ++position) {
        ok = !source.frame(position, options.pictureSize).isNull() && ok;
        if (position == tenSeconds)
            report[QStringLiteral("walk_rss_10s_mib")] = memoryMib("VmRSS");
        else if (position == 6 * tenSeconds)
            report[QStringLiteral("walk_rss_1min_mib")] = memoryMib("VmRSS");
        else if (position == 30 * tenSeconds)
            report[QStringLiteral("walk_rss_5min_mib")] = memoryMib("VmRSS");
    }
    report[QStringLiteral("walk_frames")] = total + 1;
    report[QStringLiteral("walk_ms_per_frame")] =
        Samples::round2(clock.nsecsElapsed() / 1e6 / (total + 1));
    report[QStringLiteral("walk_rss_end_mib")] = memoryMib("VmRSS");
    report[QStringLiteral("walk_cache_mib")] = Samples::round2(source.cache().bytes() / 1048576.0);
    report[QStringLiteral("walk_peak_rss_mib")] = memoryMib("VmHWM");
}

} // namespace

bool runBench(const BenchOptions &options, QJsonObject &report)
{
    bool ok = true;
    // Timings first: the walk's memory peak would otherwise hide theirs.
    if (options.timings)
        measureTimings(options, report, ok);
    if (options.walk)
        measureWalk(options, report, ok);
    report[QStringLiteral("ok")] = ok;
    return ok;
}
