// Bracket marks of a long input, as each key typed into it asks for them:
// the pair search alone, and the search with the formatting of the input
// line (all plain, two brackets bold) that follows it.
#include "BenchApp.h"
#include "uOvladace.h"
#include "uZvyraznenie.h"

#include <benchmark/benchmark.h>

namespace {

// 2,000 characters of closed groups, "(1+(2*3))/" over and over: from a
// caret between two groups both scans run to the ends of the text, the
// slowest case there is.
QString LongInput() {
    QString s;
    while (s.size() < 2000)
        s += QStringLiteral("(1+(2*3))/");
    return s;
}

} // namespace

static void BM_BracketPairSearch(benchmark::State &state) {
    const QString input = LongInput();
    const int caret = int(state.range(0));
    for (auto _ : state) {
        TZvyraznenieZatvoriek marks = PlanBracketHighlight(input, caret);
        benchmark::DoNotOptimize(marks);
    }
}
BENCHMARK(BM_BracketPairSearch)->Arg(0)->Arg(1000)->Arg(1005)->Unit(benchmark::kMicrosecond);

static void BM_BracketMarksInTheInputLine(benchmark::State &state) {
    BenchApp();
    TRiadkovyVstup edit;
    edit.SetText(LongInput());
    const int caret = int(state.range(0));
    edit.SetCaret(caret);
    for (auto _ : state) {
        edit.ShowBracketMarks(PlanBracketHighlight(edit.Text(), caret));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BracketMarksInTheInputLine)->Arg(0)->Arg(1000)->Arg(1005)->Unit(benchmark::kMicrosecond);
