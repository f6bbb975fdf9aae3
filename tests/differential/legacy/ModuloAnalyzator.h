// Integers modulo n: the syntax check and the evaluator of the third number
// set. n is Engine().Modulus, a prime from 2 to 97 set by the main window.
//
// Only "+", "-", "*", "/" and round brackets are allowed; numbers are
// non-negative integers up to 65535. The result is one integer from 0 to
// n - 1, written as bare decimal text ("3").
#pragma once

#include "uSpolocne.h"
namespace legacy {

// Checks Expr; the first fault sets Err.Code and its span in the text as
// typed: 13 "!", "%" or "^"; 16 a forbidden character; 2 a leading "*" or
// "/"; 3 a trailing operator; 5 two operators; 7 an operator before ")";
// 8 "*" or "/" after "("; 9 "()"; 10, 11 unpaired brackets; 14 a function
// name (replacing 10 and 11). Clears Err.Code and Err.SpanEnd first.
void CheckModuloSyntax(const QString &expr, TChyba &err, const QStringList &funcNames);

// R := the result as decimal text from 0 to n - 1. The caller sets
// Engine().ModuloFirstCall before the top-level call; the first call
// prepares the text and clears the flag. Codes: 25 a division by a
// multiple of n, 1 a token that is not an integer, 9/10/11 a bracket left in
// the text. A number above 65535 throws EEngineRangeError to the caller.
void EvaluateModulo(QString expr, TChyba &err, QString &r);

// X truncated to an integer and reduced into 0 .. n - 1.
quint16 ReduceModulo(long double x);
// The integer of a token "[12]"; EEngineRangeError outside 0 .. 65535,
// EEngineConvertError for a text that is not an integer.
quint16 ParseModuloToken(const QString &s);
// Replaces the first occurrence of Old by New, with no sign tidying.
void ReplaceFirstModulo(QString &s, const QString &oldText, const QString &newText);

} // namespace legacy