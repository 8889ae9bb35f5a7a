#pragma once
// Turns a decoded frame into the picture the preview shows: scaled to the
// requested size and turned upright. Keeps the scaling contexts of the last
// two sizes asked for (the preview's, and the full size that tracking
// measures on) and builds one only for a size or format not among them.

#include "platform/ffmpeg_handles.h"

#include <QImage>
#include <QSize>

class FfmpegFrameScaler
{
public:
    // `rotationDegrees` (0, 90, 180, 270, clockwise) is applied after scaling;
    // `size` is the size of the upright picture. A null image when the frame's
    // pixel format cannot be converted.
    QImage toImage(const AVFrame &frame, QSize size, int rotationDegrees);

    // How often a scaling context was built, for tests and measurements.
    int contextsBuilt() const { return m_contextsBuilt; }

private:
    struct Key
    {
        int srcWidth = 0, srcHeight = 0, srcFormat = -1, fullRange = 0, colorspace = 0;
        int dstWidth = 0, dstHeight = 0;
        bool operator==(const Key &o) const
        {
            return srcWidth == o.srcWidth && srcHeight == o.srcHeight && srcFormat == o.srcFormat &&
                   fullRange == o.fullRange && colorspace == o.colorspace &&
                   dstWidth == o.dstWidth && dstHeight == o.dstHeight;
        }
    };

    bool prepare(const Key &key);

    // The context in use first, the one used before it second.
    ffmpeg::ScalerPtr m_contexts[2];
    Key m_keys[2];
    int m_contextsBuilt = 0;
};
