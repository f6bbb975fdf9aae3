// The real-number evaluator, the built-in functions and the real syntax check.
//
// The evaluator rewrites the expression text: every number travels as a
// token "[number]" and each stage replaces an operator and its two operand
// tokens by the token of the result. Its stages are shared by the fraction,
// modulo and complex evaluators.
#pragma once

#include "uSpolocne.h"
namespace legacy {

// --- evaluator ---------------------------------------------------------------
// R := the result token; on an error Err holds the code. R is left unchanged
// while Engine().EvaluationOk is false. A bracket group that is empty gives
// code 9, a ")" that closes nothing 10, a "(" left open 11 (R := "" for
// these); a text that does not come down to one number gives code 1. A text
// longer than MaxExpressionLength throws EEngineRangeError.
void EvaluateReal(QString expr, TChyba &err, const QStringList &funcNames, QString &r);
// Prepares Expr once for repeated evaluation: the free variable becomes the
// token "[" + varName + "]" (lower case), ready for ReplaceIdentifier.
void PrepareExpressionWithVariable(QString &expr, const QString &varName);
// Replaces Name where it stands alone (no letter before it, no letter or
// digit after it); a leading "+" of Replacement is dropped.
void ReplaceIdentifier(QString &expr, const QString &name, const QString &replacement);
void ReplaceOnce(QString &s, const QString &oldText, const QString &newText, bool fromEnd);
void NormalizeSignPairs(QString &s);
void MarkNumbers(QString &expr);
void ExtractOperands(const QString &expr, const QString &op, QString &left, QString &right, bool fromEnd);
void TokensToFloats(QString leftTok, QString rightTok, long double &a, long double &b, TChyba &err);
void ApplyOperator(long double &r, QChar op, TChyba &err, long double a, long double b);
QString FormatNumberToken(long double value);
bool IsOutsideNumberToken(int pos, const QString &expr);

// --- built-in functions (angle unit from Engine().AngleUnit) -----------------
// The direct trigonometric functions take their argument in the angle unit,
// the inverse ones give their result in it; the hyperbolic functions work on
// plain numbers. Codes 22 and 23 on failure; logy without a value of "y"
// gives 15, with an unreadable one 31.
void ApplyFunction(const QString &name, long double &value, TChyba &err, long double x);
long double DmsToDegrees(long double x);
long double DegreesToDms(long double x);

// --- syntax check of the real number set ------------------------------------
// Spans are given in the text as typed. The gate Engine().EvaluationOk opens
// when the text passes, also when only a bracket code (10, 11) is set.
// A text longer than MaxExpressionLength throws EEngineRangeError.
void CheckSyntax(const QString &expr, TChyba &err, const QStringList &funcNames);

} // namespace legacy