// The "=" key as a user presses it, over a stored mix of what users type
// (vyrazy_rovna_sa.txt: functions in every angle unit, variables, user
// constants, nested brackets, %, !, nad, div and mod, long sums, other
// bases and fractions): the main window's model checks, evaluates and
// formats each text. The time per expression is the figure that matters.
#include "uAppContext.h"
#include "uKalkulacka.h"
#include "uPremenne.h"

#include <QFile>

#include <benchmark/benchmark.h>

#include <string>

namespace {

// One line of the data file: angle unit (d, r, g), base, "z" for
// fractions or "-", and the text, separated by tabs.
struct TPress {
    TAngleUnit Unit;
    quint8 Radix;
    bool Fractions;
    QString Text;
};

QList<TPress> Presses() {
    QList<TPress> presses;
    QFile file(QStringLiteral(TARBELON_BENCH_DIR "/vyrazy_rovna_sa.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return presses;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList f = line.split(QLatin1Char('\t'));
        if (f.size() != 4)
            continue;
        const TAngleUnit unit = f[0] == QLatin1String("r")   ? TAngleUnit::Radians
                                : f[0] == QLatin1String("g") ? TAngleUnit::Grads
                                                             : TAngleUnit::Degrees;
        presses.append(TPress{unit, quint8(f[1].toUInt()), f[2] == QLatin1String("z"), f[3]});
    }
    return presses;
}

void BM_EqualsMixedSet(benchmark::State &state) {
    SetDecSep(QLatin1Char(','));
    const QList<TPress> presses = Presses();
    TPremenne rows;
    rows.SetLines({QStringLiteral("x=3"), QStringLiteral("y=2"), QStringLiteral("a=1,5"), QStringLiteral("b2=-4"),
                   QStringLiteral("t=0,25"), QStringLiteral("k=10"), QStringLiteral("n=7")});
    TConstantList constants;
    constants.Items = {{QStringLiteral("$g"), QStringLiteral("9,81")},
                       {QStringLiteral("$c"), QStringLiteral("2,5")},
                       {QStringLiteral("$Na"), QStringLiteral("6,022E23")}};
    TKalkulacka model(&rows);
    model.Konstanty = &constants;
    model.Decimals = 6;
    auto press = [&model](const TPress &p) {
        model.AngleUnit = p.Unit;
        model.Radix = p.Radix;
        model.Fractions = p.Fractions;
        return model.Calculate(p.Text);
    };
    if (presses.size() < 500) {
        state.SkipWithError("the data file is missing or short");
        return;
    }
    // Every text of the set gives a result: an error would end its road early.
    static std::string failures;
    failures.clear();
    for (const TPress &p : presses)
        if (!press(p).Ok)
            failures += "\n" + p.Text.toStdString();
    if (!failures.empty()) {
        failures = "no result for:" + failures;
        state.SkipWithError(failures.c_str());
        return;
    }
    for (auto _ : state)
        for (const TPress &p : presses)
            benchmark::DoNotOptimize(press(p));
    state.counters["expressions"] = double(presses.size());
    // Seconds per expression (shown in the time unit of the counter).
    state.counters["per_expression"] = benchmark::Counter(
        double(presses.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_EqualsMixedSet)->Unit(benchmark::kMicrosecond);

} // namespace
