// The "=" road of a text with many distinct variables, each with its row in
// the variables window: the rows looked up, the values checked and written
// into the text, the sum evaluated and shown.
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

} // namespace

BENCHMARK(BM_EqualsWithManyVariables)->Unit(benchmark::kMillisecond);
