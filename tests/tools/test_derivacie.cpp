// The derivative window's model: the implicit multiplication signs, the
// variables of a function, derivatives of each order, constants as exact
// fractions and the error text; derivatives of generated formulas against
// difference quotients of what "=" computes; then the window's wiring.
#include "../app/AppTestSupport.h"
#include "Analyzator.h"
#include "fDerivacie.h"
#include "uDerivacie.h"
#include "uNastroje.h"
#include "uOvladace.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <cmath>
#include <random>

class DerivacieTest : public AppTest {};

TEST_F(DerivacieTest, InsertsTheImplicitMultiplicationSigns) {
    const std::pair<const char *, const char *> cases[] = {
        {"2x(y)", "2*x*(y)"},
        {"(x+1)(x-1)", "(x+1)*(x-1)"},
        {"3!2", "3!*2"},
        {"5%x", "5%*x"},
        {"2e-5", "2e-5"},       // the exponent mark of a number
        {"xmod3", "xmod3"},     // one name
        {"(x)mod3", "(x)mod3"}, // a word operator after a group
        {"deg(x)", "deg(x)"},   // a function whose name holds an "e"
        {"exp(x)", "exp*(x)"},  // no function: its letters without "e" make "xp"
        {"2$e", "2*$e"},
        {"(2)3x", "(2)*3*x"},
        {"2(x)2(x)", "2*(x)*2*(x)"},
        {"!2x(", "!*2*x*("},
        {")x", ")*x"}, // signs one after the other, at both ends
        // numbers as the evaluator's scanner reads them
        {"1E-5x", "1E-5*x"},
        {"3e2x", "3e2*x"},
        {"2,5E-3x^2", "2,5E-3*x^2"},
        {"x2e-5", "x2e-5"}, // the name x2e less 5
        {"$e(x)", "$e*(x)"},
        {"xe(2)", "xe*(2)"},
    };
    for (const auto &[in, out] : cases) {
        QString t = QString::fromLatin1(in);
        InsertMultiplicationSigns(t);
        EXPECT_EQ(S(t), out) << in;
    }
}

TEST_F(DerivacieTest, VariablesOfTheFunctionAndTheOneChosen) {
    struct Case {
        const char *function;
        QStringList names;
        int selected;
    } cases[] = {
        {"a*X^2+b", {"a", "X", "b"}, 1},
        {"y+z*y", {"y", "z"}, 0},
        {"5+sin(30)", {}, -1},
        {"logy(8)", {"y"}, 0},
    };
    for (const Case &c : cases) {
        const TDerivacie::TPremenneFunkcie v = TDerivacie::VariablesOf(QString::fromLatin1(c.function));
        EXPECT_EQ(v.Names, c.names) << c.function;
        EXPECT_EQ(v.Selected, c.selected) << c.function;
    }
}

TEST_F(DerivacieTest, DerivativesOfEachOrderAndConstantsAsExactFractions) {
    struct Case {
        const char *function;
        const char *variable;
        int order;
        const char *shown;
    } cases[] = {
        {"x^3", "x", 2, "6*x"},
        {"(x+1)(x-1)", "x", 1, "(x-1)+(x+1)"},
        {"5", "", 1, "0"},
        {"x^10", "x", 10, "3 628 800"},
        // constants as exact fractions
        {"x*(1/3)", "x", 1, "1 / 3"},
        {"x^2/3", "x", 2, "2 / 3"},
        {"-x/4", "x", 1, "-1 / 4"},
        {"x*0,0001", "x", 1, "1 / 10 000"},
        // numbers with an exponent, "%" as the evaluator computes it
        {"2e-5*x", "x", 1, "1 / 50 000"},
        {"1E-5x", "x", 1, "1 / 100 000"},
        {"3e2x", "x", 1, "300"},
        {"2,5E-3x^2", "x", 1, "0,005*x"},
        {"1,5E3x+2e+2", "x", 1, "1 500"},
        {"12,5e-1x", "x", 1, "5 / 4"},
        {"3e99x", "x", 1, "3e99"},
        {"x2e-5", "x", 1, "0"},
        {"x+10%", "x", 1, "11 / 10"},
        {"x-10%", "x", 1, "9 / 10"},
        {"x^2+50%", "x", 1, "2*x*1,5"},
        {"x*10%", "x", 1, "1 / 10"},
        {"x+(10%)", "x", 1, "1"},
        {"(x+1)%", "x", 1, "1 / 100"},
        {"xmod3", "x", 1, "0"}, // one name
        {"0,0001*x^2+x^3", "x", 1, "0,0002*x+3*x^2"},
        // a root has no fraction: it is shown as it is
        {"x*2^(1/2)", "x", 1, "2^0,5"},
    };
    TDerivacie model;
    for (const Case &c : cases) {
        const TDerivacie::TVysledok r =
            model.Calculate(QString::fromLatin1(c.function), QString::fromLatin1(c.variable), c.order);
        EXPECT_TRUE(r.Ok) << c.function;
        EXPECT_EQ(S(r.Text), c.shown) << c.function << " order " << c.order;
    }
    // The separator of the locale.
    SetDecSep(QLatin1Char('.'));
    EXPECT_EQ(S(model.Calculate(QStringLiteral("x*0.5"), QStringLiteral("x"), 1).Text), "1 / 2");
}

