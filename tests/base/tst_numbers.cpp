#include "base/numbers.h"

#include <QtTest>
#include <cmath>
#include <limits>

// Text <-> number conversions shared by the settings file, the measurement
// file and every result label.
class TestNumbers : public QObject
{
    Q_OBJECT

private slots:
    void roundHalfEven_data();
    void roundHalfEven();
    void toInt16_data();
    void toInt16();
    void toInt32_data();
    void toInt32();

    void leadingNumber_data();
    void leadingNumber();
    void settingsNumber_data();
    void settingsNumber();

    void numberText_data();
    void numberText();
    void numberTextKeepsSinglePrecisionArithmetic();
    void fileNumberTextFloat_data();
    void fileNumberTextFloat();
    void fileNumberTextDouble_data();
    void fileNumberTextDouble();
    void fileNumberTextReadsBack_data();
    void fileNumberTextReadsBack();

    void fixed2_data();
    void fixed2();
    void fixed1_data();
    void fixed1();
    void significantText_data();
    void significantText();
    void signedIntText_data();
    void signedIntText();
};

void TestNumbers::roundHalfEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    QTest::newRow("2.5 down to even") << 2.5 << 2.0;
    QTest::newRow("3.5 up to even") << 3.5 << 4.0;
    QTest::newRow("0.5 to zero") << 0.5 << 0.0;
    QTest::newRow("1.5") << 1.5 << 2.0;
    QTest::newRow("-0.5") << -0.5 << 0.0;
    QTest::newRow("-1.5") << -1.5 << -2.0;
    QTest::newRow("-2.5") << -2.5 << -2.0;
    QTest::newRow("not a half") << 2.5000001 << 3.0;
    QTest::newRow("just below a half") << 2.4999999 << 2.0;
    QTest::newRow("negative below half") << -3.4 << -3.0;
    QTest::newRow("299.7 frames") << 299.7 << 300.0;
    QTest::newRow("big half") << 4503599627370495.5 << 4503599627370496.0;
    QTest::newRow("big whole") << 9007199254740992.0 << 9007199254740992.0;
    QTest::newRow("largest below 0.5") << 0.49999999999999994 << 0.0;
}

void TestNumbers::roundHalfEven()
{
    QFETCH(double, value);
    QFETCH(double, expected);
    QCOMPARE(num::roundHalfEven(value), expected);
}

void TestNumbers::toInt16_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("inRange");
    QTest::addColumn<int>("expected");
    QTest::newRow("2.5") << 2.5 << true << 2;
    QTest::newRow("3.5") << 3.5 << true << 4;
    QTest::newRow("-2.5") << -2.5 << true << -2;
    QTest::newRow("max") << 32767.0 << true << 32767;
    QTest::newRow("max + 0.4") << 32767.4 << true << 32767;
    QTest::newRow("max + 0.5 rounds out") << 32767.5 << false << 0;
    QTest::newRow("max + 1") << 32768.0 << false << 0;
    QTest::newRow("min") << -32768.0 << true << -32768;
    QTest::newRow("min - 0.5 rounds to even min") << -32768.5 << true << -32768;
    QTest::newRow("min - 0.6") << -32768.6 << false << 0;
    QTest::newRow("65535 does not wrap") << 65535.0 << false << 0;
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << false << 0;
    QTest::newRow("inf") << std::numeric_limits<double>::infinity() << false << 0;
    QTest::newRow("-inf") << -std::numeric_limits<double>::infinity() << false << 0;
}

void TestNumbers::toInt16()
{
    QFETCH(double, value);
    QFETCH(bool, inRange);
    QFETCH(int, expected);
    const std::optional<qint16> r = num::toInt16(value);
    QCOMPARE(r.has_value(), inRange);
    if (inRange)
        QCOMPARE(int(*r), expected);
}

void TestNumbers::toInt32_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("inRange");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("299.7") << 299.7 << true << qint64(300);
    QTest::newRow("40000 fits") << 40000.0 << true << qint64(40000);
    QTest::newRow("max") << 2147483647.0 << true << qint64(2147483647);
    QTest::newRow("max + 0.5 rounds out") << 2147483647.5 << false << qint64(0);
    QTest::newRow("min - 0.5 to even") << -2147483648.5 << true << qint64(-2147483648LL);
    QTest::newRow("min - 1") << -2147483649.0 << false << qint64(0);
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << false << qint64(0);
}

