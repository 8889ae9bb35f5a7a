#include "results/frmResult3.h"

#include "base/measurement_state.h"
#include "base/numbers.h"
#include "datafile/measurement_file_commands.h"
#include "platform/qt_named_menus.h"
#include "results/frmResult1.h"
#include "results/frmResult_printhelp.h"
#include "results/result_graph_widget.h"
#include "results/result_table_text.h"
#include "results/result_table_widget.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>

namespace {

// The speed window's places, with a second row of values in the table.
ResultWindow::Layout componentLayout()
{
    ResultWindow::Layout layout = frmResult1::speedLayout();
    layout.markerBorder = QColor(0, 0, 255);
    layout.valueNumberLeft = 120;
    layout.firstColumnLeft = 1640;
    layout.tableValueRows = 2;
    return layout;
}

} // namespace

frmResult3::frmResult3(QWidget *parent)
    : ResultWindow(QStringLiteral("キネモ　－結果表示　速度の成分と加速度－"), componentLayout(),
                   parent)
{
    setObjectName(QStringLiteral("frmResult3"));
    linkFrames({results::LinkedItems::Intervals, results::LinkedItems::Intervals,
                [this] { return results::markerSpots(m_scales.graph()); },
                [this] { return int(m_scales.TimeScaleIndex); }});
    // This window saves the measurement itself, as the main window does.
    mnuFileSave->setText(QStringLiteral("データを書き込む(&S)"));
    connect(mnuFileSave, &QAction::triggered, this,
            [] { datafile::saveMainWindowMeasurement(measurementState()); });
    mnuFileExport = new QAction(QStringLiteral("表をCSVで書き出す(&E)"), this);
    mnuFileExport->setObjectName(QStringLiteral("mnuFileExport"));
    mnuFile->insertAction(mnuFilePrint, mnuFileExport);
    mnuFile->insertSeparator(mnuFilePrint)->setObjectName(QStringLiteral("mnuline2"));
    connect(mnuFileExport, &QAction::triggered, this, &frmResult3::exportTable);

    mnuEdit = new QMenu(QStringLiteral("編集(&E)"), this);
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    menuBar()->insertMenu(mnuDisp->menuAction(), mnuEdit);
    mnuEdit->addAction(mnuEditCopy);

    wireResultPrintHelp(*this);
    Picture2->Label1->setText(QStringLiteral("時　間"));
    Picture2->Label4->setText(QStringLiteral("(秒)"));
    Picture2->setValueTitle(QStringLiteral("速　度"));
    // Zero is among the axis numbers, wherever it lies.
    Picture2->Label10->hide();
    Picture2->setContentPainter([this](QPainter &painter) {
        results::paintComponentGraph(painter, m_scales.graph(), Picture2->valueNumberLeft());
    });
    Label13->setText(QStringLiteral("速度"));

    // The summary's lines are longer than the other windows': they are
    // broken between words, in a taller box, with the scale buttons further
    // down.
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
    const QStringList headers = results::componentHeaders(m_unit);
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

void frmResult3::exportTable()
{
    datafile::saveTableWithDialog(results::commaSeparatedCp932(copyTable()));
}

void frmResult3::showGraph()
{
    Picture2->update();
}

void frmResult3::timeLonger()
{
    m_scales.timeLonger();
    showGraph();
}

void frmResult3::timeShorter()
{
    m_scales.timeShorter();
    showGraph();
}

void frmResult3::valueCoarser()
{
    m_scales.valueCoarser();
    showGraph();
}

void frmResult3::valueFiner()
{
    m_scales.valueFiner();
    showGraph();
}

void frmResult3::standardScales()
{
    const bool beyondLimit = m_scales.resetScales();
    showGraph();
    if (beyondLimit)
        showLimitMessage();
}
