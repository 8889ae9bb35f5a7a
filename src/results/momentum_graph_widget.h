#pragma once
// The momentum window's graph: paints results::paintMomentumGraph and tells
// the time under a left click, where the student puts the collision.

#include "results/momentum_results.h"

#include <QWidget>

class MomentumGraphWidget : public QWidget
{
    Q_OBJECT
public:
    explicit MomentumGraphWidget(QWidget *parent = nullptr);
    void setResults(const results::MomentumResults *results);

signals:
    void timeClicked(double time);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    const results::MomentumResults *m_results = nullptr;
};
