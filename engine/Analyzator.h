// The real number set: its syntax check and its evaluator, and the packed
// angles of the functions deg and dms.
//
// The evaluator compiles the text once (uKompilovanyVyraz.h) and runs it:
// every operation's result is rounded to 18 significant digits and every
// function's to 17 decimals, as the result token "[3,5E0]" writes it.
#pragma once

#include "uKompilovanyVyraz.h"
#include "uSpolocne.h"

// The value of expr in the real set as a token "[3,5E0]", or the code of
// the first fault met (without a span): 1 an operand that is no number,
// 9/10/11 an empty, stray or unclosed bracket, 20 too large a value, 21 a
// negative base under a root, 22/23 a function's domain or overflow (Param1
// and Param2), 24 a factorial of no natural number, 25 a division by zero,
// 27 a non-integer operand of nad/div/mod (Param1 the word), 28 k above n.
// Variables take their values from the context's source (each as a bracket
// group of its value), constants likewise. With TText::ValueOnly the token
// is left empty: the road that shows the value formats it itself.
TEngineResult EvaluateReal(const QString &expr, const TEvaluationContext &context,
                           TCompiledExpression::TText text = TCompiledExpression::TText::Token);

long double DmsToDegrees(long double x);
long double DegreesToDms(long double x);

// The syntax check of the real number set. Err receives the first failing
// rule with its span in the text as typed; the bracket codes 10 and 11 do
// not stop the check of the function names. A text longer than
// MaxExpressionLength throws EEngineRangeError.
void CheckSyntax(const QString &expr, const TEvaluationContext &context, TChyba &err);
