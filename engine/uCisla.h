// The one strict parser and the one pattern formatter of the engine's numbers.
//
// Numbers are long double. Texts use the decimal separator the caller
// gives; nothing depends on the C or Qt locale.
#pragma once

#include <QString>
#include <QStringView>

// Reads a number the way the engine's tokens and the user's texts write it:
// optional spaces, an optional sign, digits with at most one decimal
// separator (at least one digit in all), an optional exponent "E"/"e" with an
// optional sign and at least one digit, optional spaces. Nothing else.
// Returns false (and leaves value alone) for anything else or a value that
// does not fit in long double.
bool TryStrToFloat(QStringView text, long double &value, QChar separator);
// As TryStrToFloat, for a 64-bit value: false also for a number outside the
// range of double, above it or below it. Below it means a non-zero number
// whose double is smaller than the smallest normal double (2.2E-308): such a
// number would be read as 0 (1E-400) or as a subnormal that keeps only some
// of its digits (1E-320 keeps three, 3E-324 becomes 4.9E-324), neither the
// number typed. A zero ("0", "0E5", "-0") is 0.
bool TryStrToDouble(QStringView text, double &value, QChar separator);

// As TryStrToFloat, but throws EEngineConvertError on failure.
long double StrToFloat(const QString &text, QChar separator);

// Formats value with a picture of the form
//   "0", "0.###", "0.0###", "0.0000", "0.###E-0", "0.###E+0"
// "0" after the point is a decimal that is always written, "#" one written
// only when not a trailing zero. "E-0" writes the exponent's sign only when
// negative, "E+0" always. What is written is the value's decimal form of 18
// significant digits (the nearest, as the engine's tokens hold it), rounded
// to the picture's decimals a half away from zero: "0.##" writes 2,675 as
// 2,68 and 1/8 as 0,13, "0" writes -2,5 as -3. A fixed picture whose value
// has more than 18 integer digits falls back to the general form
// ("1,5E30"). Throws EEngineInvalidOp for infinities and NaNs, so that
// neither can ever be shown.
QString FormatFloat(const QString &picture, long double value, QChar separator);

// The value an operator's result keeps: rounded to 18 significant decimal
// digits, as the picture "0.##############################E-0" writes it and
// the engine reads it back; a value below the smallest normal number is 0.
// NaN when the rounded value lies beyond the 80-bit range. No text is made
// unless the value is within a hair of a rounding tie or beyond 10^±27.
long double RoundOperatorResult(long double value);
// The value as the plain picture "0." + maxDecimals times "#" writes it
// (FormatPlain) and the engine reads it back: 16 decimals for the parts of
// a complex token. NaN as above.
long double RoundPlain(long double value, int maxDecimals);

// The token text of a value that RoundOperatorResult kept, as the picture
// "0.##############################E-0" writes it ("2,2E2", "-5E-1"),
// made from the value's 18 digits without printf where it can be.
QString OperatorResultText(long double value, QChar separator, bool inBrackets = false);

// FormatFloat with the picture "0" or "0." and maxDecimals times "#",
// without building the picture.
QString FormatPlain(long double value, int maxDecimals, QChar separator);

// Whether value, a sine, cosine, tangent or cotangent of argument (in the
// angle unit that radiansPerUnit turns into radians), is what the rounding
// of pi leaves where the function is 0 (cos(90) in degrees gives about
// 1E-19): the argument is the 18-digit number nearest to a zero of the
// function, so the value lies within half a unit of its last digit (in
// radians), and 17 decimals would write it as 0. The value of a small
// argument (sin(1E-20) in radians) is no residue.
bool IsResidueOfPi(long double value, long double argument, long double radiansPerUnit);

// Nearest integer, ties to even, checked to fit in 64 bits
// (EEngineRangeError otherwise).
qint64 RoundToInt64(long double value);
