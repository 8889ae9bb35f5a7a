#include "results/result_table_widget.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>

namespace {

constexpr int Twips = 15;
constexpr int LabelHeight = 255;
constexpr int ColumnWidth = 880;
constexpr int BandTops[2] = {220, 1080};  // time row of each band
constexpr int ValueTops[2] = {580, 1420}; // value row of each band

QLabel *tableLabel(const QString &name, int left, int top, int width, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(left / Twips, top / Twips, width / Twips, LabelHeight / Twips);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// The label's own type size, or smaller until the text fits its width; a
// text too long even then is cut short, and the whole of it is the tooltip.
void fitText(QLabel *label, const QString &text)
{
    QFont font = label->parentWidget()->font();
    const int room = label->width() - 1;
    while (font.pointSizeF() > 7 && QFontMetrics(font).horizontalAdvance(text) > room)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    label->setFont(font);
    const QString shown = QFontMetrics(font).elidedText(text, Qt::ElideRight, room);
    label->setText(shown);
    label->setToolTip(shown == text ? QString() : text);
}

int columnLeft(int index, int firstLeft)
{
    const int c = index % 10;
    if (c == 0)
        return index == 0 ? firstLeft : 1640;
    return 2600 + 960 * (c - 1);
}

} // namespace

ResultTableWidget::ResultTableWidget(int firstColumnLeft, int firstColumnWidth, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Picture1"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    Label5 = tableLabel(QStringLiteral("Label5"), 240, 230, 1215, this);
    Label7 = tableLabel(QStringLiteral("Label7"), 240, 590, 1215, this);
    Label6 = tableLabel(QStringLiteral("Label6"), 240, 1070, 1215, this);
    Label8 = tableLabel(QStringLiteral("Label8"), 240, 1430, 1215, this);
    for (QLabel *header : {Label5, Label6, Label7, Label8})
        header->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    for (int i = 0; i < results::TableColumns; ++i) {
        const int left = columnLeft(i, firstColumnLeft);
        const int width = i == 0 ? firstColumnWidth : ColumnWidth;
        Labelx[i] =
            tableLabel(QStringLiteral("Labelx(%1)").arg(i), left, BandTops[i / 10], width, this);
        Labely[i] =
            tableLabel(QStringLiteral("Labely(%1)").arg(i), left, ValueTops[i / 10], width, this);
    }

    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setGeometry(240 / Twips, 1830 / Twips, 10815 / Twips, 270 / Twips);
    HScroll1->setRange(0, 1);
    HScroll1->setPageStep(1);
}

void ResultTableWidget::setHeaders(const QString &time, const QString &value)
{
    Label5->setText(time);
    Label6->setText(time);
    setValueHeader(value);
}

void ResultTableWidget::setValueHeader(const QString &text)
{
    fitText(Label7, text);
    fitText(Label8, text);
}

void ResultTableWidget::setPage(const results::TablePage &page)
{
    for (int i = 0; i < results::TableColumns; ++i) {
        Labelx[i]->setText(page[i].time);
        Labely[i]->setText(page[i].value);
    }
}

void ResultTableWidget::clearCaptions()
{
    setPage(results::TablePage{});
}

void ResultTableWidget::paintEvent(QPaintEvent *)
{
    // The ruled frame of the two bands: a box around each band, a line
    // between its time and value rows, one between the headers and the data.
    QPainter painter(this);
    painter.setPen(QPen(QColor(0, 0, 0), 1));
    const double left = 120.0 / Twips;
    const double right = 11160.0 / Twips;
    const double firstData = 1520.0 / Twips;
    for (int band = 0; band < 2; ++band) {
        const double top = (BandTops[band] - 60) / double(Twips);
        const double middle = (ValueTops[band] - 50) / double(Twips);
        const double bottom = (ValueTops[band] + LabelHeight + 60) / double(Twips);
        painter.drawRect(QRectF(left, top, right - left, bottom - top));
        painter.drawLine(QPointF(left, middle), QPointF(right, middle));
        painter.drawLine(QPointF(firstData, top), QPointF(firstData, bottom));
        for (int c = 1; c < 10; ++c) {
            const double x = (2600 + 960 * (c - 1) - 40) / double(Twips);
            painter.drawLine(QPointF(x, top), QPointF(x, bottom));
        }
    }
}
