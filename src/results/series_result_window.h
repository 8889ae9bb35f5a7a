#pragma once
// What the components and the position window share: two values against
// time on one graph (blue ○ and red ●, with their fitted lines or curves),
// a table of two values a column, the measurement saved as the main window
// saves it, the table copied and written as CSV from an 編集 and a ファイル
// menu, and the scale buttons over the graph.

#include "results/component_graph.h"
#include "results/result_window.h"

class SeriesResultWindow : public ResultWindow
{
    Q_OBJECT
public:
    const results::ComponentGraphScales &scales() const { return m_scales; }

    QMenu *mnuEdit = nullptr;
    QAction *mnuFileExport = nullptr; // "表をCSVで書き出す(&E)"

protected:
    // `valueTitle`: the value axis' title, `scaleTitle` the scale frame's.
    SeriesResultWindow(const QString &title, const QString &valueTitle, const QString &scaleTitle,
                       QWidget *parent);

    void timeLonger() override;
    void timeShorter() override;
    void valueCoarser() override;
    void valueFiner() override;
    void standardScales() override;

    results::ComponentGraphScales m_scales;

private:
    void exportTable();
};
