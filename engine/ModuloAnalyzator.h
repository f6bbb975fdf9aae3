// Integers modulo n: the syntax check and the evaluator of the third number
// set. n is the context's modulus, a prime from 2 to 97.
//
// Only "+", "-", "*", "/" and round brackets are allowed; numbers are
// non-negative integers up to 65535. The result is one integer from 0 to
// n - 1, written as bare decimal text ("3").
#pragma once

#include "uKompilovanyVyraz.h"

// Checks Expr; the first fault sets Err.Code and its span in the text as
// typed: 13 "!", "%" or "^"; 16 a forbidden character; 2 a leading "*" or
// "/"; 3 a trailing operator; 5 two operators; 7 an operator before ")";
// 8 "*" or "/" after "("; 9 "()"; 10, 11 unpaired brackets; 14 a function
// name (replacing 10 and 11). Clears Err.Code and Err.SpanEnd first.
void CheckModuloSyntax(const QString &expr, const TEvaluationContext &context, TChyba &err);

// The residue of expr as decimal text from 0 to n - 1, or the first fault:
// 25 a division by a multiple of n, 1 a number that is no integer, 9/10/11
// brackets, 29 a number above 65535.
TEngineResult EvaluateModulo(const QString &expr, const TEvaluationContext &context);
