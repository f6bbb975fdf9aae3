// Complex values of the complex number set and their token texts.
//
// A value is held in algebraic form; its Polar flag says that it is to be
// written in exponential form (modulus, "e^", the imaginary unit and the
// angle in degrees). The imaginary unit ("j" unless a context names another)
// is written before its coefficient: [3+j4], [2e^-j45].
//
// The operations work at the full 80 bits, and a result keeps its parts as
// the real set keeps a value, to 18 significant digits each, so that a
// value is as precise however small it is. A part that cancels to within
// 10^-17 of its terms (the operands' last digits leave it that uncertain)
// is 0, so that exact values stay exact: (3+j4)(3-j4) is 25, (2e^j30)^3 is
// 0 + j8, 1e^j0 + 1e^j120 + 1e^j240 is 0. Exponential forms are read with
// exact quarter turns: 2e^j90 is 0 + j2.
//
// The operations report no codes. A text that is not a number raises
// EEngineConvertError, a zero divisor EEngineInvalidOp and a result beyond
// the 80-bit range EEngineRangeError, so that no infinity or NaN ever leaves
// them.
#pragma once

#include "uSpolocne.h"

struct TComplexNumber {
    long double Re = 0;
    long double Im = 0;
    bool Polar = false; // written in exponential form
};

// Z := the value of a token text, "[3-j4]", "[2e^j45]" or without brackets,
// with the given decimal separator and "j".
void ParseComplex(const QString &s, TComplexNumber &z, QChar separator);
// The same with the given separator and imaginary unit; false (Z left
// alone) for a text that is no complex number.
bool TryParseComplex(const QString &s, TComplexNumber &z, QChar separator, QChar unit);
// R := the token text of Z in the form its Polar flag asks for, with the
// given decimal separator and "j".
void ComplexToToken(const TComplexNumber &z, QString &r, QChar separator);

// The result is in exponential form only when both operands are.
void ComplexAdd(const TComplexNumber &a, const TComplexNumber &b, TComplexNumber &r);
void ComplexSub(const TComplexNumber &a, const TComplexNumber &b, TComplexNumber &r);
void ComplexMul(const TComplexNumber &a, const TComplexNumber &b, TComplexNumber &r);
void ComplexDiv(const TComplexNumber &a, const TComplexNumber &b, TComplexNumber &r);
// Z to the natural power N by repeated squaring, rounded once; Z^0 is 1.
void ComplexPowerInt(const TComplexNumber &z, quint16 n, TComplexNumber &r);
// The modulus of Z as a real value in algebraic form.
void ComplexAbs(const TComplexNumber &z, TComplexNumber &r);

// The angle of Z in degrees, in (-180, 180]: exactly 90, -90, 180 or 0 on
// the axes (0 for the zero value), elsewhere from both parts at once, so
// that a small part beside a large one keeps its digits. The exponential
// form of the tokens and of the display both use it.
long double ComplexAngleDegrees(const TComplexNumber &z);
