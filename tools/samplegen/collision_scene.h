#pragma once
// The collision sample: cart Ａ (500 g) runs along a level track into cart
// Ｂ (250 g) standing still, beside a one-metre ruler lying on the track.
// In the elastic clip Ａ goes on slowly and Ｂ runs off; in the inelastic
// one they stick together. Positions follow the laws exactly (momentum
// kept, and in the elastic clip the energy too), seen square-on by a still
// camera, so a measurement of the clip gives them back.

#include <QImage>
#include <QPointF>
#include <QSize>

class CollisionScene
{
public:
    static constexpr int Width = 640;
    static constexpr int Height = 480;
    static constexpr int FramesPerSecond = 30;
    static constexpr int Frames = 72;

    static constexpr double PixelsPerMetre = 250.0;
    static constexpr double MassA = 0.5; // kg
    static constexpr double MassB = 0.25;
    static constexpr double SpeedA = 0.6;         // m/s, before the collision
    static constexpr double CollisionTime = 1.05; // s, between frames 31 and 32
    static constexpr double CartLength = 0.12;    // m
    static constexpr double StartA = 0.10;        // m from the ruler's 0, Ａ's centre

    // The ruler's 0 and 100 cm marks and the track.
    static constexpr double RulerLeft = 40.0;
    static constexpr double TrackY = 330.0; // the carts' wheels stand on it

    // Velocities in m/s after the collision.
    static double speedAfter(int cart, bool elastic);
    // Centre of a cart's mark (the disc the student clicks) in picture pixels.
    static QPointF markCentre(int cart, int frame, bool elastic);
    static QImage frame(int frame, bool elastic);
};
