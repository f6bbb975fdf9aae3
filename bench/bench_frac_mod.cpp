// One "=" road in fractions and in integers modulo 97: the check, the
// evaluation and the shown text.
#include "Analyzator.h"
#include "ModuloAnalyzator.h"
#include "PrevodySustav.h"
#include "ZlomkovyAnalyzator.h"
#include "Zlomky.h"
#include "uCisla.h"

#include <benchmark/benchmark.h>

static void BM_FractionRoad(benchmark::State &state) {
    Engine().Reset();
    Engine().DecimalSeparator = QLatin1Char(',');
    const QString input = QStringLiteral("1/3+1/6*(2/5)^2");
    const QStringList &names = Engine().FunctionNames;
    for (auto _ : state) {
        TChyba err;
        CheckSyntax(input, err, names);
        QString r, shown;
        if (err.Code == 0 && UsesNoFunction(input, names)) {
            Engine().FractionFirstCall = true;
            EvaluateFraction(input, err, r);
            FractionTextToDisplay(r, 10, shown);
        }
        if (shown != QLatin1String("9 / 25"))
            state.SkipWithError("wrong result");
        benchmark::DoNotOptimize(shown);
    }
}
BENCHMARK(BM_FractionRoad);

static void BM_ModuloRoad(benchmark::State &state) {
    Engine().Reset();
    Engine().NumberSet = 2;
    Engine().Modulus = 97;
    const QString input = QStringLiteral("(12+7*5)/(3-45)*2+96");
    const QStringList &names = Engine().FunctionNames;
    for (auto _ : state) {
        TChyba err;
        CheckModuloSyntax(input, err, names);
        QString r, shown;
        if (err.Code == 0) {
            Engine().ModuloFirstCall = true;
            EvaluateModulo(input, err, r);
            FormatNumber(0, 10, shown, StrToFloat(r));
        }
        if (err.Code != 0 || shown.isEmpty())
            state.SkipWithError("evaluation failed");
        benchmark::DoNotOptimize(shown);
    }
}
BENCHMARK(BM_ModuloRoad);
