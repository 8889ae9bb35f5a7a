#include "bench_clips.h"

#include <QPainter>
#include <QPair>
#include <QRadialGradient>
#include <QtMath>
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

// What the harder scenes share: a classroom's camera at a low bit rate
// (700 kbit/s at 640 x 480, 30 frames a second, as the real toss), sensor
// noise and motion blur.
BallScene classroom(int framesPerSecond, int frames, double exposure = 0.5)
{
    BallScene s;
    s.size = {640, 480};
    s.framesPerSecond = framesPerSecond;
    s.frames = frames;
    s.noise = 4;
    s.exposure = exposure;
    return s;
}

QPointF turnedBy(QPointF p, double degrees)
{
    const double a = qDegreesToRadians(degrees);
    return {p.x() * std::cos(a) - p.y() * std::sin(a), p.x() * std::sin(a) + p.y() * std::cos(a)};
}

// A student's hip as the student jumps down and lands, 30 frames a second:
// the body leans and the legs bend, so the look around the hip changes.
BallScene jumper()
{
    BallScene s = classroom(30, 30);
    s.wall = QColor(196, 190, 170);
    s.radius = 10;
    static const auto hip = [](double t) {
        const double fall = std::min(t, 0.55);
        return QPointF(180.3 + 260 * std::min(t, 0.6),
                       120.6 + 1000 * fall * fall / 2 * 0.9 + (t > 0.55 ? 60 * (t - 0.55) : 0));
    };
    static const auto bend = [](double t) { return 15 + 35 * std::sin(std::min(t, 1.0) * 3); };
    s.path = hip;
    s.figure = [](QPainter &p, double t) {
        p.save();
        p.translate(hip(t));
        const double lean = 10 * std::sin(t * 5);
        p.rotate(lean);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 85, 150));
        p.drawRoundedRect(QRectF(-17, -75, 34, 78), 8, 8);
        p.setBrush(QColor(220, 180, 150));
        p.drawEllipse(QPointF(0, -92), 14, 16);
        p.setPen(QPen(QColor(45, 45, 60), 13, Qt::SolidLine, Qt::RoundCap));
        for (int side : {-1, 1}) {
            const QPointF knee = turnedBy(QPointF(0, 45), side * bend(t) - lean);
            p.drawLine(QPointF(side * 8, 0), QPointF(side * 8, 0) + knee);
            p.drawLine(QPointF(side * 8, 0) + knee,
                       QPointF(side * 8, 0) + knee + turnedBy(QPointF(0, 45), -side * bend(t)));
        }
        p.restore();
    };
    return s;
}

// A ball rolling along while a hand passes down in front of it.
BallScene handInFront()
{
    BallScene s = classroom(30, 40);
    s.radius = 10;
    s.path = [](double t) { return QPointF(60.5 + 360 * t, 260.3); };
    s.front = [](QPainter &p, double t) {
        const double y = -200 + 1200 * (t - 0.4);
        if (y < -180 || y > 700)
            return;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(196, 150, 122));
        p.drawRoundedRect(QRectF(310, y - 400, 50, 400), 20, 20);
        p.drawEllipse(QRectF(300, y - 30, 70, 60));
    };
    return s;
}

// A cart with a red dot, in front of a checker scale, 5 frames a second.
BallScene cart()
{
    BallScene s = classroom(5, 15, 0.1);
    s.radius = 5;
    static const auto x = [](double t) { return 60.4 + 120 * t + 12 * t * t; };
    s.path = [](double t) { return QPointF(x(t), 240.6); };
    s.figure = [](QPainter &p, double t) {
        p.setPen(Qt::NoPen);
        for (int k = 0; k < 64; ++k)
            for (int row = 0; row < 2; ++row) {
                p.setBrush((k + row) % 2 ? QColor(30, 30, 30) : QColor(235, 235, 235));
                p.drawRect(QRectF(k * 10, 222 + 26 * row, 10, 10));
            }
        p.setBrush(QColor(60, 80, 150));
        p.drawRect(QRectF(x(t) - 50, 232, 100, 16));
        p.setBrush(QColor(40, 40, 40));
        p.drawEllipse(QPointF(x(t) - 32, 252), 7, 7);
        p.drawEllipse(QPointF(x(t) + 32, 252), 7, 7);
        p.setBrush(QColor(225, 40, 40));
        p.drawEllipse(QPointF(x(t), 240.6), 5, 5);
    };
    return s;
}

