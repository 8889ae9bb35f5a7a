#include "results/result_table_widget.h"

#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace {

constexpr int Twips = 15;
constexpr int LabelHeight = 255;
constexpr int ColumnWidth = 880;

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

ResultTableWidget::ResultTableWidget(int firstColumnLeft, int firstColumnWidth, int valueRows,
                                     QWidget *parent)
    : QWidget(parent), m_valueRows(valueRows)
{
    // Two rows a band, or three rows closer together.
    m_rows = valueRows == 2 ? Rows{{90, 1030}, {375, 1315}, {660, 1600}}
                            : Rows{{220, 1080}, {580, 1420}, {0, 0}};
    const Rows &r = m_rows;
    setObjectName(QStringLiteral("Picture1"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    Label5 = tableLabel(QStringLiteral("Label5"), 240, r.time[0] + 10, 1215, this);
    Label7 = tableLabel(QStringLiteral("Label7"), 240, r.value[0] + 10, 1215, this);
    Label6 = tableLabel(QStringLiteral("Label6"), 240, r.time[1] - 10, 1215, this);
    Label8 = tableLabel(QStringLiteral("Label8"), 240, r.value[1] + 10, 1215, this);
    if (valueRows == 2) {
        Label14 = tableLabel(QStringLiteral("Label14"), 240, r.value2[0] + 10, 1215, this);
        Label15 = tableLabel(QStringLiteral("Label15"), 240, r.value2[1] + 10, 1215, this);
    }
    for (QLabel *header : {Label5, Label6, Label7, Label8, Label14, Label15})
        if (header)
            header->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    for (int i = 0; i < results::TableColumns; ++i) {
        const int left = columnLeft(i, firstColumnLeft);
        const int width = i == 0 ? firstColumnWidth : ColumnWidth;
        Labelx[i] =
            tableLabel(QStringLiteral("Labelx(%1)").arg(i), left, r.time[i / 10], width, this);
        Labely[i] =
            tableLabel(QStringLiteral("Labely(%1)").arg(i), left, r.value[i / 10], width, this);
        if (valueRows == 2)
            Labelz[i] = tableLabel(QStringLiteral("Labelz(%1)").arg(i), left, r.value2[i / 10],
                                   width, this);
    }

    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setGeometry(240 / Twips, (valueRows == 2 ? 1915 : 1830) / Twips, 10815 / Twips,
                          270 / Twips);
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

void ResultTableWidget::setSecondValueHeader(const QString &text)
{
    if (Label14) {
        fitText(Label14, text);
        fitText(Label15, text);
    }
}

void ResultTableWidget::setPage(const results::TablePage &page)
{
    for (int i = 0; i < results::TableColumns; ++i) {
        Labelx[i]->setText(page[i].time);
        Labely[i]->setText(page[i].value);
        if (Labelz[i])
            Labelz[i]->setText(page[i].value2);
    }
}

void ResultTableWidget::clearCaptions()
{
    setPage(results::TablePage{});
}

QRect ResultTableWidget::columnRect(int column) const
{
    if (column < 0 || column >= results::TableColumns)
        return {};
    QRect cells = Labelx[column]->geometry().united(Labely[column]->geometry());
    if (Labelz[column])
        cells = cells.united(Labelz[column]->geometry());
    return cells.adjusted(-2, -2, 2, 2);
}

void ResultTableWidget::setHighlightedColumn(int column)
{
    if (column < 0 || column >= results::TableColumns)
        column = -1;
    if (column == m_highlighted)
        return;
    m_highlighted = column;
    update();
}

void ResultTableWidget::mousePressEvent(QMouseEvent *event)
{
    // The labels take no clicks: a click on a cell arrives here.
    for (int c = 0; c < results::TableColumns; ++c) {
        if (columnRect(c).contains(event->position().toPoint())) {
            if (!Labelx[c]->text().isEmpty())
                emit columnClicked(c);
            return;
        }
    }
    QWidget::mousePressEvent(event);
}

void ResultTableWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // Pale yellow, as the current point's marker is yellow.
    if (m_highlighted >= 0)
        painter.fillRect(columnRect(m_highlighted), QColor(255, 255, 160));
    // The ruled frame of the two bands: a box around each band, a line
    // between its time and value rows, one between the headers and the data.
    painter.setPen(QPen(QColor(0, 0, 0), 1));
    const double left = 120.0 / Twips;
    const double right = 11160.0 / Twips;
    const double firstData = 1520.0 / Twips;
    const bool three = m_valueRows == 2;
    const int margin = three ? 30 : 60;
    for (int band = 0; band < 2; ++band) {
        const int last = three ? m_rows.value2[band] : m_rows.value[band];
        const double top = (m_rows.time[band] - margin) / double(Twips);
        const double bottom = (last + LabelHeight + margin) / double(Twips);
        painter.drawRect(QRectF(left, top, right - left, bottom - top));
        for (int rowTop : {m_rows.value[band], three ? m_rows.value2[band] : 0}) {
            if (!rowTop)
                continue;
            const double middle = (rowTop - (three ? 15 : 50)) / double(Twips);
            painter.drawLine(QPointF(left, middle), QPointF(right, middle));
        }
        painter.drawLine(QPointF(firstData, top), QPointF(firstData, bottom));
        for (int c = 1; c < 10; ++c) {
            const double x = (2600 + 960 * (c - 1) - 40) / double(Twips);
            painter.drawLine(QPointF(x, top), QPointF(x, bottom));
        }
    }
}
