#include "KomplexnyAnalyzator.h"
#include "uZatvorky.h"

#include "Analyzator.h"
#include "uCisla.h"
namespace legacy {

namespace {

bool IsOperator(QChar c) {
    return c == QLatin1Char('*') || c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('/') ||
           c == QLatin1Char('^');
}

bool IsOneOf(QChar c, const char *chars) {
    for (; *chars; ++chars)
        if (c == QLatin1Char(*chars))
            return true;
    return false;
}

// Sets a fault of the check; the span is given in the blank-free text and
// moved into the text as typed.
void Fail(TChyba &err, quint8 code, int spanStart, int spanEnd, const QString &typed) {
    err.Code = code;
    err.SpanStart = spanStart;
    err.SpanEnd = spanEnd;
    AdjustSpanToTyped(typed, err);
}

bool IsAllowedChar(QChar c, QChar sep) {
    return IsAsciiDigit(c) || IsAsciiLetter(c) || IsOneOf(c, "$()*+,-/^") || c == sep;
}

// The characters that make up a literal outside a token: the 1-based
// position k of expr holds ",", ".", a digit, "e", the imaginary unit, or a
// "^" that follows "e".
bool IsLiteralCharAt(const QString &expr, int k, QChar unit) {
    const QChar c = At(expr, k);
    return c == QLatin1Char(',') || c == QLatin1Char('.') || IsAsciiDigit(c) || c == QLatin1Char('e') || c == unit ||
           (c == QLatin1Char('^') && At(expr, k - 1) == QLatin1Char('e'));
}

QString LeftOperand(const QString &expr, int pos, QChar unit) {
    if (pos <= 1)
        return QString();
    if (At(expr, pos - 1) == QLatin1Char(']')) {
        const qsizetype open = expr.lastIndexOf(QLatin1Char('['), pos - 2);
        const int start = open < 0 ? 0 : int(open);
        return expr.mid(start, pos - 1 - start);
    }
    int k = pos - 1;
    while (k >= 1 && IsLiteralCharAt(expr, k, unit))
        --k;
    return Copy(expr, k + 1, pos - 1 - k);
}

QString RightOperand(const QString &expr, int pos, QChar unit) {
    if (pos >= expr.size())
        return QString();
    if (At(expr, pos + 1) == QLatin1Char('[')) {
        const qsizetype close = expr.indexOf(QLatin1Char(']'), pos);
        const int end = close < 0 ? int(expr.size()) : int(close) + 1;
        return expr.mid(pos, end - pos);
    }
    int k = pos + 1;
    while (k <= expr.size() && IsLiteralCharAt(expr, k, unit))
        ++k;
    return Copy(expr, pos + 1, k - pos - 1);
}

// The operator at `pos` and its operands give way to the result token.
void ReplaceOperation(QString &expr, int pos, const QString &left, const QString &right, const QString &token) {
    expr.replace(pos - 1 - left.size(), left.size() + 1 + right.size(), token);
}

bool IsSingleToken(const QString &expr) {
    return expr.startsWith(QLatin1Char('[')) && expr.endsWith(QLatin1Char(']')) &&
           expr.count(QLatin1Char('[')) == 1 && expr.count(QLatin1Char(']')) == 1;
}

void RequireAddressable(const QString &expr) {
    if (expr.size() > MaxExpressionLength)
        throw EEngineRangeError("expression too long");
}

void PrepareComplexExpression(QString &expr) {
    expr.remove(QLatin1Char(' '));
    expr += QLatin1String("+0");
    // Constant references first, while they keep the case of their captions.
    ReplaceDollarReferences(expr);
    SubstituteVariableValues(expr, Engine().VariableValues);
    MarkComplexNumbers(expr);
    // The exponent "e" is part of a literal, never an operand of its own.
    InsertImplicitMultiplication(expr, QStringLiteral(",.0123456789^e"),
                                 QStringLiteral("0123456789ABCDFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    expr = AsciiLower(expr);
}

// "abs" followed by an operand becomes the operand's modulus.
void AbsStage(QString &expr) {
    const QChar unit = Engine().ImaginaryUnit;
    const QString name = QStringLiteral("abs");
    qsizetype p;
    while ((p = expr.indexOf(name)) >= 0) {
        const QString operand = RightOperand(expr, int(p) + name.size(), unit);
        TComplexNumber z;
        ParseComplex(operand, z);
        ComplexAbs(z, z);
        QString token;
        ComplexToToken(z, token);
        ReplaceFirstComplex(expr, name + operand, token);
    }
}

// Powers from the right. False (with code 20 set) when an exponent is not a
// natural number as written.
bool PowerStage(QString &expr, TChyba &err) {
    const QChar unit = Engine().ImaginaryUnit;
    const QChar sep = DecSep();
    int i = int(expr.size());
    while (i >= 1) {
        if (At(expr, i) != QLatin1Char('^') || At(expr, i - 1) == QLatin1Char('e') || !IsOutsideBrackets(i, expr)) {
            --i;
            continue;
        }
        QString left, right;
        GetComplexOperands(expr, i, left, right);
        if (right.contains(sep) || right.contains(unit) || right.contains(QLatin1Char('-'))) {
            err.Code = 20;
            return false;
        }
        TComplexNumber base, exponent, v;
        ParseComplex(left, base);
        ParseComplex(right, exponent);
        const qint64 n = RoundToInt64(exponent.Re);
        if (n < 0 || n > 65535)
            throw EEngineRangeError("exponent out of range");
        ComplexPowerInt(base, quint16(n), v);
        QString token;
        ComplexToToken(v, token);
        // Replaced where it stands, so that 3^3^3 stays 3^(3^3).
        ReplaceOperation(expr, i, left, right, token);
        i = int(expr.size());
    }
    return true;
}

using TComplexOperation = void (*)(const TComplexNumber &, const TComplexNumber &, TComplexNumber &);

// The operator at `pos` and its operands give way to the token of the
// result; an empty operand reads as 0.
void ApplyOperationAt(QString &expr, int pos, TComplexOperation operation) {
    QString left, right;
    GetComplexOperands(expr, pos, left, right);
    TComplexNumber a, b, v;
    ParseComplex(left, a);
    ParseComplex(right, b);
    operation(a, b, v);
    QString token;
    ComplexToToken(v, token);
    ReplaceOperation(expr, pos, left, right, token);
}

void MulDivStage(QString &expr) {
    int i = 1;
    while (i <= expr.size()) {
        const QChar c = At(expr, i);
        if (c == QLatin1Char('*') || c == QLatin1Char('/')) {
            ApplyOperationAt(expr, i, c == QLatin1Char('*') ? ComplexMul : ComplexDiv);
            i = 1;
        } else {
            ++i;
        }
    }
}

void AddSubStage(QString &expr) {
    int i = 1;
    bool inToken = false;
    while (i <= expr.size()) {
        const QChar c = At(expr, i);
        if (c == QLatin1Char('['))
            inToken = true;
        else if (c == QLatin1Char(']'))
            inToken = false;
        if (!inToken && (c == QLatin1Char('+') || c == QLatin1Char('-'))) {
            ApplyOperationAt(expr, i, c == QLatin1Char('+') ? ComplexAdd : ComplexSub);
            i = 1;
        } else {
            ++i;
        }
    }
}

} // namespace

TCharSet ComplexNumberChars() {
    return QStringLiteral(",.0123456789^e") + Engine().ImaginaryUnit;
}

void CheckComplexSyntax(const QString &expr, TChyba &err, const QStringList &funcNames) {
    err.ClearCodeAndSpan();
    QString s = expr;
    s.remove(QLatin1Char(' '));
    if (s.isEmpty())
        return;
    if (s.size() > MaxComplexCheckLength)
        throw EEngineRangeError("expression too long");
    const QChar unit = Engine().ImaginaryUnit;
    const QChar sep = DecSep();
    const int len = int(s.size());

    // The angle of the exponential form may not stand in brackets.
    if (s.contains(QLatin1String("e^"))) {
        for (const char *sign : {"", "+", "-"}) {
            const QString form = QLatin1String("e^") + QLatin1String(sign) + unit + QLatin1Char('(');
            const qsizetype p = s.indexOf(form);
            if (p >= 0)
                return Fail(err, 32, int(p), int(p + form.size()), expr);
        }
    }

    for (int i = 0; i < len; ++i) {
        const QChar c = s.at(i);
        if (c == QLatin1Char('!') || c == QLatin1Char('%'))
            return Fail(err, 13, i, i + 1, expr);
        if (!IsAllowedChar(c, sep))
            return Fail(err, 16, i, i + 1, expr);
    }

    if (IsOneOf(s.front(), "*/^"))
        return Fail(err, 2, 0, 1, expr);
    if (IsOperator(s.back()))
        return Fail(err, 3, len - 1, len, expr);
    if (s.back() == sep)
        return Fail(err, 4, len - 1, len, expr);

    // Pairs of neighbours; c is the character at the 0-based index i.
    for (int i = 1; i < len; ++i) {
        const QChar p = s.at(i - 1);
        const QChar c = s.at(i);
        const bool angleSign = (c == QLatin1Char('+') || c == QLatin1Char('-')) && p == QLatin1Char('^') && i >= 2 &&
                               s.at(i - 2) == QLatin1Char('e');
        if (IsOperator(p) && IsOperator(c) && !angleSign)
            return Fail(err, 5, i, i + 1, expr);
        if ((p == QLatin1Char('e') || p == unit) && (c == QLatin1Char('e') || c == unit))
            return Fail(err, 32, i, i + 1, expr);
        if (p == sep && IsOneOf(c, "!%()*+-/^"))
            return Fail(err, 6, i, i + 1, expr);
        if (IsOperator(p) && c == QLatin1Char(')'))
            return Fail(err, 7, i, i + 1, expr);
        if (p == QLatin1Char('(') && IsOneOf(c, "*/^"))
            return Fail(err, 8, i, i + 1, expr);
        if (p == QLatin1Char('$') && (IsOperator(c) || c == QLatin1Char('$') || c == sep))
            return Fail(err, 18, i - 1, i, expr);
        if ((p == QLatin1Char('(') || p == QLatin1Char(')')) && c == sep)
            return Fail(err, 30, i, i + 1, expr);
    }

    if (s.back() == QLatin1Char('$'))
        return Fail(err, 18, len - 1, len, expr);
    const qsizetype empty = s.indexOf(QLatin1String("()"));
    if (empty >= 0)
        return Fail(err, 9, int(empty), int(empty) + 2, expr);

    // A bracket fault stays unless a function name is at fault too.
    CheckBrackets(s, expr, err);

    const QString t = AsciiLower(s) + QLatin1Char('+');
    const QString abs = QStringLiteral("abs");
    for (const QString &name : funcNames) {
        if (name.isEmpty())
            continue;
        if (name != abs) {
            const qsizetype p = t.indexOf(name);
            if (p >= 0)
                return Fail(err, 14, int(p), int(p + name.size()), expr);
            continue;
        }
        for (qsizetype p = t.indexOf(abs); p >= 0; p = t.indexOf(abs, p + 1)) {
            if (IsOneOf(t.at(p + abs.size()), "!%)*+-/^")) {
                err.Param1 = abs;
                return Fail(err, 12, int(p), int(p + abs.size()), expr);
            }
        }
    }
}

void MarkComplexNumbers(QString &expr) {
    const QChar unit = Engine().ImaginaryUnit;
    const int n = int(expr.size());
    QString out;
    out.reserve(n * 2);
    int i = 0;
    while (i < n) {
        const QChar first = expr.at(i);
        if (!(first == QLatin1Char(',') || first == QLatin1Char('.') || IsAsciiDigit(first) || first == unit)) {
            out += first;
            ++i;
            continue;
        }
        const int start = i;
        while (i < n) {
            const QChar c = expr.at(i);
            const QChar before = i > 0 ? expr.at(i - 1) : QChar();
            const bool empty = i == start;
            const bool take = c == QLatin1Char(',') || c == QLatin1Char('.') || IsAsciiDigit(c) ||
                              (c == unit && empty) ||
                              (c == unit && IsOneOf(before, "+-^")) ||
                              ((c == QLatin1Char('+') || c == QLatin1Char('-')) && before == QLatin1Char('^')) ||
                              ((c == QLatin1Char('E') || c == QLatin1Char('e')) && !empty) ||
                              (c == QLatin1Char('^') && before == QLatin1Char('e'));
            if (!take)
                break;
            ++i;
        }
        out += QLatin1Char('[');
        out += QStringView(expr).mid(start, i - start);
        out += QLatin1Char(']');
    }
    // A literal that already stood in a token is not wrapped twice.
    while (out.contains(QLatin1String("[[")))
        out.replace(QLatin1String("[["), QLatin1String("["));
    while (out.contains(QLatin1String("]]")))
        out.replace(QLatin1String("]]"), QLatin1String("]"));
    expr = out;
}

void GetComplexOperands(const QString &expr, int pos, QString &left, QString &right) {
    const QChar unit = Engine().ImaginaryUnit;
    left = LeftOperand(expr, pos, unit);
    right = RightOperand(expr, pos, unit);
}

bool IsOutsideBrackets(int pos, const QString &expr) {
    return IsOutsideNumberToken(pos, expr);
}

void ReplaceFirstComplex(QString &s, const QString &oldText, const QString &newText) {
    ReplaceFirstShared(s, oldText, newText);
}

void EvaluateComplex(QString expr, TChyba &err, QString &r) {
    err.ClearCodeAndSpan();
    RequireAddressable(expr);
    TEngineContext &engine = Engine();
    if (engine.ComplexFirstCall) {
        PrepareComplexExpression(expr);
        engine.ComplexFirstCall = false;
        RequireAddressable(expr);
    }

    // Bracket groups, innermost first.
    if (!ReplaceBracketGroups(expr, err, r, EvaluateComplex, ReplaceFirstComplex))
        return;

    try {
        AbsStage(expr);
        if (!PowerStage(expr, err)) {
            r.clear();
            return;
        }
        MulDivStage(expr);
        AddSubStage(expr);
        // What is left must be one token; letters no stage consumed, such as
        // a name without a value, do not pass for a result.
        if (!IsSingleToken(expr))
            throw EEngineConvertError("not a complex value");
    } catch (const EEngineConvertError &) {
        err.Code = 1;
        r = expr;
        return;
    } catch (const EEngineInvalidOp &) {
        err.Code = 25; // only a zero divisor raises it here
        r = expr;
        return;
    }
    r = expr;
}

} // namespace legacy