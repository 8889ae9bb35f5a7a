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
    qint16 MomentumPermission = 0;   // 0: the momentum window allowed, 1: not

    // Several objects in one video (Ａ to Ｄ): the table above always holds
    // the chosen object's points, so everything that reads the measurement
    // reads the chosen object. The other objects' points wait here, and
    // choosing another object swaps the two (base/measurement_objects.h).
    // Length, unit, frame rate and the correction belong to all of them.
    static constexpr int MaxObjects = 4;
    struct ObjectPoints
    {
        qint32 Table[TableRows][TableColumns] = {};
        qint16 Count = 0;
        QMap<qint32, double> TrackedScores; // as TrackedScores above
    };
    qint16 ChosenObject = 0;               // 0 = Ａ
    ObjectPoints OtherObjects[MaxObjects]; // the chosen object's entry stays empty
    double ObjectMass[MaxObjects] = {};    // kilograms; 0 = not given

    // The points of every object as they were last saved or loaded (each
    // object's count and rows, as bytes). Points that differ are unsaved.
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
