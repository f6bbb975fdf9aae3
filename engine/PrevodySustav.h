// Conversion of numbers between the bases 2, 8, 10 and 16, and the display
// formatting of numbers in any base.
#pragma once

#include "uSpolocne.h"

// BaseToDecimal, DecimalToBase and FormatNumber throw engine exceptions on
// failure: EEngineRangeError for an integer part beyond the 64-bit range (or
// a base outside 2..16), EEngineConvertError for a text that is no number.
// The two expression conversions catch them and report code 26 instead,
// leaving the text converted up to the failing number. They also report
// code 26 for a number with a digit that is not one of the base ("12" in
// base 2). Function names, variables ("x2", "cos"), "$" references and the
// word operators div, mod and nad are passed over in every base; in base 16
// a letter run is a name only when it holds a letter that is no hex digit,
// and "E" is a digit there, never an exponent.
//
// Every number is read and written with the decimal separator the caller
// gives (sep); nothing here has a separator of its own.
//
// ConvertExpressionBase writes a text that evaluates as the one it was given:
// each number is written with every digit of its value in bases 2, 8 and 16
// (those of the 80-bit binary value, so "0,1" becomes "0,1999999999999999A"
// in base 16) and with the fewest decimals that read back as that same value
// in base 10; a "*" goes between a number and a name that would otherwise run
// into it ("1000x" is "3E8*x" in base 16). A text that cannot be written so
// is left as it was, with code 26: a value beyond 2^63 or too small for 200
// digits, a name that reads as a number in the new base ("a" in base 16), a
// number the scanner reads otherwise ("2e", "3j10"; 30^2 of the complex set,
// which would be 1E^2 in base 16, an exponential form there).

int CharToDigit(QChar ch);
QChar DigitToChar(quint8 d);
void BaseToDecimal(int base, const QString &s, QString &r, QChar sep);
void DecimalToBase(int base, const QString &s, quint8 digits, QString &r, QChar sep);
// extra: QChar() for none, else the one extra number character (the imaginary unit)
bool IsValidNumber(int base, QChar extra, const QString &token, QChar sep);
void ConvertExpressionBase(int fromBase, int toBase, QChar extra, QString &expr, TChyba &err, QChar sep);
void ConvertExpressionBaseFormatted(int fromBase, int toBase, QChar extra, QString &expr, TChyba &err, quint8 decimals,
                                    QChar sep);
// The value in plain base-10 notation with the fewest digits that read back
// as exactly the same value, as the conversion writes numbers ("0,1",
// "1500"). Throws EEngineConvertError for a value that is no finite number.
QString ExactDecimal(long double value, QChar sep);
// R := Value as display text in Base with at most Decimals decimals (no
// trailing zeros), digits grouped by one space (4 in base 2, 3 in bases 8
// and 10, 2 in base 16), a half rounded away from zero. In base 10 the
// value's 18 significant digits are rounded (FormatFloat), so 1,005 with 2
// decimals is 1,01, and a value that would show as 0 is written in
// scientific form; in bases 2, 8 and 16 the value itself is converted and
// rounded in that base (16/3 with 6 decimals in base 16 is "5,55 55 55").
// Throws EEngineRangeError beyond the 64-bit range in bases 2, 8 and 16.
void FormatNumber(quint8 decimals, int base, QString &r, long double value, QChar sep);
