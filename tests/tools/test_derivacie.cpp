// The derivative window's model: the implicit multiplication signs, the
// variables of a function, derivatives of each order, constants as exact
// fractions and the error text; then the window's wiring.
#include "../app/AppTestSupport.h"
#include "fDerivacie.h"
#include "uDerivacie.h"
#include "uNastroje.h"
#include "uOvladace.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

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
        {"(2)3x", "(2)*3x"}, // after ")" the walk goes on from the end of the run
        {"2(x)2(x)", "2*(x)*2*(x)"},
        {"!2x(", "!*2*x*("},
        {")x", ")*x"}, // signs one after the other, at both ends
    };
    for (const auto &[in, out] : cases) {
        QString t = QString::fromLatin1(in);
        InsertMultiplicationSigns(t);
        EXPECT_EQ(S(t), out) << in;
    }
}

TEST_F(DerivacieTest, ExpandsTheExponentsOfNumbers) {
    const std::pair<const char *, const char *> cases[] = {
        {"2e-5*x", "0,00002*x"}, {"1,5E3", "1500"}, {"x+2e+2", "x+200"}, {"12,5e-1", "1,25"},
        {"x2e3", "x2e3"},        {"2e5x", "2e5x"},  {"2e", "2e"},        {"3e99", "3e99"},
    };
    for (const auto &[in, out] : cases) {
        QString t = QString::fromLatin1(in);
        ExpandExponents(t);
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
        {"2e-5*x", "x", 1, "1 / 50 000"},
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

TEST_F(DerivacieTest, FailuresShowTheErrorText) {
    TDerivacie model;
    model.ErrorText = QStringLiteral("failed");
    for (const char *function : {"(x", "deg(x)", "x!"}) {
        const TDerivacie::TVysledok r = model.Calculate(QString::fromLatin1(function), QStringLiteral("x"), 1);
        EXPECT_FALSE(r.Ok) << function;
        EXPECT_EQ(S(r.Text), "failed") << function;
    }
    // After a failure the tree works again.
    EXPECT_EQ(S(model.Calculate(QStringLiteral("x^2"), QStringLiteral("x"), 1).Text), "2*x");
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
