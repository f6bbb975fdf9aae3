#include "ZlomkovyAnalyzator.h"

bool UsesNoFunction(const QString &expr) {
    const QList<int> first = FunctionOccurrences(AsciiLower(expr));
    for (int position : first)
        if (position >= 0)
            return false;
    return true;
}

TEngineResult EvaluateFraction(const QString &expr, const TEvaluationContext &context) {
    if (expr.size() > MaxExpressionLength) {
        TEngineResult out;
        out.Error.Set(TErrorCode::UnknownFailure);
        return out;
    }
    TEvaluationContext real = context;
    real.NumberSet = TNumberSet::Real;
    real.Fractions = true;
    return TCompiledExpression::EvaluateText(expr, real, TCompiledExpression::TRoad::Fraction);
}
