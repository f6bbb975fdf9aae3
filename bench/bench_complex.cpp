// One "=" road in the complex number set: check, evaluate, read the result
// back and write it in both forms.
#include "KomplexnyAnalyzator.h"

#include <benchmark/benchmark.h>

static void BM_ComplexRoad(benchmark::State &state) {
    Engine().Reset();
    Engine().NumberSet = 1;
    Engine().DecimalSeparator = QLatin1Char(',');
    const QString input = QStringLiteral("(3+j4)*(1-j2)/(2+j)");
    for (auto _ : state) {
        TChyba err;
        CheckComplexSyntax(input, err, Engine().FunctionNames);
        if (err.Code == 0)
            CheckDollarReferences(input, err);
        QString r;
        Engine().ComplexFirstCall = true;
        if (err.Code == 0)
            EvaluateComplex(input, err, r);
        TComplexNumber z;
        ParseComplex(r, z);
        QString algebraic, exponential;
        ComplexToToken(z, algebraic);
        z.Polar = true;
        ComplexToToken(z, exponential);
        benchmark::DoNotOptimize(algebraic);
        benchmark::DoNotOptimize(exponential);
        if (err.Code != 0) {
            state.SkipWithError("the expression failed");
            break;
        }
    }
}
BENCHMARK(BM_ComplexRoad)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
