#include "app/plain_disabled_icon.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPalette>

namespace {

class PlainDisabledIconEngine : public QIconEngine
{
public:
    explicit PlainDisabledIconEngine(const QIcon &icon) : m_icon(icon) {}

    QIconEngine *clone() const override { return new PlainDisabledIconEngine(m_icon); }

    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return m_icon.actualSize(size, normalMode(mode), state);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override
    {
        QPixmap picture = m_icon.pixmap(size, scale, normalMode(mode), state);
        if (mode != QIcon::Disabled || picture.isNull())
            return picture;
        // The picture's own alpha, in the disabled text colour.
        const QColor grey =
            QGuiApplication::palette().color(QPalette::Disabled, QPalette::ButtonText);
        QPainter painter(&picture);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(QRect(QPoint(0, 0), picture.size()), grey);
        painter.end();
        return picture;
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal scale = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        const QPixmap picture = scaledPixmap(rect.size(), mode, state, scale);
        painter->drawPixmap(rect, picture);
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return m_icon.availableSizes(normalMode(mode), state);
    }

private:
    static QIcon::Mode normalMode(QIcon::Mode mode)
    {
        return mode == QIcon::Disabled ? QIcon::Normal : mode;
    }

    QIcon m_icon;
};

} // namespace

QIcon withPlainDisabledLook(const QIcon &icon)
{
    return QIcon(new PlainDisabledIconEngine(icon));
}
