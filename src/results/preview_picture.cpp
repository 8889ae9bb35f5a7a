#include "results/preview_picture.h"

#include <QPainter>

namespace results {

QImage previewPicture(const QImage &rendered, QSize box, int raise, const QColor &background)
{
    if (rendered.isNull() || box.isEmpty())
        return rendered;
    const qreal ratio = rendered.devicePixelRatio();
    QImage picture(qRound(box.width() * ratio), qRound(box.height() * ratio), QImage::Format_RGB32);
    picture.setDevicePixelRatio(ratio);
    picture.fill(background);
    // In logical pixels from here on; the preview keeps its own density.
    const QSize shown = rendered.deviceIndependentSize().toSize();
    const QPoint topLeft((box.width() - shown.width()) / 2,
                         (box.height() - shown.height()) / 2 + raise);
    QPainter painter(&picture);
    painter.drawImage(topLeft, rendered);
    return picture;
}

} // namespace results
