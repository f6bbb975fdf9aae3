// What a user feels of the function graph: one sample of a function through
// the graph's sampler, side by side with the same formula written in C++ with
// long double; and one full redraw (main pass, extra pass, painting into the
// images) of the window's default plot and of a maximised 1920 x 1080 plot
// zoomed out to the limit.
#include "Analyzator.h"
#include "uKompilovanyVyraz.h"
#include "BenchApp.h"
#include "uAppContext.h"
#include "uGrafFunkcie.h"
#include "uVzorkovanie.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>

#include <cmath>

namespace {

// Radians, as the C++ formulas, and "," as the separator.
TEvaluationContext GraphContext() {
    BenchApp();
    SetDecSep(QLatin1Char(','));
    TEvaluationContext context(QLatin1Char(','));
    context.AngleUnit = TAngleUnit::Radians;
    return context;
}

const QString DampedSine = QStringLiteral("sin(x)*2,718281828^(-x/5)");
const QString TenFunctions =
    QStringLiteral("sin(x)+cos(x)+tg(x/3)+sqrt(abs(x))+ln(x^2+1)+arctg(x)+sinh(x/10)+cosh(x/10)+log(x^2+2)");

long double DampedSineInCpp(long double x) { return std::sin(x) * std::pow(2.718281828L, -x / 5); }

long double TenFunctionsInCpp(long double x) {
    return std::sin(x) + std::cos(x) + std::tan(x / 3) + std::sqrt(std::fabs(x)) + std::log(x * x + 1) + std::atan(x) +
           std::sinh(x / 10) + std::cosh(x / 10) + std::log10(x * x + 2);
}

// The xs of one redraw of the default plot: one every fifth pixel.
constexpr int SampleCount = 124;
long double SampleX(int i) { return -7.6625L + i * 0.125L; }

void SampleThroughSampler(benchmark::State &state, const QString &text) {
    const std::unique_ptr<TFunctionSampler> sampler = CompileFunction(text, QStringLiteral("x"), GraphContext());
    int i = 0;
    for (auto _ : state) {
        long double y = 0;
        if (sampler->Sample(SampleX(i), y) != 0) {
            state.SkipWithError("a sample failed");
            break;
        }
        benchmark::DoNotOptimize(y);
        i = i + 1 == SampleCount ? 0 : i + 1;
    }
}

template <long double (*F)(long double)>
void SampleInCpp(benchmark::State &state) {
    int i = 0;
    for (auto _ : state) {
        long double x = SampleX(i);
        benchmark::DoNotOptimize(x);
        long double y = F(x);
        benchmark::DoNotOptimize(y);
        i = i + 1 == SampleCount ? 0 : i + 1;
    }
}

void BM_GraphSampleDampedSine(benchmark::State &state) { SampleThroughSampler(state, DampedSine); }
void BM_GraphSampleDampedSineCpp(benchmark::State &state) { SampleInCpp<DampedSineInCpp>(state); }
void BM_GraphSampleTenFunctions(benchmark::State &state) { SampleThroughSampler(state, TenFunctions); }
void BM_GraphSampleTenFunctionsCpp(benchmark::State &state) { SampleInCpp<TenFunctionsInCpp>(state); }

// One Draw of a plot of the given size, zoomed out `zoomOuts` times: with
// new samples, or (resample false) only the painting, as a vertical move.
void Redraw(benchmark::State &state, const QString &text, int width, int height, int zoomOuts, bool resample = true) {
    const TEvaluationContext context = GraphContext();
    QImage plot(width, height, QImage::Format_RGB32);
    QImage vRuler(26, height, QImage::Format_RGB32);
    QImage hRuler(width - 4, 21, QImage::Format_RGB32);
    TGrafFunkcie graph(&plot, width, height, &vRuler, &hRuler,
                       [&context](const QString &t) { return CompileFunction(t, QStringLiteral("x"), context); });
    graph.SetExpression(text);
    for (int i = 0; i < zoomOuts; ++i)
        graph.ZoomOut(true, true);
    graph.Draw(true);
    for (auto _ : state) {
        graph.Draw(resample);
        benchmark::DoNotOptimize(plot.constBits());
    }
    int defined = 0;
    for (const TBod &p : graph.Points())
        defined += p.Defined;
    state.counters["samples"] = graph.Points().Count();
    state.counters["defined"] = defined;
}

void BM_GraphRedrawDefault(benchmark::State &state) { Redraw(state, DampedSine, 615, 313, 0); }
void BM_GraphRedrawDefaultPoles(benchmark::State &state) { Redraw(state, QStringLiteral("1/x"), 615, 313, 0); }
void BM_GraphRedrawMaximisedZoomedOut(benchmark::State &state) { Redraw(state, DampedSine, 1920, 1080, 6); }
void BM_GraphRedrawMaximisedZoomedOutPoles(benchmark::State &state) {
    Redraw(state, QStringLiteral("1/x"), 1920, 1080, 6);
}
void BM_GraphRepaintMaximisedZoomedOutPoles(benchmark::State &state) {
    Redraw(state, QStringLiteral("1/x"), 1920, 1080, 6, false);
}

} // namespace

BENCHMARK(BM_GraphSampleDampedSine)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_GraphSampleDampedSineCpp)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_GraphSampleTenFunctions)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_GraphSampleTenFunctionsCpp)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_GraphRedrawDefault)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_GraphRedrawDefaultPoles)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_GraphRedrawMaximisedZoomedOut)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_GraphRedrawMaximisedZoomedOutPoles)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_GraphRepaintMaximisedZoomedOutPoles)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
