#include "video/magnifier.h"

#include <cmath>
#include <vector>

namespace magnifier {

QPointF frameSpot(QPointF aim, QSize previewSize, QSize frameSize)
{
    if (previewSize.isEmpty())
        return {};
    const double sx = double(frameSize.width()) / previewSize.width();
    const double sy = double(frameSize.height()) / previewSize.height();
    return QPointF((aim.x() + 0.5) * sx, (aim.y() + 0.5) * sy);
}

namespace {

// The frame pixel each column (or row) of the square shows; -1 outside.
std::vector<int> sourceIndices(double spot, int zoom, int side, int limit)
{
    std::vector<int> indices(side);
    for (int i = 0; i < side; ++i) {
        const int k = int(std::floor(spot + (i + 0.5 - side / 2.0) / zoom));
        indices[i] = k >= 0 && k < limit ? k : -1;
    }
    return indices;
}

} // namespace

QImage magnified(const QImage &frame, QPointF spot, int zoom, int side)
{
    QImage out(side, side, QImage::Format_RGB32);
    out.fill(Outside);
    if (frame.isNull() || zoom < 1)
        return out;
    const QImage source =
        frame.format() == QImage::Format_RGB32 || frame.format() == QImage::Format_ARGB32
            ? frame
            : frame.convertToFormat(QImage::Format_RGB32);
    const std::vector<int> columns = sourceIndices(spot.x(), zoom, side, source.width());
    const std::vector<int> rows = sourceIndices(spot.y(), zoom, side, source.height());
    for (int j = 0; j < side; ++j) {
        if (rows[j] < 0)
            continue;
        const auto *in = reinterpret_cast<const QRgb *>(source.constScanLine(rows[j]));
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(j));
        for (int i = 0; i < side; ++i)
            if (columns[i] >= 0)
                line[i] = in[columns[i]] | 0xff000000u;
    }
    return out;
}

int zoomAfter(int zoom, bool closer)
{
    const int next = closer ? zoom * 2 : zoom / 2;
    return next < MinZoom || next > MaxZoom ? zoom : next;
}

QRect placement(QSize area, QSize box, QPointF pointer)
{
    const bool pointerLeft = pointer.x() < area.width() / 2.0;
    const bool pointerTop = pointer.y() < area.height() / 2.0;
    const int x = pointerLeft ? area.width() - box.width() : 0;
    const int y = pointerTop ? area.height() - box.height() : 0;
    return QRect(QPoint(x, y), box);
}

} // namespace magnifier
