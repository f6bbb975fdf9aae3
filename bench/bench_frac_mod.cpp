// One "=" road in fractions and in integers modulo 97, and a fraction sum
// of 3,201 terms.
#include "Analyzator.h"
#include "ModuloAnalyzator.h"
#include "PrevodySustav.h"
#include "ZlomkovyAnalyzator.h"
#include "Zlomky.h"

#include <benchmark/benchmark.h>

static void BM_FractionRoad(benchmark::State &state) {
    TEvaluationContext context(QLatin1Char(','));
    const QString input = QStringLiteral("1/3+1/6*(2/5)^2");
    for (auto _ : state) {
        TChyba err;
        CheckSyntax(input, context, err);
        QString shown;
        if (!err.Failed() && UsesNoFunction(input)) {
            const TEngineResult r = EvaluateFraction(input, context);
            if (r.Ok())
                FractionToDisplay(r.Fraction, 10, shown, context.Separator());
        }
        if (shown != QLatin1String("9 / 25"))
            state.SkipWithError("wrong result");
        benchmark::DoNotOptimize(shown);
    }
}
BENCHMARK(BM_FractionRoad);

static void BM_FractionSum3201(benchmark::State &state) {
    TEvaluationContext context(QLatin1Char(','));
    QString input = QStringLiteral("1/3");
    for (int i = 1; i < 3201; ++i)
        input += i % 2 ? QStringLiteral("+1/6") : QStringLiteral("+1/3");
    for (auto _ : state) {
        const TEngineResult r = EvaluateFraction(input, context);
        if (!r.Ok()) {
            state.SkipWithError("the sum failed");
            break;
        }
        benchmark::DoNotOptimize(r.Fraction);
    }
}
BENCHMARK(BM_FractionSum3201)->Unit(benchmark::kMillisecond);

static void BM_ModuloRoad(benchmark::State &state) {
    TEvaluationContext context(QLatin1Char(','));
    context.NumberSet = TNumberSet::Modulo;
    context.Modulus = 97;
    const QString input = QStringLiteral("(12+7*5)/(3-45)*2+96");
    for (auto _ : state) {
        TChyba err;
        CheckModuloSyntax(input, context, err);
        QString shown;
        if (!err.Failed()) {
            const TEngineResult r = EvaluateModulo(input, context);
            if (r.Ok())
                FormatNumber(0, 10, shown, r.Real, context.Separator());
        }
        if (shown.isEmpty())
            state.SkipWithError("evaluation failed");
        benchmark::DoNotOptimize(shown);
    }
}
BENCHMARK(BM_ModuloRoad);
