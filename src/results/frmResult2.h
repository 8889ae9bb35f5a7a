#pragma once
// The time-distance result window: the time and distance of every point in a
// paged table and a graph, the summary and the preview picture. Modeless;
// each opening makes a fresh window that deletes itself on close.

#include "results/distance_graph_scales.h"
#include "results/result_window.h"

class frmResult2 : public ResultWindow
{
    Q_OBJECT
public:
    explicit frmResult2(QWidget *parent = nullptr);

    const results::DistanceResults &results() const { return m_results; }
    const results::DistanceGraphScales &scales() const { return m_scales; }

    results::TextTable copyTable() const override;

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

    results::DistanceResults m_results;
    results::DistanceGraphScales m_scales;
    int m_distanceMethod = 0; // DistanceMethod of the last load
};
