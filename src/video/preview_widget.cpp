#include "video/preview_widget.h"

#include "video/magnifier.h"
#include "video/magnifier_widget.h"

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

PreviewWidget::PreviewWidget(QWidget *parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setFocusPolicy(Qt::ClickFocus);
    m_magnifier = new MagnifierWidget(this);
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
    m_magnifier->frameChanged();
    update();
}

void PreviewWidget::clearFrame()
{
    m_frame = QImage();
    m_magnifier->frameChanged();
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
    // The magnifier is an aid for aiming, not part of the picture.
    for (QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!child->isHidden() && child != m_magnifier)
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
    m_pointer = event->position();
    emit mousePressed(event->position(), event->button());
}

void PreviewWidget::mouseMoveEvent(QMouseEvent *event)
{
    pointerMoved(event->position());
}

void PreviewWidget::mouseReleaseEvent(QMouseEvent *event)
{
    emit mouseReleased(event->position(), event->button());
}

void PreviewWidget::pointerMoved(QPointF position)
{
    m_pointer = position;
    placeMagnifier();
    emit mouseMoved(position);
}

void PreviewWidget::setKeyboardAiming(bool on)
{
    m_keyboardAiming = on;
}

void PreviewWidget::setMagnifier(bool shown, bool wholePixels)
{
    m_wholePixels = wholePixels;
    if (shown)
        placeMagnifier();
    m_magnifier->setVisible(shown);
    if (shown)
        m_magnifier->raise();
}

void PreviewWidget::placeMagnifier()
{
    // Plotting keeps whole preview pixels (halves to the even one), the
    // length setting the pointer's own place.
    QPointF aim = m_pointer;
    if (m_wholePixels)
        aim = QPointF(std::nearbyint(aim.x()), std::nearbyint(aim.y()));
    m_magnifier->aimAt(aim, size());
    m_magnifier->move(magnifier::placement(size(), m_magnifier->size(), m_pointer).topLeft());
}

void PreviewWidget::keyPressEvent(QKeyEvent *event)
{
    if (!m_keyboardAiming) {
        QWidget::keyPressEvent(event);
        return;
    }
    // Keys before the pointer was ever on the picture start from its middle.
    if (!rect().contains(m_pointer.toPoint()))
        m_pointer = QPointF(width() / 2, height() / 2);
    const int step = event->modifiers() & Qt::ShiftModifier ? 10 : 1;
    QPointF to = m_pointer;
    switch (event->key()) {
    case Qt::Key_Left:
        to.rx() -= step;
        break;
    case Qt::Key_Right:
        to.rx() += step;
        break;
    case Qt::Key_Up:
        to.ry() -= step;
        break;
    case Qt::Key_Down:
        to.ry() += step;
        break;
    case Qt::Key_Space:
        // One click per press, as a held mouse button gives one.
        if (!event->isAutoRepeat()) {
            emit mousePressed(m_pointer, Qt::LeftButton);
            emit mouseReleased(m_pointer, Qt::LeftButton);
        }
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    to.setX(std::clamp<qreal>(to.x(), 0, width() - 1));
    to.setY(std::clamp<qreal>(to.y(), 0, height() - 1));
    // The mouse pointer goes along, so that the next move of the mouse
    // starts from where the keys left it.
    QCursor::setPos(mapToGlobal(to.toPoint()));
    pointerMoved(to);
}

void PreviewWidget::wheelEvent(QWheelEvent *event)
{
    if (!m_magnifier->isVisible() || event->angleDelta().y() == 0) {
        QWidget::wheelEvent(event);
        return;
    }
    m_magnifier->setZoom(magnifier::zoomAfter(m_magnifier->zoom(), event->angleDelta().y() > 0));
    event->accept();
}

void PreviewWidget::enterEvent(QEnterEvent *event)
{
    m_pointer = event->position();
    // Aiming by keys needs the keyboard here, but a pointer passing by takes
    // it from no box the user types into.
    QWidget *focused = QApplication::focusWidget();
    const bool typing = qobject_cast<QLineEdit *>(focused) || qobject_cast<QComboBox *>(focused);
    if (m_keyboardAiming && !typing)
        setFocus(Qt::MouseFocusReason);
    emit pointerOver(true);
}

void PreviewWidget::leaveEvent(QEvent *)
{
    emit pointerOver(false);
}
