#include "ZlomkovyAnalyzator.h"
#include "Analyzator.h"
#include "Zlomky.h"
#include "uZatvorky.h"

#include <cmath>
#include <cstring>
#include <limits>
namespace legacy {

namespace {

// A value divided by a zero denominator; the evaluator reports it as 25.
struct EFractionZeroDivide : EEngineError {
    EFractionZeroDivide() : EEngineError("division by zero") {}
};

// Why a stage stopped the evaluation with a code of its own.
struct TStop {
    quint8 Code;
    QString Param1;
};

// The fraction of an operand token; an empty or unreadable token is a
// conversion error.
TFraction ReadOperand(const QString &token) {
    if (token.isEmpty())
        throw EEngineConvertError("missing operand");
    TFraction f;
    StrToFraction(token, f);
    return f;
}

// Throws when the denominator is 0: a division by zero, or an invalid
// operation for 0/0.
void RequireDenominator(const TFraction &f) {
    if (f.Denominator != 0)
        return;
    if (f.Numerator == 0)
        throw EEngineInvalidOp("invalid floating point operation");
    throw EFractionZeroDivide();
}

// The value a/d of a fraction as one real number.
long double ValueOf(const TFraction &f) {
    RequireDenominator(f);
    return f.Numerator / f.Denominator;
}

QString Token(const TFraction &f) {
    QString t;
    FractionToText(f, t);
    return t;
}

QString IntegerToken(long double v) { return Token(TFraction{v, 1}); }

// The largest operand of "!" and "nad".
constexpr long double MaxFactorialOperand = 65535;

long double CheckedFactorial(long double n) {
    if (n > MaxFactorialOperand)
        throw EEngineRangeError("factorial operand out of range");
    const long double v = Factorial(quint16(n));
    if (!std::isfinite(v))
        throw EEngineOverflow("floating point overflow");
    return v;
}

qint64 IntegerOperand(long double x) {
    if (x >= 9223372036854775808.0L || x < -9223372036854775808.0L)
        throw EEngineInvalidOp("invalid floating point operation");
    return qint64(x);
}

// The token just before position p ("[...]" ending at p - 1), and where it
// starts; empty when no token ends there.
QString TokenBefore(const QString &expr, int p, int &start) {
    start = p;
    if (At(expr, p - 1) != QLatin1Char(']'))
        return QString();
    start = int(expr.lastIndexOf(QLatin1Char('['), p - 2)) + 1;
    if (start < 1)
        start = 1;
    return Copy(expr, start, p - start);
}

void PercentStage(QString &expr) {
    int p;
    while ((p = Pos(QStringLiteral("%"), expr)) > 0) {
        int start;
        const QString tok = TokenBefore(expr, p, start);
        const TFraction b = ReadOperand(tok);
        const long double a = b.Numerator;
        const long double hundredD = 100 * b.Denominator;
        const QChar sign = At(expr, start - 1);
        // A leading sign is the value's own, not an addition.
        if (start - 1 > 1 && (sign == QLatin1Char('+') || sign == QLatin1Char('-')) &&
            IsOutsideNumberToken(start - 1, expr)) {
            const long double n = sign == QLatin1Char('+') ? hundredD + a : hundredD - a;
            ReplaceOnce(expr, sign + tok + QLatin1Char('%'), QLatin1Char('*') + Token(TFraction{n, hundredD}), false);
        } else {
            ReplaceOnce(expr, tok + QLatin1Char('%'), Token(TFraction{a, hundredD}), false);
        }
    }
}

void PowerStage(QString &expr) {
    int p;
    while ((p = LastPos(QStringLiteral("^"), expr)) > 0) {
        QString left, right;
        SplitBracketOperands(expr, p, left, right);
        const TFraction base = ReadOperand(left);
        const long double exponent = ValueOf(ReadOperand(right));
        TFraction v;
        PowerFraction(base, v, exponent);
        ReplaceOnce(expr, left + QLatin1Char('^') + right, Token(v), true);
    }
}

void FactorialStage(QString &expr) {
    int p;
    while ((p = Pos(QStringLiteral("!"), expr)) > 1) {
        QString left, right;
        SplitBracketOperands(expr, p, left, right);
        const long double x = ValueOf(ReadOperand(left));
        if (HasFraction(x) || x < 0)
            throw TStop{24, QString()};
        ReplaceOnce(expr, left + QLatin1Char('!'), IntegerToken(CheckedFactorial(x)), false);
    }
}

void BinomialStage(QString &expr) {
    const QString word = QStringLiteral("nad");
    while (Pos(word, expr) > 0) {
        QString left, right;
        ExtractOperands(expr, word, left, right, false);
        const long double n = ValueOf(ReadOperand(left));
        const long double k = ValueOf(ReadOperand(right));
        if (HasFraction(n) || HasFraction(k) || n < 0 || k < 0)
            throw TStop{27, word};
        if (k > n)
            throw TStop{28, QString()};
        const long double v = CheckedFactorial(n) / (CheckedFactorial(n - k) * CheckedFactorial(k));
        ReplaceOnce(expr, left + word + right, IntegerToken(v), false);
    }
}

void IntegerDivisionStage(QString &expr) {
    const QString div = QStringLiteral("div");
    const QString mod = QStringLiteral("mod");
    for (;;) {
        const int pd = Pos(div, expr);
        const int pm = Pos(mod, expr);
        if (pd == 0 && pm == 0)
            return;
        const QString &word = (pd > 0 && (pm == 0 || pd < pm)) ? div : mod;
        QString left, right;
        ExtractOperands(expr, word, left, right, false);
        const long double x = ValueOf(ReadOperand(left));
        const long double y = ValueOf(ReadOperand(right));
        if (HasFraction(x) || HasFraction(y))
            throw TStop{27, word};
        const qint64 a = IntegerOperand(x);
        const qint64 b = IntegerOperand(y);
        if (b == 0)
            throw EFractionZeroDivide(); // as in the real evaluator: 25
        if (a == std::numeric_limits<qint64>::min() && b == -1)
            throw EEngineInvalidOp("integer overflow");
        const qint64 v = &word == &div ? a / b : a % b;
        ReplaceOnce(expr, left + word + right, IntegerToken((long double)v), false);
    }
}

// The first operator of Ops from position From on; a sign counts only
// outside the tokens.
int FirstOperator(const QString &expr, const char *ops, int from) {
    for (int i = from; i <= expr.size(); ++i) {
        const QChar c = expr.at(i - 1);
        if (c.unicode() > 127 || !std::strchr(ops, char(c.unicode())))
            continue;
        if ((c == QLatin1Char('+') || c == QLatin1Char('-')) && !IsOutsideNumberToken(i, expr))
            continue;
        return i;
    }
    return 0;
}

// "*" and "/" (scanned from position 1), or "+" and "-" (from position 2),
// left to right, none of them reducing. A product or quotient with a zero
// denominator stops the evaluation.
void ArithmeticStage(QString &expr, const char *ops, int from) {
    int p;
    while ((p = FirstOperator(expr, ops, from)) > 0) {
        const QChar op = expr.at(p - 1);
        QString left, right;
        SplitBracketOperands(expr, p, left, right);
        const TFraction a = ReadOperand(left);
        const TFraction b = ReadOperand(right);
        TFraction v;
        switch (op.unicode()) {
        case '*': MultiplyFractions(a, b, v); RequireDenominator(v); break;
        case '/': DivideFractions(a, b, v); RequireDenominator(v); break;
        case '+': AddFractions(a, b, v); break;
        default: SubtractFractions(a, b, v); break;
        }
        ReplaceOnce(expr, left + op + right, Token(v), false);
    }
}

void Prepare(QString &expr) {
    expr.remove(QLatin1Char(' '));
    expr += QLatin1String("+0");
    // Constant references first: the variable substitution lower-cases the
    // text, and references such as "$Na" must still match their captions.
    ReplaceDollarReferences(expr);
    SubstituteVariableValues(expr, Engine().VariableValues);
    MarkNumbers(expr);
    InsertImplicitMultiplication(expr, WordTailReal, DigitsAndLetters);
    expr = AsciiLower(expr);
}

void ReplaceGroup(QString &expr, const QString &group, const QString &value) {
    ReplaceOnce(expr, group, value, false);
}

void SetCode(TChyba &err, quint8 code) {
    err.Code = code;
    err.SpanStart = 0;
    err.SpanEnd = 0;
}

} // namespace

bool UsesNoFunction(const QString &expr, const QStringList &funcNames) {
    const QString s = AsciiLower(expr) + QLatin1Char('+');
    for (const QString &name : funcNames)
        if (s.contains(AsciiLower(name)))
            return false;
    return true;
}

void EvaluateFraction(QString expr, TChyba &err, QString &r) {
    err.Code = 0;
    TEngineContext &engine = Engine();
    if (engine.FractionFirstCall) {
        Prepare(expr);
        engine.FractionFirstCall = false;
    }
    if (expr.size() > MaxExpressionLength)
        throw EEngineRangeError("expression too long");

    // Each group's value comes back reduced.
    if (!ReplaceBracketGroups(expr, err, r, EvaluateFraction, ReplaceGroup))
        return;

    try {
        PercentStage(expr);
        PowerStage(expr);
        FactorialStage(expr);
        BinomialStage(expr);
        IntegerDivisionStage(expr);
        ArithmeticStage(expr, "*/", 1);
        if (At(expr, 1) == QLatin1Char('-'))
            expr.prepend(QLatin1String("[0]"));
        ArithmeticStage(expr, "+-", 2);

        TFraction result = ReadOperand(expr);
        RequireDenominator(result);
        ReduceFraction(result);
        FractionToText(result, r);
    } catch (const TStop &stop) {
        err.Code = stop.Code;
        if (!stop.Param1.isEmpty())
            err.Param1 = stop.Param1;
    } catch (const EFractionZeroDivide &) {
        err.Code = 25;
    } catch (const EEngineInvalidOp &) {
        SetCode(err, 20);
        r = expr;
    } catch (const EEngineConvertError &) {
        SetCode(err, 1);
        r = expr;
    } catch (const EEngineRangeError &) {
        err.Code = 20;
    } catch (const EEngineOverflow &) {
        // as an overflow in the real evaluator: too large a number
        SetCode(err, 20);
    }
}

} // namespace legacy