#include "results/summary_layout.h"

namespace results {

namespace {

const QChar kWordSpace(0x3000);

} // namespace

QStringList summaryLines(const QString &summary, const QFontMetrics &metrics, int width)
{
    QStringList shown;
    for (QString line : summary.split(QStringLiteral("\r\n"))) {
        // Broken at the first space after the start (the subject, then its
        // value and unit), again on the rest while it is still too long.
        while (metrics.horizontalAdvance(line) > width) {
            const qsizetype space = line.indexOf(kWordSpace, 1);
            if (space < 0)
                break;
            shown << line.left(space);
            line = line.mid(space);
        }
        shown << line;
    }
    return shown;
}

} // namespace results