void TestNumbers::toInt32()
{
    QFETCH(double, value);
    QFETCH(bool, inRange);
    QFETCH(qint64, expected);
    const std::optional<qint32> r = num::toInt32(value);
    QCOMPARE(r.has_value(), inRange);
    if (inRange)
        QCOMPARE(qint64(*r), expected);
}

void TestNumbers::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("digits then letters") << "12abc" << 12.0;
    QTest::newRow("blanks, sign, exponent") << "  -3.5e2x" << -350.0;
    QTest::newRow("tab before") << "\t7" << 7.0;
    QTest::newRow("file form half") << " .5" << 0.5;
    QTest::newRow("point first") << ".5" << 0.5;
    QTest::newRow("negative point first") << "-.5" << -0.5;
    QTest::newRow("plus sign") << "+4" << 4.0;
    QTest::newRow("sign alone") << "+" << 0.0;
    QTest::newRow("minus then blank") << "- 3" << 0.0;
    QTest::newRow("point alone") << "." << 0.0;
    QTest::newRow("exponent without digits") << "1e" << 1.0;
    QTest::newRow("exponent sign without digits") << "1e+" << 1.0;
    QTest::newRow("D exponent") << "1.5D3" << 1500.0;
    QTest::newRow("negative exponent") << "25E-1" << 2.5;
    QTest::newRow("file exponent form") << " 1.5E-07" << 1.5e-7;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
    QTest::newRow("blank inside stops") << "1 2" << 1.0;
    QTest::newRow("hex not read") << "&H1F" << 0.0;
    QTest::newRow("trailing point") << "30." << 30.0;
    QTest::newRow("frame rate") << " 29.97" << 29.97;
    QTest::newRow("one third") << " .333333333333333" << 0.333333333333333;
    QTest::newRow("too large is infinite") << "1e400" << std::numeric_limits<double>::infinity();
    QTest::newRow("too large negative")
        << "-123.4e99999999" << -std::numeric_limits<double>::infinity();
    QTest::newRow("too small is zero") << "1e-400" << 0.0;
    QTest::newRow("long digits") << "000000000000000000000000012.5" << 12.5;
    QTest::newRow("full-width digit is no digit") << QString::fromUtf8("１2") << 0.0;
}

void TestNumbers::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(num::leadingNumber(text), expected);
}

void TestNumbers::settingsNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("written form") << " 2" << 2.0;
    QTest::newRow("negative") << "-1" << -1.0;
    QTest::newRow("2 then letters") << "2abc" << 2.0;
    QTest::newRow("2.5") << "2.5" << 2.5;
    QTest::newRow("blank inside digits") << "1 2" << 12.0;
    QTest::newRow("tabs everywhere") << "\t-\t1 . 5" << -1.5;
    QTest::newRow("blank in exponent") << "1 e 2" << 100.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("hex") << "&H1F" << 31.0;
    QTest::newRow("hex lower case") << "&hff" << 255.0;
    QTest::newRow("octal") << "&O17" << 15.0;
    QTest::newRow("octal stops at 8") << "&O178" << 15.0;
    QTest::newRow("hex 16-bit two's complement") << "&HFFFF" << -1.0;
    QTest::newRow("hex 8000") << "&H8000" << -32768.0;
    QTest::newRow("hex beyond 16 bits") << "&H10000" << 65536.0;
    QTest::newRow("hex 32-bit two's complement") << "&HFFFFFFFF" << -1.0;
    QTest::newRow("hex with blanks") << " & H 1 F" << 31.0;
    QTest::newRow("hex without digits") << "&H" << 0.0;
    QTest::newRow("unknown prefix") << "&X12" << 0.0;
    QTest::newRow("exponent without digits") << "1e" << 1.0;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
}

void TestNumbers::settingsNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(num::settingsNumber(text), expected);
}

