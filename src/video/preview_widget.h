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
//
// In a clicking mode the preview also aims by keyboard: the arrow keys move
// the pointer by one preview pixel (ten with Shift) and Space presses the
// left button where it is, through the same signals as the mouse. The
// magnifier over it follows the pointer.

#include <QImage>
#include <QPointF>
#include <QWidget>
#include <functional>

class MagnifierWidget;

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

    // A clicking mode is on: the keys aim and click, and the picture takes
    // the keyboard when the pointer comes onto it.
    void setKeyboardAiming(bool on);
    // The magnifier shows (over the picture, in a clicking mode, switched
    // on). With `wholePixels` it aims at the whole preview pixel a plotting
    // click keeps, otherwise at the pointer's own place.
    void setMagnifier(bool shown, bool wholePixels);
    MagnifierWidget *magnifier() const { return m_magnifier; }
    // Where the pointer is, as the mouse or the keys last put it.
    QPointF pointer() const { return m_pointer; }

signals:
    void mousePressed(QPointF position, Qt::MouseButton button);
    void mouseMoved(QPointF position);
    void mouseReleased(QPointF position, Qt::MouseButton button);
    // The pointer came onto the picture, or left it.
    void pointerOver(bool over);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void paintContent(QPainter &painter);
    void pointerMoved(QPointF position);
    void placeMagnifier();

    QImage m_frame;
    std::function<void(QPainter &)> m_overlayPainter;
    MagnifierWidget *m_magnifier = nullptr;
    QPointF m_pointer{-1, -1};
    bool m_keyboardAiming = false;
    bool m_wholePixels = true;
};
