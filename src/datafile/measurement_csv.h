#pragma once
// The measurement file: a comma-separated text in the Japanese Windows code
// page (CP932), lines ending in CR LF, nine double-quoted fields per line.
// Line 1 is a header; every further line is one point: count, frame, X, Y,
// two columns that depend on the writer, the on-screen reference length in
// pixels, the real reference length and the frame rate.
//
// The main window writes the camera-shake reference (PointTable columns 4 and
// 5) into columns 5 and 6; a result window writes its times and distances
// there. The reader does not tell the two apart.

#include "base/measurement_state.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>

namespace datafile {

constexpr int FieldsPerLine = 9;
// Data lines fill PointTable from row 1 to the table's last row, 201.
constexpr int MaxDataLines = MeasurementState::TableRows - 1;
// A file written by the program stays far below this; anything larger is
// refused before it is read into memory.
constexpr qint64 MaxFileBytes = 1024 * 1024;

// The file dialogs' filter and the default extension.
QString measurementFileFilter();
QString measurementFileSuffix();

// The main window's file: the eighth header label is "画面上の長さ(" +
// LengthUnit + ")", with cm before a length is set; columns 5 and 6 hold the
// camera-shake reference.
QByteArray mainWindowCsv(const MeasurementState &state);

// What a result window writes into columns 5 and 6 of one line: the time and
// the distance of its table's row.
struct TimedValue
{
    float time = 0;
    float value = 0;
};
using TimedValues = QList<TimedValue>;

// A result window's file: the eighth header label carries LengthUnit, and
// line i (0-based) takes its time and distance from rows[i] (0 and 0 where
// the window's table has no such row).
QByteArray resultWindowCsv(const MeasurementState &state, const TimedValues &rows);

// One data line as read: the six PointTable columns.
using PointRow = std::array<qint32, MeasurementState::TableColumns>;

// A whole file, checked. The calibration values come from the last data line
// and mean nothing when there are no data lines.
struct MeasurementFileData
{
    QList<PointRow> rows;  // file order; rows[0] becomes PointTable row 1
    qint16 pointCount = 0; // the last line's count field
    // From the header's "画面上の長さ(…)"; cm when it names no unit.
    QString lengthUnit = QStringLiteral("cm");
    float refLengthPixels = 0;
    qint16 refLengthValue = 0;
    double frameRate = 0;
};

struct MeasurementFileRead
{
    bool ok = false;
    MeasurementFileData data;
    QString error; // a message for the user when !ok
};

// Reads and checks the whole text. The header's nine fields are skipped;
// fields are read as one stream, so a short line takes its missing fields
// from the next line. A number is the leading numeric part of its field.
// Refused (with a message): text that is not CP932, a field count that is not
// a multiple of nine, no header, more than MaxDataLines data lines, and any
// value outside its column's range.
MeasurementFileRead parseMeasurementCsv(const QByteArray &bytes);

// Opens, size-checks and parses a file.
MeasurementFileRead readMeasurementFile(const QString &path);

// Writes the checked data into the state: the whole point table is cleared
// first, then rows 1.. are filled in file order; PointCount, RefLengthPixels,
// RefLengthValue and FrameRate come from the last line. Without data lines
// the state ends cleared (PointCount 0, RefLengthPixels 0) and RefLengthValue
// and FrameRate stay. LengthUnit becomes the file's unit.
void applyMeasurementFile(const MeasurementFileData &data, MeasurementState &state);

// Writes through a temporary file that replaces the old one only once the new
// content is complete; on failure the old file is as it was.
bool writeMeasurementFile(const QString &path, const QByteArray &bytes);

} // namespace datafile
