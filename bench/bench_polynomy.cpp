// Polynomials: the two sizes a student meets ((x+y+z+1)^10, a 200-term by
// 20-term division), the commands that stop at the limits, and the window's
// commands from the click to the drawn result.
#include "BenchApp.h"
#include "fMnohocleny.h"
#include "uPolynomy.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <benchmark/benchmark.h>

namespace {

TPolynom Parsed(const QString &text, const TPremennePolynomu *variables = nullptr) {
    TPremennePolynomu fresh;
    TPolynom::ResetVariableList(fresh);
    TPolynom p;
    p.AddText(text, variables ? *variables : fresh, false, true, u',');
    return p;
}

// Terms c*x^e for e from high down to 0 with varying coefficients.
QString Dense(int high) {
    QString s;
    for (int e = high; e >= 0; --e)
        s += QStringLiteral("+%1x^%2").arg(e % 7 + 1).arg(e);
    return s;
}

} // namespace

static void BM_PolynomialPowerXYZ1To10(benchmark::State &state) {
    const TPolynom p = Parsed(QStringLiteral("x+y+z+1"));
    for (auto _ : state) {
        TPolynom r = p;
        r.Power(10);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_PolynomialPowerXYZ1To10)->Unit(benchmark::kMillisecond);

static void BM_PolynomialDivide200By20(benchmark::State &state) {
    const TPolynom divisor = Parsed(Dense(19));
    const TPolynom dividend = Parsed(Dense(199), &divisor.Variables());
    for (auto _ : state) {
        TPolynom quotient, remainder;
        TPolynom::Divide(dividend, divisor, remainder, quotient);
        benchmark::DoNotOptimize(quotient);
    }
}
BENCHMARK(BM_PolynomialDivide200By20)->Unit(benchmark::kMillisecond);

// The limits: each of these stops with its message.
static void BM_PolynomialStopsAtTheLimit(benchmark::State &state) {
    const int which = int(state.range(0));
    const TPolynom five = Parsed(QStringLiteral("a+b+c+d+e"));
    const TPolynom dense = Parsed(Dense(199));
    const TPolynom divisor = Parsed(QStringLiteral("x+1"));
    const TPolynom big = Parsed(QStringLiteral("x^30000"), &divisor.Variables());
    const TPolynom longDivisor = Parsed(Dense(110));
    const TPolynom high = Parsed(QStringLiteral("x^9999"), &longDivisor.Variables());
    for (auto _ : state) {
        try {
            if (which == 0) {
                TPolynom r = five;
                r.Power(30);
            } else if (which == 1) {
                TPolynom r = dense;
                r.Power(30);
            } else if (which == 2) {
                TPolynom q, r;
                TPolynom::Divide(big, divisor, r, q);
            } else {
                TPolynom q, r;
                TPolynom::Divide(high, longDivisor, r, q);
            }
            state.SkipWithError("no limit reached");
        } catch (const EPolynom &) {
        }
    }
}
BENCHMARK(BM_PolynomialStopsAtTheLimit)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// A click on a command of the window, up to the drawn result: (x+y+z+1)^30
// (5456 terms), then the three commands that stop at a limit.
static void BM_PolynomialWindowCommand(benchmark::State &state) {
    BenchApp();
    TmnohoclenyFrm window;
    auto *p = window.findChild<QLineEdit *>(QStringLiteral("pEdt"));
    auto *q = window.findChild<QLineEdit *>(QStringLiteral("qEdt"));
    auto *n = window.findChild<QSpinBox *>(QStringLiteral("UpDown1"));
    QPushButton *button = window.findChild<QPushButton *>(QStringLiteral("umocniPBtn"));
    n->setValue(30);
    switch (state.range(0)) {
    case 0: p->setText(QStringLiteral("x+y+z+1")); break;
    case 1: p->setText(QStringLiteral("a+b+c+d+e")); break;
    case 2: p->setText(Dense(199)); break;
    default:
        p->setText(QStringLiteral("x^30000"));
        q->setText(QStringLiteral("x+1"));
        button = window.findChild<QPushButton *>(QStringLiteral("delenieBtn"));
        break;
    }
    window.show();
    for (auto _ : state) {
        button->click();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_PolynomialWindowCommand)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
