#include "results/frmResult2.h"

#include "base/measurement_state.h"
#include "datafile/measurement_file_commands.h"
#include "results/frmResult_printhelp.h"
#include "results/result_graph_widget.h"
#include "results/result_table_text.h"
#include "results/result_table_widget.h"

#include <QAction>
#include <QLabel>

namespace {

ResultWindow::Layout distanceLayout()
{
    ResultWindow::Layout layout;
    layout.markerBorder = QColor(0, 0, 255);
    layout.valueNumberLeft = 400;
    layout.firstColumnLeft = 1695;
    layout.firstColumnWidth = 795;
    layout.darkScaleFrame = true;
    layout.frame1 = {8160, 6120, 3375, 1695};
    layout.label13 = {240, 600, 480, 255};
    layout.command5 = {720, 360, 500, 360};
    layout.command4 = {720, 720, 500, 360};
    layout.label12 = {1680, 600, 480, 255};
    layout.command2 = {2160, 480, 500, 360};
    layout.command3 = {2640, 480, 500, 360};
    layout.command6 = {1440, 1200, 1335, 375};
    return layout;
}

} // namespace

frmResult2::frmResult2(QWidget *parent)
    : ResultWindow(QStringLiteral("キネモ　－結果表示　時間と移動距離の関係－"), distanceLayout(),
                   parent)
{
    setObjectName(QStringLiteral("frmResult2"));
    linkFrames({results::LinkedItems::Points, results::LinkedItems::Points,
                [this] { return results::markerSpots(m_scales.graph()); },
                [this] { return int(m_scales.TimeScaleIndex); }});
    // "データを書き込む(&S)": the measurement with this window's times and distances.
    connect(mnuFileSave, &QAction::triggered, this, [this] {
        datafile::saveResultWindowMeasurement(measurementState(),
                                              results::fileColumns(m_results.DistanceRows));
    });
    wireResultPrintHelp(*this);
    Picture2->Label1->setText(QStringLiteral("時　間"));
    Picture2->Label4->setText(QStringLiteral("(秒)"));
    Picture2->setValueTitle(QStringLiteral("移動距離"));
    Picture2->Label3->setText(QStringLiteral("(cm)"));
    Picture1->setHeaders(QStringLiteral("時  間 (秒)"), QStringLiteral("移動距離(cm)"));
}

results::DataCheck frmResult2::computeResults()
{
    const MeasurementState &state = measurementState();
    m_distanceMethod = state.DistanceMethod;
    Picture1->Label5->setText(QStringLiteral("時　間 (秒)"));
    Picture1->Label6->setText(QStringLiteral("時　間 (秒)"));
    const results::DataCheck check = results::computeDistanceResults(state, m_results);
    m_scales.load(m_results, m_distanceMethod);
    showGraph();
    return check;
}

void frmResult2::showResults()
{
    const QString unit = measurementState().LengthUnit;
    Picture2->setValueTitle(QStringLiteral("移動距離"));
    const QString header = QStringLiteral("移動距離 (") + unit + QStringLiteral(")");
    Picture1->setValueHeader(header);
    Picture2->Label3->setText(QStringLiteral("(") + unit + QStringLiteral(")"));
    Label13->setText(QStringLiteral("距離"));
    Picture1->setPage(results::distanceTablePage(m_results, 0));

    results::computeMaxima(m_results);
    setSummary(results::distanceSummary(m_results, unit));
    showPreview();
    m_scales.load(m_results, m_distanceMethod);
    const bool beyondLimit = m_scales.resetScales();
    showGraph();
    if (beyondLimit)
        showLimitMessage();
    applyVisibility();
}

void frmResult2::pageTable(int first)
{
    Picture1->setPage(results::distanceTablePage(m_results, first));
}

int frmResult2::scrollMaximum(int pointCount) const
{
    return results::distanceScrollMaximum(pointCount);
}

void frmResult2::showGraph()
{
    Picture2->setGraph(m_scales.graph());
}

void frmResult2::timeLonger()
{
    m_scales.timeLonger();
    showGraph();
}

void frmResult2::timeShorter()
{
    m_scales.timeShorter();
    showGraph();
}

void frmResult2::valueCoarser()
{
    m_scales.valueCoarser();
    showGraph();
}

void frmResult2::valueFiner()
{
    m_scales.valueFiner();
    showGraph();
}

void frmResult2::standardScales()
{
    const bool beyondLimit = m_scales.resetScales();
    showGraph();
    if (beyondLimit)
        showLimitMessage();
}

results::TextTable frmResult2::copyTable() const
{
    return results::distanceCopyTable(m_results, m_distanceMethod, measurementState().LengthUnit);
}
