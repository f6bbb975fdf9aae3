#include "uVzorkovanie.h"

#include "Analyzator.h"
#include "uCisla.h"

#include <cmath>

namespace {

// The picture in which a value of the variable is written into the text:
// one integer digit, up to 30 decimals, an exponent signed only when
// negative; the evaluator's own picture, so it reads back what is written.
const QString VariablePicture = QStringLiteral("0.##############################E-0");

// Runs the real evaluator on the prepared text with the variable's token
// replaced by the value, as the sum tool and the "=" key do for their texts.
class TTextSampler final : public TFunctionSampler {
public:
    TTextSampler(const QString &text, const QString &varName) : m_varName(varName) {
        try {
            m_prepared = text;
            PrepareExpressionWithVariable(m_prepared, varName);
        } catch (const EEngineInvalidOp &) {
            m_failure = 20;
        } catch (...) {
            m_failure = 29;
        }
    }

    quint8 Sample(long double x, long double &y) override {
        if (m_failure != 0)
            return m_failure;
        TEngineContext &engine = Engine();
        const bool wasOk = engine.EvaluationOk;
        const bool wasPrepared = engine.RealExpressionPrepared;
        engine.EvaluationOk = true;
        engine.RealExpressionPrepared = true;
        quint8 code = 0;
        try {
            QString text = m_prepared;
            ReplaceIdentifier(text, m_varName, FormatFloat(VariablePicture, x));
            TChyba err;
            QString r;
            EvaluateReal(text, err, engine.FunctionNames, r);
            code = err.Code;
            if (code == 0) {
                Delete(r, Pos(QStringLiteral("["), r), 1);
                Delete(r, Pos(QStringLiteral("]"), r), 1);
                long double v = 0;
                if (!TryStrToFloat(r, v))
                    code = 1;
                else if (!std::isfinite(v))
                    code = 20;
                else
                    y = v;
            }
        } catch (const EEngineInvalidOp &) {
            code = 20;
        } catch (...) {
            code = 29;
        }
        engine.EvaluationOk = wasOk;
        engine.RealExpressionPrepared = wasPrepared;
        return code;
    }

private:
    QString m_varName;
    QString m_prepared;
    quint8 m_failure = 0;
};

} // namespace

std::unique_ptr<TFunctionSampler> CompileFunction(const QString &text, const QString &varName) {
    return std::make_unique<TTextSampler>(text, varName);
}
