// The sampler over the engine's compiled expressions: the text is compiled
// once with x as its free name and each sample runs the compiled program.
#include "uVzorkovanie.h"

#include "uAppContext.h"
#include "uKompilovanyVyraz.h"

#include <cmath>
#include <optional>

namespace {

class TCompiledSampler final : public TFunctionSampler {
public:
    TCompiledSampler(const QString &text, const QString &varName, TEvaluationContext context) {
        // A graph is real, whatever set the main window was switched to
        // while the graph window stayed open.
        context.NumberSet = TNumberSet::Real;
        context.Fractions = false;
        try {
            m_expression.emplace(text, context, QStringList{varName});
        } catch (const EEngineInvalidOp &) {
            m_failure = 20;
        } catch (...) {
            m_failure = 29;
        }
    }

    quint8 Sample(long double x, long double &y) override {
        if (m_failure != 0)
            return m_failure;
        long double v = 0;
        TErrorCode code;
        try {
            code = m_expression->EvaluateFast({&x, 1}, v);
        } catch (const EEngineInvalidOp &) {
            return 20;
        } catch (...) {
            return 29;
        }
        if (code != TErrorCode::None)
            return quint8(code);
        if (!std::isfinite(v))
            return 20; // an overflow is a gap, never a value
        y = v;
        return 0;
    }

private:
    std::optional<TCompiledExpression> m_expression;
    quint8 m_failure = 0;
};

} // namespace

std::unique_ptr<TFunctionSampler> CompileFunction(const QString &text, const QString &varName,
                                                  const TEvaluationContext &context) {
    return std::make_unique<TCompiledSampler>(text, varName, context);
}

std::unique_ptr<TFunctionSampler> CompileFunction(const QString &text, const QString &varName) {
    return CompileFunction(text, varName, TEvaluationContext(DecSep()));
}
