#pragma once
// What must hold before a result window opens (or is re-displayed): a typed
// reference length, the two reference points, three plotted points, and data
// the computation can divide by.

#include "base/measurement_state.h"

#include <QString>
#include <QStringView>

namespace results {

// The message for the first failing check in order, or an empty text when a
// result can be computed. lengthText is the text of the length box as typed,
// not RefLengthValue.
QString resultOpeningProblem(QStringView lengthText, const MeasurementState &state);

} // namespace results
