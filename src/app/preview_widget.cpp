#include "app/preview_widget.h"

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

void PreviewWidget::setFrame(const QImage &image)
{
    m_frame = image;
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
    QImage picture(size(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    paintContent(painter);
    return picture;
}

void PreviewWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintContent(painter);
}

void PreviewWidget::paintContent(QPainter &painter)
{
    if (!m_frame.isNull())
        painter.drawImage(QPoint(0, 0), m_frame);
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
