#include "ZlomkovyAnalyzator.h"

bool UsesNoFunction(const QString &expr) {
    // Read without the blanks, as the evaluators read it ("r nd(2)" is rnd).
    const QList<int> first = FunctionOccurrences(AsciiLower(StripBlanks(expr, TNumberSet::Real)));
    for (int position : first)
        if (position >= 0)
            return false;
    return true;
}

TEngineResult EvaluateFraction(const QString &expr, const TEvaluationContext &context) {
    return TCompiledExpression::EvaluateText(expr, context, TCompiledExpression::TRoad::Fraction);
}
