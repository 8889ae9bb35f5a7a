#include "base/numbers.h"

#include <QByteArray>
#include <QtGlobal>
#include <cmath>
#include <limits>

namespace num {

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Reads characters one by one; in the settings reading, blanks and tabs are
// invisible wherever they stand, in the plain reading only before the number.
class Cursor
{
public:
    Cursor(QStringView text, bool skipInnerBlanks)
        : m_text(text), m_skipInnerBlanks(skipInnerBlanks)
    {
        skipBlanks();
    }

    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar peek() const { return atEnd() ? QChar() : m_text.at(m_pos); }
    QChar upperPeek() const { return peek().toUpper(); }

    void advance()
    {
        ++m_pos;
        if (m_skipInnerBlanks)
            skipBlanks();
    }

    qsizetype position() const { return m_pos; }
    void rewind(qsizetype pos) { m_pos = pos; }

private:
    void skipBlanks()
    {
        while (!atEnd() && isBlank(m_text.at(m_pos)))
            ++m_pos;
    }

    QStringView m_text;
    bool m_skipInnerBlanks;
    qsizetype m_pos = 0;
};

// Decides for a canonical number text ("-0012.5e+400") that did not fit in a
// double whether its decimal exponent was too large or too small.
bool tooLarge(const QByteArray &number)
{
    const qsizetype ePos = number.indexOf('e');
    const QByteArray digits = ePos < 0 ? number : number.left(ePos);
    const qint64 exponent = ePos < 0 ? 0 : number.mid(ePos + 1).toLongLong();
    const qsizetype point = digits.indexOf('.');
    const qsizetype intEnd = point < 0 ? digits.size() : point;
    qint64 magnitude = 0; // decimal exponent of the leading non-zero digit
    bool found = false;
    for (qsizetype i = 0; i < digits.size() && !found; ++i) {
        const char c = digits.at(i);
        if (c >= '1' && c <= '9') {
            magnitude = i < intEnd ? intEnd - i - 1 : intEnd - i;
            found = true;
        }
    }
    return found && magnitude + exponent > 0;
}

// Sign, digits with at most one point, then an exponent (E or D) that counts
// only when at least one digit follows it.
double readDecimal(Cursor &in)
{
    QByteArray mantissa;
    if (in.peek() == QLatin1Char('-')) {
        mantissa += '-';
        in.advance();
    } else if (in.peek() == QLatin1Char('+')) {
        in.advance();
    }

    bool anyDigit = false;
    bool seenPoint = false;
    for (;;) {
        const QChar c = in.peek();
        if (isDigit(c)) {
            mantissa += char(c.unicode());
            anyDigit = true;
        } else if (c == QLatin1Char('.') && !seenPoint) {
            mantissa += '.';
            seenPoint = true;
        } else {
            break;
        }
        in.advance();
    }
    if (!anyDigit)
        return 0.0;

    const QChar e = in.upperPeek();
    if (e == QLatin1Char('E') || e == QLatin1Char('D')) {
        const qsizetype beforeExponent = in.position();
        in.advance();
        bool negative = false;
        if (in.peek() == QLatin1Char('-') || in.peek() == QLatin1Char('+')) {
            negative = in.peek() == QLatin1Char('-');
            in.advance();
        }
        // The exponent is kept as a number so that a long run of digits
        // cannot make the text unreadable; anything past 99999 is already
        // an overflow or an underflow.
        qint64 exponent = 0;
        bool anyExponentDigit = false;
        while (isDigit(in.peek())) {
            exponent = qMin<qint64>(exponent * 10 + in.peek().digitValue(), 99999);
            anyExponentDigit = true;
            in.advance();
        }
        if (anyExponentDigit) {
            mantissa += 'e';
            mantissa += negative ? '-' : '+';
            mantissa += QByteArray::number(exponent);
        } else {
            in.rewind(beforeExponent);
        }
    }

    bool ok = false;
    const double value = mantissa.toDouble(&ok);
    if (ok)
        return value;
    // The text is a valid number that double precision cannot hold. A value
    // too large must not read as 0 (a range check after it has to see it),
    // one too small is 0.
    return tooLarge(mantissa) ? (mantissa.startsWith('-') ? -HUGE_VAL : HUGE_VAL) : 0.0;
}

// &H / &O literals: digits of the base until the first one that does not
// belong. Like the classic integer literals, a value that fits in 16 bits
// (or else 32 bits) is taken as that width's two's complement, so &HFFFF
// reads as -1 and &H8000 as -32768.
double readBasedInteger(Cursor &in, int base)
{
    quint64 value = 0;
    bool overflow = false;
    for (;;) {
        const QChar c = in.upperPeek();
        int digit = base;
        if (isDigit(c))
            digit = c.digitValue();
        else if (c >= QLatin1Char('A') && c <= QLatin1Char('F'))
            digit = 10 + (c.unicode() - 'A');
        if (digit >= base)
            break;
        if (value > (std::numeric_limits<quint64>::max() >> 4))
            overflow = true;
        else
            value = value * quint64(base) + quint64(digit);
        in.advance();
    }
    if (overflow)
        return std::ldexp(1.0, 64);
    if (value <= 0xFFFFu)
        return double(qint16(quint16(value)));
    if (value <= 0xFFFFFFFFu)
        return double(qint32(quint32(value)));
    return double(value);
}

double readNumber(QStringView text, bool settingsForm)
{
    Cursor in(text, settingsForm);
    if (settingsForm && in.peek() == QLatin1Char('&')) {
        in.advance();
        const QChar prefix = in.upperPeek();
        if (prefix == QLatin1Char('H')) {
            in.advance();
            return readBasedInteger(in, 16);
        }
        if (prefix == QLatin1Char('O')) {
            in.advance();
            return readBasedInteger(in, 8);
        }
        return 0.0;
    }
    return readDecimal(in);
}

// The decimal digits (without trailing zeros) and the decimal exponent of a
// value rounded to `precision` significant digits: 152.5 -> "1525", 2.
struct Digits
{
    QString digits;
    int exponent = 0;
};

Digits significantDigits(double value, int precision)
{
    // 'e' rounds the exact binary value correctly and, unlike the C library,
    // never depends on the process locale.
    const QString e = QString::number(std::fabs(value), 'e', precision - 1);
    const qsizetype ePos = e.indexOf(QLatin1Char('e'));
    Digits d;
    d.digits = e.left(ePos);
    d.digits.remove(QLatin1Char('.'));
    while (d.digits.size() > 1 && d.digits.endsWith(QLatin1Char('0')))
        d.digits.chop(1);
    d.exponent = e.mid(ePos + 1).toInt();
    return d;
}

QString nonFiniteText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

// Text of |value| with at most `precision` significant digits. Plain form for
// decimal exponents from -5 up to precision - 1 (0.0001, 1234567); beyond
// that the exponent form with a signed, at least two-digit exponent
// (1E-05, 1.234568E+07).
QString magnitudeText(double value, int precision, bool zeroBeforePoint)
{
    if (value == 0.0)
        return QStringLiteral("0");
    const Digits d = significantDigits(value, precision);
    const QString &digits = d.digits;
    const int x = d.exponent;

    if (x >= precision || x < -4) {
        QString text = digits.left(1);
        if (digits.size() > 1)
            text += QLatin1Char('.') + digits.mid(1);
        text += x < 0 ? QLatin1String("E-") : QLatin1String("E+");
        text += QString::number(std::abs(x)).rightJustified(2, QLatin1Char('0'));
        return text;
    }
    if (x >= 0) {
        const int intDigits = x + 1;
        if (digits.size() <= intDigits)
            return digits + QString(intDigits - digits.size(), QLatin1Char('0'));
        return digits.left(intDigits) + QLatin1Char('.') + digits.mid(intDigits);
    }
    QString text = zeroBeforePoint ? QStringLiteral("0.") : QStringLiteral(".");
    text += QString(-x - 1, QLatin1Char('0'));
    text += digits;
    return text;
}

QString fileText(double value, int precision)
{
    if (!std::isfinite(value))
        return nonFiniteText(value);
    const QString sign = value < 0 ? QStringLiteral("-") : QStringLiteral(" ");
    if (value == 0.0)
        return QStringLiteral(" 0");
    // The largest doubles round up, at 15 digits, past the largest double
    // (1.79769313486232E+308), a text that reads back as infinite; they are
    // written as the largest 15-digit value that still reads back.
    constexpr double kLargestWritten = 1.79769313486231e308;
    if (precision == 15 && std::fabs(value) > kLargestWritten)
        return sign + magnitudeText(kLargestWritten, precision, false);
    return sign + magnitudeText(value, precision, false);
}

// Rounds |value| half away from zero at `decimals` places after the point,
// deciding on the exact binary value: 0.125 is a true half and gives 0.13,
// while the double nearest to 2.675 lies below the half and gives 2.67.
// Up to three places: the scaled mantissa must stay below 2^64.
QString fixedText(double value, int decimals)
{
    if (!std::isfinite(value))
        return nonFiniteText(value);
    const double magnitude = std::fabs(value);
    QString digits;
    if (magnitude >= 4503599627370496.0) { // 2^52: already a whole number
        digits = QString::number(magnitude, 'f', 0) + QString(decimals, QLatin1Char('0'));
    } else {
        int exp2 = 0;
        const double fraction = std::frexp(magnitude, &exp2);
        // magnitude = mantissa * 2^-shift with a 53-bit integer mantissa.
        const quint64 mantissa = quint64(std::ldexp(fraction, 53));
        const int shift = 53 - exp2; // >= 1 because magnitude < 2^52
        quint64 scaled = mantissa;
        for (int i = 0; i < decimals; ++i)
            scaled *= 10; // < 2^53 * 100 < 2^60
        quint64 whole = 0;
        if (shift < 64) {
            whole = scaled >> shift;
            const quint64 rest = scaled & ((quint64(1) << shift) - 1);
            const quint64 half = quint64(1) << (shift - 1);
            if (rest >= half)
                ++whole;
        }
        // With shift >= 64 the scaled value is below 2^60 / 2^64: rounds to 0.
        digits = QString::number(whole).rightJustified(decimals + 1, QLatin1Char('0'));
    }
    bool allZero = true;
    for (QChar c : std::as_const(digits))
        allZero = allZero && c == QLatin1Char('0');
    QString text = digits.left(digits.size() - decimals);
    if (decimals > 0)
        text += QLatin1Char('.') + digits.right(decimals);
    // A negative value that rounds to zero is shown without a sign.
    if (value < 0 && !allZero)
        text.prepend(QLatin1Char('-'));
    return text;
}

} // namespace

