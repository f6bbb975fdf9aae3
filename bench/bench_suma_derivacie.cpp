// What a user feels of the sum and derivative windows: one sum of 1/n^2
// over 2,999 indices (the most the sum window computes), from setting the
// expression to the result; and one 10th derivative of sin(x)*cos(x) in the
// derivative window, from SetFunction to the shown text; and the implicit
// multiplication signs of a 30,000-character text (one name, digits only,
// and "2(x)" over and over, which takes two signs every four characters).
#include "BenchApp.h"
#include "fDerivacie.h"
#include "uAppContext.h"
#include "uDerivacie.h"
#include "uCyklickeVypocty.h"
#include "uOvladace.h"

#include <QLineEdit>
#include <QPushButton>
#include <benchmark/benchmark.h>

namespace {

void BM_SumOfInverseSquares(benchmark::State &state) {
    SetDecSep(QLatin1Char(','));
    const qint64 upper = state.range(0);
    TCyklickeVypocty model;
    long double sum = 0;
    for (auto _ : state) {
        model.SetVariable(QStringLiteral("n"));
        model.SetExpression(QStringLiteral("1/n^2"));
        const TCyklickeVypocty::TSucet r = model.Compute(1, upper, false);
        sum = r.Value;
        benchmark::DoNotOptimize(sum);
    }
    state.counters["indices"] = double(upper);
    state.counters["ns_per_index"] =
        benchmark::Counter(double(upper), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_DerivativeWindowTenthOrder(benchmark::State &state) {
    BenchApp();
    SetDecSep(QLatin1Char(','));
    TderivacieFrm window(nullptr);
    window.findChild<TUpDown *>(QStringLiteral("stupenDerivacieUpd"))->SetPosition(10);
    auto *calculate = window.findChild<QPushButton *>(QStringLiteral("vypocetBtn"));
    auto *result = window.findChild<QLineEdit *>(QStringLiteral("vysledokEdt"));
    qsizetype length = 0;
    for (auto _ : state) {
        window.SetFunction(QStringLiteral("sin(x)*cos(x)"));
        calculate->click();
        length = result->text().size();
        benchmark::DoNotOptimize(length);
    }
    state.counters["length"] = double(length);
}

void BM_MultiplicationSigns(benchmark::State &state, const QString &unit) {
    QString text;
    while (text.size() < 30000)
        text += unit;
    qsizetype length = 0;
    for (auto _ : state) {
        QString t = text;
        InsertMultiplicationSigns(t);
        length = t.size();
        benchmark::DoNotOptimize(length);
    }
    state.counters["chars"] = double(text.size());
    state.counters["signs"] = double(length - text.size());
}

} // namespace

BENCHMARK(BM_SumOfInverseSquares)->Arg(2999)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DerivativeWindowTenthOrder)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MultiplicationSigns, OneName, QStringLiteral("x"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MultiplicationSigns, Digits, QStringLiteral("7"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MultiplicationSigns, GroupsTimesNumbers, QStringLiteral("2(x)"))->Unit(benchmark::kMillisecond);
