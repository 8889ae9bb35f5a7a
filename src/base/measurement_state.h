#pragma once
// The measurement shared by every window: plotted points, the reference
// length, the open video's timing and the teacher's settings. One record for
// the whole run, read and written directly on the user-interface thread.

#include "base/coordinate_axes.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QtGlobal>

struct MeasurementState
{
    static constexpr int MaxPoints = 200;
    static constexpr int TableRows = 202; // rows 0..201; row 0 and row 201 are never points
    static constexpr int TableColumns = 6;

    // Columns of PointTable.
    enum Column
    {
        ColNumber = 0,
        ColFrame = 1,
        ColX = 2,
        ColY = 3,
        ColRefX = 4,
        ColRefY = 5
    };

    // Row r (1 <= r <= PointCount) is point r: number, frame, X, Y in preview
    // pixels, camera-shake reference X and Y. Frame numbers are kept in 32 bits
    // so long videos can be measured to their end; the other columns hold
    // 16-bit values.
    qint32 PointTable[TableRows][TableColumns] = {};
    qint16 PointCount = 0;
    // The points automatic tracking plotted, by frame, with how closely the
    // object as clicked matched there (0..1); a clicked point has no entry.
    QMap<qint32, double> TrackedScores;

    qint16 RefLengthValue = 0; // real length between the reference points
    float RefLengthPixels = 0; // the same length on screen; 0 = not set
    QString LengthUnit;        // "cm", "m", "km" or typed
    CoordinateAxes Axes;       // not set: the default axes (base/coordinate_axes.h)

    QString VideoPath;
    double FrameRate = 0;
    qint32 TotalFrames = 0;
    bool FrameRefreshPending = false;
    qint32 PlayerPauseSeconds = 0;

    // The teacher's settings (see settings_file.h for the file that keeps them).
    QString SettingsPassword;
    qint16 ResultDisplayMode = 0;
    qint16 ResultKindMode = 0;
    qint16 PrintPermission = 0;
    qint16 DistanceMethod = 0;
    qint16 ClickAction = 0;
    qint16 AllPointsMode = 0;
    qint16 TrackingPermission = 0;   // 0: automatic tracking allowed, 1: not
    qint16 ComponentsPermission = 0; // 0: the components window allowed, 1: not
    qint16 PositionPermission = 0;   // 0: the position window allowed, 1: not

    // The points as they were last saved or loaded (rows 1..PointCount of
    // PointTable, as bytes). Points that differ from them are unsaved.
    QByteArray WrittenPoints;

    // Rows 0..PointCount zeroed, PointCount 0, RefLengthPixels 0, the axes
    // back to the default ones. The unit and typed length stay.
    void clearPoints();

    // There are points, and they are not the ones last saved or loaded.
    bool hasUnsavedPoints() const;
    // The points as they are now have been saved or loaded.
    void markPointsWritten();
};

// The single measurement of this run.
MeasurementState &measurementState();

// Back to the program-start state (all zero or empty); used by tests.
void resetMeasurementState();
