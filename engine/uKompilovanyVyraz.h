// Compiled expressions: a text read and parsed once, then evaluated as many
// times as needed, in one of the four number sets.
//
// Usage, for the function graph (compile f(x) once, evaluate per x):
//
//     TEvaluationContext context(separator);   // number set, angle unit, separator,
//     context.AngleUnit = TAngleUnit::Radians; // variables and constants sources
//     context.Variables = &variables;
//     const TCompiledExpression f(text, context, {QStringLiteral("x")});
//     long double y;
//     for (long double x : samples)
//         if (f.EvaluateFast({&x, 1}, y) == TErrorCode::None) ... draw y ...
//         else ... a gap in the curve ...
//
// The sum and product window compiles its expression with the index as the
// free name and calls EvaluateReal({&index, 1}, TText::ValueOnly) per index:
// the value is exactly what EvaluateReal gives on the text with the index
// written in. The
// derivative window shows a constant as an exact fraction with the text road
// EvaluateFraction(text, context).
//
// What a compiled expression depends on is fixed when it is compiled: the
// number set, the angle unit, the separator, the modulus, the values of the
// variables that are not free names and of the user constants. Compile again
// when one of them changes. A TCompiledExpression is immutable: one object
// can be evaluated from several threads at once.
//
// Each evaluation belongs to the number set the text was compiled for
// (EvaluateReal and EvaluateFast to the real set, EvaluateFraction to the
// real set with Fractions, and so on); called on a program of another set
// it gives code 29 and no value.
#pragma once

#include "KomplexneCisla.h"
#include "Zlomky.h"
#include "uPrekladac.h"
#include "uSpolocne.h"

#include <span>

// What an evaluation gives: an error record, or the result as its token text
// (the value in square brackets; a fraction "[+3|4]", a complex number
// "[3+j4]", a residue modulo n as bare digits) and as a value.
struct TEngineResult {
    TChyba Error;         // Code None on success; evaluation errors carry no span
    QString Token;        // empty after an error
    long double Real = 0; // real set and fractions: the value; modulo: the residue
    TFraction Fraction;   // fractions: the reduced parts
    TComplexNumber Complex;

    bool Ok() const { return !Error.Failed(); }
};

class TCompiledExpression {
public:
    // Compiles text (as typed; checked or not: a malformed text compiles and
    // reports its fault when evaluated). freeNames are the variables whose
    // values each evaluation gives, in this order; they stand for nothing
    // else, whatever the variables source holds.
    TCompiledExpression(const QString &text, const TEvaluationContext &context,
                        const QStringList &freeNames = QStringList());

    // The real set, exactly as EvaluateReal: each operation's result rounded
    // to 18 significant digits and each function's to 17 decimals, so that
    // sin(180) is 0 and 0,1+0,2-0,3 is 0. values: one per free name.
    // ValueOnly leaves the token text empty, for a caller that reads only
    // the value (a sum over a range): writing it costs as much as the
    // arithmetic of a short expression.
    enum class TText { Token, ValueOnly };
    TEngineResult EvaluateReal(std::span<const long double> values = {}, TText text = TText::Token) const;
    // The real set for sampling: the same operations and the same error
    // codes, but no rounding steps, which would cost more than the
    // arithmetic; the value agrees with EvaluateReal's to about 17
    // significant digits. result is set only when the code is None.
    TErrorCode EvaluateFast(std::span<const long double> values, long double &result) const;
    // Exact fractions of the real set (a text compiled for the real set with
    // Fractions set, where function names stand for nothing).
    TEngineResult EvaluateFraction() const;
    // The complex set (a text compiled with the complex set).
    TEngineResult EvaluateComplex() const;
    // Integers modulo the context's modulus (a text compiled with the modulo set).
    TEngineResult EvaluateModulo() const;

    // The text roads (EvaluateReal(text, context) and its kin): text
    // compiled for the road's number set and evaluated once by its
    // evaluator; a text longer than MaxExpressionLength gives code 29. The
    // thread's compiled form is reused from one text to the next, so that
    // its memory is not taken anew for each. The real road writes no token
    // with TText::ValueOnly (the value and the code stay the same).
    enum class TRoad { Real, Fraction, Complex, Modulo };
    static TEngineResult EvaluateText(const QString &text, const TEvaluationContext &context, TRoad road,
                                      TText realText = TText::Token);

private:
    TCompiledExpression() = default;
    // Whether the program was compiled for the road's number set (the real
    // set with functions, the real set as fractions, complex, modulo).
    bool CompiledFor(TRoad road) const;
    void ReadRealLiterals();
    void BuildFastCode();

    prekladac::TProgram m_program;
    std::vector<long double> m_realLiterals;         // the real set: NaN for a literal that is no number
    std::vector<prekladac::TInstruction> m_fastCode; // the real set: the code of EvaluateFast
    std::vector<long double> m_initialRegisters;     // ... the registers it reads before writing
    std::vector<qint32> m_fastSlots;                 // ... the free names' registers (-1: not read)
    qint32 m_fastRegisterCount = 0;
};
