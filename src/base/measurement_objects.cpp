#include "base/measurement_objects.h"

#include <algorithm>
#include <cstring>

namespace objects {

namespace {

const char16_t *const kLetters[Count] = {u"Ａ", u"Ｂ", u"Ｃ", u"Ｄ"};

bool valid(int object)
{
    return object >= 0 && object < Count;
}

} // namespace

QString letter(int object)
{
    return valid(object) ? QString::fromUtf16(kLetters[object]) : QString();
}

QString name(int object)
{
    return QStringLiteral("物体") + letter(object);
}

int pointCount(const MeasurementState &state, int object)
{
    if (!valid(object))
        return 0;
    return object == state.ChosenObject ? state.PointCount : state.OtherObjects[object].Count;
}

int objectsWithPoints(const MeasurementState &state)
{
    int n = 0;
    for (int object = 0; object < Count; ++object)
        n += pointCount(state, object) > 0 ? 1 : 0;
    return n;
}

bool severalInUse(const MeasurementState &state)
{
    if (state.ChosenObject != 0)
        return true;
    for (int object = 1; object < Count; ++object)
        if (pointCount(state, object) > 0)
            return true;
    return false;
}

QString titleSuffix(const MeasurementState &state)
{
    if (!severalInUse(state))
        return QString();
    return QStringLiteral("－（") + name(state.ChosenObject) + QStringLiteral("）");
}

void choose(MeasurementState &state, int object)
{
    if (!valid(object) || object == state.ChosenObject)
        return;
    MeasurementState::ObjectPoints &from = state.OtherObjects[state.ChosenObject];
    MeasurementState::ObjectPoints &to = state.OtherObjects[object];
    std::memcpy(from.Table, state.PointTable, sizeof from.Table);
    from.Count = state.PointCount;
    from.TrackedScores = state.TrackedScores;
    std::memcpy(state.PointTable, to.Table, sizeof to.Table);
    state.PointCount = to.Count;
    state.TrackedScores = to.TrackedScores;
    to = MeasurementState::ObjectPoints{};
    state.ChosenObject = qint16(object);
}

MeasurementState stateOf(const MeasurementState &state, int object)
{
    MeasurementState copy = state;
    objects::choose(copy, object);
    return copy;
}

void setPoints(MeasurementState &state, int object, const MeasurementState &points)
{
    if (!valid(object))
        return;
    if (object == state.ChosenObject) {
        std::memcpy(state.PointTable, points.PointTable, sizeof state.PointTable);
        state.PointCount = points.PointCount;
        state.TrackedScores = points.TrackedScores;
        return;
    }
    MeasurementState::ObjectPoints &to = state.OtherObjects[object];
    std::memcpy(to.Table, points.PointTable, sizeof to.Table);
    to.Count = points.PointCount;
    to.TrackedScores = points.TrackedScores;
}

void clearOthers(MeasurementState &state)
{
    for (int object = 0; object < Count; ++object)
        state.OtherObjects[object] = MeasurementState::ObjectPoints{};
}

} // namespace objects
