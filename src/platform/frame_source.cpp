#include "platform/frame_source.h"

#include "base/numbers.h"

#include <algorithm>

qint32 FrameSource::frameCount() const
{
    const double rate = frameRate();
    if (rate <= 0)
        return 0;
    return num::toInt32(streamLengthSeconds() * rate).value_or(0);
}

QImage FrameSource::frame(qint32 index, QSize size)
{
    const double rate = frameRate();
    if (rate <= 0)
        return {};
    return frameAtTime(std::max<qint32>(index, 0) / rate, size);
}

QSize previewSizeFor(QSize displaySize, QSize box)
{
    if (displaySize.isEmpty() || box.isEmpty())
        return box;
    const double w = displaySize.width();
    const double h = displaySize.height();
    // Compare the aspect ratios exactly in integers so that a picture with
    // the box's own proportions fills it to the pixel.
    const qint64 across = qint64(displaySize.width()) * box.height();
    const qint64 down = qint64(box.width()) * displaySize.height();
    if (across >= down) {
        const double height = num::roundHalfEven(box.width() * h / w);
        return QSize(box.width(), std::max(1, int(height)));
    }
    const double width = num::roundHalfEven(box.height() * w / h);
    return QSize(std::max(1, int(width)), box.height());
}

QPointF pictureFromPreview(QPointF preview, QSize previewSize, QSize pictureSize)
{
    if (previewSize.isEmpty())
        return preview;
    const double sx = double(pictureSize.width()) / previewSize.width();
    const double sy = double(pictureSize.height()) / previewSize.height();
    return QPointF((preview.x() + 0.5) * sx - 0.5, (preview.y() + 0.5) * sy - 0.5);
}