double leadingNumber(QStringView text)
{
    return readNumber(text, false);
}

double settingsNumber(QStringView text)
{
    return readNumber(text, true);
}

double roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return value;
    const double below = std::floor(value);
    const double rest = value - below; // exact for every double
    if (rest < 0.5)
        return below;
    if (rest > 0.5)
        return below + 1.0;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

std::optional<qint16> toInt16(double value)
{
    const double r = roundHalfEven(value);
    if (!(r >= -32768.0 && r <= 32767.0))
        return std::nullopt;
    return qint16(r);
}

std::optional<qint32> toInt32(double value)
{
    const double r = roundHalfEven(value);
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        return std::nullopt;
    return qint32(r);
}

QString numberText(float value)
{
    const double v = value;
    if (!std::isfinite(v))
        return nonFiniteText(v);
    const QString text = magnitudeText(v, 7, true);
    return v < 0 ? QLatin1Char('-') + text : text;
}

QString fileNumberText(float value)
{
    return fileText(double(value), 7);
}

QString fileNumberText(double value)
{
    return fileText(value, 15);
}

QString fixed2(double value)
{
    return fixedText(value, 2);
}

QString fixed1(double value)
{
    return fixedText(value, 1);
}

QString fixed3(double value)
{
    return fixedText(value, 3);
}

QString significantText(double value, int digits)
{
    if (!std::isfinite(value))
        return nonFiniteText(value);
    if (value == 0)
        return QStringLiteral("0");
    const int exponent = int(std::floor(std::log10(std::fabs(value))));
    int decimals = digits - 1 - exponent;
    for (;;) {
        QString text;
        double rounded = 0;
        if (decimals > 3) {
            // Beyond three places the exact rounding above would overflow;
            // the shortest exact decimal form rounds as well.
            text = QString::number(value, 'f', decimals);
            rounded = std::fabs(text.toDouble());
        } else if (decimals >= 0) {
            text = fixedText(value, decimals);
            rounded = std::fabs(text.toDouble());
        } else {
            const double unit = std::pow(10.0, -decimals);
            rounded = std::round(std::fabs(value) / unit) * unit;
            text = fixedText(value < 0 ? -rounded : rounded, 0);
        }
        // 9.996 rounds up to 10.00: one figure too many, so one place less.
        if (rounded < std::pow(10.0, digits - decimals) || decimals < -300)
            return text;
        --decimals;
    }
}

QString signedIntText(int value)
{
    return (value < 0 ? QString() : QStringLiteral(" ")) + QString::number(value);
}

} // namespace num
