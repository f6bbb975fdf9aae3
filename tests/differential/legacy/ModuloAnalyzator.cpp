#include "ModuloAnalyzator.h"
#include "Analyzator.h"
#include "uZatvorky.h"

#include <cmath>
namespace legacy {

namespace {

const TCharSet ModuloOperators = QStringLiteral("*+-/");
// Characters the check lets through: brackets, the four operators, digits
// and letters (variables and, refused later, function names).
const TCharSet ModuloAllowed =
    QStringLiteral("()*+-/0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
const TCharSet ModuloRefusedOperators = QStringLiteral("!%^");
// Implicit multiplication before a name or number; a capital "E" is left
// out, as it may only stand in a number.
const TCharSet ModuloOperandChars =
    QStringLiteral("0123456789ABCDFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
const TCharSet ModuloWordTailChars = QStringLiteral("0123456789");

// A division by a multiple of n.
struct TModuloZeroDivide {};

void Fail(TChyba &err, const QString &typed, quint8 code, int start, int end) {
    err.Code = code;
    err.SpanStart = start;
    err.SpanEnd = end;
    AdjustSpanToTyped(typed, err);
}

quint16 Modulus() {
    const quint16 n = Engine().Modulus;
    if (n == 0)
        throw EEngineRangeError("modulus out of range");
    return n;
}

quint16 Reduce(qint64 x, quint16 n) {
    qint64 r = x % n;
    if (r < 0)
        r += n;
    return quint16(r);
}

// The inverse of b modulo n by the extended Euclidean algorithm; a b that
// shares a factor with n (a multiple of the prime n) has none.
quint16 Inverse(quint16 b, quint16 n) {
    qint64 r0 = n, r1 = b % n;
    qint64 t0 = 0, t1 = 1;
    while (r1 != 0) {
        const qint64 q = r0 / r1;
        qint64 t = t0 - q * t1;
        t0 = t1;
        t1 = t;
        t = r0 - q * r1;
        r0 = r1;
        r1 = t;
    }
    if (r0 != 1)
        throw TModuloZeroDivide();
    return Reduce(t0, n);
}

int FirstOperator(const QString &expr, QChar op1, QChar op2) {
    for (int i = 2; i <= expr.size(); ++i) {
        const QChar c = expr.at(i - 1);
        if (c == op1 || c == op2)
            return i;
    }
    return 0;
}

QString ModuloToken(quint16 v) { return QLatin1Char('[') + QString::number(v) + QLatin1Char(']'); }

quint16 Apply(QChar op, quint16 a, quint16 b, quint16 n) {
    switch (op.unicode()) {
    case '*': return quint16(quint64(a) * b % n);
    case '/': return quint16(quint64(a % n) * Inverse(b, n) % n);
    case '+': return Reduce(qint64(a) + b, n);
    default: return Reduce(qint64(a) - b, n);
    }
}

// "*" and "/", or "+" and "-", left to right from position 2; every result
// is reduced into 0 .. n - 1.
void ArithmeticStage(QString &expr, QChar op1, QChar op2, quint16 n) {
    int p;
    while ((p = FirstOperator(expr, op1, op2)) > 0) {
        const QChar op = expr.at(p - 1);
        QString left, right;
        SplitBracketOperands(expr, p, left, right);
        const quint16 v = Apply(op, ParseModuloToken(left), ParseModuloToken(right), n);
        ReplaceFirstModulo(expr, left + op + right, ModuloToken(v));
    }
}

void Prepare(QString &expr) {
    expr += QLatin1String("+0");
    SubstituteVariableValues(expr, Engine().VariableValues);
    ReplaceDollarReferences(expr);
    MarkNumbers(expr);
    InsertImplicitMultiplication(expr, ModuloWordTailChars, ModuloOperandChars);
}

void ReplaceGroup(QString &expr, const QString &group, const QString &value) {
    ReplaceFirstModulo(expr, group, QLatin1Char('[') + value + QLatin1Char(']'));
}

void SetCode(TChyba &err, quint8 code) {
    err.Code = code;
    err.SpanStart = 0;
    err.SpanEnd = 0;
}

} // namespace

void CheckModuloSyntax(const QString &expr, TChyba &err, const QStringList &funcNames) {
    err.Code = 0;
    err.SpanEnd = 0;
    QString s = expr;
    s.remove(QLatin1Char(' '));
    if (s.isEmpty())
        return;
    if (s.size() > MaxExpressionLength)
        throw EEngineRangeError("expression too long");
    const int len = int(s.size());

    for (int i = 1; i <= len; ++i) {
        const QChar c = s.at(i - 1);
        if (InSet(c, ModuloRefusedOperators))
            return Fail(err, expr, 13, i - 1, i);
        if (!InSet(c, ModuloAllowed))
            return Fail(err, expr, 16, i - 1, i);
    }
    const QChar first = s.at(0);
    if (first == QLatin1Char('*') || first == QLatin1Char('/'))
        return Fail(err, expr, 2, 0, 1);
    if (InSet(s.at(len - 1), ModuloOperators))
        return Fail(err, expr, 3, len - 1, len);
    for (int i = 2; i <= len; ++i) {
        const QChar prev = s.at(i - 2);
        const QChar cur = s.at(i - 1);
        if (InSet(prev, ModuloOperators) && InSet(cur, ModuloOperators))
            return Fail(err, expr, 5, i - 1, i);
        if (InSet(prev, ModuloOperators) && cur == QLatin1Char(')'))
            return Fail(err, expr, 7, i - 1, i);
        if (prev == QLatin1Char('(') && (cur == QLatin1Char('*') || cur == QLatin1Char('/')))
            return Fail(err, expr, 8, i - 1, i);
    }
    const int empty = Pos(QStringLiteral("()"), s);
    if (empty > 0)
        return Fail(err, expr, 9, empty - 1, empty + 1);

    CheckBrackets(s, expr, err);

    // A function name is reported even over a bracket fault.
    const QString lower = AsciiLower(s);
    for (const QString &name : funcNames) {
        const int p = Pos(name, lower);
        if (p > 0)
            return Fail(err, expr, 14, p - 1, p - 1 + int(name.size()));
    }
}

void EvaluateModulo(QString expr, TChyba &err, QString &r) {
    expr.remove(QLatin1Char(' '));
    SetCode(err, 0);
    TEngineContext &engine = Engine();
    if (engine.ModuloFirstCall) {
        Prepare(expr);
        engine.ModuloFirstCall = false;
    }
    if (expr.size() > MaxExpressionLength)
        throw EEngineRangeError("expression too long");
    const quint16 n = Modulus();

    if (!ReplaceBracketGroups(expr, err, r, EvaluateModulo, ReplaceGroup))
        return;

    try {
        ArithmeticStage(expr, QLatin1Char('*'), QLatin1Char('/'), n);
        if (At(expr, 1) == QLatin1Char('-'))
            expr.prepend(QLatin1String("[0]"));
        ArithmeticStage(expr, QLatin1Char('+'), QLatin1Char('-'), n);
        r = QString::number(Reduce(ParseModuloToken(expr), n));
    } catch (const TModuloZeroDivide &) {
        SetCode(err, 25);
    } catch (const EEngineConvertError &) {
        SetCode(err, 1);
    }
}

quint16 ReduceModulo(long double x) {
    if (!std::isfinite(x) || x >= 9223372036854775808.0L || x <= -9223372036854775809.0L)
        throw EEngineRangeError("integer out of range");
    return Reduce(qint64(x), Modulus());
}

quint16 ParseModuloToken(const QString &s) {
    QString t = s;
    const int open = int(t.indexOf(QLatin1Char('[')));
    if (open >= 0)
        t.remove(open, 1);
    const int close = int(t.indexOf(QLatin1Char(']')));
    if (close >= 0)
        t.remove(close, 1);
    int i = 0;
    bool negative = false;
    if (i < t.size() && (t.at(i) == QLatin1Char('+') || t.at(i) == QLatin1Char('-'))) {
        negative = t.at(i) == QLatin1Char('-');
        ++i;
    }
    if (i >= t.size())
        throw EEngineConvertError("'" + s.toStdString() + "' is not a valid integer");
    quint32 value = 0;
    bool tooLarge = false;
    for (; i < t.size(); ++i) {
        const QChar c = t.at(i);
        if (!IsAsciiDigit(c))
            throw EEngineConvertError("'" + s.toStdString() + "' is not a valid integer");
        if (!tooLarge) {
            value = value * 10 + quint32(c.unicode() - '0');
            tooLarge = value > 65535;
        }
    }
    if (tooLarge || (negative && value != 0))
        throw EEngineRangeError("'" + s.toStdString() + "' is out of range");
    return quint16(value);
}

void ReplaceFirstModulo(QString &s, const QString &oldText, const QString &newText) {
    const int p = int(s.indexOf(oldText));
    if (p < 0)
        return;
    s.replace(p, oldText.size(), newText);
}

} // namespace legacy