// The index expression over the engine's compiled expressions: the text is
// compiled once with the index as its free name and each index runs the
// compiled program.
#include "uIndexovanyVyraz.h"

#include "uKompilovanyVyraz.h"

namespace {

// Sums and products are real: the main window's context may name another
// set when it was switched while the window stayed open.
TEvaluationContext RealSet(TEvaluationContext context) {
    context.NumberSet = TNumberSet::Real;
    context.Fractions = false;
    return context;
}

class TKompilovanyIndexovanyVyraz final : public TIndexovanyVyraz {
public:
    TKompilovanyIndexovanyVyraz(const QString &expression, const QString &indexName, const TEvaluationContext &context)
        : m_expression(expression, RealSet(context), QStringList{indexName}) {}

    bool Evaluate(qint64 index, long double &value, TChyba &err) override {
        const long double x = static_cast<long double>(index);
        const TEngineResult r = m_expression.EvaluateReal({&x, 1}, TCompiledExpression::TText::ValueOnly);
        if (!r.Ok()) {
            err = r.Error;
            return false;
        }
        value = r.Real;
        return true;
    }

private:
    const TCompiledExpression m_expression;
};

} // namespace

std::unique_ptr<TIndexovanyVyraz> PripravIndexovanyVyraz(const QString &expression, const QString &indexName,
                                                         const TEvaluationContext &context) {
    return std::make_unique<TKompilovanyIndexovanyVyraz>(expression, indexName, context);
}
