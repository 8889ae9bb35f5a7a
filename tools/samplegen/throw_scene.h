#pragma once
// The sample clip's picture: a ball thrown up and across a plain room, beside
// a one-metre ruler standing on the floor. Positions follow free flight with
// g = 9.8 m/s², seen square-on by a still camera, so a first measurement of
// the clip gives g back.

#include <QImage>
#include <QPointF>
#include <QSize>

class ThrowScene
{
public:
    static constexpr int Width = 640;
    static constexpr int Height = 480;
    static constexpr int FramesPerSecond = 30;

    static constexpr double Gravity = 9.8;          // m/s²
    static constexpr double PixelsPerMetre = 150.0; // the ruler's 100 cm are 150 px
    static constexpr double FlightSeconds = 1.5;    // launch to landing
    static constexpr int FramesBeforeLaunch = 6;    // ball resting in the hand
    static constexpr int FramesAfterLanding = 12;
    static constexpr double BallRadius = 9.0; // pixels

    // Launch and landing points of the ball's centre, in picture pixels.
    static constexpr double LaunchX = 110.0;
    static constexpr double LandingX = 600.0;
    static constexpr double LaunchY = 440.0;

    // The ruler stands on the floor with its 0 cm mark at the floor line.
    static constexpr double RulerLeft = 30.0;
    static constexpr double RulerWidth = 44.0;
    static constexpr double RulerZeroY = 450.0;

    static int frameCount();
    static QSize size() { return {Width, Height}; }

    // Seconds since launch of a frame (negative before launch).
    static double flightTime(int frame);
    // Centre of the ball in picture pixels at a frame.
    static QPointF ballCentre(int frame);

    // The picture of one frame, in RGB888.
    static QImage frame(int frame);

private:
    static void paintRoom(class QPainter &painter);
    static void paintRuler(class QPainter &painter);
    static void paintBall(class QPainter &painter, QPointF centre);
};
