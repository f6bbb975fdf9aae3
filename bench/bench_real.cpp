// What a user feels of the real evaluator: one "=" road (check, evaluate,
// format) for a short and a long expression, and one graph redraw of 124
// samples of a prepared expression in x.
#include "Analyzator.h"
#include "PrevodySustav.h"
#include "uCisla.h"

#include <benchmark/benchmark.h>

namespace {

void SetUpEngine() {
    Engine().Reset();
    Engine().DecimalSeparator = QLatin1Char(',');
    Engine().AngleUnit = 0;
}

// The "=" key: syntax check, evaluation, the result formatted for display.
void EqualsRoad(benchmark::State &state, const QString &typed) {
    SetUpEngine();
    for (auto _ : state) {
        TChyba err;
        CheckSyntax(typed, err, Engine().FunctionNames);
        Engine().RealExpressionPrepared = false;
        QString r;
        EvaluateReal(typed, err, Engine().FunctionNames, r);
        long double value = 0;
        if (err.Code != 0 || !TryStrToFloat(r.mid(1, r.size() - 2), value)) {
            state.SkipWithError("evaluation failed");
            break;
        }
        QString shown;
        FormatNumber(10, 10, shown, value);
        benchmark::DoNotOptimize(shown);
    }
}

const QString ShortExpression = QStringLiteral("2+3*sin(30)");

// About 200 characters, five functions, brackets nested four deep.
const QString LongExpression = QStringLiteral(
    "((12,5+sin(30)*3)^2-sqrt(144)/(4+2*(3-1)))*(ln(2,71828)+cos(60)*(1+2*(3+4*(5-6/(7+8)))))"
    "/(abs(-3,5)+2^3-(1,25*(2-(3-(4-5)))))+(17,25-3*(2+4/(8-6))*(1,5+0,5))^2/(3+4*(5-(6-7)))-7");

void BM_EqualsShort(benchmark::State &state) { EqualsRoad(state, ShortExpression); }
void BM_EqualsLong(benchmark::State &state) {
    state.counters["chars"] = double(LongExpression.size());
    EqualsRoad(state, LongExpression);
}

// One redraw of the graph: 124 samples (one per five pixels of the plot) of
// an expression prepared once.
void BM_GraphRedraw124(benchmark::State &state) {
    SetUpEngine();
    QString prepared = QStringLiteral("sin(x)*x^2+3*cos(2*x)-x/7");
    PrepareExpressionWithVariable(prepared, QStringLiteral("x"));
    QStringList values; // the sample points of the x axis, as the graph writes them
    for (int i = 0; i < 124; ++i)
        values += FormatFloat(QStringLiteral("0.##############################E-0"), -31.0L + i * 0.5L);
    for (auto _ : state) {
        int failed = 0;
        for (const QString &value : values) {
            QString sample = prepared;
            ReplaceIdentifier(sample, QStringLiteral("x"), value);
            Engine().EvaluationOk = true;
            Engine().RealExpressionPrepared = true;
            TChyba err;
            QString r;
            EvaluateReal(sample, err, Engine().FunctionNames, r);
            failed += err.Code != 0;
            benchmark::DoNotOptimize(r);
        }
        if (failed != 0) {
            state.SkipWithError("a sample failed");
            break;
        }
    }
}

} // namespace

BENCHMARK(BM_EqualsShort)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_EqualsLong)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_GraphRedraw124)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
