#include "bench_clips.h"

#include <cmath>

namespace {

constexpr double G = 9.8;

const QStringList h264 = {"-c:v",     "libx264", "-preset", "veryfast", "-crf", "16",
                          "-pix_fmt", "yuv420p", "-g",      "60",       "-bf",  "2"};

// A ball let go beside a one-metre ruler (600 pixels), 60 frames a second.
BallScene fall()
{
    BallScene s;
    s.size = {1280, 720};
    s.framesPerSecond = 60;
    s.frames = 28;
    s.radius = 14;
    s.ruler = true;
    s.rulerLeft = 60;
    s.rulerTop = 70;
    s.rulerBottom = 670;
    s.path = [](double t) { return QPointF(400.3, 72.6 + 0.5 * G * 600 * t * t); };
    return s;
}

// A ball thrown across a room (250 pixels a metre), 30 frames a second.
BallScene throwAcross()
{
    BallScene s;
    s.size = {1280, 720};
    s.framesPerSecond = 30;
    s.frames = 43;
    s.radius = 12;
    s.ruler = true;
    s.rulerLeft = 30;
    s.rulerTop = 395;
    s.rulerBottom = 645;
    s.path = [](double t) {
        const double flight = 1.4;
        return QPointF(120.4 + (1040.0 / flight) * t,
                       640.7 - 250 * (G * flight / 2 * t - G * t * t / 2));
    };
    return s;
}

// The same with what real cameras add: sensor noise, motion blur from a
// shutter open half the frame, and a patch of nearly the ball's colour on
// the wall close beside its way.
BallScene harder(BallScene s, QRectF patch)
{
    s.noise = 6;
    s.exposure = 0.5;
    s.distractor = patch;
    return s;
}

// A ball rolling along behind a box: hidden from frame 30 on.
BallScene hidden()
{
    BallScene s;
    s.size = {1280, 720};
    s.framesPerSecond = 30;
    s.frames = 45;
    s.radius = 14;
    s.noise = 3;
    s.path = [](double t) { return QPointF(105.0 + 20 * 30 * t, 360.5); };
    s.obstacle = QRectF(700, 250, 200, 300);
    return s;
}

// A phone video: 1920 x 1080, 60 frames a second, a swinging ball (a
// pendulum with a two-second period), noise and blur, H.264 with keyframes
// 250 frames apart and B-frames.
BallScene pendulum()
{
    BallScene s;
    s.size = {1920, 1080};
    s.framesPerSecond = 60;
    s.frames = 240;
    s.radius = 22;
    s.noise = 4;
    s.exposure = 0.5;
    s.path = [](double t) {
        const double angle = 0.9 * std::cos(M_PI * t);
        return QPointF(960.2 + 800 * std::sin(angle), 80.3 + 800 * std::cos(angle));
    };
    return s;
}

// A 9 px ball at 640 x 480 beside a ruler of 300 pixels.
BallScene smallFall()
{
    BallScene s;
    s.size = {640, 480};
    s.framesPerSecond = 60;
    s.frames = 28;
    s.radius = 4.5;
    s.ruler = true;
    s.rulerLeft = 30;
    s.rulerTop = 35;
    s.rulerBottom = 335;
    s.path = [](double t) { return QPointF(200.3, 36.6 + 0.5 * G * 300 * t * t); };
    return s;
}

// A 9 px ball thrown across (125 pixels a metre); it leaves the picture at the right.
BallScene smallThrow()
{
    BallScene s;
    s.size = {640, 480};
    s.framesPerSecond = 30;
    s.frames = 43;
    s.radius = 4.5;
    s.ruler = true;
    s.rulerLeft = 15;
    s.rulerTop = 295;
    s.rulerBottom = 420;
    s.path = [](double t) {
        const double flight = 1.4;
        return QPointF(60.4 + (600.0 / flight) * t,
                       420.7 - 125 * (G * flight / 2 * t - G * t * t / 2));
    };
    return s;
}

// What a classroom toss looks like: a small light ball in front of a dark
// cloth, thrown from a hand that then moves away, across a bright striped
// metre stick (399 pixels) and back down; noise and motion blur; a hand
// reaching in again at the lower right later.
BallScene toss(int framesPerSecond)
{
    BallScene s;
    s.size = {640, 480};
    s.framesPerSecond = framesPerSecond;
    s.frames = int(std::lround(0.64 * framesPerSecond));
    s.radius = 3.7;
    s.wall = QColor(20, 19, 24);
    s.ball = QColor(232, 230, 210);
    s.noise = 4;
    s.exposure = 0.5;
    s.stick = QRectF(272, 47, 12, 399);
    s.path = [](double t) {
        return QPointF(130.4 + 690 * t, 206.3 - 1000 * t + 0.5 * G * 399 * t * t);
    };
    s.hand = [](double t) -> std::optional<QPointF> {
        if (t < 0.25)
            return QPointF(118 - 500 * t, 224 + 120 * t);
        if (t > 0.35)
            return QPointF(640 + 60 - 300 * (t - 0.35), 455 - 40 * (t - 0.35));
        return std::nullopt;
    };
    return s;
}

} // namespace

