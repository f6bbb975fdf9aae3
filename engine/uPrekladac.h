// The compiled form of an expression, as the scanner and the parser make it
// and the evaluators of the four number sets run it. Internal to the engine:
// callers use TCompiledExpression (uKompilovanyVyraz.h) or the text
// operations.
//
// An expression is read once. The scanner turns the text (spaces removed)
// into tokens, and "+0" is appended at the top as tokens of their own; a
// user constant and a variable that is not a free slot stand as a bracket
// group of their value's tokens. The
// parser makes of each bracket group a list of instructions, one per
// operation, in the order in which the operations are carried out: the
// groups from the last "(" to the first, and in each group the functions
// (in table order), "%", "^" (from the right), "!", "nad", "div" and "mod",
// "*" and "/", "+" and "-" (each from the left). The first instruction that
// fails gives the error, so a text with several faults reports the one met
// first in that order.
#pragma once

#include "uSpolocne.h"

#include <vector>

namespace prekladac {

enum class TOp : quint8 {
    Function,     // Dst := the instruction's Function of A (real), abs of A (complex)
    PercentPlain, // A / 100
    PercentPlus,  // (100 + A) / 100
    PercentMinus, // (100 - A) / 100
    Power,
    Factorial,
    Binomial,
    IntegerDivide,
    Remainder,
    Multiply,
    Divide,
    Add,
    Subtract,
    Negate,   // the sign of an operand written after an operator; no rounding
    GroupEnd, // a bracket group's value is complete
    Final,    // the value of the whole expression
    Fail,     // stops with the instruction's Code: an empty group, an unclosed or stray bracket
};

// Flags of the sampling road's code (TCompiledExpression::EvaluateFast).
enum : quint8 {
    FromPrevious = 1, // A is the value the instruction before computed
    NotStored = 2,    // the value is read only as A of the next instruction
    MayBeNaN = 4,     // an operand can be a malformed part (NaN)
    ReadsSlot = 8,    // an operand can be a free name's value (NaN when none is given)
    // A sine and a cosine of one argument computed together (one reduction
    // of the argument instead of two, as a C++ compiler makes of sinl(x) +
    // cosl(x)): the instruction of the one met first writes the other's
    // value to the register B.
    PairsSineCosine = 16,
};

struct TInstruction {
    TOp Op;
    TFunction Function{};               // of Op Function
    TErrorCode Code = TErrorCode::None; // of Op Fail
    quint8 Flags = 0;
    qint32 Dst;
    qint32 A = -1;
    qint32 B = -1; // the second operand (or, see PairsSineCosine, a second result)
};

// A number as written (a part of TProgram::LiteralText), and the register
// that holds its value.
struct TLiteral {
    qint32 Start;
    qint32 Length;
    qint32 Register;
};

struct TProgram {
    TNumberSet Set = TNumberSet::Real;
    bool Functions = true; // function names apply (not with fractions)
    QChar Separator = QLatin1Char('.');
    TAngleUnit AngleUnit = TAngleUnit::Degrees;
    quint16 Modulus = 5;
    QChar ImaginaryUnit = QLatin1Char('j');
    bool ExactWholeNumbers = false; // of the real set, as the context says

    qint32 RegisterCount = 0;
    QString LiteralText; // the numbers as written, one after the other, lower case
    std::vector<TLiteral> Literals;
    std::vector<qint32> InvalidRegisters; // malformed parts: read as code 1
    std::vector<qint32> NoBaseRegisters;  // among them, a lone "e" of the complex set
    std::vector<qint32> ZeroRegisters;    // the 0 before a leading sign
    std::vector<qint32> SlotRegisters;    // one per free name, in their order
    std::vector<TInstruction> Code;
    qint32 Result = -1;

    // The base of logy, the variable "y" as the context gave it: its value,
    // or code 15 (no value) or 31 (no number).
    TErrorCode LogyBaseCode = TErrorCode::None;
    long double LogyBase = 0;

    QStringView Text(const TLiteral &literal) const {
        return QStringView(LiteralText).mid(literal.Start, literal.Length);
    }
};

// Compiles text (as typed) for the context's number set. freeNames are the
// variables whose values each evaluation gives (their slots in this order).
TProgram Compile(const QString &text, const TEvaluationContext &context, const QStringList &freeNames);
// The same into a program that exists: its memory is reused.
void Compile(const QString &text, const TEvaluationContext &context, const QStringList &freeNames, TProgram &program);

} // namespace prekladac
