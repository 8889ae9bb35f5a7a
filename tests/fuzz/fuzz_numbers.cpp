// Fuzz entry point for text-to-number and number-to-text: any text reads
// without a fault, and every number written by the program reads back as
// the value it was written from (to the digits the form keeps).

#include "base/numbers.h"

#include <QString>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void fail(const char *what, const QString &text)
{
    std::fprintf(stderr, "number property broken: %s [%s]\n", what, qPrintable(text));
    std::abort();
}

// `read` must be `value` to a relative `tolerance`.
void checkReadBack(double value, const QString &text, double tolerance, const char *what)
{
    const double read = num::leadingNumber(text);
    if (std::isnan(value)) {
        if (read != 0)
            fail(what, text);
        return;
    }
    if (std::isinf(value)) {
        if (read != 0) // "INF" is not a number
            fail(what, text);
        return;
    }
    if (!(std::fabs(read - value) <= tolerance * std::fabs(value)))
        fail(what, text);
}

void checkRounding(double value)
{
    const double r = num::roundHalfEven(value);
    if (!std::isfinite(value))
        return;
    if (r != std::floor(r) || !(std::fabs(r - value) <= 0.5))
        fail("roundHalfEven", QString::number(value, 'g', 17));
    const auto i16 = num::toInt16(value);
    if (i16.has_value() != (r >= -32768.0 && r <= 32767.0) || (i16 && double(*i16) != r))
        fail("toInt16", QString::number(value, 'g', 17));
    const auto i32 = num::toInt32(value);
    if (i32.has_value() != (r >= -2147483648.0 && r <= 2147483647.0) || (i32 && double(*i32) != r))
        fail("toInt32", QString::number(value, 'g', 17));
}

void checkFixed(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > 1e15)
        return;
    const QString two = num::fixed2(value);
    if (two.indexOf(QLatin1Char('.')) != two.size() - 3)
        fail("fixed2 form", two);
    if (!(std::fabs(num::leadingNumber(two) - value) <= 0.005 + 1e-15 * std::fabs(value) + 1e-12))
        fail("fixed2 value", two);
    const QString one = num::fixed1(value);
    if (one.indexOf(QLatin1Char('.')) != one.size() - 2)
        fail("fixed1 form", one);
    if (!(std::fabs(num::leadingNumber(one) - value) <= 0.05 + 1e-15 * std::fabs(value) + 1e-12))
        fail("fixed1 value", one);
    if (two == QLatin1String("-0.00"))
        fail("zero shown with a sign", two);
    if (one == QLatin1String("-0.0"))
        fail("zero shown with a sign", one);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    if (size > 4096)
        return 0;
    // Any text: as typed (UTF-8) and as Latin-1 bytes of a file.
    const QString typed = QString::fromUtf8(reinterpret_cast<const char *>(bytes), qsizetype(size));
    const QString latin =
        QString::fromLatin1(reinterpret_cast<const char *>(bytes), qsizetype(size));
    for (const QString &text : {typed, latin}) {
        checkRounding(num::leadingNumber(text));
        checkRounding(num::settingsNumber(text));
    }

    // The first bytes as binary numbers, every bit pattern included.
    if (size >= sizeof(double)) {
        double d;
        std::memcpy(&d, bytes, sizeof d);
        checkRounding(d);
        checkFixed(d);
        checkReadBack(d, num::fileNumberText(d), 1e-14, "fileNumberText(double)");
    }
    if (size >= sizeof(float)) {
        float f;
        std::memcpy(&f, bytes, sizeof f);
        checkReadBack(f, num::fileNumberText(f), 1e-6, "fileNumberText(float)");
        checkReadBack(f, num::numberText(f), 1e-6, "numberText");
    }
    if (size >= sizeof(qint16)) {
        qint16 v;
        std::memcpy(&v, bytes, sizeof v);
        if (num::toInt16(num::settingsNumber(num::signedIntText(v))) != v)
            fail("signedIntText does not read back", num::signedIntText(v));
    }
    return 0;
}
