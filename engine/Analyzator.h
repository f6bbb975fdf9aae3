// The real-number evaluator, the built-in functions and the real syntax check.
//
// The evaluator rewrites the expression text: every number travels as a
// token "[number]" and each stage replaces an operator and its two operand
// tokens by the token of the result. Its stages are shared by the fraction,
// modulo and complex evaluators.
#pragma once

#include "uSpolocne.h"

// --- evaluator ---------------------------------------------------------------
// R := the result token; on an error Err holds the code. R is left unchanged
// while Engine().EvaluationOk is false.
void EvaluateReal(QString expr, TChyba &err, const QStringList &funcNames, QString &r);
void PrepareExpressionWithVariable(QString &expr, const QString &varName);
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
void ApplyFunction(const QString &name, long double &value, TChyba &err, long double x);
long double DmsToDegrees(long double x);
long double DegreesToDms(long double x);

// --- syntax check of the real number set ------------------------------------
void CheckSyntax(const QString &expr, TChyba &err, const QStringList &funcNames);
