// The syntax check and the evaluator of the complex number set.
//
// The evaluator rewrites the expression text like the real one, but its
// tokens are complex token texts ("[3+j4]", "[2e^-j45]"); its stages are
// bracket groups, "abs", powers with natural exponents, multiplication and
// division, addition and subtraction.
#pragma once

#include "KomplexneCisla.h"
namespace legacy {

// The longest expression the complex check takes, blanks removed; a longer
// one raises EEngineRangeError.
constexpr int MaxComplexCheckLength = 255;

// The characters of a complex literal: ",", ".", digits, "^", "e" and the
// imaginary unit.
TCharSet ComplexNumberChars();

// Checks Expr (as typed) for the complex number set; the first fault sets
// Err's code and its span in the typed text. EvaluationOk is not touched.
void CheckComplexSyntax(const QString &expr, TChyba &err, const QStringList &funcNames);

// Puts every complex literal of Expr in square brackets.
void MarkComplexNumbers(QString &expr);

// The operand texts on both sides of the operator at the 1-based position
// Pos: a whole token when one stands there, else the run of literal
// characters; empty at the ends of the text.
void GetComplexOperands(const QString &expr, int pos, QString &left, QString &right);

// False when the 1-based position Pos lies inside a "[...]" token.
bool IsOutsideBrackets(int pos, const QString &expr);

// Replaces the first occurrence of Old by New, nothing else.
void ReplaceFirstComplex(QString &s, const QString &oldText, const QString &newText);

// R := the complex token text of Expr's value. Set Engine().ComplexFirstCall
// before each top-level call: the first call prepares the text (blanks,
// variables, constants, literals, implicit multiplication, lower case).
// Errors come back in Err (1, 9, 10, 11, 20, 25 or a group's code); an
// overflow or an exponent above 65535 raises EEngineRangeError.
void EvaluateComplex(QString expr, TChyba &err, QString &r);

} // namespace legacy