TEST_F(DerivacieTest, SumsOfThirtyThousandTerms) {
    QString sum = QStringLiteral("x"), products = QStringLiteral("2x");
    for (int i = 1; i < 30000; ++i)
        sum += QStringLiteral("+x");
    for (int i = 1; i < 15000; ++i)
        products += QStringLiteral("-2x");
    TDerivacie model;
    EXPECT_EQ(S(model.Calculate(sum, QStringLiteral("x"), 1).Text), "30 000");
    EXPECT_EQ(S(model.Calculate(products, QStringLiteral("x"), 1).Text), "-29 996");
    EXPECT_EQ(S(model.Calculate(sum, QStringLiteral("x"), 2).Text), "0");
}

TEST_F(DerivacieTest, FailuresShowTheErrorText) {
    TDerivacie model;
    model.ErrorText = QStringLiteral("failed");
    for (const char *function : {"(x", "deg(x)", "x!", "x mod 3", "x div 2", "5 nad x", "(x)mod3", "x^2-7 mod 2"}) {
        const TDerivacie::TVysledok r = model.Calculate(QString::fromLatin1(function), QStringLiteral("x"), 1);
        EXPECT_FALSE(r.Ok) << function;
        EXPECT_EQ(S(r.Text), "failed") << function;
    }
    // After a failure the tree works again.
    EXPECT_EQ(S(model.Calculate(QStringLiteral("x^2"), QStringLiteral("x"), 1).Text), "2*x");
}

namespace {

// The value of text by the real evaluator in radians with the variable x
// written as xText ("0,700001").
long double ValueAt(const QString &text, const QString &xText) {
    const TVariableList x({QStringLiteral("x=") + xText});
    TEvaluationContext context(QLatin1Char(','));
    context.AngleUnit = TAngleUnit::Radians;
    context.Variables = &x;
    const TEngineResult r = EvaluateReal(text, context);
    EXPECT_TRUE(r.Ok()) << S(text) << " at " << S(xText) << ": code " << CodeNumber(r.Error.Code);
    return r.Ok() ? r.Real : NAN;
}

// A formula of a few terms in x: numbers with an exponent, written also
// right before a name, a bracket or a function; "%" after a sign, after a
// product and alone; and, now and then, a word operator.
QString Formula(std::mt19937 &random, bool &wordOperator) {
    const auto pick = [&random](std::initializer_list<const char *> choices) {
        return QString::fromLatin1(choices.begin()[random() % choices.size()]);
    };
    const auto literal = [&] { return pick({"2", "0,5", "1,5E-3", "2e2", "3E+1", "2,5e-1", "4E0", "1e-5", "7,25E1"}); };
    const auto factor = [&] { return pick({"x", "x^2", "x^3", "(x+1)", "sin(x)", "cos(2x)", "ln(x+2)", "(x-3)^2"}); };
    const auto percentOperand = [&] { return random() % 2 ? literal() : pick({"x", "(x+1)", "sin(x)", "x^2"}); };
    QString f;
    const int terms = 1 + int(random() % 4);
    for (int i = 0; i < terms; ++i) {
        if (i > 0)
            f += random() % 2 ? QStringLiteral("+") : QStringLiteral("-");
        switch (random() % 5) {
        case 0: f += literal() + factor(); break; // side by side
        case 1: f += literal() + QStringLiteral("*") + factor(); break;
        case 2: f += factor(); break;
        case 3: f += percentOperand() + QStringLiteral("%"); break;
        default: f += factor() + QStringLiteral("*") + percentOperand() + QStringLiteral("%"); break;
        }
        if (random() % 3 == 0) // a percent right after a sign
            f += (random() % 2 ? QStringLiteral("+") : QStringLiteral("-")) + percentOperand() + QStringLiteral("%");
    }
    wordOperator = random() % 6 == 0;
    if (wordOperator)
        f += pick({"+7 mod 3", "-x div 2", "+5 nad 2*x", "*(9 mod 4)"});
    return f;
}

} // namespace

