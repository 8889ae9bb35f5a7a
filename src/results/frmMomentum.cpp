#include "results/frmMomentum.h"

#include "base/measurement_objects.h"
#include "base/measurement_state.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "results/frmResult1.h"
#include "results/frmResult_printhelp.h"
#include "results/momentum_graph_widget.h"
#include "results/result_display.h"
#include "results/result_graph_widget.h"
#include "results/result_table_widget.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <tuple>

frmMomentum::frmMomentum(QWidget *parent)
    : ResultWindow(QStringLiteral("キネモ　－結果表示　運動量－"), frmResult1::speedLayout(),
                   parent)
{
    setObjectName(QStringLiteral("frmMomentum"));
    setTitleNamesObject(false);
    std::tie(mnuFileExport, mnuEdit) = addMeasurementAndTableMenus();
    wireUntitledPrintHelp(*this);

    // The paged table and the scaled graph of the other windows give way to
    // a table of several columns and a graph of several lines.
    Picture1->hide();
    Picture2->hide();
    Frame1->hide();
    tblMomentum = new QTableWidget(centre());
    tblMomentum->setObjectName(QStringLiteral("tblMomentum"));
    tblMomentum->setGeometry(16, 16, 753, 140);
    tblMomentum->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblMomentum->verticalHeader()->hide();
    tblMomentum->addAction(mnuEditCopy);
    tblMomentum->setContextMenuPolicy(Qt::ActionsContextMenu);
    lblNote = new QLabel(centre());
    lblNote->setObjectName(QStringLiteral("lblNote"));
    lblNote->setGeometry(16, 158, 753, 18);
    picMomentum = new MomentumGraphWidget(centre());
    picMomentum->setObjectName(QStringLiteral("picMomentum"));
    picMomentum->setGeometry(16, 180, 521, 381);
    picMomentum->setResults(&m_results);
    connect(picMomentum, &MomentumGraphWidget::timeClicked, this, &frmMomentum::moveCollisionTo);

    fraMass = new QGroupBox(QStringLiteral("質量"), centre());
    fraMass->setObjectName(QStringLiteral("fraMass"));
    fraMass->setGeometry(544, 340, 225, 84);
    auto *grid = new QGridLayout(fraMass);
    grid->setContentsMargins(6, 2, 6, 2);
    grid->setVerticalSpacing(2);
    for (int object = 0; object < objects::Count; ++object) {
        lblMass[object] = new QLabel(objects::letter(object), fraMass);
        lblMass[object]->setObjectName(QStringLiteral("lblMass") + QChar(u'A' + object));
        txtMass[object] = new QLineEdit(fraMass);
        txtMass[object]->setObjectName(QStringLiteral("txtMass") + QChar(u'A' + object));
        txtMass[object]->setAlignment(Qt::AlignRight);
        txtMass[object]->setAccessibleName(objects::name(object) + QStringLiteral("の質量"));
        grid->addWidget(lblMass[object], object / 2, (object % 2) * 2);
        grid->addWidget(txtMass[object], object / 2, (object % 2) * 2 + 1);
        connect(txtMass[object], &QLineEdit::editingFinished, this,
                [this, object] { massEdited(object); });
    }
    cmbMassUnit = new QComboBox(fraMass);
    cmbMassUnit->setObjectName(QStringLiteral("cmbMassUnit"));
    cmbMassUnit->addItems({QStringLiteral("g"), QStringLiteral("kg")});
    grid->addWidget(cmbMassUnit, 2, 3);
    connect(cmbMassUnit, &QComboBox::currentIndexChanged, this, [this] { showMasses(); });

    Label11->setGeometry(544, 428, 225, 136);
    setOpeningCheck([] {
        return results::momentumProblemMessage(results::momentumOpeningProblem(measurementState()));
    });
}

results::MassUnit frmMomentum::massUnit() const
{
    return cmbMassUnit->currentIndex() == 1 ? results::MassUnit::Kilogram : results::MassUnit::Gram;
}

results::DataCheck frmMomentum::computeResults()
{
    m_results = results::computeMomentum(measurementState());
    if (m_collisionTime)
        results::setCollision(m_results, results::rowAfterTime(m_results, *m_collisionTime));
    return {};
}

void frmMomentum::showResults()
{
    showMasses();
    showComputed();
    showPreview();
    applyVisibility();
    const results::ResultVisibility v =
        results::resultVisibility(measurementState().ResultDisplayMode);
    Picture1->hide();
    Picture2->hide();
    Frame1->hide();
    tblMomentum->setVisible(v.table);
    lblNote->setVisible(v.table);
    picMomentum->setVisible(v.graph);
}

void frmMomentum::showComputed()
{
    showTable();
    lblNote->setText(results::leftOutNote(m_results));
    setSummary(results::momentumSummary(m_results));
    picMomentum->update();
}

void frmMomentum::showMasses()
{
    const MeasurementState &state = measurementState();
    for (int object = 0; object < objects::Count; ++object) {
        const bool shown = objects::pointCount(state, object) > 0;
        lblMass[object]->setVisible(shown);
        txtMass[object]->setVisible(shown);
        txtMass[object]->setText(results::massText(state.ObjectMass[object], massUnit()));
        txtMass[object]->setModified(false);
    }
}

void frmMomentum::showTable()
{
    const results::TextTable table = copyTable();
    tblMomentum->clear();
    tblMomentum->setColumnCount(table.isEmpty() ? 0 : int(table.front().size()));
    tblMomentum->setRowCount(int(table.size()) - 1);
    if (table.isEmpty())
        return;
    tblMomentum->setHorizontalHeaderLabels(table.front());
    for (int r = 1; r < table.size(); ++r)
        for (int c = 0; c < table[r].size(); ++c) {
            auto *item = new QTableWidgetItem(table[r][c]);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            tblMomentum->setItem(r - 1, c, item);
        }
    tblMomentum->resizeColumnsToContents();
}

void frmMomentum::massEdited(int object)
{
    QLineEdit *box = txtMass[object];
    if (!box->isModified())
        return;
    box->setModified(false);
    MeasurementState &state = measurementState();
    const std::optional<double> kg = results::readMass(box->text(), massUnit());
    if (!kg) {
        platform().prompts->message(results::massRefusedMessage());
        box->setText(results::massText(state.ObjectMass[object], massUnit()));
        return;
    }
    state.ObjectMass[object] = *kg;
    computeResults();
    showComputed();
    emit massesChanged();
}

void frmMomentum::moveCollisionTo(double time)
{
    if (m_results.rows.size() < 2)
        return;
    m_collisionTime = time;
    results::setCollision(m_results, results::rowAfterTime(m_results, time));
    showComputed();
}

results::TextTable frmMomentum::copyTable() const
{
    return results::momentumTable(m_results);
}
