#include "results/table_export.h"

#include <QStringEncoder>

namespace results {

namespace {

QString csvCell(QString cell)
{
    if (!cell.contains(QLatin1Char(',')) && !cell.contains(QLatin1Char('"')) &&
        !cell.contains(QLatin1Char('\n')) && !cell.contains(QLatin1Char('\r')))
        return cell;
    cell.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QLatin1Char('"') + cell + QLatin1Char('"');
}

} // namespace

QString tabSeparated(const TextTable &table)
{
    QString text;
    for (const QStringList &row : table)
        text += row.join(QLatin1Char('\t')) + QStringLiteral("\r\n");
    return text;
}

QByteArray commaSeparatedCp932(const TextTable &table)
{
    QString text;
    for (const QStringList &row : table) {
        QStringList cells;
        for (const QString &cell : row)
            cells << csvCell(cell);
        text += cells.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    QStringEncoder encode("CP932");
    return encode(text);
}

} // namespace results
