#include "video/preview_widget.h"

#include <QMouseEvent>
#include <QPainter>

PreviewWidget::PreviewWidget(QWidget *parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

QSize PreviewWidget::framePixelSize(QSize previewSize) const
{
    const qreal ratio = devicePixelRatioF();
    return QSize(qRound(previewSize.width() * ratio), qRound(previewSize.height() * ratio));
}

void PreviewWidget::setFrame(const QImage &image)
{
    m_frame = image;
    if (!m_frame.isNull() && width() > 0)
        m_frame.setDevicePixelRatio(qreal(m_frame.width()) / width());
    update();
}

void PreviewWidget::clearFrame()
{
    m_frame = QImage();
    update();
}

void PreviewWidget::setOverlayPainter(std::function<void(QPainter &)> painter)
{
    m_overlayPainter = std::move(painter);
    update();
}

QImage PreviewWidget::renderedPicture()
{
    const qreal ratio = devicePixelRatioF();
    QImage picture(framePixelSize(size()), QImage::Format_RGB32);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    paintContent(painter);
    // Labels laid over the picture ("基準") are part of what is seen.
    for (QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!child->isHidden())
            child->render(&painter, child->pos());
    }
    return picture;
}

void PreviewWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintContent(painter);
}

void PreviewWidget::paintContent(QPainter &painter)
{
    if (!m_frame.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QPoint(0, 0), m_frame);
    }
    if (m_overlayPainter)
        m_overlayPainter(painter);
}

void PreviewWidget::mousePressEvent(QMouseEvent *event)
{
    emit mousePressed(event->position(), event->button());
}

void PreviewWidget::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMoved(event->position());
}

void PreviewWidget::mouseReleaseEvent(QMouseEvent *event)
{
    emit mouseReleased(event->position(), event->button());
}
