#pragma once
// The result window of the velocity components and the acceleration: the
// horizontal and vertical velocity of every interval in a paged table and a
// graph with a least-squares line through each, the accelerations in the
// summary, and the preview picture. Modeless; each opening makes a fresh
// window that deletes itself on close.

#include "results/component_results.h"
#include "results/series_result_window.h"

class frmResult3 : public SeriesResultWindow
{
    Q_OBJECT
public:
    explicit frmResult3(QWidget *parent = nullptr);

    const results::ComponentResults &results() const { return m_results; }
    results::TextTable copyTable() const override;

protected:
    results::DataCheck computeResults() override;
    void showResults() override;
    void pageTable(int first) override;
    int scrollMaximum(int pointCount) const override;

private:
    results::ComponentResults m_results;
    QString m_unit; // LengthUnit of the last load
};