void TestNumbers::numberText_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero") << 0.0f << "0";
    QTest::newRow("negative zero") << -0.0f << "0";
    QTest::newRow("0.1") << 0.1f << "0.1";
    QTest::newRow("one third") << 1.0f / 3.0f << "0.3333333";
    QTest::newRow("two thirds rounds") << 2.0f / 3.0f << "0.6666667";
    QTest::newRow("30") << 30.0f << "30";
    QTest::newRow("-2.5") << -2.5f << "-2.5";
    QTest::newRow("96") << 96.0f << "96";
    QTest::newRow("100000") << 100000.0f << "100000";
    QTest::newRow("1234567") << 1234567.0f << "1234567";
    QTest::newRow("largest plain") << 9999999.0f << "9999999";
    QTest::newRow("12345678") << 12345678.0f << "1.234568E+07";
    QTest::newRow("1E+08") << 1e8f << "1E+08";
    QTest::newRow("rounds up into exponent form") << 9999999.5f << "1E+07";
    QTest::newRow("0.0001 plain") << 0.0001f << "0.0001";
    QTest::newRow("0.00012345 plain") << 0.00012345f << "0.00012345";
    QTest::newRow("1E-05") << 1e-5f << "1E-05";
    QTest::newRow("1.5E-07") << 1.5e-7f << "1.5E-07";
    QTest::newRow("negative small") << -2.5e-6f << "-2.5E-06";
    QTest::newRow("large exponent") << 3e38f << "3E+38";
    QTest::newRow("denormal") << 1e-45f << "1.401298E-45";
    QTest::newRow("152.5") << 152.5f << "152.5";
}

void TestNumbers::numberText()
{
    QFETCH(float, value);
    QFETCH(QString, expected);
    QCOMPARE(num::numberText(value), expected);
}

void TestNumbers::numberTextKeepsSinglePrecisionArithmetic()
{
    // Widened to double these would show their binary error in 15 digits.
    volatile float three = 3.0f, tenth = 0.1f, a = 2.06f;
    QCOMPARE(num::numberText(three / tenth), QStringLiteral("30"));
    QCOMPARE(num::numberText(a + a), QStringLiteral("4.12"));
    QCOMPARE(num::numberText(tenth * 3.0f), QStringLiteral("0.3"));
}

void TestNumbers::fileNumberTextFloat_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero") << 0.0f << " 0";
    QTest::newRow("negative zero") << -0.0f << " 0";
    QTest::newRow("half") << 0.5f << " .5";
    QTest::newRow("negative half") << -0.5f << "-.5";
    QTest::newRow("-0.25") << -0.25f << "-.25";
    QTest::newRow("12") << 12.0f << " 12";
    QTest::newRow("152.5") << 152.5f << " 152.5";
    QTest::newRow("0.1 without widening") << 0.1f << " .1";
    QTest::newRow("one third") << 1.0f / 3.0f << " .3333333";
    QTest::newRow("small fraction") << 0.0015f << " .0015";
    QTest::newRow("exponent small") << 1.5e-7f << " 1.5E-07";
    QTest::newRow("exponent from 1E+07") << 1e7f << " 1E+07";
    QTest::newRow("exponent large") << -12345678.0f << "-1.234568E+07";
}

void TestNumbers::fileNumberTextFloat()
{
    QFETCH(float, value);
    QFETCH(QString, expected);
    QCOMPARE(num::fileNumberText(value), expected);
}

void TestNumbers::fileNumberTextDouble_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero") << 0.0 << " 0";
    QTest::newRow("negative zero") << -0.0 << " 0";
    QTest::newRow("half") << 0.5 << " .5";
    QTest::newRow("negative half") << -0.5 << "-.5";
    QTest::newRow("30") << 30.0 << " 30";
    QTest::newRow("29.97") << 29.97 << " 29.97";
    QTest::newRow("one third") << 1.0 / 3.0 << " .333333333333333";
    QTest::newRow("0.1 in 15 digits") << 0.1 << " .1";
    QTest::newRow("float widened shows its error") << double(0.1f) << " .100000001490116";
    QTest::newRow("15 digits plain") << 123456789012345.0 << " 123456789012345";
    QTest::newRow("16 digits exponent") << 1234567890123456.0 << " 1.23456789012346E+15";
    QTest::newRow("1E+15") << 1e15 << " 1E+15";
    QTest::newRow("three-digit exponent") << 1e100 << " 1E+100";
    QTest::newRow("small exponent") << -2.5e-12 << "-2.5E-12";
}

void TestNumbers::fileNumberTextDouble()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(num::fileNumberText(value), expected);
}

void TestNumbers::fileNumberTextReadsBack_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("29.97") << 29.97;
    QTest::newRow("-0.25") << -0.25;
    QTest::newRow("1.5E-07") << 1.5e-7;
    QTest::newRow("1E+100") << 1e100;
    QTest::newRow("-123456.789") << -123456.789;
    // Rounded to 15 digits, these would pass the largest double.
    QTest::newRow("largest double") << std::numeric_limits<double>::max();
    QTest::newRow("-largest double") << -std::numeric_limits<double>::max();
    QTest::newRow("just below the largest")
        << std::nextafter(std::numeric_limits<double>::max(), 0.0);
}

