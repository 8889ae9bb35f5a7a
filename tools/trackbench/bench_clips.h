#pragma once
// The clips the tracking benchmark measures on: each a generated scene with
// the ball's centre known on every frame, how it is encoded, and what the
// benchmark does with it.

#include "ball_scene.h"

#include <QList>
#include <QString>
#include <QStringList>

struct BenchClip
{
    QString name;
    QString fileName;
    BallScene scene;
    QStringList codec;
    double pixelsPerMetre = 0; // picture pixels per metre (0: no g measured)
    double gravity = 0;        // the g the scene was drawn with, m/s²
    bool lost = false;         // the ball goes behind an obstacle
    bool speed = false;        // the phone-like clip timed for steps per second
    bool hard = false;         // not a ball: within 3 pixels or stopped is the aim
};

QList<BenchClip> benchClips();
