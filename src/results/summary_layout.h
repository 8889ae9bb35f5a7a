#pragma once
// The summary of a result window as its box shows it. Its lines are the
// computation's own; a line too long for the box is broken only at the
// ideographic spaces that stand between its words ("…は　218　cm/秒です。"),
// the rest going on under it, indented by one such space. So no word, number
// or unit is ever split, whatever the font and the numbers.

#include <QFontMetrics>
#include <QString>
#include <QStringList>

namespace results {

// The lines to show for `summary` (lines joined by CR LF) in a box `width`
// pixels wide. A single word wider than the box stays whole.
QStringList summaryLines(const QString &summary, const QFontMetrics &metrics, int width);

} // namespace results
