// Symbolic derivatives of higher order, as the derivative window takes them.
#include "uVyraz.h"

#include <benchmark/benchmark.h>

namespace {

// The derivative of the given order of text in x. The counters give the
// length of the result, or capped = 1 when the text outgrew the engine's
// 65535 characters on the way (the window then shows its error text).
void DeriveOrder(benchmark::State &state, const char *text) {
    const int order = int(state.range(0));
    TVyraz work;
    qsizetype length = 0;
    bool capped = false;
    for (auto _ : state) {
        QString t = QString::fromLatin1(text);
        try {
            DeriveNTimes(work, t, QStringLiteral("x"), order, QLatin1Char('.'));
            length = t.size();
        } catch (const EEngineRangeError &) {
            capped = true;
        }
        benchmark::DoNotOptimize(t);
    }
    state.counters["length"] = double(length);
    state.counters["capped"] = capped ? 1 : 0;
}

void BM_DerivativeSinTimesCos(benchmark::State &state) { DeriveOrder(state, "sin(x)*cos(x)"); }
void BM_DerivativeCubeTimesLn(benchmark::State &state) { DeriveOrder(state, "x^3*ln(x)"); }

} // namespace

BENCHMARK(BM_DerivativeSinTimesCos)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DerivativeCubeTimesLn)->Arg(6)->Arg(10)->Unit(benchmark::kMillisecond);
