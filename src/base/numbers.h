#pragma once
// The one place where text becomes a number and a number becomes text.
// Every window, file format and computation goes through these functions, so
// that a value looks the same on screen, on paper and in a file.

#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <optional>

namespace num {

// Leading numeric part of a text after leading blanks: an optional sign,
// digits with at most one decimal point, an optional exponent (E or D).
// Reading stops at the first character that cannot continue the number.
// A text without a number gives 0.  "12abc" -> 12, "  -3.5e2x" -> -350, "abc" -> 0.
// A number too large for a double gives +-infinity (so a range check rejects
// it), one too small gives 0.
double leadingNumber(QStringView text);

// The settings file's reading: as leadingNumber, but blanks and tabs are
// skipped wherever they stand ("1 2" -> 12) and the prefixes &H and &O read
// hexadecimal and octal ("&H1F" -> 31, "&O17" -> 15).  As classic integer
// literals, a &H/&O value up to &HFFFF is a 16-bit two's complement
// ("&HFFFF" -> -1, "&H8000" -> -32768), one up to &HFFFFFFFF a 32-bit one.
double settingsNumber(QStringView text);

// Nearest integer, halves to the even neighbour: 2.5 -> 2, 3.5 -> 4, -2.5 -> -2.
double roundHalfEven(double value);

// Rounded half to even, then checked against the 16/32-bit range; an empty
// result means out of range (or not a number), never a wrapped value.
std::optional<qint16> toInt16(double value);
std::optional<qint32> toInt32(double value);

// General text of a single-precision number: at most 7 significant digits,
// no trailing zeros, no leading blank, whole numbers without a point.
// 0.1f -> "0.1", 30.0f -> "30", -2.5f -> "-2.5"; very large or small values
// take the exponent form ("1E+08", "1.5E-07"): values whose decimal exponent,
// after rounding to 7 digits, is 7 or more or below -4 (12345678 ->
// "1.234568E+07", 0.0001 -> "0.0001", 0.00001 -> "1E-05").
// Infinities and NaN (here, in fileNumberText and the fixed forms) are
// written "INF", "-INF" and "NaN"; they read back as 0.
QString numberText(float value);

// The measurement file's number form: a leading blank for a value that is not
// negative, "-" otherwise; no zero before the point between -1 and 1
// (" .5", "-.25"); no trailing zeros; whole numbers without a point.
// Single precision keeps 7 significant digits, double precision 15; the
// exponent form is used as in numberText, from 1E+07 (single) or 1E+15
// (double) upwards and below 1E-04 (" 1.5E-07").
QString fileNumberText(float value);
QString fileNumberText(double value);

// Fixed formats: at least one digit before the point, exactly two ("0.00")
// or one ("0.0") after it.  0.125 -> "0.13", 3 -> "3.00", 12.345 -> "12.3".
// Rounding is half away from zero on the exact binary value, so the double
// nearest 2.675 (slightly below it) gives "2.67".  A value that rounds to
// zero carries no sign ("0.00", never "-0.00").
QString fixed2(double value);
QString fixed1(double value);
QString fixed3(double value);

// A value rounded to `digits` significant figures (half away from zero),
// written without exponent: (-980.44, 3) -> "-980", (0.012345, 2) ->
// "0.012", (12345, 3) -> "12300", (9.996, 3) -> "10.0", 0 -> "0".
QString significantText(double value, int digits);

// The settings file's integer form with a sign position: " 0", " 3", "-1".
QString signedIntText(int value);

} // namespace num
