#pragma once
// The objects of one measurement. The measurement state's table holds the
// chosen object; the others are kept beside it, and choosing swaps which
// one the table holds. Nothing else in the program needs to know that
// there are several.

#include "base/measurement_state.h"

#include <QString>

namespace objects {

constexpr int Count = MeasurementState::MaxObjects;

// "Ａ" .. "Ｄ".
QString letter(int object);
// "物体Ａ" .. "物体Ｄ".
QString name(int object);

int pointCount(const MeasurementState &state, int object);
int objectsWithPoints(const MeasurementState &state);
// The student has gone beyond one object: another than Ａ is chosen or
// holds points. Titles and markers then name the objects.
bool severalInUse(const MeasurementState &state);
// "－（物体Ｂ）" while several objects are in use, else empty.
QString titleSuffix(const MeasurementState &state);

// Makes `object` the chosen one: its points go into the table, the
// previously chosen object's points are kept beside it.
void choose(MeasurementState &state, int object);

// A copy of the measurement whose table holds `object`'s points, for
// computations and files that look at one object at a time.
MeasurementState stateOf(const MeasurementState &state, int object);
// Puts points into the table of `object` without choosing it.
void setPoints(MeasurementState &state, int object, const MeasurementState &points);

// The points of every object but the chosen one gone (the chosen one's go
// through MeasurementState::clearPoints()).
void clearOthers(MeasurementState &state);

} // namespace objects
