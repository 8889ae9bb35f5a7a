#include "results/momentum_graph_widget.h"

#include "results/momentum_graph.h"

#include <QMouseEvent>
#include <QPainter>

MomentumGraphWidget::MomentumGraphWidget(QWidget *parent) : QWidget(parent)
{
    setCursor(Qt::CrossCursor);
    setToolTip(QStringLiteral("クリックした時刻を衝突の時刻にします"));
}

void MomentumGraphWidget::setResults(const results::MomentumResults *results)
{
    m_results = results;
    update();
}

void MomentumGraphWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    static const results::MomentumResults none;
    results::paintMomentumGraph(painter, QRectF(rect()), m_results ? *m_results : none);
}

void MomentumGraphWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_results)
        return;
    const QRectF area = results::momentumPlotArea(QRectF(rect()));
    if (!area.contains(event->position()))
        return;
    emit timeClicked(results::momentumTimeAt(*m_results, QRectF(rect()), event->position().x()));
}
