#pragma once
// The paged table of a result window (Picture1): two bands of ten columns,
// each a time over a value, with the headers at the left and the scroll bar
// that pages through the rows underneath.

#include "results/result_table_text.h"

#include <QWidget>
#include <array>

class QLabel;
class QScrollBar;

class ResultTableWidget : public QWidget
{
    Q_OBJECT
public:
    // The first column's left edge and width in twips differ between the
    // result windows. A table of two values has a third row in each band
    // (Labelz, headed by Label14 and Label15), the rows closer together.
    ResultTableWidget(int firstColumnLeft, int firstColumnWidth, int valueRows = 1,
                      QWidget *parent = nullptr);

    void setHeaders(const QString &time, const QString &value);
    // The value header of both bands; a long unit is set in a smaller type
    // so that the header still fits in front of the first column.
    void setValueHeader(const QString &text);
    void setSecondValueHeader(const QString &text);
    void setPage(const results::TablePage &page);
    void clearCaptions();
    // The column of the frame on show in the main window stands out; -1 for
    // none.
    void setHighlightedColumn(int column);
    int highlightedColumn() const { return m_highlighted; }
    // The cells of a column, in the widget's pixels.
    QRect columnRect(int column) const;

    QLabel *Label5 = nullptr; // band 1 time header
    QLabel *Label6 = nullptr; // band 2 time header
    QLabel *Label7 = nullptr; // band 1 value header
    QLabel *Label8 = nullptr; // band 2 value header
    std::array<QLabel *, results::TableColumns> Labelx{};
    std::array<QLabel *, results::TableColumns> Labely{};
    QLabel *Label14 = nullptr; // band 1 second value header
    QLabel *Label15 = nullptr; // band 2 second value header
    std::array<QLabel *, results::TableColumns> Labelz{};
    QScrollBar *HScroll1 = nullptr;

signals:
    // A click on a column with a value in it.
    void columnClicked(int column);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    struct Rows
    {
        int time[2];   // top of the time row of each band
        int value[2];  // of the value row
        int value2[2]; // of the second value row, when there is one
    };
    Rows m_rows;
    int m_valueRows;
    int m_highlighted = -1;
};
