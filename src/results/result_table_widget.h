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
    // The first column's left edge and width in twips differ between the two
    // result windows.
    ResultTableWidget(int firstColumnLeft, int firstColumnWidth, QWidget *parent = nullptr);

    void setHeaders(const QString &time, const QString &value);
    // The value header of both bands; a long unit is set in a smaller type
    // so that the header still fits in front of the first column.
    void setValueHeader(const QString &text);
    void setPage(const results::TablePage &page);
    void clearCaptions();

    QLabel *Label5 = nullptr; // band 1 time header
    QLabel *Label6 = nullptr; // band 2 time header
    QLabel *Label7 = nullptr; // band 1 value header
    QLabel *Label8 = nullptr; // band 2 value header
    std::array<QLabel *, results::TableColumns> Labelx{};
    std::array<QLabel *, results::TableColumns> Labely{};
    QScrollBar *HScroll1 = nullptr;

protected:
    void paintEvent(QPaintEvent *event) override;
};