// The derivative of what "=" computes, at three points, against central
// difference quotients of the evaluator's values (exact decimal steps, so
// that the quotient's error is the formula's alone). A wrong reading of a
// number, of "%" or of a word operator is far beyond the tolerance.
TEST_F(DerivacieTest, DerivativesAgreeWithDifferenceQuotientsOfTheEvaluator) {
    struct Point {
        const char *x, *below, *above; // x and x -+ h
        long double h;
    };
    const Point first[] = {{"0,7", "0,699999", "0,700001", 1e-6L},
                           {"1,3", "1,299999", "1,300001", 1e-6L},
                           {"2,2", "2,199999", "2,200001", 1e-6L}};
    const Point second[] = {{"0,7", "0,699", "0,701", 1e-3L}, {"2,2", "2,199", "2,201", 1e-3L}};
    std::mt19937 random(20240528);
    TDerivacie model;
    int derived = 0, refused = 0;
    for (int n = 0; n < 150; ++n) {
        bool wordOperator = false;
        const QString f = Formula(random, wordOperator);
        const TDerivacie::TVysledok d1 = model.Calculate(f, QStringLiteral("x"), 1);
        const TDerivacie::TVysledok d2 = model.Calculate(f, QStringLiteral("x"), 2);
        if (wordOperator) {
            // Defined on whole numbers only: no derivative, as for "x!".
            EXPECT_FALSE(d1.Ok || d2.Ok) << S(f);
            EXPECT_EQ(d1.Text, model.ErrorText) << S(f);
            ++refused;
            continue;
        }
        ASSERT_TRUE(d1.Ok && d2.Ok) << S(f);
        const QString t1 = QString(d1.Text).remove(QLatin1Char(' ')); // "1 / 100 000" as a quotient
        const QString t2 = QString(d2.Text).remove(QLatin1Char(' '));
        for (const Point &p : first) {
            const long double quotient = (ValueAt(f, p.above) - ValueAt(f, p.below)) / (2 * p.h);
            const long double exact = ValueAt(t1, p.x);
            EXPECT_NEAR(double(exact), double(quotient), 1e-6 * (1 + std::fabs(double(quotient))))
                << S(f) << " at " << p.x << ": " << S(d1.Text);
        }
        for (const Point &p : second) {
            const long double quotient =
                (ValueAt(f, p.above) - 2 * ValueAt(f, p.x) + ValueAt(f, p.below)) / (p.h * p.h);
            const long double exact = ValueAt(t2, p.x);
            EXPECT_NEAR(double(exact), double(quotient), 1e-4 * (1 + std::fabs(double(quotient))))
                << S(f) << " at " << p.x << ": " << S(d2.Text);
        }
        ++derived;
    }
    EXPECT_GT(derived, 100);
    EXPECT_GT(refused, 10);
}

TEST_F(DerivacieTest, WindowShowsVariablesResultsErrorsAndThePreview) {
    TFakeMainWindow main;
    TNastroje tools;
    tools.Attach(&main);
    tools.ShowDerivatives(QStringLiteral("a*x^3"));
    ASSERT_NE(main.Frame.findChild<TderivacieFrm *>(), nullptr);
    TderivacieFrm &w = *main.Frame.findChild<TderivacieFrm *>();
    auto *variables = Find<QComboBox>(w, "premenneCmb");
    auto *orderEdit = Find<QLineEdit>(w, "stupenDerivacieEdt");
    auto *result = Find<QLineEdit>(w, "vysledokEdt");
    auto *calculate = Find<QPushButton>(w, "vypocetBtn");
    EXPECT_TRUE(w.isVisible() && Find<QLineEdit>(w, "funkciaEdt")->text() == QStringLiteral("a*x^3"));
    EXPECT_TRUE(variables->count() == 2 && variables->currentText() == QStringLiteral("x"));
    Find<TUpDown>(w, "stupenDerivacieUpd")->Step(true);
    EXPECT_EQ(orderEdit->text(), QStringLiteral("2"));
    calculate->click();
    EXPECT_EQ(S(result->text()), "a*3*2*x");
    const QColor normal = result->palette().color(QPalette::Text);
    Find<QToolButton>(w, "nahladBtn")->click();
    EXPECT_EQ(main.Previews, QStringList{QStringLiteral("a*3*2*x")});

    // A new function in the same window: new variables, the order stays; an
    // error in red, then black again.
    tools.ShowDerivatives(QStringLiteral("2*-y"));
    EXPECT_EQ(main.Frame.findChildren<TderivacieFrm *>().size(), 1);
    EXPECT_TRUE(variables->currentText() == QStringLiteral("y") && orderEdit->text() == QStringLiteral("2"));
    calculate->click();
    EXPECT_EQ(result->text(), QStringLiteral("Pri výpočte sa vyskytla chyba."));
    EXPECT_EQ(result->palette().color(QPalette::Text), QColor(0xd0, 0, 0));
    tools.ShowDerivatives(QStringLiteral("y^2"));
    calculate->click();
    EXPECT_EQ(result->text(), QStringLiteral("2"));
    EXPECT_EQ(result->palette().color(QPalette::Text), normal);
}

// A function written with the other separator reads as with the locale's.
TEST_F(DerivacieTest, EitherSeparatorReadsAsTheLocales) {
    const struct {
        char sep;
        const char *function, *shown;
    } cases[] = {
        {',', "1.5*x^2", "3*x"},
        {'.', "1,5*x^2", "3*x"},
        {',', "2.5e-3*x", "1 / 400"},
        {'.', "x^2,5", "2.5*x^1.5"},
    };
    TDerivacie model;
    for (const auto &c : cases) {
        SetDecSep(QLatin1Char(c.sep));
        EXPECT_EQ(S(model.Calculate(QString::fromLatin1(c.function), QStringLiteral("x"), 1).Text), c.shown)
            << c.function;
    }
}
