#pragma once
// The momentum graph: the total momentum in x (black, thick) and each
// object's momentum in its own colour against time, zero marked, and the
// collision as a dashed line that the student can move by clicking. Drawn
// into any rectangle, so the window, a printout and a test draw the same.

#include "results/momentum_results.h"

#include <QRectF>

class QPainter;

namespace results {

// The plotting area inside `box` (room for the numbers at left and below).
QRectF momentumPlotArea(const QRectF &box);
// The time under a click at x (in the same coordinates as `box`).
double momentumTimeAt(const MomentumResults &results, const QRectF &box, double x);

void paintMomentumGraph(QPainter &painter, const QRectF &box, const MomentumResults &results);

} // namespace results
