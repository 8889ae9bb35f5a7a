#pragma once
// The video picture of the main window. It shows the current frame at its
// top-left corner, one widget pixel per preview pixel, lets the digitizing
// code paint its markers over it, and reports mouse presses and moves in
// preview pixels.

#include <QImage>
#include <QPointF>
#include <QWidget>
#include <functional>

class PreviewWidget : public QWidget
{
    Q_OBJECT
public:
    explicit PreviewWidget(QWidget *parent = nullptr);

    void setFrame(const QImage &image);
    void clearFrame();
    const QImage &frame() const { return m_frame; }

    // Painted after the frame on every repaint (markers, rubber band).
    void setOverlayPainter(std::function<void(QPainter &)> painter);

    // The frame with the overlay as the user sees it.
    QImage renderedPicture();

signals:
    void mousePressed(QPointF position, Qt::MouseButton button);
    void mouseMoved(QPointF position);
    void mouseReleased(QPointF position, Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void paintContent(QPainter &painter);

    QImage m_frame;
    std::function<void(QPainter &)> m_overlayPainter;
};
