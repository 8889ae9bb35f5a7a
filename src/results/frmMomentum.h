#pragma once
// The momentum window: a mass for every object with points, a table of each
// object's momentum and the total over the intervals all of them share, a
// graph of the momentum in x on which a click moves the collision, and the
// totals before and after the collision with the kinetic energy and the
// velocity of the centre of mass. Modeless; each opening makes a fresh
// window that deletes itself on close. The masses belong to the
// measurement, so they come back on the next opening and in the file.

#include "results/momentum_results.h"
#include "results/result_window.h"

#include <array>
#include <optional>

class MomentumGraphWidget;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QTableWidget;

class frmMomentum : public ResultWindow
{
    Q_OBJECT
public:
    explicit frmMomentum(QWidget *parent = nullptr);

    const results::MomentumResults &results() const { return m_results; }
    results::TextTable copyTable() const override;
    // The collision put before the interval that follows `time`, as a click
    // on the graph does.
    void moveCollisionTo(double time);

signals:
    // A mass was typed: it belongs to the measurement.
    void massesChanged();

public:
    QMenu *mnuEdit = nullptr;
    QAction *mnuFileExport = nullptr; // "表をCSVで書き出す(&E)"
    QTableWidget *tblMomentum = nullptr;
    QLabel *lblNote = nullptr;
    MomentumGraphWidget *picMomentum = nullptr;
    QGroupBox *fraMass = nullptr;
    std::array<QLabel *, 4> lblMass{};
    std::array<QLineEdit *, 4> txtMass{}; // txtMassA .. txtMassD
    QComboBox *cmbMassUnit = nullptr;     // "g", "kg"

protected:
    results::DataCheck computeResults() override;
    void showResults() override;
    // The table scrolls by itself and the graph fits its own scales: there
    // are no pages and no scale buttons (Frame1 stays hidden).
    void pageTable(int) override {}
    int scrollMaximum(int) const override { return 0; }
    void timeLonger() override {}
    void timeShorter() override {}
    void valueCoarser() override {}
    void valueFiner() override {}
    void standardScales() override {}

private:
    void massEdited(int object);
    void showMasses();
    void showTable();
    void showComputed();
    results::MassUnit massUnit() const;

    results::MomentumResults m_results;
    std::optional<double> m_collisionTime; // where the student put it
};
