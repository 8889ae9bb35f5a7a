#pragma once
// Momentum of several objects in one video: every object with a mass and
// two or more points gives a velocity for each interval between two of its
// consecutive points (in frame order). The intervals that every such object
// shares, the same two frames, make the table: each object's momentum, the
// total and the kinetic energy. The collision is put where the objects'
// velocities change most, or where the student puts it, and the totals
// before and after it are compared. Everything is in SI units (kg, m, s),
// whatever the length unit of the measurement.

#include "base/measurement_state.h"
#include "results/table_export.h"

#include <QString>
#include <optional>
#include <vector>

namespace results {

enum class MassUnit
{
    Gram,
    Kilogram
};

// A typed mass in kilograms; empty, zero, negative or not a number is
// refused (full-width digits are read as digits).
std::optional<double> readMass(const QString &text, MassUnit unit);
QString massRefusedMessage();
// The mass as the box shows it in `unit`: up to seven significant digits.
QString massText(double kilograms, MassUnit unit);

// Metres in one LengthUnit: mm, cm, m, km; empty for a typed unit.
std::optional<double> metresPerUnit(const QString &unit);

enum class MomentumProblem
{
    None,
    TooFewObjects, // fewer than two objects with two points each
    NoLength,
    NoFrameRate,
    UnknownUnit,
};
MomentumProblem momentumOpeningProblem(const MeasurementState &state);
QString momentumProblemMessage(MomentumProblem problem);

struct MomentumRow
{
    qint32 fromFrame = 0;
    qint32 toFrame = 0;
    double time = 0;            // the interval's middle, from the first point of any object
    std::vector<double> vx, vy; // per object of MomentumResults::objects, m/s (y up)
    std::vector<double> px, py; // kg·m/s
    double totalX = 0;
    double totalY = 0;
    double energy = 0; // J
};

struct MomentumSums
{
    bool valid = false; // rows on both sides of the collision
    double beforeX = 0, afterX = 0;
    double beforeY = 0, afterY = 0;
    double energyBefore = 0, energyAfter = 0;
};

struct MomentumResults
{
    std::vector<int> objects;   // 0 = Ａ; those with a mass and two points
    std::vector<double> masses; // kg, in the order of `objects`
    std::vector<MomentumRow> rows;
    int leftOut = 0;    // intervals not shared by every object
    bool hasY = false;  // the motion has a vertical part worth showing
    int collision = -1; // the first row after the collision; -1: fewer than two rows
    double collisionTime = 0;
    MomentumSums sums;
    double centreVx = 0; // the centre of mass, m/s, over every row
    double centreVy = 0;
};

MomentumResults computeMomentum(const MeasurementState &state);

// The collision between row `firstAfter` - 1 and row `firstAfter` (clamped
// to the rows there are), and the sums before and after it anew. (The
// computation itself may put the time inside the interval the objects
// touched in.) The row on
// each side next to the collision may hold part of it and is left out of
// the sums while another row remains on that side.
void setCollision(MomentumResults &results, int firstAfter);
// The row a click at `time` on the graph puts the collision before.
int rowAfterTime(const MomentumResults &results, double time);

QString momentumSummary(const MomentumResults &results);
// Below the table: how many intervals were left out.
QString leftOutNote(const MomentumResults &results);
// Header row and one row per shared interval: time, each object's momentum
// in x, the total, then y when there is a y part, then the energy.
TextTable momentumTable(const MomentumResults &results);

} // namespace results