void TestNumbers::fileNumberTextReadsBack()
{
    // Whatever form the file takes, the load's reading must give the value
    // back (to the 15 digits written).
    QFETCH(double, value);
    const double back = num::leadingNumber(num::fileNumberText(value));
    QVERIFY2(std::fabs(back - value) <= std::fabs(value) * 1e-14,
             qPrintable(num::fileNumberText(value)));
    const float f = float(value);
    if (std::isfinite(f))
        QCOMPARE(float(num::leadingNumber(num::fileNumberText(f))), f);
}

void TestNumbers::fixed2_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero") << 0.0 << "0.00";
    QTest::newRow("negative zero") << -0.0 << "0.00";
    QTest::newRow("whole") << 3.0 << "3.00";
    QTest::newRow("exact half up") << 0.125 << "0.13";
    QTest::newRow("exact negative half away") << -0.125 << "-0.13";
    QTest::newRow("exact 0.375") << 0.375 << "0.38";
    QTest::newRow("2.675 is below its half") << 2.675 << "2.67";
    QTest::newRow("float 2.675 is below its half") << double(2.675f) << "2.67";
    QTest::newRow("float 0.125 is exact") << double(0.125f) << "0.13";
    QTest::newRow("1.005 is below its half") << 1.005 << "1.00";
    QTest::newRow("0.83") << 25.0 / 30.0 << "0.83";
    QTest::newRow("10.01") << 300.0 / 29.97 << "10.01";
    QTest::newRow("0.1") << 0.1 << "0.10";
    QTest::newRow("carry into integer") << 9.995 << "9.99";
    QTest::newRow("carry 9.9951") << 9.9951 << "10.00";
    QTest::newRow("tiny negative shows no sign") << -0.001 << "0.00";
    QTest::newRow("negative") << -1.5 << "-1.50";
    QTest::newRow("tiny positive") << 1e-300 << "0.00";
    QTest::newRow("large") << 123456.789 << "123456.79";
    QTest::newRow("beyond 2^52") << 1e16 << "10000000000000000.00";
}

void TestNumbers::fixed2()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(num::fixed2(value), expected);
}

void TestNumbers::fixed1_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero") << 0.0 << "0.0";
    QTest::newRow("negative zero") << -0.0 << "0.0";
    QTest::newRow("12.345") << 12.345 << "12.3";
    QTest::newRow("exact half up") << 0.25 << "0.3";
    QTest::newRow("exact half 0.75") << 0.75 << "0.8";
    QTest::newRow("negative half away") << -0.25 << "-0.3";
    QTest::newRow("0.05 double is above its half") << 0.05 << "0.1";
    QTest::newRow("0.15 double is below its half") << 0.15 << "0.1";
    QTest::newRow("carry") << 9.96 << "10.0";
    QTest::newRow("tiny negative") << -0.04 << "0.0";
}

void TestNumbers::fixed1()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(num::fixed1(value), expected);
}

void TestNumbers::significantText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("expected");
    QTest::newRow("g") << -980.44 << 3 << "-980";
    QTest::newRow("small") << 0.012345 << 2 << "0.012";
    QTest::newRow("large, no exponent") << 12345.0 << 3 << "12300";
    QTest::newRow("keeps trailing zeros") << 30.0 << 3 << "30.0";
    QTest::newRow("carry to the next power") << 9.996 << 3 << "10.0";
    QTest::newRow("carry, large") << 99960.0 << 3 << "100000";
    QTest::newRow("zero") << 0.0 << 3 << "0";
    QTest::newRow("negative small") << -0.0004567 << 2 << "-0.00046";
}

void TestNumbers::significantText()
{
    QFETCH(double, value);
    QFETCH(int, digits);
    QFETCH(QString, expected);
    QCOMPARE(num::significantText(value, digits), expected);
}

void TestNumbers::signedIntText_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("0") << 0 << " 0";
    QTest::newRow("3") << 3 << " 3";
    QTest::newRow("-1") << -1 << "-1";
    QTest::newRow("max") << 32767 << " 32767";
    QTest::newRow("min") << -32768 << "-32768";
}

void TestNumbers::signedIntText()
{
    QFETCH(int, value);
    QFETCH(QString, expected);
    QCOMPARE(num::signedIntText(value), expected);
}

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
