#include "ModuloAnalyzator.h"

namespace {

const TCharSet ModuloOperators = QStringLiteral("*+-/");
// Characters the check lets through: brackets, the four operators, digits
// and letters (variables and, refused later, function names).
const TCharSet ModuloAllowed = QStringLiteral("()*+-/0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
const TCharSet ModuloRefusedOperators = QStringLiteral("!%^");

void Fail(TChyba &err, const QString &typed, TErrorCode code, int start, int end) {
    err.Code = code;
    err.SpanStart = start;
    err.SpanEnd = end;
    AdjustSpanToTyped(typed, err);
}

} // namespace

void CheckModuloSyntax(const QString &expr, const TEvaluationContext &, TChyba &err) {
    err.Code = TErrorCode::None;
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
            return Fail(err, expr, TErrorCode::OperatorNotInSet, i - 1, i);
        if (!InSet(c, ModuloAllowed))
            return Fail(err, expr, TErrorCode::ForbiddenCharacter, i - 1, i);
    }
    const QChar first = s.at(0);
    if (first == QLatin1Char('*') || first == QLatin1Char('/'))
        return Fail(err, expr, TErrorCode::LeadingOperator, 0, 1);
    if (InSet(s.at(len - 1), ModuloOperators))
        return Fail(err, expr, TErrorCode::TrailingOperator, len - 1, len);
    for (int i = 2; i <= len; ++i) {
        const QChar prev = s.at(i - 2);
        const QChar cur = s.at(i - 1);
        if (InSet(prev, ModuloOperators) && InSet(cur, ModuloOperators))
            return Fail(err, expr, TErrorCode::TwoOperators, i - 1, i);
        if (InSet(prev, ModuloOperators) && cur == QLatin1Char(')'))
            return Fail(err, expr, TErrorCode::OperatorBeforeClose, i - 1, i);
        if (prev == QLatin1Char('(') && (cur == QLatin1Char('*') || cur == QLatin1Char('/')))
            return Fail(err, expr, TErrorCode::OperatorAfterOpen, i - 1, i);
    }
    const int empty = int(s.indexOf(QLatin1String("()")));
    if (empty >= 0)
        return Fail(err, expr, TErrorCode::EmptyBrackets, empty, empty + 2);

    CheckBrackets(s, expr, err);

    // A function name is reported even over a bracket fault.
    const QString lower = AsciiLower(s);
    const QList<int> found = FunctionOccurrences(lower);
    for (int k = 0; k < found.size(); ++k)
        if (found[k] >= 0)
            return Fail(err, expr, TErrorCode::FunctionNotInSet, found[k],
                        found[k] + int(FunctionTable[size_t(k)].Name.size()));
}

TEngineResult EvaluateModulo(const QString &expr, const TEvaluationContext &context) {
    return TCompiledExpression::EvaluateText(expr, context, TCompiledExpression::TRoad::Modulo);
}
