// The one strict parser and the one pattern formatter of the engine's numbers.
//
// Numbers are long double. Texts use the engine's decimal separator
// (Engine().DecimalSeparator); nothing depends on the C or Qt locale.
#pragma once

#include <QString>
namespace legacy {

// Reads a number the way the engine's tokens and the user's texts write it:
// optional spaces, an optional sign, digits with at most one decimal
// separator (at least one digit in all), an optional exponent "E"/"e" with an
// optional sign and at least one digit, optional spaces. Nothing else.
// Returns false (and leaves value alone) for anything else or a value that
// does not fit in long double.
bool TryStrToFloat(const QString &text, long double &value);
bool TryStrToFloat(const QString &text, long double &value, QChar separator);

// As TryStrToFloat, but throws EEngineConvertError on failure.
long double StrToFloat(const QString &text);

// Formats value with a picture of the form
//   "0", "0.###", "0.0###", "0.0000", "0.###E-0", "0.###E+0"
// "0" after the point is a decimal that is always written, "#" one written
// only when not a trailing zero. "E-0" writes the exponent's sign only when
// negative, "E+0" always. At most 18 significant digits are written. A fixed
// picture whose value has more than 18 integer digits falls back to the
// general form ("1,5E30"). Throws EEngineInvalidOp for infinities and NaNs,
// so that neither can ever be shown.
QString FormatFloat(const QString &picture, long double value);
QString FormatFloat(const QString &picture, long double value, QChar separator);

// Nearest integer, ties to even, checked to fit in 64 bits
// (EEngineRangeError otherwise).
qint64 RoundToInt64(long double value);

} // namespace legacy