#pragma once
// Generated clips of a moving ball whose centre is known exactly on every
// frame, for the tracking tests and the tracking benchmark: a wall, a ruler,
// a ball drawn with sub-pixel accuracy, and at will sensor noise, motion blur,
// a patch of the ball's colour in the background, a bright striped stick
// behind the ball's way, a hand that reaches in and out, an obstacle in front
// of the ball, a fixed mark and a shaking camera. The frames are handed to the ffmpeg
// program, which encodes them.
//
// Positions are picture pixels with pixel (i, j) covering [i, i+1) x [j, j+1).

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QStringList>
#include <functional>
#include <optional>

struct BallScene
{
    QSize size{320, 240};
    int framesPerSecond = 25;
    int frames = 30;
    double radius = 8;
    // The ball's centre at a time in seconds (frame n at n / framesPerSecond).
    std::function<QPointF(double)> path;
    QColor ball{235, 110, 30};
    QColor wall{205, 215, 228};
    // A ruler standing at the left, its 0 and 100 cm lines at these heights.
    bool ruler = false;
    double rulerLeft = 20, rulerTop = 40, rulerBottom = 200;
    double noise = 0;                 // standard deviation of the sensor noise, in levels of 255
    double exposure = 0;              // shutter open for this part of a frame interval: motion blur
    std::optional<QRectF> distractor; // a patch of nearly the ball's colour on the wall
    std::optional<QRectF> stick;      // a bright stick striped across, behind the ball
    std::optional<QRectF> obstacle;   // a box in front of the ball
    // A hand reaching in from the left, its finger tips at a time (none: out of the picture).
    std::function<std::optional<QPointF>(double)> hand;
    // Drawn instead of the ball at a time (a wheel, a cart, a figure), with
    // `path` the point on it that is tracked; motion blur as for the ball.
    std::function<void(QPainter &, double)> figure;
    // Drawn over everything at a time (a hand passing in front).
    std::function<void(QPainter &, double)> front;
    std::optional<QPointF> mark;       // a fixed black-and-white mark on the wall
    std::function<QPointF(int)> shake; // the camera's movement on each frame

    // Where the ball's centre is on a frame's picture (in the middle of the
    // exposure, camera movement included).
    QPointF centre(int frame) const;
    QPointF markAt(int frame) const;
    // How much of the ball the obstacle hides on a frame, 0..1.
    double hiddenFraction(int frame) const;
    QImage frame(int frame) const; // RGB888
};

// Encodes every frame with the ffmpeg program into `path`, with `codec` the
// encoder's arguments (e.g. {"-c:v", "mjpeg", "-q:v", "2"}). Made under a
// temporary name first; false with `error` set when it fails.
bool writeBallClip(const BallScene &scene, const QString &path, const QStringList &codec,
                   QString *error = nullptr);

// A ball thrown up to the right: 640 x 480 like the preview (so picture and
// preview pixels are the same), 25 frames a second, 40 frames, with sensor
// noise; 300 pixels a second to the right, 360 pixels a second² downwards.
BallScene thrownBall();

// A green sticker on the tyre of a bicycle wheel turned by hand, 60 frames a
// second, 20 degrees a frame, with noise and motion blur: the tyre with its
// tread, the rim and the spokes turn with it and look alike all round. The
// path is the sticker's centre. `width` x 3/4 of it (640: the wheel 330 px
// across).
BallScene stickerOnWheel(int width, int frames);

// `name`.avi in Motion JPEG in the test clips' folder, made on first use;
// empty when it cannot be made.
QString motionJpegClip(const QString &name, const BallScene &scene);
