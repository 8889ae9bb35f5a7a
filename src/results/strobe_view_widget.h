#pragma once
// Shows a picture as large as the widget allows, in its own proportions,
// centred on a dark ground; the strobe window's picture at any window size.

#include <QImage>
#include <QWidget>

class StrobeViewWidget : public QWidget
{
    Q_OBJECT
public:
    explicit StrobeViewWidget(QWidget *parent = nullptr);

    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_picture; }
    // Where the picture lies in the widget, in its own proportions.
    QRectF pictureRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_picture;
};
