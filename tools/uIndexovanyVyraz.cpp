#include "uIndexovanyVyraz.h"

#include "Analyzator.h"
#include "uCisla.h"

namespace {

// The real evaluator's text road: the expression is prepared once with the
// index left as a token "[name]", and each index writes its value into a
// copy of that text, which the evaluator takes without preparing it again.
class TTextovyIndexovanyVyraz : public TIndexovanyVyraz {
public:
    TTextovyIndexovanyVyraz(const QString &expression, const QString &indexName)
        : m_prepared(expression), m_name(indexName) {
        PrepareExpressionWithVariable(m_prepared, m_name);
    }

    bool Evaluate(qint64 index, long double &value, TChyba &err) override {
        QString sample = m_prepared;
        ReplaceIdentifier(sample, m_name, QString::number(index));
        // The evaluator's flags as a prepared text needs them, and as they
        // were afterwards.
        TEngineContext &engine = Engine();
        const bool wasOk = engine.EvaluationOk;
        const bool wasPrepared = engine.RealExpressionPrepared;
        engine.EvaluationOk = true;
        engine.RealExpressionPrepared = true;
        err = TChyba();
        QString r;
        try {
            EvaluateReal(sample, err, engine.FunctionNames, r);
        } catch (...) {
            engine.EvaluationOk = wasOk;
            engine.RealExpressionPrepared = wasPrepared;
            throw;
        }
        engine.EvaluationOk = wasOk;
        engine.RealExpressionPrepared = wasPrepared;
        if (err.Code != 0)
            return false;
        r.remove(QLatin1Char(' '));
        if (r.startsWith(QLatin1Char('[')) && r.endsWith(QLatin1Char(']')))
            r = r.mid(1, r.size() - 2);
        if (!TryStrToFloat(r, value)) {
            err.Code = 1; // nothing that reads as a number came out
            return false;
        }
        return true;
    }

private:
    QString m_prepared;
    QString m_name;
};

} // namespace

std::unique_ptr<TIndexovanyVyraz> PripravIndexovanyVyraz(const QString &expression, const QString &indexName) {
    return std::make_unique<TTextovyIndexovanyVyraz>(expression, indexName);
}
