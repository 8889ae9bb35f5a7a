#pragma once
// What decoding alone costs on a clip, measured with the preview decoder's
// own settings (threads, scaling), without any seeking or caching: the limit
// that stepping frame by frame can come near.

#include <QSize>
#include <QString>

struct DecodeLimit
{
    int frames = 0;      // frames decoded in order from the start
    double decodeMs = 0; // decoding per frame
    double scaleMs = 0;  // scaling one frame to the preview size
    bool ok() const { return frames > 0; }
};

// Decodes up to `maxFrames` frames from the start of the video stream, once
// timing the decoding alone and once timing the scaling of each frame.
DecodeLimit measureDecodeLimit(const QString &path, QSize previewSize, int rotationDegrees,
                               int maxFrames);
