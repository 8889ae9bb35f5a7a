#pragma once
// The recovery file: the whole measurement of a running copy of the program,
// written after every change so that a crash, a killed program or a power
// cut loses no plotted point.
//
// Layout (ASCII lines ending in LF, then the measurement file itself):
//   KINEMO-RECOVERY 1
//   video <path, percent-encoded UTF-8; empty without an open video>
//   video-rate <the video file's own frame rate>
//   frame-rate <FrameRate: the rate times follow>
//   ref-pixels <RefLengthPixels>
//   ref-value <RefLengthValue>
//   unit <LengthUnit, percent-encoded UTF-8>
//   shake <1: camera-shake correction on, 0: off>
//   shake-origin <X> <Y> (the reference point plotted with point 1)
//   interval <the plotting interval as typed, percent-encoded UTF-8>
//     (files of the first programs lack it: the interval then stays)
//   object <0..3> (only when another object than Ａ is chosen)
//   mass <0..3> <kilograms> (one line for each object with a mass)
//   axes <origin X> <origin Y> <x-axis point X> <x-axis point Y>
//       (only when the student set axes; without the line, the default axes)
//   points <PointCount>
//   tracked <frame>:<score> ... (only when tracking plotted points: which
//           points it plotted, with their confirmation scores)
//   csv <byte count>
//   <that many bytes: the main window's measurement file of the points>
//   then for each other object with points, in order:
//   object-points <0..3> <its point count>
//   tracked ... (as above, for that object's points)
//   csv <byte count>
//   <its measurement file>
//   sha256 <hex digest of every byte before this line>
// Numbers are written with every digit they need to read back exactly. A
// file whose digest, version or any line does not check is refused whole.
// The chosen object's points may be none when another object has some.
//
// The measurement file (.kinemo) that the user saves and opens is the same
// text with "KINEMO-MEASUREMENT 1" as its first line, a line
// "video-relative <path from the file's folder, percent-encoded>" after the
// video's line, and every embedded measurement file in UTF-8, so that the
// whole file is plain UTF-8.

#include "base/coordinate_axes.h"
#include "datafile/measurement_csv.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <array>

namespace recovery {

// Written files stay far below this; anything larger is refused unread.
constexpr qint64 MaxFileBytes = 2 * datafile::MaxFileBytes;

enum class Kind
{
    Recovery,    // the file kept after every change
    Measurement, // the user's .kinemo file
};

// The points of an object that is not the chosen one.
struct ObjectRows
{
    qint16 pointCount = 0;
    QList<datafile::PointRow> rows;
    QMap<qint32, double> trackedScores;
    bool operator==(const ObjectRows &other) const
    {
        return pointCount == other.pointCount && rows == other.rows &&
               trackedScores == other.trackedScores;
    }
};

struct Snapshot
{
    QString videoPath; // empty: no video was open
    double videoFrameRate = 0;
    double frameRate = 0;
    float refLengthPixels = 0;
    qint16 refLengthValue = 0;
    QString lengthUnit;
    bool shakeCorrection = false;
    qint16 shakeOriginX = 0;
    qint16 shakeOriginY = 0;
    QString plotInterval; // "打点間隔は" as typed; empty: not recorded
    CoordinateAxes axes;
    qint16 pointCount = 0;
    QList<datafile::PointRow> rows;     // PointTable rows 1..pointCount
    QMap<qint32, double> trackedScores; // as MeasurementState::TrackedScores
    // Several objects: the rows above are the chosen object's.
    qint16 chosenObject = 0;
    std::array<ObjectRows, MeasurementState::MaxObjects> others; // chosen's entry empty
    std::array<double, MeasurementState::MaxObjects> masses{};   // kilograms, 0: none
    // A measurement file's video as seen from the file's folder.
    QString videoRelative;

    bool empty() const;
    int totalPoints() const;
    bool operator==(const Snapshot &other) const;
    bool operator!=(const Snapshot &other) const { return !(*this == other); }
};

// The measurement's part of a snapshot: the video's path (empty when
// `videoOpen` is false), the points, the reference length, FrameRate and the
// axes. The window fills in the rest.
Snapshot snapshotOf(const MeasurementState &state, bool videoOpen);

QByteArray encode(const Snapshot &snapshot, Kind kind = Kind::Recovery);

struct Read
{
    bool ok = false;
    Kind kind = Kind::Recovery;
    Snapshot snapshot;
    QString error; // why it was refused, for the user
};

// Refuses (with a message) everything but a complete, unchanged file of
// this version with at least one point.
Read decode(const QByteArray &bytes);
// Opens, size-checks and decodes a file.
Read readFile(const QString &path);

// The points of every object, the reference length, its unit, the frame
// rate, the masses and the axes into the state, the table cleared first (as
// loading a measurement file does).
void apply(const Snapshot &snapshot, MeasurementState &state);

} // namespace recovery
