// The complex number set: its syntax check and its evaluator.
//
// The evaluator compiles the text once and runs it with complex values:
// bracket groups, "abs", powers with natural exponents, multiplication and
// division, addition and subtraction. Every intermediate value keeps 18
// significant digits in each part, as the complex arithmetic keeps them.
#pragma once

#include "uKompilovanyVyraz.h"

// The longest expression the complex check takes, blanks removed; a longer
// one raises EEngineRangeError.
constexpr int MaxComplexCheckLength = 255;

// Checks Expr (as typed) for the complex number set; the first fault sets
// Err's code and its span in the typed text.
void CheckComplexSyntax(const QString &expr, const TEvaluationContext &context, TChyba &err);

// Puts every complex literal of Expr in square brackets (a text operation
// of the expression preview).
void MarkComplexNumbers(QString &expr, QChar imaginaryUnit = QLatin1Char('j'));

// The value of expr as an algebraic token "[3+j4]", or the first fault: 1 a
// part that is no number, 9/10/11 brackets, 20 a power whose exponent is not
// a natural number as written, 25 a division by zero, 29 a value beyond the
// 80-bit range or an exponent above 65535.
TEngineResult EvaluateComplex(const QString &expr, const TEvaluationContext &context);
