#include "results/frmResult1.h"

#include "base/measurement_state.h"
#include "datafile/measurement_file_commands.h"
#include "results/frmResult_printhelp.h"
#include "results/result_graph_widget.h"
#include "results/result_table_text.h"
#include "results/result_table_widget.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

ResultWindow::Layout frmResult1::speedLayout()
{
    ResultWindow::Layout layout;
    layout.markerBorder = QColor(255, 0, 0);
    layout.valueNumberLeft = 285;
    layout.firstColumnLeft = 1575;
    layout.firstColumnWidth = 880;
    layout.darkScaleFrame = false;
    layout.frame1 = {8160, 6120, 3375, 1215};
    layout.label13 = {240, 360, 480, 255};
    layout.command5 = {720, 360, 500, 240};
    layout.command4 = {720, 600, 500, 240};
    layout.label12 = {1680, 360, 480, 255};
    layout.command2 = {2160, 360, 500, 360};
    layout.command3 = {2660, 360, 500, 360};
    layout.command6 = {1680, 840, 1335, 255};
    return layout;
}

namespace {

bool speedOffered(int kindMode)
{
    return kindMode == 0 || kindMode == 2;
}

} // namespace

frmResult1::frmResult1(QWidget *parent)
    : ResultWindow(QStringLiteral("キネモ　－結果表示　時間と速さの関係－"), speedLayout(), parent)
{
    setObjectName(QStringLiteral("frmResult1"));
    // "データを書き込む(&S)": the measurement with this window's times and distances.
    connect(mnuFileSave, &QAction::triggered, this, [this] {
        datafile::saveResultWindowMeasurement(measurementState(),
                                              results::fileColumns(m_results.ResultRows));
    });
    txtDai = new QLineEdit(centre());
    txtDai->setObjectName(QStringLiteral("txtDai"));
    txtDai->setGeometry(8160 / 15, 7680 / 15, 3375 / 15, 270 / 15);
    txtDai->hide();
    tmrWait = new QTimer(this);
    tmrWait->setObjectName(QStringLiteral("tmrWait"));
    tmrWait->setInterval(100);
    wireResultPrintHelp(*this);

    Picture2->Label1->setText(QStringLiteral("時　間"));
    Picture2->Label4->setText(QStringLiteral("(秒)"));
    Picture2->setValueTitle(QStringLiteral("移動距離"));
    Picture2->Label3->setText(QStringLiteral("(cm)"));
    Picture1->setHeaders(QStringLiteral("時  間 (秒)"), QStringLiteral("移動距離(cm)"));
}

results::DataCheck frmResult1::computeResults()
{
    const MeasurementState &state = measurementState();
    m_kindMode = state.ResultKindMode;
    PrintWaitTicks = 0;
    Picture1->Label5->setText(QStringLiteral("時　間 (秒)"));
    Picture1->Label6->setText(QStringLiteral("時　間 (秒)"));
    const results::DataCheck check = results::computeSpeedResults(state, m_results);
    m_scales.load(m_results, m_kindMode);
    // Without speeds the graph shows the points' distances.
    linkFrames(
        {results::LinkedItems::Intervals,
         speedOffered(m_kindMode) ? results::LinkedItems::Intervals : results::LinkedItems::Points,
         [this] { return results::markerSpots(m_scales.graph()); },
         [this] { return int(m_scales.TimeScaleIndex); }});
    showGraph();
    return check;
}

void frmResult1::showResults()
{
    const QString unit = measurementState().LengthUnit;
    if (speedOffered(m_kindMode)) {
        Picture2->setValueTitle(QStringLiteral("速　さ"));
        const QString header = QStringLiteral("速　さ (") + unit + QStringLiteral("/秒)");
        Picture1->setValueHeader(header);
        Picture2->Label3->setText(QStringLiteral("(") + unit + QStringLiteral("/秒)"));
        Label13->setText(QStringLiteral("速さ"));
        Picture1->setPage(results::speedTablePage(m_results, 0));
    }
    results::computeMaxima(m_results);
    setSummary(results::speedSummary(m_results, unit));
    showPreview();
    // The scales are fitted to the maxima just computed.
    m_scales.load(m_results, m_kindMode);
    const bool beyondLimit = m_scales.resetScales();
    showGraph();
    if (beyondLimit)
        showLimitMessage();
    applyVisibility();
}

void frmResult1::pageTable(int first)
{
    if (speedOffered(m_kindMode))
        Picture1->setPage(results::speedTablePage(m_results, first));
}

int frmResult1::scrollMaximum(int pointCount) const
{
    return results::speedScrollMaximum(pointCount);
}

void frmResult1::showGraph()
{
    Picture2->setGraph(m_scales.graph());
}

void frmResult1::timeLonger()
{
    m_scales.timeLonger();
    showGraph();
}

void frmResult1::timeShorter()
{
    m_scales.timeShorter();
    showGraph();
}

void frmResult1::valueCoarser()
{
    m_scales.valueCoarser();
    showGraph();
}

void frmResult1::valueFiner()
{
    m_scales.valueFiner();
    showGraph();
}

void frmResult1::standardScales()
{
    const bool beyondLimit = m_scales.resetScales();
    showGraph();
    if (beyondLimit)
        showLimitMessage();
}

results::TextTable frmResult1::copyTable() const
{
    const QString unit = measurementState().LengthUnit;
    if (!speedOffered(m_kindMode))
        return {};
    return results::speedCopyTable(m_results, unit);
}
