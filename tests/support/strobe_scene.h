#pragma once
// A generated scene for the strobe picture: a textured wall (blotches of
// colour and a grid of fine lines, so that a wrong background shows), a ball
// thrown across it whose centre is known on every frame, a hand that sweeps
// across the picture on some frames, and at will a camera that shakes.
//
// Positions are picture pixels with pixel (i, j) centred on (i, j), as the
// strobe picture's composition counts them.

#include "platform/frame_source.h"

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QSize>
#include <functional>

struct StrobeScene
{
    QSize size{640, 480};
    int frames = 40;
    double radius = 9;
    // The ball's centre on the wall on a frame (before the camera moves).
    std::function<QPointF(int)> path = [](int f) {
        return QPointF(60 + 13.3 * f, 380 - 22.0 * f + 0.55 * f * f);
    };
    // Frames on which the hand sweeps across (from the left on the first of
    // them to the right on the last); none when first > last.
    int handFirst = 5, handLast = 12;
    // How far the camera's picture has moved on a frame (whole pixels).
    std::function<QPoint(int)> shake;

    QPoint shakeAt(int frame) const { return shake ? shake(frame) : QPoint(); }
    QPointF centre(int frame) const; // where the ball is on the frame's picture
    QImage wall() const;             // the scene without ball and hand, camera at rest
    QImage frame(int frame) const;   // RGB888
    // The hand's outline on a frame's picture, empty when it is not there.
    QRect handRect(int frame) const;
};

// The scene's frames as a video at `rate` frames a second, straight from
// the painter: exact pictures for the strobe picture's builder.
class SceneFrameSource : public FrameSource
{
public:
    explicit SceneFrameSource(StrobeScene scene, double rate = 30)
        : m_scene(std::move(scene)), m_rate(rate)
    {
    }
    bool open(const QString &path) override;
    void close() override { m_path.clear(); }
    QString path() const override { return m_path; }
    QVector<StreamKind> streams() const override { return {StreamKind::Video}; }
    double streamLengthSeconds() const override { return m_scene.frames / m_rate; }
    double frameRate() const override { return m_rate; }
    QSize displaySize() const override { return m_scene.size; }
    int rotationDegrees() const override { return 0; }
    QImage frameAtTime(double seconds, QSize size) override;
    double lastFrameSeconds() const override { return m_last; }
    int framesServed = 0;
    int delayMs = 0; // each frame takes this long, as a long video's would

private:
    StrobeScene m_scene;
    double m_rate;
    QString m_path;
    double m_last = -1;
};
