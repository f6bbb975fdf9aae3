// The fraction evaluator: a real-number expression evaluated exactly, every
// value a ratio of two 64-bit integers in lowest terms.
#pragma once

#include "uKompilovanyVyraz.h"

// True when Expr names no built-in function (letter case ignored), so that
// the fraction evaluator can take it; otherwise the real evaluator must.
bool UsesNoFunction(const QString &expr);

// The reduced fraction token of expr ("[+3|4]", "[-2]"), or the first fault:
// 1 an operand that is no number (or a function name), 9/10/11 brackets,
// 20 a part beyond 64 bits (a typed number is read with all its digits, so
// its parts too) or an invalid operation (0/0, a root of a negative
// number), 24 a factorial of no natural number, 25 a division by zero
// (also by a value over zero, as 0^(-1), and a result over zero), 27 a non-integer operand of nad/div/mod
// (Param1 the word), 28 k above n.
TEngineResult EvaluateFraction(const QString &expr, const TEvaluationContext &context);
