#pragma once
// The result window of the velocity components and the acceleration: the
// horizontal and vertical velocity of every interval in a paged table and a
// graph with a least-squares line through each, the accelerations in the
// summary, and the preview picture. Modeless; each opening makes a fresh
// window that deletes itself on close.

#include "results/component_graph.h"
#include "results/result_window.h"

class frmResult3 : public ResultWindow
{
    Q_OBJECT
public:
    explicit frmResult3(QWidget *parent = nullptr);

    const results::ComponentResults &results() const { return m_results; }
    const results::ComponentGraphScales &scales() const { return m_scales; }
    results::TextTable copyTable() const override;

    QMenu *mnuEdit = nullptr;
    QAction *mnuFileExport = nullptr; // "表をCSVで書き出す(&E)"

protected:
    results::DataCheck computeResults() override;
    void showResults() override;
    void pageTable(int first) override;
    int scrollMaximum(int pointCount) const override;
    void timeLonger() override;
    void timeShorter() override;
    void valueCoarser() override;
    void valueFiner() override;
    void standardScales() override;

private:
    void showGraph();

    results::ComponentResults m_results;
    results::ComponentGraphScales m_scales;
    QString m_unit; // LengthUnit of the last load
};
