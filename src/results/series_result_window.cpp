#include "results/series_result_window.h"

#include "base/measurement_state.h"
#include "datafile/measurement_file_commands.h"
#include "results/frmResult1.h"
#include "results/frmResult_printhelp.h"
#include "results/result_graph_widget.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>

namespace {

// The speed window's places, with a second row of values in the table.
ResultWindow::Layout seriesLayout()
{
    ResultWindow::Layout layout = frmResult1::speedLayout();
    layout.markerBorder = QColor(0, 0, 255);
    layout.valueNumberLeft = 120;
    layout.firstColumnLeft = 1640;
    layout.tableValueRows = 2;
    return layout;
}

} // namespace

SeriesResultWindow::SeriesResultWindow(const QString &title, const QString &valueTitle,
                                       const QString &scaleTitle, QWidget *parent)
    : ResultWindow(title, seriesLayout(), parent)
{
    // This window saves the measurement itself, as the main window does.
    mnuFileSave->setText(QStringLiteral("データを書き込む(&S)"));
    connect(mnuFileSave, &QAction::triggered, this,
            [] { datafile::saveMainWindowMeasurement(measurementState()); });
    mnuFileExport = new QAction(QStringLiteral("表をCSVで書き出す(&E)"), this);
    mnuFileExport->setObjectName(QStringLiteral("mnuFileExport"));
    mnuFile->insertAction(mnuFilePrint, mnuFileExport);
    mnuFile->insertSeparator(mnuFilePrint)->setObjectName(QStringLiteral("mnuline2"));
    connect(mnuFileExport, &QAction::triggered, this, &SeriesResultWindow::exportTable);

    mnuEdit = new QMenu(QStringLiteral("編集(&E)"), this);
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    menuBar()->insertMenu(mnuDisp->menuAction(), mnuEdit);
    mnuEdit->addAction(mnuEditCopy);

    wireUntitledPrintHelp(*this);
    Picture2->Label1->setText(QStringLiteral("時　間"));
    Picture2->Label4->setText(QStringLiteral("(秒)"));
    Picture2->setValueTitle(valueTitle);
    // Zero is among the axis numbers, wherever it lies.
    Picture2->Label10->hide();
    Picture2->setContentPainter([this](QPainter &painter) {
        results::paintComponentGraph(painter, m_scales.graph(), Picture2->valueNumberLeft());
    });
    Label13->setText(scaleTitle);
}

void SeriesResultWindow::exportTable()
{
    datafile::saveTableWithDialog(results::commaSeparatedCp932(copyTable()));
}

void SeriesResultWindow::timeLonger()
{
    m_scales.timeLonger();
    Picture2->update();
}

void SeriesResultWindow::timeShorter()
{
    m_scales.timeShorter();
    Picture2->update();
}

void SeriesResultWindow::valueCoarser()
{
    m_scales.valueCoarser();
    Picture2->update();
}

void SeriesResultWindow::valueFiner()
{
    m_scales.valueFiner();
    Picture2->update();
}

void SeriesResultWindow::standardScales()
{
    const bool beyondLimit = m_scales.resetScales();
    Picture2->update();
    if (beyondLimit)
        showLimitMessage();
}
