#pragma once
// The result window of the position against time: x and y of every point
// along the axes in a paged table and a graph, and the fits the student
// chooses for each ("近似": 直線, 放物線, 振動) over the columns selected in
// the table (all points without a selection), with their equations and what
// they mean in the summary. Modeless; each opening makes a fresh window.

#include "results/position_results.h"
#include "results/series_result_window.h"

class QComboBox;
class QLabel;

class EventHook;

class frmResult4 : public SeriesResultWindow
{
    Q_OBJECT
public:
    explicit frmResult4(QWidget *parent = nullptr);
    ~frmResult4() override;

    const results::PositionResults &results() const { return m_results; }
    const results::PositionFits &fits() const { return m_fits; }
    results::TextTable copyTable() const override;

    // The rows chosen for the fits, first and last; none: every row.
    std::optional<std::pair<int, int>> selection() const;
    void selectRows(int first, int last);
    void clearSelection();

    QLabel *lblFit = nullptr;
    QComboBox *cmbFitX = nullptr;
    QComboBox *cmbFitY = nullptr;

protected:
    results::DataCheck computeResults() override;
    void showResults() override;
    void pageTable(int first) override;
    int scrollMaximum(int pointCount) const override;

private:
    void buildFitControls();
    // The table's column under a point of the table, or -1.
    int columnAt(QPoint position) const;
    // A press (or a drag with the button held) on the table.
    bool tableMouse(QEvent *event);
    EventHook *m_tableHook = nullptr;
    void refit();
    void markSelection();

    results::PositionResults m_results;
    results::PositionFits m_fits;
    QString m_unit;
    int m_pageFirst = 0; // the row in the table's first column
    int m_anchor = -1;   // where the selection started
    int m_first = -1;
    int m_last = -1;
};
