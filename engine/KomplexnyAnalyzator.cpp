#include "KomplexnyAnalyzator.h"

#include "uCisla.h"

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
void Fail(TChyba &err, TErrorCode code, int spanStart, int spanEnd, const QString &typed) {
    err.Code = code;
    err.SpanStart = spanStart;
    err.SpanEnd = spanEnd;
    AdjustSpanToTyped(typed, err);
}

bool IsAllowedChar(QChar c) {
    return IsAsciiDigit(c) || IsAsciiLetter(c) || IsOneOf(c, "$()*+-/^") || IsDecimalSeparator(c);
}

} // namespace

void CheckComplexSyntax(const QString &expr, const TEvaluationContext &context, TChyba &err) {
    err.ClearCodeAndSpan();
    QString s = expr;
    s.remove(QLatin1Char(' '));
    if (s.isEmpty())
        return;
    if (s.size() > MaxComplexCheckLength)
        throw EEngineRangeError("expression too long");
    const QChar unit = context.ImaginaryUnit;
    const int len = int(s.size());

    // The angle of the exponential form may not stand in brackets.
    if (s.contains(QLatin1String("e^"))) {
        for (const char *sign : {"", "+", "-"}) {
            const QString form = QLatin1String("e^") + QLatin1String(sign) + unit + QLatin1Char('(');
            const qsizetype p = s.indexOf(form);
            if (p >= 0)
                return Fail(err, TErrorCode::ComplexNotation, int(p), int(p + form.size()), expr);
        }
    }

    for (int i = 0; i < len; ++i) {
        const QChar c = s.at(i);
        if (c == QLatin1Char('!') || c == QLatin1Char('%'))
            return Fail(err, TErrorCode::OperatorNotInSet, i, i + 1, expr);
        if (!IsAllowedChar(c))
            return Fail(err, TErrorCode::ForbiddenCharacter, i, i + 1, expr);
    }

    if (IsOneOf(s.front(), "*/^"))
        return Fail(err, TErrorCode::LeadingOperator, 0, 1, expr);
    if (IsOperator(s.back()))
        return Fail(err, TErrorCode::TrailingOperator, len - 1, len, expr);
    if (IsDecimalSeparator(s.back()))
        return Fail(err, TErrorCode::TrailingSeparator, len - 1, len, expr);

    // Pairs of neighbours; c is the character at the 0-based index i.
    for (int i = 1; i < len; ++i) {
        const QChar p = s.at(i - 1);
        const QChar c = s.at(i);
        const bool angleSign = (c == QLatin1Char('+') || c == QLatin1Char('-')) && p == QLatin1Char('^') && i >= 2 &&
                               s.at(i - 2) == QLatin1Char('e');
        if (IsOperator(p) && IsOperator(c) && !angleSign)
            return Fail(err, TErrorCode::TwoOperators, i, i + 1, expr);
        if ((p == QLatin1Char('e') || p == unit) && (c == QLatin1Char('e') || c == unit))
            return Fail(err, TErrorCode::ComplexNotation, i, i + 1, expr);
        if (IsDecimalSeparator(p) && IsOneOf(c, "!%()*+-/^"))
            return Fail(err, TErrorCode::SeparatorWithoutDigit, i, i + 1, expr);
        if (IsOperator(p) && c == QLatin1Char(')'))
            return Fail(err, TErrorCode::OperatorBeforeClose, i, i + 1, expr);
        if (p == QLatin1Char('(') && IsOneOf(c, "*/^"))
            return Fail(err, TErrorCode::OperatorAfterOpen, i, i + 1, expr);
        if (p == QLatin1Char('$') && (IsOperator(c) || c == QLatin1Char('$') || IsDecimalSeparator(c)))
            return Fail(err, TErrorCode::MissingConstant, i - 1, i, expr);
        if ((p == QLatin1Char('(') || p == QLatin1Char(')')) && IsDecimalSeparator(c))
            return Fail(err, TErrorCode::DigitBeforeSeparator, i, i + 1, expr);
    }

    if (s.back() == QLatin1Char('$'))
        return Fail(err, TErrorCode::MissingConstant, len - 1, len, expr);
    const qsizetype empty = s.indexOf(QLatin1String("()"));
    if (empty >= 0)
        return Fail(err, TErrorCode::EmptyBrackets, int(empty), int(empty) + 2, expr);

    // A bracket fault stays unless a function name is at fault too.
    CheckBrackets(s, expr, err);

    // Function names: every one the set does not evaluate is refused (the
    // first in table order); the others ("abs") must be followed by their
    // argument.
    const QString t = AsciiLower(s) + QLatin1Char('+');
    const QList<int> first = FunctionOccurrences(t);
    for (int k = 0; k < FunctionCount; ++k) {
        const TFunctionInfo &function = FunctionTable[size_t(k)];
        const QStringView name = function.Name;
        if (!function.InComplexSet) {
            if (first[k] >= 0)
                return Fail(err, TErrorCode::FunctionNotInSet, first[k], first[k] + int(name.size()), expr);
            continue;
        }
        for (qsizetype p = first[k]; p >= 0; p = t.indexOf(name, p + 1)) {
            if (IsOneOf(t.at(p + name.size()), "!%)*+-/^")) {
                err.Param1 = name.toString();
                return Fail(err, TErrorCode::FunctionWithoutArgument, int(p), int(p + name.size()), expr);
            }
        }
    }
}

void MarkComplexNumbers(QString &expr, QChar unit) {
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
            // The sign of an exponent after a digit, as results are shown ("1E-20", "j5E-4").
            const bool exponentSign = (c == QLatin1Char('+') || c == QLatin1Char('-')) &&
                                      (before == QLatin1Char('E') || before == QLatin1Char('e')) && i - 2 >= start &&
                                      (IsAsciiDigit(expr.at(i - 2)) || IsOneOf(expr.at(i - 2), ",.")) && i + 1 < n &&
                                      IsAsciiDigit(expr.at(i + 1));
            const bool take = c == QLatin1Char(',') || c == QLatin1Char('.') || IsAsciiDigit(c) ||
                              (c == unit && empty) || (c == unit && IsOneOf(before, "+-^")) || exponentSign ||
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

TEngineResult EvaluateComplex(const QString &expr, const TEvaluationContext &context) {
    return TCompiledExpression::EvaluateText(expr, context, TCompiledExpression::TRoad::Complex);
}
