// The complex number set: one "=" road (check, evaluate, read the result in
// both forms) and a product of 1,000 factors.
#include "KomplexnyAnalyzator.h"

#include <benchmark/benchmark.h>

namespace {

TEvaluationContext Context() {
    TEvaluationContext context(QLatin1Char(','));
    context.NumberSet = TNumberSet::Complex;
    return context;
}

} // namespace

static void BM_ComplexRoad(benchmark::State &state) {
    const TEvaluationContext context = Context();
    const QString input = QStringLiteral("(3+j4)*(1-j2)/(2+j)");
    for (auto _ : state) {
        TChyba err;
        CheckComplexSyntax(input, context, err);
        if (!err.Failed())
            CheckDollarReferences(input, context, err);
        const TEngineResult r = EvaluateComplex(input, context);
        TComplexNumber z = r.Complex;
        QString algebraic, exponential;
        ComplexToToken(z, algebraic, context.Separator());
        z.Polar = true;
        ComplexToToken(z, exponential, context.Separator());
        benchmark::DoNotOptimize(algebraic);
        benchmark::DoNotOptimize(exponential);
        if (err.Failed() || !r.Ok()) {
            state.SkipWithError("the expression failed");
            break;
        }
    }
}
BENCHMARK(BM_ComplexRoad)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

static void BM_ComplexProduct1000(benchmark::State &state) {
    const TEvaluationContext context = Context();
    QString input = QStringLiteral("(1+j0,001)");
    for (int i = 1; i < 1000; ++i)
        input += QStringLiteral("*(1+j0,001)");
    for (auto _ : state) {
        const TEngineResult r = EvaluateComplex(input, context);
        if (!r.Ok()) {
            state.SkipWithError("the product failed");
            break;
        }
        benchmark::DoNotOptimize(r.Complex);
    }
}
BENCHMARK(BM_ComplexProduct1000)->Unit(benchmark::kMicrosecond);
