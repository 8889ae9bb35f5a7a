// Momentum of several objects from plotted points: the intervals they share,
// the sums and the energy before and after the collision, where the
// collision is put, the objects' choice and files, and the typed masses.

#include "base/measurement_objects.h"
#include "plotted_measurement.h"
#include "results/momentum_results.h"

#include <QtTest>
#include <cmath>
#include <functional>
#include <vector>

using namespace results;

namespace {

using Pt = PlottedPoint;
using Track = std::function<int(int)>; // x of a frame

// Points of one object on the given frames; 10 pixels are 1 cm, 30 fps.
std::vector<Pt> along(const std::vector<int> &frames, const Track &x, int y = 240)
{
    std::vector<Pt> points;
    for (int f : frames)
        points.push_back({f, x(f), y});
    return points;
}

std::vector<int> frames(int first, int last, int step = 1, int skip = -1)
{
    std::vector<int> out;
    for (int f = first; f <= last; f += step)
        if (f != skip)
            out.push_back(f);
    return out;
}

// Objects Ａ and Ｂ (and more) in one measurement, Ａ chosen.
MeasurementState objectsOf(const std::vector<std::vector<Pt>> &points,
                           const std::vector<double> &masses)
{
    MeasurementState state = plottedMeasurement(points.front());
    for (size_t i = 1; i < points.size(); ++i)
        objects::setPoints(state, int(i), plottedMeasurement(points[i]));
    for (size_t i = 0; i < masses.size(); ++i)
        state.ObjectMass[i] = masses[i];
    return state;
}

// Ａ at 10 pixels a frame (0.3 m/s) hits Ｂ at rest between frames 5 and 6.
const Track kMovingThenStopped = [](int f) { return 100 + 10 * std::min(f, 5); };
const Track kRestThenMoving = [](int f) { return 300 + 10 * std::max(f - 5, 0); };
const Track kMovingTogether = [](int f) { return f <= 5 ? 100 + 10 * f : 150 + 5 * (f - 5); };
const Track kRestThenTogether = [](int f) { return 300 + 5 * std::max(f - 5, 0); };

} // namespace

class TestMomentumResults : public QObject
{
    Q_OBJECT
private slots:
    void sums_data();
    void sums();
    void collisionMovedByTheStudent();
    void summaryLines();
    void openingProblems_data();
    void openingProblems();
    void massesTyped_data();
    void massesTyped();
    void choosingKeepsEveryObject();
};

void TestMomentumResults::sums_data()
{
    QTest::addColumn<MeasurementState>("state");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("leftOut");
    QTest::addColumn<double>("before");
    QTest::addColumn<double>("after");
    QTest::addColumn<double>("energyBefore");
    QTest::addColumn<double>("energyAfter");
    QTest::addColumn<double>("collisionTime");
    QTest::addColumn<double>("centre");

    const double t = 5.0 / 30; // between the intervals 4-5 and 5-6
    QTest::newRow("elastic, equal masses, same frames")
        << objectsOf(
               {along(frames(0, 10), kMovingThenStopped), along(frames(0, 10), kRestThenMoving)},
               {0.5, 0.5})
        << 10 << 0 << 0.15 << 0.15 << 0.0225 << 0.0225 << t << 0.15;
    QTest::newRow("inelastic: they move on together at half the speed")
        << objectsOf(
               {along(frames(0, 10), kMovingTogether), along(frames(0, 10), kRestThenTogether)},
               {0.5, 0.5})
        << 10 << 0 << 0.15 << 0.15 << 0.0225 << 0.01125 << t << 0.15;
    QTest::newRow("they touch half-way between frames 5 and 6")
        << objectsOf(
               {along(frames(0, 10),
                      [](int f) { return 100 + 10 * std::min(f, 5) + 5 * (f >= 6); }),
                along(frames(0, 10), [](int f) { return 300 + (f >= 6 ? 5 + 10 * (f - 6) : 0); })},
               {0.5, 0.5})
        << 10 << 0 << 0.15 << 0.15 << 0.0225 << 0.0225 << 5.5 / 30 << 0.15;
    QTest::newRow("Ｂ not plotted on frame 7: three intervals left out")
        << objectsOf({along(frames(0, 10), kMovingThenStopped),
                      along(frames(0, 10, 1, 7), kRestThenMoving)},
                     {0.5, 0.5})
        << 8 << 3 << 0.15 << 0.15 << 0.0225 << 0.0225 << t << 0.15;
    QTest::newRow("every other frame for Ｂ: nothing shared")
        << objectsOf(
               {along(frames(0, 10), kMovingThenStopped), along(frames(0, 10, 2), kRestThenMoving)},
               {0.5, 0.5})
        << 0 << 15 << 0.0 << 0.0 << 0.0 << 0.0 << 0.0 << 0.0;
    QTest::newRow("Ｂ without a mass: Ａ alone")
        << objectsOf(
               {along(frames(0, 10), kMovingThenStopped), along(frames(0, 10, 2), kRestThenMoving)},
               {0.2, 0})
        << 10 << 0 << 0.06 << 0.0 << 0.009 << 0.0 << t << 0.15;
    QTest::newRow("heavy Ｂ in g-sized numbers, Ａ bounces back")
        << objectsOf({along(frames(0, 10),
                            [](int f) { return f <= 5 ? 100 + 10 * f : 150 - 5 * (f - 5); }),
                      along(frames(0, 10), [](int f) { return 300 + 5 * std::max(f - 5, 0); })},
                     {0.1, 0.3})
        << 10 << 0 << 0.03 << 0.03 << 0.0045 << 0.0045 << t << 0.075;
}

