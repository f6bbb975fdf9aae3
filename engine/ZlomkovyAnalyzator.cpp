#include "ZlomkovyAnalyzator.h"

bool UsesNoFunction(const QString &expr) {
    const QList<int> first = FunctionOccurrences(AsciiLower(expr));
    for (int position : first)
        if (position >= 0)
            return false;
    return true;
}

TEngineResult EvaluateFraction(const QString &expr, const TEvaluationContext &context) {
    return TCompiledExpression::EvaluateText(expr, context, TCompiledExpression::TRoad::Fraction);
}
