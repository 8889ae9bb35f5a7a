#include "results/strobe_view_widget.h"

#include <QPainter>

StrobeViewWidget::StrobeViewWidget(QWidget *parent) : QWidget(parent)
{
    setMinimumSize(320, 240);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void StrobeViewWidget::setPicture(const QImage &picture)
{
    m_picture = picture;
    update();
}

QRectF StrobeViewWidget::pictureRect() const
{
    if (m_picture.isNull())
        return {};
    const QSizeF fitted = QSizeF(m_picture.size()).scaled(QSizeF(size()), Qt::KeepAspectRatio);
    return QRectF(QPointF((width() - fitted.width()) / 2, (height() - fitted.height()) / 2),
                  fitted);
}

void StrobeViewWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(64, 64, 64));
    if (m_picture.isNull())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(pictureRect(), m_picture);
}