void TestMomentumResults::sums()
{
    QFETCH(MeasurementState, state);
    QFETCH(int, rows);
    const MomentumResults r = computeMomentum(state);
    QCOMPARE(int(r.rows.size()), rows);
    QTEST(r.leftOut, "leftOut");
    QCOMPARE(r.sums.valid, rows >= 2);
    const auto near = [](double a, double b) { return std::fabs(a - b) < 1e-12; };
    QFETCH(double, before);
    QFETCH(double, after);
    QFETCH(double, energyBefore);
    QFETCH(double, energyAfter);
    QFETCH(double, collisionTime);
    QFETCH(double, centre);
    QVERIFY2(near(r.sums.beforeX, before), qPrintable(QString::number(r.sums.beforeX)));
    QVERIFY2(near(r.sums.afterX, after), qPrintable(QString::number(r.sums.afterX)));
    QVERIFY2(near(r.sums.energyBefore, energyBefore),
             qPrintable(QString::number(r.sums.energyBefore)));
    QVERIFY2(near(r.sums.energyAfter, energyAfter),
             qPrintable(QString::number(r.sums.energyAfter)));
    QVERIFY2(near(r.collisionTime, collisionTime), qPrintable(QString::number(r.collisionTime)));
    QVERIFY(!r.hasY);
    if (rows > 0) {
        // The centre of mass moves evenly through the collision.
        QVERIFY2(std::fabs(r.centreVx - centre) < 1e-12, qPrintable(QString::number(r.centreVx)));
        QCOMPARE(momentumTable(r).size(), rows + 1);
        QCOMPARE(momentumTable(r).front().size(), int(r.objects.size()) + 3);
    }
}

void TestMomentumResults::collisionMovedByTheStudent()
{
    MomentumResults r = computeMomentum(
        objectsOf({along(frames(0, 10), kMovingThenStopped), along(frames(0, 10), kRestThenMoving)},
                  {0.5, 0.5}));
    // A click late in the motion: everything before is "before", Ａ has
    // stopped by then, so half of it had no momentum.
    setCollision(r, rowAfterTime(r, 8.0 / 30));
    QCOMPARE(r.collision, 8);
    QCOMPARE(r.collisionTime, 8.0 / 30);
    QVERIFY(std::fabs(r.sums.beforeX - 0.15) < 1e-12);
    // Clicks before the first and after the last interval stay inside.
    setCollision(r, rowAfterTime(r, -1));
    QCOMPARE(r.collision, 1);
    setCollision(r, rowAfterTime(r, 99));
    QCOMPARE(r.collision, 9);
    // A vertical throw of Ｂ has a y part, and the table shows it.
    MeasurementState upwards =
        objectsOf({along(frames(0, 10), kMovingThenStopped), along(frames(0, 10), kRestThenMoving)},
                  {0.5, 0.5});
    for (int row = 1; row <= 11; ++row)
        upwards.PointTable[row][MeasurementState::ColY] = 240 - 10 * row;
    const MomentumResults thrown = computeMomentum(upwards);
    QVERIFY(thrown.hasY);
    QCOMPARE(momentumTable(thrown).front().size(), 2 * 3 + 2);
}

void TestMomentumResults::summaryLines()
{
    MomentumResults r = computeMomentum(
        objectsOf({along(frames(0, 10), kMovingTogether), along(frames(0, 10), kRestThenTogether)},
                  {0.5, 0.5}));
    // After the collision a little momentum is lost to friction.
    r.sums.afterX = 0.1474;
    r.sums.energyAfter = 0.0102;
    const QStringList lines = momentumSummary(r).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.value(0),
             QStringLiteral("  衝突前の運動量の和は　0.150　kg·m/秒、衝突後は　0.147　"
                            "kg·m/秒（−1.7 %）です。"));
    QCOMPARE(
        lines.value(1),
        QStringLiteral("  運動エネルギーの和は　衝突前　0.0225　J、衝突後　0.0102　J　です。"));
    QCOMPARE(lines.value(2), QStringLiteral("  衝突の時刻は　0.167　秒です。"));
    QCOMPARE(lines.value(3), QStringLiteral("  重心の速度は　0.150　m/秒です。"));
    QCOMPARE(leftOutNote(r),
             QStringLiteral("どの物体も同じコマに打点されているので、除いた区間はありません。"));
}

