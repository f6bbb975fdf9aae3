// The expression libraries as a user meets them: opening the browser (or
// reloading) on a folder of 50 libraries of 200 expressions each, which
// loads every file and builds the tree, and saving one such library.
#include "BenchApp.h"
#include "fPrehliadacVyrazov.h"
#include "uAppContext.h"
#include "uKniznica.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// A library of 200 expressions in 10 categories, each with a two-line
// description and three variables.
void FillLibrary(TKniznicaVyrazov &library, int number, const QString &fileName) {
    TInfoKniznice info;
    info.Name = QStringLiteral("Library %1").arg(number);
    info.FileName = fileName;
    info.Version = QStringLiteral("1.0.0");
    info.Author = QStringLiteral("Bench");
    info.Description = QStringLiteral("Generated|for the benchmark");
    library.CreateNew(info);
    for (int c = 0; c < 10; ++c) {
        QDomElement category;
        library.AddCategory(library.GetRoot(), QStringLiteral("Category %1").arg(c), category);
        for (int e = 0; e < 20; ++e) {
            QDomElement expr;
            library.AddExpression(category, QStringLiteral("Expression %1.%2").arg(c).arg(e),
                                  QStringLiteral("f=a*x^2+b*x+c*sin(x)/%1").arg(e + 1),
                                  QStringLiteral("A quadratic with a sine|and a second line"),
                                  {QStringLiteral("a=first coefficient"), QStringLiteral("b=second coefficient"),
                                   QStringLiteral("c=sine factor")},
                                  expr);
        }
    }
}

} // namespace

static void BM_LoadFolderAndBuildTree(benchmark::State &state) {
    BenchApp();
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("lib"));
    for (int i = 0; i < 50; ++i) {
        TKniznicaVyrazov library;
        FillLibrary(library, i, dir.path() + QStringLiteral("/lib/library%1.xml").arg(i, 2, 10, QLatin1Char('0')));
        if (!library.Save().Ok) {
            state.SkipWithError("could not write the libraries");
            return;
        }
    }
    AppContext().Reset(dir.path());
    AppContext().UseRecordingPrompter();
    auto browser = std::make_unique<TPrehliadacVyrazovFrm>(nullptr);
    if (browser->Viewer().Count() != 50) {
        state.SkipWithError("the libraries did not load");
        return;
    }
    for (auto _ : state) {
        browser->LoadLibraries();
        benchmark::DoNotOptimize(browser->Viewer().Count());
    }
    browser.reset();
    AppContext().Reset();
}
BENCHMARK(BM_LoadFolderAndBuildTree)->Unit(benchmark::kMillisecond)->UseRealTime();

static void BM_SaveOneLibrary(benchmark::State &state) {
    QTemporaryDir dir;
    TKniznicaVyrazov library;
    FillLibrary(library, 1, dir.path() + QStringLiteral("/library.xml"));
    for (auto _ : state) {
        library.Modified = true;
        if (!library.Save().Ok) {
            state.SkipWithError("could not save");
            return;
        }
    }
}
BENCHMARK(BM_SaveOneLibrary)->Unit(benchmark::kMillisecond)->UseRealTime();
