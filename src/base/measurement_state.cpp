#include "base/measurement_state.h"

#include <algorithm>

void MeasurementState::clearPoints()
{
    const int last = std::clamp<int>(PointCount, 0, TableRows - 1);
    for (int r = 0; r <= last; ++r)
        std::fill(std::begin(PointTable[r]), std::end(PointTable[r]), 0);
    PointCount = 0;
    TrackedScores.clear();
    RefLengthPixels = 0;
    Axes = CoordinateAxes{};
}

namespace {

QByteArray rowBytes(const qint32 (*table)[MeasurementState::TableColumns], int count)
{
    count = std::clamp(count, 0, int(MeasurementState::MaxPoints));
    return QByteArray(reinterpret_cast<const char *>(table[1]),
                      qsizetype(count) * qsizetype(sizeof(table[1])));
}

// Every object's points in the order Ａ to Ｄ, each after its count, so that
// choosing another object changes nothing here.
QByteArray pointBytes(const MeasurementState &state)
{
    QByteArray bytes;
    for (int object = 0; object < MeasurementState::MaxObjects; ++object) {
        const bool chosen = object == state.ChosenObject;
        const MeasurementState::ObjectPoints &other = state.OtherObjects[object];
        const int count = chosen ? state.PointCount : other.Count;
        if (count <= 0)
            continue;
        bytes += QByteArray::number(object) + ':' + QByteArray::number(count) + ':';
        bytes += rowBytes(chosen ? state.PointTable : other.Table, count);
    }
    return bytes;
}

} // namespace

bool MeasurementState::hasUnsavedPoints() const
{
    const QByteArray now = pointBytes(*this);
    return !now.isEmpty() && now != WrittenPoints;
}

void MeasurementState::markPointsWritten()
{
    WrittenPoints = pointBytes(*this);
}

MeasurementState &measurementState()
{
    static MeasurementState state;
    return state;
}

void resetMeasurementState()
{
    measurementState() = MeasurementState{};
}
