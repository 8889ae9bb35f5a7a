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

QImage fittedPicture(const QImage &picture, QSize size, const QColor &background)
{
    if (picture.isNull() || size.isEmpty())
        return picture;
    QImage scaled = picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(1); // drawn pixel for pixel
    QImage fitted(size, QImage::Format_RGB32);
    fitted.fill(background);
    QPainter painter(&fitted);
    painter.drawImage(
        QPoint((size.width() - scaled.width()) / 2, (size.height() - scaled.height()) / 2), scaled);
    return fitted;
}

} // namespace results