QList<BenchClip> benchClips()
{
    QList<BenchClip> clips;
    clips.append({"fall", "fall.mp4", fall(), h264, 600, G});
    clips.append({"throw", "throw.mp4", throwAcross(), h264, 250, G});
    clips.append({"fall, noise+blur+patch", "fall_hard.mp4",
                  harder(fall(), QRectF(432, 300, 36, 36)), h264, 600, G});
    clips.append({"throw, noise+blur+patch", "throw_hard.mp4",
                  harder(throwAcross(), QRectF(411, 179, 36, 36)), h264, 250, G});
    BenchClip behind{"behind an obstacle", "hidden.mp4", hidden(), h264};
    behind.lost = true;
    clips.append(behind);
    clips.append({"fall 640x480, 9 px ball", "fall_small.mp4", smallFall(), h264, 300, G});
    clips.append({"throw 640x480, 9 px ball, leaves at the right", "throw_small.mp4", smallThrow(),
                  h264, 125, G});
    // A hand-held camera: the picture shakes by a few pixels; the reference
    // mark is clicked as well, with camera-shake correction on.
    BallScene shaken = smallThrow();
    shaken.mark = QPointF(560.5, 60.5);
    shaken.shake = [](int f) {
        return QPointF(std::round(4 * std::sin(f * 1.7)), std::round(3 * std::cos(f * 2.3)));
    };
    clips.append(
        {"throw 640x480, 9 px ball, shaking camera", "throw_shaking.mp4", shaken, h264, 125, G});
    // H.264 at a low bit rate: as few bits a frame as the real toss has
    // (700 kbit/s at 30 frames a second).
    for (int fps : {15, 30, 60}) {
        const QString rate = QStringLiteral("%1k").arg(700 * fps / 30);
        const QStringList lowRate = {"-c:v",     "libx264", "-preset", "veryfast",
                                     "-pix_fmt", "yuv420p", "-b:v",    rate,
                                     "-g",       "60",      "-bf",     "2"};
        clips.append(
            {QStringLiteral("toss on dark, stick + hand, %1 fps, %2bit/s").arg(fps).arg(rate),
             QStringLiteral("toss_%1.mp4").arg(fps), toss(fps), lowRate, 399, G});
    }
    BenchClip phone{"1080p60 H.264 pendulum",
                    "pendulum_1080p.mp4",
                    pendulum(),
                    {"-c:v",     "libx264", "-preset",     "veryfast",  "-pix_fmt",      "yuv420p",
                     "-g",       "250",     "-keyint_min", "250",       "-sc_threshold", "0",
                     "-bf",      "3",       "-b:v",        "12M",       "-maxrate",      "16M",
                     "-bufsize", "24M",     "-movflags",   "+faststart"}};
    phone.speed = true;
    clips.append(phone);
    return clips;
}
