// Complex values of the complex number set and their token texts.
//
// A value is held in algebraic form; its Polar flag says that it is to be
// written in exponential form (modulus, "e^", the imaginary unit and the
// angle in degrees). The imaginary unit, Engine().ImaginaryUnit ("j"), is
// written before its coefficient: [3+j4], [2e^-j45].
//
// The operations report no codes. A text that is not a number raises
// EEngineConvertError, a zero divisor EEngineInvalidOp and a result beyond
// the 80-bit range EEngineRangeError, so that no infinity or NaN ever leaves
// them.
#pragma once

#include "uSpolocne.h"
namespace legacy {

struct TComplexNumber {
    long double Re = 0;
    long double Im = 0;
    bool Polar = false; // written in exponential form
};

// Z := the value of a token text, "[3-j4]", "[2e^j45]" or without brackets.
void ParseComplex(const QString &s, TComplexNumber &z);
// R := the token text of Z in the form its Polar flag asks for.
void ComplexToToken(const TComplexNumber &z, QString &r);

// The result is in exponential form only when both operands are.
void ComplexAdd(const TComplexNumber &a, const TComplexNumber &b, TComplexNumber &r);
void ComplexSub(const TComplexNumber &a, const TComplexNumber &b, TComplexNumber &r);
void ComplexMul(const TComplexNumber &a, const TComplexNumber &b, TComplexNumber &r);
void ComplexDiv(const TComplexNumber &a, const TComplexNumber &b, TComplexNumber &r);
// Z to the natural power N by repeated multiplication; Z^0 is 1.
void ComplexPowerInt(const TComplexNumber &z, quint16 n, TComplexNumber &r);
// The modulus of Z as a real value in algebraic form.
void ComplexAbs(const TComplexNumber &z, TComplexNumber &r);

// The angle of Z in degrees, by the signs of its parts: in (-180, 180],
// exactly 90, -90, 180 or 0 on the axes (0 for the zero value). The
// exponential form of the tokens and of the display both use it.
long double ComplexAngleDegrees(const TComplexNumber &z);

} // namespace legacy