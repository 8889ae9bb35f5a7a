#pragma once
// The second sample clip's picture: a pendulum filmed from the front, a
// ball on a one-metre string hung from a bar, swinging about 10° either way
// for about three periods, beside a one-metre ruler. The swing is worked out
// step by step from the pendulum's own equation (not its small-swing form),
// so the period is the real one: 0.2 % longer than 2π√(L/g) at 10°.

#include <QImage>
#include <QPointF>
#include <QSize>
#include <vector>

class PendulumScene
{
public:
    static constexpr int Width = 640;
    static constexpr int Height = 480;
    static constexpr int FramesPerSecond = 30;
    static constexpr int Frames = 186; // 6.2 s

    static constexpr double Gravity = 9.8;          // m/s²
    static constexpr double Length = 1.0;           // m, pivot to the ball's centre
    static constexpr double PixelsPerMetre = 360.0; // the ruler's 100 cm are 360 px
    static constexpr double Amplitude = 10.0;       // degrees, released at rest
    static constexpr double PivotX = 380.0;
    static constexpr double PivotY = 40.0;
    static constexpr double BallRadius = 11.0;

    static constexpr double RulerLeft = 30.0;
    static constexpr double RulerWidth = 44.0;
    static constexpr double RulerZeroY = 440.0;

    static int frameCount() { return Frames; }
    static QSize size() { return {Width, Height}; }
    // The string's angle from the vertical at every frame, in radians.
    static const std::vector<double> &angles();
    static QPointF ballCentre(int frame);
    static QImage frame(int frame);
};
