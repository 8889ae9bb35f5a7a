#include "results/frmResult3.h"

#include "base/measurement_state.h"
#include "results/frame_link.h"
#include "results/result_graph_widget.h"
#include "results/result_table_widget.h"

#include <QGroupBox>
#include <QLabel>

frmResult3::frmResult3(QWidget *parent)
    : SeriesResultWindow(QStringLiteral("キネモ　－結果表示　速度の成分と加速度－"),
                         QStringLiteral("速　度"), QStringLiteral("速度"), parent)
{
    setObjectName(QStringLiteral("frmResult3"));
    linkFrames({results::LinkedItems::Intervals, results::LinkedItems::Intervals,
                [this] { return results::markerSpots(m_scales.graph()); },
                [this] { return int(m_scales.TimeScaleIndex); }});
    // The summary in a taller box, with the scale buttons further down.
    Label11->setGeometry(8160 / 15, 5280 / 15, 3375 / 15, 1560 / 15);
    Frame1->move(8160 / 15, 6900 / 15);
}

results::DataCheck frmResult3::computeResults()
{
    const MeasurementState &state = measurementState();
    m_unit = state.LengthUnit;
    const results::DataCheck check = results::computeComponentResults(state, m_results);
    m_scales.load(m_results);
    return check;
}

void frmResult3::showResults()
{
    const QStringList headers = results::componentHeaders(m_unit, m_results.axesSet);
    Picture1->setHeaders(headers[0], headers[1]);
    Picture1->setSecondValueHeader(headers[2]);
    Picture2->Label3->setText(QStringLiteral("(") + m_unit + QStringLiteral("/秒)"));
    pageTable(0);
    setSummary(results::componentSummary(m_results, m_unit));
    showPreview();
    standardScales();
    applyVisibility();
}

void frmResult3::pageTable(int first)
{
    results::TablePage page;
    for (int c = 0; c < results::TableColumns; ++c) {
        const int interval = first + c;
        if (first < 0 || interval >= int(m_results.rows.size()))
            break;
        const QStringList cells = results::componentCells(m_results.rows[interval]);
        page[c] = {cells[0], cells[1], cells[2]};
    }
    Picture1->setPage(page);
}

int frmResult3::scrollMaximum(int pointCount) const
{
    // One column per interval, as in the speed window.
    return results::speedScrollMaximum(pointCount);
}

results::TextTable frmResult3::copyTable() const
{
    return results::componentTable(m_results, m_unit);
}
