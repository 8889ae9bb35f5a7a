#pragma once
// The magnifier laid over the preview: the video's own pixels around the
// aimed place (video/magnifier.h), a thin cross on the place a click plots,
// the zoom and a word on the keys that aim and click. It takes no mouse
// events; the preview places it, aims it and switches it.

#include <QImage>
#include <QPointF>
#include <QWidget>
#include <functional>

class MagnifierWidget : public QWidget
{
    Q_OBJECT
public:
    explicit MagnifierWidget(QWidget *parent = nullptr);

    // The frame on show at the video's own size; asked for when the
    // magnifier paints a frame it has not painted yet.
    void setFrameSource(std::function<QImage()> fullFrame);
    // The preview shows another frame (or none).
    void frameChanged();
    // The preview point a click would plot, on a preview of `previewSize`.
    void aimAt(QPointF aim, QSize previewSize);
    int zoom() const { return m_zoom; }
    void setZoom(int zoom);

    // The square as painted, without the frame around it (tests, tools).
    QImage square();
    // Paints so far (for measuring how soon a move is shown).
    int paintCount() const { return m_paints; }

    static QSize boxSize();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const QImage &fullFrame();

    std::function<QImage()> m_source;
    QImage m_full;
    bool m_fullValid = false;
    QPointF m_aim;
    QSize m_previewSize;
    int m_zoom;
    int m_paints = 0;
};
