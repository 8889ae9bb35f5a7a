#pragma once
// The time-speed result window: the speed of every interval between two
// points in a paged table and a graph, the summary and the preview picture.
// Modeless; each opening makes a fresh window that deletes itself on close.

#include "results/result_window.h"
#include "results/speed_graph_scales.h"

class QLineEdit;
class QTimer;

class frmResult1 : public ResultWindow
{
    Q_OBJECT
public:
    explicit frmResult1(QWidget *parent = nullptr);
    // Where this window's controls stand; the components window shares it.
    static Layout speedLayout();

    const results::SpeedResults &results() const { return m_results; }
    const results::SpeedGraphScales &scales() const { return m_scales; }

    QLineEdit *txtDai = nullptr; // printout title, shown only while printing
    QTimer *tmrWait = nullptr;   // printing delay
    QString PrintTitle;
    int PrintWaitTicks = 0;

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

    results::SpeedResults m_results;
    results::SpeedGraphScales m_scales;
    int m_kindMode = 0; // ResultKindMode of the last load
};
