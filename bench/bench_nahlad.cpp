// The expression preview as each request for it costs: the tree built from
// a 300-character formula with fractions, roots and nested brackets,
// measured and painted on an image; and each of the three steps alone.
#include "BenchApp.h"
#include "uGrafickyVyraz.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

QString Formula() {
    const QString part = QStringLiteral("(1+x)/(2-x^2)+((a+b)^(1/2)-c)/(x^2+1)-sin(x/(1+x^(1/3)))*((y-1)/(y+1))^2+");
    QString s;
    while (s.size() + part.size() < 300)
        s += part;
    // The last term is a number as long as the rest needs.
    return s + QString(300 - s.size(), QLatin1Char('7'));
}

struct TPreview {
    QString Text = Formula();
    QImage Image{2000, 200, QImage::Format_ARGB32_Premultiplied};
};

} // namespace

static void BM_PreviewParseMeasureDraw(benchmark::State &state) {
    BenchApp();
    TPreview p;
    for (auto _ : state) {
        TGrafickyVyraz tree(p.Text, nullptr, 5, 5, 16);
        QPainter painter(&p.Image);
        painter.setRenderHint(QPainter::Antialiasing);
        TPlatno canvas(painter);
        tree.Measure(canvas);
        painter.fillRect(0, 0, tree.GetWidth() + 10, tree.GetHeight() + 10, Qt::white);
        tree.Draw(canvas);
    }
    state.counters["chars"] = double(p.Text.size());
}
BENCHMARK(BM_PreviewParseMeasureDraw)->Unit(benchmark::kMicrosecond);

static void BM_PreviewParse(benchmark::State &state) {
    TPreview p;
    for (auto _ : state) {
        TGrafickyVyraz tree(p.Text, nullptr, 5, 5, 16);
        benchmark::DoNotOptimize(tree.Kind);
    }
}
BENCHMARK(BM_PreviewParse)->Unit(benchmark::kMicrosecond);

static void BM_PreviewMeasure(benchmark::State &state) {
    BenchApp();
    TPreview p;
    TPlatno canvas(&p.Image);
    for (auto _ : state) {
        state.PauseTiming();
        TGrafickyVyraz tree(p.Text, nullptr, 5, 5, 16);
        state.ResumeTiming();
        tree.Measure(canvas);
        benchmark::DoNotOptimize(tree.Width);
    }
}
BENCHMARK(BM_PreviewMeasure)->Unit(benchmark::kMicrosecond);

static void BM_PreviewDraw(benchmark::State &state) {
    BenchApp();
    TPreview p;
    TGrafickyVyraz tree(p.Text, nullptr, 5, 5, 16);
    {
        TPlatno measuring(&p.Image);
        tree.Measure(measuring);
    }
    for (auto _ : state) {
        QPainter painter(&p.Image);
        painter.setRenderHint(QPainter::Antialiasing);
        TPlatno canvas(painter);
        tree.Draw(canvas);
    }
}
BENCHMARK(BM_PreviewDraw)->Unit(benchmark::kMicrosecond);
