#pragma once
// A result table handed on to a spreadsheet: as tab-separated text for the
// clipboard, or as a comma-separated file. Rows are lists of cell texts;
// the first row is the header.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace results {

using TextTable = QList<QStringList>;

// Cells joined by tabs, rows ended by CR LF.
QString tabSeparated(const TextTable &table);

// Cells joined by commas, rows ended by CR LF, in CP932. A cell holding a
// comma, a quotation mark or a line break is quoted, its quotation marks
// doubled.
QByteArray commaSeparatedCp932(const TextTable &table);

} // namespace results
