// Frame positions, intervals and read-out texts of the main window.

#include "video/frame_navigation.h"

#include <QtTest>
#include <limits>

class TestFrameNavigation : public QObject
{
    Q_OBJECT
private slots:
    void steppedPosition_data();
    void steppedPosition();
    void clampPositionOfNonNumbers();
    void totalFrames_data();
    void totalFrames();
    void sliderSteps_data();
    void sliderSteps();
    void labels();
    void pause_data();
    void pause();
};

void TestFrameNavigation::steppedPosition_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("expected");

    QTest::newRow("one forward") << 5 << "1" << 1 << 10 << 6;
    QTest::newRow("three forward held at the end") << 8 << "3" << 1 << 10 << 10;
    QTest::newRow("three back from the end") << 10 << "3" << -1 << 10 << 7;
    QTest::newRow("1.5 forward rounds 3.5 up to 4") << 2 << "1.5" << 1 << 10 << 4;
    QTest::newRow("1.5 back rounds 0.5 down to 0") << 2 << "1.5" << -1 << 10 << 0;
    QTest::newRow("2.5 forward from 0 gives 2") << 0 << "2.5" << 1 << 10 << 2;
    QTest::newRow("leading number of text") << 3 << "  2コマ" << 1 << 10 << 5;
    QTest::newRow("no number moves by 0") << 4 << "abc" << 1 << 10 << 4;
    QTest::newRow("empty moves by 0") << 4 << "" << -1 << 10 << 4;
    QTest::newRow("negative goes the other way") << 4 << "-2" << 1 << 10 << 2;
    QTest::newRow("back at 0 stays") << 0 << "1" << -1 << 10 << 0;
    QTest::newRow("huge interval held") << 4 << "1e300" << 1 << 10 << 10;
    QTest::newRow("huge negative interval held") << 4 << "-1e300" << 1 << 10 << 0;
    QTest::newRow("overflowing interval held") << 4 << "1e999" << 1 << 10 << 10;
    QTest::newRow("exponent form") << 1 << "1e1" << 1 << 300 << 11;
    QTest::newRow("no frames") << 0 << "1" << 1 << 0 << 0;
}

void TestFrameNavigation::steppedPosition()
{
    QFETCH(int, position);
    QFETCH(QString, rate);
    QFETCH(int, direction);
    QFETCH(int, total);
    QFETCH(int, expected);
    QCOMPARE(nav::steppedPosition(position, direction * nav::stepInterval(rate), total), expected);
}

void TestFrameNavigation::clampPositionOfNonNumbers()
{
    QCOMPARE(nav::clampPosition(std::numeric_limits<double>::quiet_NaN(), 10, 7), 7);
    QCOMPARE(nav::clampPosition(std::numeric_limits<double>::infinity(), 10), 10);
    QCOMPARE(nav::clampPosition(-std::numeric_limits<double>::infinity(), 10), 0);
    QCOMPARE(nav::clampPosition(9.5, 10), 10);
    QCOMPARE(nav::clampPosition(8.5, 10), 8);
}

void TestFrameNavigation::totalFrames_data()
{
    QTest::addColumn<double>("length");
    QTest::addColumn<double>("rate");
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("fits");

    QTest::newRow("29.97 fps for 10 s") << 10.0 << 29.97 << 300 << true;
    QTest::newRow("2.5 rounds to 2") << 0.5 << 5.0 << 2 << true;
    QTest::newRow("3.5 rounds to 4") << 0.7 << 5.0 << 4 << true;
    QTest::newRow("no rate") << 10.0 << 0.0 << 0 << true;
    QTest::newRow("too long") << 1e9 << 240.0 << 0 << false;
}

void TestFrameNavigation::totalFrames()
{
    QFETCH(double, length);
    QFETCH(double, rate);
    QFETCH(int, expected);
    QFETCH(bool, fits);
    const auto total = nav::totalFramesFor(length, rate);
    QCOMPARE(total.has_value(), fits);
    if (fits)
        QCOMPARE(*total, expected);
}

void TestFrameNavigation::sliderSteps_data()
{
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("large");
    QTest::addColumn<int>("small");

    QTest::newRow("300") << 300 << 30 << 3;
    QTest::newRow("25: 2.5 and 0.25") << 25 << 2 << 0;
    QTest::newRow("35: 3.5 and 0.35") << 35 << 4 << 0;
    QTest::newRow("250: 25 and 2.5") << 250 << 25 << 2;
    QTest::newRow("350: 35 and 3.5") << 350 << 35 << 4;
    QTest::newRow("0") << 0 << 0 << 0;
}

void TestFrameNavigation::sliderSteps()
{
    QFETCH(int, total);
    QFETCH(int, large);
    QFETCH(int, small);
    const nav::SliderSteps steps = nav::sliderSteps(total);
    QCOMPARE(steps.large, large);
    QCOMPARE(steps.small, small);
}

void TestFrameNavigation::labels()
{
    QCOMPARE(nav::timeLabel(25, 300, 30.0), QStringLiteral("0.83秒 / 10.00秒"));
    QCOMPARE(nav::timeLabel(0, 300, 29.97), QStringLiteral("0.00秒 / 10.01秒"));
    QCOMPARE(nav::timeLabel(300, 300, 29.97), QStringLiteral("10.01秒 / 10.01秒"));
    QCOMPARE(nav::timeLabel(5, 10, 0.0), QStringLiteral("0.00秒 / 0.00秒"));
    QCOMPARE(nav::countLabel(300), QStringLiteral("/ 300"));
    QCOMPARE(nav::countLabel(0), QStringLiteral("/ 0"));
    QCOMPARE(nav::frameRateLabel(30000.0 / 1001.0), QStringLiteral("29.97"));
    QCOMPARE(nav::frameRateLabel(240), QStringLiteral("240.00"));
    QCOMPARE(nav::forwardStepTip(QStringLiteral("2")), QStringLiteral("2コマ進めます"));
    QCOMPARE(nav::backStepTip(QStringLiteral(" 1.5x")), QStringLiteral(" 1.5xコマ戻します"));
    QCOMPARE(nav::positionSeconds(60, 30.0), 2.0);
    QCOMPARE(nav::positionSeconds(60, 0.0), 0.0);
}

void TestFrameNavigation::pause_data()
{
    QTest::addColumn<double>("playerSeconds");
    QTest::addColumn<double>("rate");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("position");

    QTest::newRow("2.4 s") << 2.4 << 30.0 << 300 << 2 << 60;
    QTest::newRow("2.6 s") << 2.6 << 30.0 << 300 << 3 << 90;
    QTest::newRow("2.5 s to even") << 2.5 << 30.0 << 300 << 2 << 60;
    QTest::newRow("3.5 s to even") << 3.5 << 30.0 << 300 << 4 << 120;
    QTest::newRow("29.97 fps rounds the position") << 1.0 << 29.97 << 300 << 1 << 30;
    QTest::newRow("beyond the end held") << 11.0 << 30.0 << 300 << 11 << 300;
    QTest::newRow("before the start") << -0.7 << 30.0 << 300 << -1 << 0;
}

void TestFrameNavigation::pause()
{
    QFETCH(double, playerSeconds);
    QFETCH(double, rate);
    QFETCH(int, total);
    QFETCH(int, seconds);
    QFETCH(int, position);
    QCOMPARE(nav::pauseSeconds(playerSeconds), seconds);
    QCOMPARE(nav::pausePosition(seconds, rate, total), position);
}

QTEST_GUILESS_MAIN(TestFrameNavigation)
#include "tst_frame_navigation.moc"