void TestMomentumResults::openingProblems_data()
{
    QTest::addColumn<MeasurementState>("state");
    QTest::addColumn<int>("problem");
    const auto two = [] {
        return objectsOf(
            {along(frames(0, 3), kMovingThenStopped), along(frames(0, 3), kRestThenMoving)}, {});
    };
    QTest::newRow("two objects") << two() << int(MomentumProblem::None);
    MeasurementState one = two();
    objects::choose(one, 1);
    one.clearPoints();
    one.RefLengthPixels = 10;
    QTest::newRow("Ｂ erased") << one << int(MomentumProblem::TooFewObjects);
    MeasurementState single = two();
    single.OtherObjects[1].Count = 1;
    QTest::newRow("Ｂ with one point") << single << int(MomentumProblem::TooFewObjects);
    MeasurementState noLength = two();
    noLength.RefLengthPixels = 0;
    QTest::newRow("no length") << noLength << int(MomentumProblem::NoLength);
    MeasurementState noRate = two();
    noRate.FrameRate = 0;
    QTest::newRow("no frame rate") << noRate << int(MomentumProblem::NoFrameRate);
    MeasurementState typed = two();
    typed.LengthUnit = QStringLiteral("マス");
    QTest::newRow("a typed unit") << typed << int(MomentumProblem::UnknownUnit);
    MeasurementState km = two();
    km.LengthUnit = QStringLiteral("km");
    QTest::newRow("km") << km << int(MomentumProblem::None);
}

void TestMomentumResults::openingProblems()
{
    QFETCH(MeasurementState, state);
    QFETCH(int, problem);
    QCOMPARE(int(momentumOpeningProblem(state)), problem);
    QCOMPARE(momentumProblemMessage(MomentumProblem(problem)).isEmpty(), problem == 0);
}

void TestMomentumResults::massesTyped_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("grams");
    QTest::addColumn<double>("kilograms"); // 0: refused
    QTest::newRow("grams") << "250" << true << 0.25;
    QTest::newRow("kilograms") << "0.5" << false << 0.5;
    QTest::newRow("full-width digits and blanks") << "　２００ " << true << 0.2;
    QTest::newRow("exponent") << "1e3" << true << 1.0;
    QTest::newRow("empty") << "" << true << 0.0;
    QTest::newRow("zero") << "0" << false << 0.0;
    QTest::newRow("negative") << "-5" << true << 0.0;
    QTest::newRow("a word") << "abc" << true << 0.0;
    QTest::newRow("number then a word") << "12abc" << true << 0.0;
    QTest::newRow("infinite") << "inf" << false << 0.0;
    QTest::newRow("not a number") << "nan" << false << 0.0;
}

void TestMomentumResults::massesTyped()
{
    QFETCH(QString, text);
    QFETCH(bool, grams);
    QFETCH(double, kilograms);
    const std::optional<double> read = readMass(text, grams ? MassUnit::Gram : MassUnit::Kilogram);
    QCOMPARE(read.value_or(0), kilograms);
    if (read)
        QCOMPARE(readMass(massText(*read, MassUnit::Gram), MassUnit::Gram), read);
}

void TestMomentumResults::choosingKeepsEveryObject()
{
    MeasurementState state = objectsOf(
        {along(frames(0, 4), kMovingThenStopped), along(frames(0, 2), kRestThenMoving)}, {});
    QVERIFY(objects::severalInUse(state));
    objects::choose(state, 2);
    QCOMPARE(state.PointCount, qint16(0));
    QCOMPARE(objects::titleSuffix(state), QStringLiteral("－（物体Ｃ）"));
    objects::choose(state, 1);
    QCOMPARE(state.PointCount, qint16(3));
    QCOMPARE(objects::pointCount(state, 0), 5);
    QCOMPARE(objects::objectsWithPoints(state), 2);
    objects::choose(state, 0);
    QCOMPARE(state.PointTable[5][MeasurementState::ColX], 140);
    QCOMPARE(objects::stateOf(state, 1).PointTable[3][MeasurementState::ColX], 300);
    objects::clearOthers(state);
    QVERIFY(!objects::severalInUse(state));
    QCOMPARE(objects::titleSuffix(state), QString());
}

QTEST_GUILESS_MAIN(TestMomentumResults)
#include "tst_momentum_results.moc"
