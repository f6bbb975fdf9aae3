// What a user feels of the statistics and combinatorics windows: one
// calculation over 100,000 typed rows (reading the cells, the summary, the
// texts), and the slowest counts the combinatorics fields allow.
#include "uAppContext.h"
#include "uKombinatorika.h"
#include "uSpolocne.h"
#include "uStatistika.h"

#include <benchmark/benchmark.h>

namespace {

void StatisticsOf100000Rows(benchmark::State &state) {
    SetDecSep(QLatin1Char(','));
    TStatistika model;
    model.DeleteAll();
    // Values with decimals and weights 1 to 5, in no order.
    for (int i = 0; i < 100000; ++i)
        model.AppendRow(QString::number((i * 7919) % 100000) + QStringLiteral(",25"), QString::number(i % 5 + 1));
    for (auto _ : state) {
        const TStatistika::TVystup out = model.Vypocet();
        if (out.Stav != TStatistikaStav::Ok) {
            state.SkipWithError("calculation failed");
            break;
        }
        QStringList texts = model.Texty(out.Udaje);
        benchmark::DoNotOptimize(texts);
    }
}
BENCHMARK(StatisticsOf100000Rows)->Unit(benchmark::kMillisecond);

void CombinatoricsLargestFields(benchmark::State &state) {
    const TKombinatorika model;
    const TKombinatorika::TUloha all[] = {
        TKombinatorika::KombinacneCislo,       TKombinatorika::VariacieBezOpakovania,
        TKombinatorika::VariacieSOpakovanim,   TKombinatorika::KombinacieBezOpakovania,
        TKombinatorika::KombinacieSOpakovanim, TKombinatorika::Permutacie};
    for (auto _ : state)
        for (TKombinatorika::TUloha uloha : all) {
            TKombinatorika::TVysledok r = model.Vypocet(uloha, QStringLiteral("9999"), QStringLiteral("4999"));
            benchmark::DoNotOptimize(r);
        }
}
BENCHMARK(CombinatoricsLargestFields)->Unit(benchmark::kMicrosecond);

} // namespace
