#pragma once
// The video picture of the main window. It shows the current frame at its
// top-left corner, one widget pixel per preview pixel, lets the digitizing
// code paint its markers over it, and reports mouse presses and moves in
// preview pixels.
//
// Preview pixels are the widget's logical pixels. On a screen scaled to
// 150 % or 200 % the frame is asked for with as many pixels as the screen
// shows (framePixelSize) and drawn at that density, so the picture stays as
// sharp as the video allows; the points stay in preview pixels.

#include <QImage>
#include <QPointF>
#include <QWidget>
#include <functional>

class PreviewWidget : public QWidget
{
    Q_OBJECT
public:
    explicit PreviewWidget(QWidget *parent = nullptr);

    // The frame's size in pixels for a preview of `previewSize` on this
    // widget's screen.
    QSize framePixelSize(QSize previewSize) const;
    // Shows `image` filling the widget's width: a frame of framePixelSize()
    // is drawn at the screen's density, one of the widget's own size as is.
    void setFrame(const QImage &image);
    void clearFrame();
    const QImage &frame() const { return m_frame; }

    // Painted after the frame on every repaint (markers, rubber band).
    void setOverlayPainter(std::function<void(QPainter &)> painter);

    // The frame with the overlay and the widgets laid over it as the user
    // sees them, at the screen's pixel density (its logical size is the
    // widget's).
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
