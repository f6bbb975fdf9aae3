// What a user feels of the real evaluator: one "=" road (check, evaluate,
// format) for a short and a long expression, one graph sample of a compiled
// expression beside the same formula written in C++, and one graph redraw.
#include "Analyzator.h"
#include "PrevodySustav.h"
#include "uCisla.h"
#include "uKompilovanyVyraz.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

TEvaluationContext Context(TAngleUnit unit = TAngleUnit::Degrees) {
    TEvaluationContext context(QLatin1Char(','));
    context.AngleUnit = unit;
    return context;
}

// The "=" key: syntax check, evaluation, the result formatted for display.
void EqualsRoad(benchmark::State &state, const QString &typed) {
    const TEvaluationContext context = Context();
    for (auto _ : state) {
        TChyba err;
        CheckSyntax(typed, context, err);
        const TEngineResult r = EvaluateReal(typed, context);
        if (err.Failed() || !r.Ok()) {
            state.SkipWithError("evaluation failed");
            break;
        }
        QString shown;
        FormatNumber(10, 10, shown, r.Real, context.Separator());
        benchmark::DoNotOptimize(shown);
    }
}

const QString ShortExpression = QStringLiteral("2+3*sin(30)");

// 177 characters, five functions, brackets nested four deep.
const QString LongExpression =
    QStringLiteral("((12,5+sin(30)*3)^2-sqrt(144)/(4+2*(3-1)))*(ln(2,71828)+cos(60)*(1+2*(3+4*(5-6/(7+8)))))"
                   "/(abs(-3,5)+2^3-(1,25*(2-(3-(4-5)))))+(17,25-3*(2+4/(8-6))*(1,5+0,5))^2/(3+4*(5-(6-7)))-7");

void BM_EqualsShort(benchmark::State &state) { EqualsRoad(state, ShortExpression); }
void BM_EqualsLong(benchmark::State &state) {
    state.counters["chars"] = double(LongExpression.size());
    EqualsRoad(state, LongExpression);
}

// One graph sample: a compiled sin(x)*2,718281828^(-x/5) for a new x (the
// fast road, no rounding steps), and the same formula written in C++.
const QString SampleFormula = QStringLiteral("sin(x)*2,718281828^(-x/5)");

void BM_SampleCompiled(benchmark::State &state) {
    const TCompiledExpression f(SampleFormula, Context(TAngleUnit::Radians), {QStringLiteral("x")});
    long double x = 0.25L;
    for (auto _ : state) {
        long double y = 0;
        benchmark::DoNotOptimize(x);
        if (f.EvaluateFast({&x, 1}, y) != TErrorCode::None) {
            state.SkipWithError("sample failed");
            break;
        }
        benchmark::DoNotOptimize(y);
        x += 0.001L;
    }
}

void BM_SampleDirect(benchmark::State &state) {
    long double x = 0.25L;
    for (auto _ : state) {
        benchmark::DoNotOptimize(x);
        const long double y = sinl(x) * powl(2.718281828L, -x / 5);
        benchmark::DoNotOptimize(y);
        x += 0.001L;
    }
}

// The same sample with the rounding steps of EvaluateReal (the sums window).
void BM_SampleCompiledExact(benchmark::State &state) {
    const TCompiledExpression f(SampleFormula, Context(TAngleUnit::Radians), {QStringLiteral("x")});
    long double x = 0.25L;
    for (auto _ : state) {
        const TEngineResult r = f.EvaluateReal({&x, 1});
        benchmark::DoNotOptimize(r.Real);
        x += 0.001L;
    }
}

// One redraw of the graph: 124 samples (one per five pixels of the plot) of
// an expression compiled once.
void BM_GraphRedraw124(benchmark::State &state) {
    const TCompiledExpression f(QStringLiteral("sin(x)*x^2+3*cos(2*x)-x/7"), Context(), {QStringLiteral("x")});
    for (auto _ : state) {
        int failed = 0;
        for (int i = 0; i < 124; ++i) {
            const long double x = -31.0L + i * 0.5L;
            long double y = 0;
            failed += f.EvaluateFast({&x, 1}, y) != TErrorCode::None;
            benchmark::DoNotOptimize(y);
        }
        if (failed != 0) {
            state.SkipWithError("a sample failed");
            break;
        }
    }
}

// The texts that took a second before: a long sum of a variable, deep
// brackets and deeply nested functions, each checked and evaluated.
void LongText(benchmark::State &state, const QString &text) {
    TVariableList variables({QStringLiteral("x=1")});
    TEvaluationContext context = Context();
    context.Variables = &variables;
    for (auto _ : state) {
        TChyba err;
        CheckSyntax(text, context, err);
        QStringList names;
        CollectVariableNames(text, context, names, QString());
        const TEngineResult r = EvaluateReal(text, context);
        if (err.Failed() || !r.Ok()) {
            state.SkipWithError("evaluation failed");
            break;
        }
        benchmark::DoNotOptimize(r.Real);
    }
}

void BM_LongSumOfX(benchmark::State &state) {
    QString text = QStringLiteral("x");
    while (text.size() < 30000)
        text += QStringLiteral("+x");
    LongText(state, text);
}

void BM_DeepBrackets(benchmark::State &state) {
    LongText(state, QString(32500, QLatin1Char('(')) + QStringLiteral("1") + QString(32500, QLatin1Char(')')));
}

void BM_DeepFunctions(benchmark::State &state) {
    QString text;
    for (int i = 0; i < 13000; ++i)
        text += QStringLiteral("sin(");
    text += QStringLiteral("1") + QString(13000, QLatin1Char(')'));
    LongText(state, text);
}

} // namespace

BENCHMARK(BM_EqualsShort)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_EqualsLong)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_SampleCompiled)->Unit(benchmark::kNanosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_SampleDirect)->Unit(benchmark::kNanosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_SampleCompiledExact)->Unit(benchmark::kNanosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_GraphRedraw124)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_LongSumOfX)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeepBrackets)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeepFunctions)->Unit(benchmark::kMillisecond);
