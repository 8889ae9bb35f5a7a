#include "video/magnifier_widget.h"

#include "video/magnifier.h"

#include <QPainter>

namespace {

constexpr int CaptionHeight = 30;
// The cross leaves the aimed pixel itself free, so that it stays visible.
constexpr int CrossGap = 3;
const QColor CrossColour(255, 0, 255);

} // namespace

MagnifierWidget::MagnifierWidget(QWidget *parent) : QWidget(parent), m_zoom(magnifier::DefaultZoom)
{
    setObjectName(QStringLiteral("picMagnifier"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(boxSize());
    hide();
}

QSize MagnifierWidget::boxSize()
{
    return QSize(magnifier::Side + 2, magnifier::Side + 2 + CaptionHeight);
}

void MagnifierWidget::setFrameSource(std::function<QImage()> fullFrame)
{
    m_source = std::move(fullFrame);
    frameChanged();
}

void MagnifierWidget::frameChanged()
{
    m_fullValid = false;
    m_full = QImage();
    if (isVisible())
        update();
}

void MagnifierWidget::aimAt(QPointF aim, QSize previewSize)
{
    if (aim == m_aim && previewSize == m_previewSize)
        return;
    m_aim = aim;
    m_previewSize = previewSize;
    update();
}

void MagnifierWidget::setZoom(int zoom)
{
    m_zoom = qBound(magnifier::MinZoom, zoom, magnifier::MaxZoom);
    update();
}

const QImage &MagnifierWidget::fullFrame()
{
    if (!m_fullValid && m_source) {
        m_full = m_source();
        m_fullValid = true;
    }
    return m_full;
}

QImage MagnifierWidget::square()
{
    const QImage &frame = fullFrame();
    return magnifier::magnified(frame, magnifier::frameSpot(m_aim, m_previewSize, frame.size()),
                                m_zoom);
}

void MagnifierWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int side = magnifier::Side;
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(QRect(1, 1, side, side), square());

    // The cross: four arms pointing at the centre pixel, which is the aimed
    // place.
    const int c = 1 + side / 2;
    const int gap = CrossGap + m_zoom / 2;
    painter.setPen(QPen(CrossColour, 1));
    painter.drawLine(1, c, c - gap, c);
    painter.drawLine(c + gap, c, side, c);
    painter.drawLine(c, 1, c, c - gap);
    painter.drawLine(c, c + gap, c, side);

    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.drawLine(0, side + 1, width() - 1, side + 1);

    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    const QRect caption(4, side + 2, width() - 8, CaptionHeight - 2);
    painter.drawText(
        caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
        QStringLiteral("拡大鏡 %1倍（ホイール）\n矢印キー・スペースでも打点").arg(m_zoom));
    ++m_paints;
}
