#include "settings/option_button_widget.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;
}

OptionButton::OptionButton(const QString &text, QWidget *parent) : QRadioButton(text, parent)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

int OptionButton::captionIndent() const
{
    return style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, this) +
           style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, this);
}

QRect OptionButton::captionRect(int width) const
{
    const int indent = captionIndent();
    const QRect bounds =
        fontMetrics().boundingRect(QRect(0, 0, qMax(1, width - indent), 10000), kTextFlags, text());
    return QRect(indent, 0, width - indent, bounds.height());
}

QSize OptionButton::sizeHint() const
{
    // One line when there is room for it.
    const int width = captionIndent() + fontMetrics().horizontalAdvance(text()) + 2;
    return QSize(width, heightForWidth(width));
}

QSize OptionButton::minimumSizeHint() const
{
    const int width = captionIndent() + fontMetrics().horizontalAdvance(QChar(0x3000)) * 4;
    return QSize(width, heightForWidth(width));
}

int OptionButton::heightForWidth(int width) const
{
    const int indicator = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, nullptr, this);
    return qMax(indicator, captionRect(width).height()) + 2;
}

void OptionButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.rect.setWidth(captionIndent());
    painter.drawControl(QStyle::CE_RadioButton, option);

    const QRect caption(captionIndent(), 0, width() - captionIndent(), height());
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(caption, kTextFlags, text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = painter.boundingRect(caption, kTextFlags, text()).adjusted(-1, 0, 1, 0);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

bool OptionButton::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}
