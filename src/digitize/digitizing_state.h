#pragma once
// What the main window remembers between clicks on the preview: the stored
// click positions, the rubber band's free end and the camera-shake pairing.
//
// The two stored clicks are shared by the reference-length setting and the
// camera-shake correction: whichever clicked last leaves its values here, and
// finishing the reference length measures between whatever they hold.

#include <QtGlobal>

struct DigitizingState
{
    // First stored click: the first reference point, or the object in
    // camera-shake mode. Second: the second reference point, or the shake
    // reference point. Single precision, in preview pixels.
    float FirstClickX = 0;
    float FirstClickY = 0;
    float SecondClickX = 0;
    float SecondClickY = 0;

    // Reference-length mode: the first point is down and the rubber band
    // follows the mouse to (BandEndX, BandEndY).
    bool RefFirstClickDone = false;
    float BandEndX = 0;
    float BandEndY = 0;

    // Camera-shake mode, while the reference click is awaited (the window's
    // AwaitingShakeReference): the frame whose object was clicked. The point
    // is written only once its reference point is clicked too.
    qint32 PendingFrame = 0;

    // The reference point clicked together with point 1, whole pixels. Kept
    // when the correction is switched.
    qint16 ShakeOriginX = 0;
    qint16 ShakeOriginY = 0;
};
