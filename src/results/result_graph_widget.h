#pragma once
// The graph of a result window (Picture2): grid, axis numbers and markers as
// the graph state places them in twips. One paint function serves the
// screen, the printer and tests.

#include "results/graph_scales.h"

#include <QColor>
#include <QPointF>
#include <QWidget>
#include <functional>
#include <optional>

class QLabel;

class ResultGraphWidget : public QWidget
{
    Q_OBJECT
public:
    // markerBorder: red in the speed window, blue in the distance window;
    // valueNumberLeft: left edge of the vertical axis numbers in twips.
    ResultGraphWidget(QColor markerBorder, float valueNumberLeft, QWidget *parent = nullptr);

    void setGraph(const results::GraphState &graph);
    const results::GraphState &graph() const { return m_graph; }

    // Draws the graph scaled from its size in twips into target.
    void paint(QPainter &painter, const QRectF &target) const;

    // The fixed captions inside the graph, by name.
    QLabel *Label1 = nullptr;  // time-axis title
    QLabel *Label2 = nullptr;  // value-axis title, one character per line
    QLabel *Label3 = nullptr;  // value-axis unit
    QLabel *Label4 = nullptr;  // time-axis unit
    QLabel *Label9 = nullptr;  // time origin "0"
    QLabel *Label10 = nullptr; // value origin "0"

    // Label2 shows its text one character per line.
    void setValueTitle(const QString &title);

    // Draws, in place of the grid and markers of the graph state, whatever
    // `content` paints in twips (a graph of another kind).
    void setContentPainter(std::function<void(QPainter &)> content);
    float valueNumberLeft() const { return m_valueNumberLeft; }

    // The time of the frame on show in the main window: a thin vertical line
    // at that place on the time axis (twips), or none.
    void setCurrentTimeX(std::optional<float> x);
    std::optional<float> currentTimeX() const { return m_currentTimeX; }

signals:
    // A click on the graph, in twips.
    void clicked(QPointF twips);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void paintCurrentTime(QPainter &painter) const;

    results::GraphState m_graph;
    QColor m_markerBorder;
    float m_valueNumberLeft;
    std::function<void(QPainter &)> m_content;
    std::optional<float> m_currentTimeX;
};