// A small steel ball rolling on a table, 3 frames a second, 50 pixels a
// step, past steel bolt heads standing on the table.
BallScene steelBall()
{
    BallScene s = classroom(3, 11, 0.1);
    s.wall = QColor(120, 108, 95);
    s.ball = QColor(185, 185, 190);
    s.radius = 6;
    s.path = [](double t) { return QPointF(50.3 + 150 * t, 300.6 + 24 * t); };
    s.figure = [](QPainter &p, double t) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(170, 170, 176));
        for (double bx : {130.0, 290.0, 430.0})
            p.drawEllipse(QPointF(bx, 285), 6, 6);
        QRadialGradient steel(QPointF(50.3 + 150 * t - 2, 300.6 + 24 * t - 2), 7);
        steel.setColorAt(0, QColor(240, 240, 245));
        steel.setColorAt(1, QColor(120, 120, 128));
        p.setBrush(steel);
        p.drawEllipse(QPointF(50.3 + 150 * t, 300.6 + 24 * t), 6, 6);
    };
    return s;
}

// A plain white disc with two small marks rolling down a slope, 240 frames
// a second; clicked on one mark.
BallScene rollingDisc()
{
    BallScene s = classroom(240, 201);
    s.wall = QColor(150, 160, 175);
    s.radius = 3;
    static const double slope = qDegreesToRadians(12.0);
    static const auto along = [](double t) { return 220 * t * t; };
    static const auto centre = [](double t) {
        return QPointF(120.3 + along(t) * std::cos(slope), 200.7 + along(t) * std::sin(slope));
    };
    static const auto turn = [](double t) { return qRadiansToDegrees(along(t) / 40); };
    s.path = [](double t) { return centre(t) + turnedBy(QPointF(24, 0), turn(t)); };
    s.figure = [](QPainter &p, double t) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(110, 85, 60));
        p.drawPolygon(QPolygonF{{0, 240.7 - 120 * std::tan(slope)},
                                {640, 240.7 + 520 * std::tan(slope)},
                                {640, 480},
                                {0, 480}});
        p.save();
        p.translate(centre(t));
        p.rotate(turn(t));
        p.setBrush(QColor(240, 240, 236));
        p.drawEllipse(QPointF(), 40, 40);
        p.setBrush(QColor(40, 40, 40));
        p.drawEllipse(QPointF(24, 0), 2.5, 2.5);
        p.drawEllipse(QPointF(-24, 0), 2.5, 2.5);
        p.restore();
    };
    return s;
}

// A glider of two paper cups joined at their bottoms, thrown and turning
// (120 frames a second); clicked on one cup's opening, off its centre.
BallScene glider()
{
    BallScene s = classroom(120, 100);
    s.radius = 6;
    static const auto centre = [](double t) {
        return QPointF(100.2 + 420 * t, 300.4 - 300 * t + 200 * t * t);
    };
    static const auto turn = [](double t) { return -20 + 280 * t; };
    s.path = [](double t) { return centre(t) + turnedBy(QPointF(44, 0), turn(t)); };
    s.figure = [](QPainter &p, double t) {
        p.save();
        p.translate(centre(t));
        p.rotate(turn(t));
        p.setPen(QPen(QColor(150, 150, 150), 1));
        p.setBrush(QColor(245, 245, 240));
        for (int side : {-1, 1})
            p.drawPolygon(QPolygonF{
                {side * 2.0, -14}, {side * 44.0, -22}, {side * 44.0, 22}, {side * 2.0, 14}});
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 60, 60));
        p.drawRect(QRectF(18, -19, 6, 38));
        p.drawRect(QRectF(-24, -19, 6, 38));
        p.setBrush(QColor(90, 90, 95));
        p.drawEllipse(QPointF(44, 0), 4, 21);
        p.restore();
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
    // Objects that are not balls, with as few bits a frame as the real toss
    // (700 kbit/s at 30 frames a second): each is either followed within 3
    // pixels or stopped with the message.
    const QList<QPair<QString, BallScene>> objects = {
        {"sticker on a turning wheel, spokes", stickerOnWheel(640, 84)},
        {"hip of a jumping figure", jumper()},
        {"hand passing in front", handInFront()},
        {"cart with a dot, checker scale", cart()},
        {"steel ball, 50 px a step", steelBall()},
        {"rolling disc clicked on its mark", rollingDisc()},
        {"turning glider clicked off centre", glider()}};
    for (const auto &[name, scene] : objects) {
        const QString rate = QStringLiteral("%1k").arg(700 * scene.framesPerSecond / 30);
        BenchClip clip{name,
                       QString(name).replace(' ', '_').remove(',') + ".mp4",
                       scene,
                       {"-c:v", "libx264", "-preset", "veryfast", "-pix_fmt", "yuv420p", "-b:v",
                        rate, "-g", "60", "-bf", "2"}};
        clip.hard = true;
        clips.append(clip);
    }
    return clips;
}
