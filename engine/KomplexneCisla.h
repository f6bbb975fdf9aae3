// Complex values of the complex number set and their token texts.
//
// A value is held in algebraic form; its Polar flag says that it is to be
// written in exponential form (modulus, "e^", the imaginary unit and the
// angle in degrees). The imaginary unit ("j" unless a context names another)
// is written before its coefficient: [3+j4], [2e^-j45].
//
// The parts of a sum, a product and a quotient are worked out as the real
// set works out the same formulas of the parts (a*c - b*d for the real part
// of a product, and so on): each step rounded to 18 significant digits, so
// that a part keeps what the real set keeps of it, however small it is or
// whatever it cancels against ((3+j4)(3-j4) is 25, and
// (796242693+j796242692)(796242691+j796242692) is -1+j...). A power works
// at the full 80 bits and rounds its parts once.
//
// An exponential form r*e^(j*angle) is turned into its parts as the real
// set writes r*cos(angle) and r*sin(angle), each rounded to 18 digits
// (1e^j0 + 1e^j120 + 1e^j240 is 0): quarter turns exactly, and a part that
// is only the residue of an angle within its last digits of a quarter turn
// is 0 (2e^j90 is 0 + j2). Products, quotients and powers of exponential
// forms multiply the moduli and add the angles before they turn them into
// parts, so that (2e^j30)^3 is 0 + j8.
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
    // The exponential form the parts were made of, as it was written or as
    // a product, a quotient or a power of such forms made it: the modulus
    // (negative for a form that was negated) and the angle in degrees.
    // Without it (false) the parts alone are the value.
    bool HasForm = false;
    long double Modulus = 0;
    long double Angle = 0;
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
