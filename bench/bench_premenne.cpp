// The "=" road of a text with many distinct variables, each with its row in
// the variables window: the rows looked up, the values checked and written
// into the text, the sum evaluated and shown. The same for references to
// user constants among many constants.
#include "uAppContext.h"
#include "uKalkulacka.h"
#include "uPremenne.h"

#include <benchmark/benchmark.h>

namespace {

void BM_EqualsWithManyVariables(benchmark::State &state) {
    SetDecSep(QLatin1Char(','));
    const int count = 3000;
    TPremenne variables;
    QStringList lines;
    QString text;
    for (int k = 1; k <= count; ++k) {
        const QString name = QStringLiteral("v") + QString::number(k);
        lines.append(name + QStringLiteral("=1"));
        text += (k > 1 ? QStringLiteral("+") : QString()) + name;
    }
    variables.SetLines(lines);
    TKalkulacka calculator(&variables);
    for (auto _ : state) {
        const TVysledokVypoctu r = calculator.Calculate(text);
        if (!r.Ok || r.Shown != QStringLiteral("3 000")) {
            state.SkipWithError("wrong result");
            break;
        }
        benchmark::DoNotOptimize(r);
    }
    state.counters["variables"] = double(count);
}

// 5,000 references to as many constants of a list of 10,000: each checked
// and then read in the evaluation.
void BM_EqualsWithManyConstants(benchmark::State &state) {
    SetDecSep(QLatin1Char(','));
    const int count = 10000, used = 5000;
    TConstantList constants;
    for (int k = 1; k <= count; ++k)
        constants.Items.append({QStringLiteral("$c") + QString::number(k), QStringLiteral("1")});
    QString text;
    for (int k = count - used + 1; k <= count; ++k) // the last ones: a search from the front walks far
        text += (text.isEmpty() ? QString() : QStringLiteral("+")) + QStringLiteral("$c") + QString::number(k);
    TKalkulacka calculator;
    calculator.Konstanty = &constants;
    for (auto _ : state) {
        const TVysledokVypoctu r = calculator.Calculate(text);
        if (!r.Ok || r.Shown != QStringLiteral("5 000")) {
            state.SkipWithError("wrong result");
            break;
        }
        benchmark::DoNotOptimize(r);
    }
    state.counters["constants"] = double(count);
    state.counters["references"] = double(used);
}

} // namespace

BENCHMARK(BM_EqualsWithManyVariables)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EqualsWithManyConstants)->Unit(benchmark::kMillisecond);
