// The fraction evaluator: a real-number expression evaluated exactly, every
// value a ratio of two numbers.
//
// It rewrites the text stage by stage like the real evaluator, with
// fraction tokens ("[+3|4]") in place of number tokens, and returns the
// reduced fraction token of the result.
#pragma once

#include "uSpolocne.h"
namespace legacy {

// True when Expr names no built-in function (letter case ignored), so that
// the fraction evaluator can take it; otherwise the real evaluator must.
bool UsesNoFunction(const QString &expr, const QStringList &funcNames);

// R := the reduced fraction token of Expr. The caller sets
// Engine().FractionFirstCall before the top-level call; the first call
// prepares the text (blanks, variables, constants, number tokens, implicit
// multiplication, lower case) and clears the flag.
// Codes: 1 an unreadable operand, 9/10/11 a bracket left in the text,
// 20 an invalid operation (0/0, a negative base under a non-integral
// exponent, a part beyond 64 bits, an operand above 65535), 24 a factorial
// of a non-integral or negative value, 25 a division by zero (also a zero
// denominator of the result), 27 a non-integral "nad", "div" or "mod"
// operand (Param1 the word), 28 "nad" with k > n. A result beyond the
// 80-bit range and "div"/"mod" by zero throw EEngineError to the caller.
void EvaluateFraction(QString expr, TChyba &err, QString &r);

} // namespace legacy