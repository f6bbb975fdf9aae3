// Sums and products over a range: the loop and its errors, the checks of
// the index name and the bounds, the variables, and the limits of the range.
#include "../app/AppTestSupport.h"
#include "uCyklickeVypocty.h"
#include "uKalkulacka.h"
#include "uPremenne.h"

#include <cmath>

namespace {

// The main window's variables check over a real variables list, which the
// engine reads the values from.
class TVariablesMain : public TFakeMainWindow {
public:
    TPremenne Rows;
    TKalkulacka Model{&Rows};

    TEvaluationContext EvaluationContext() const override { return Model.Context(); }

    void AddMissingVariables(const QString &expression, const QString &excludedName) override {
        TFakeMainWindow::AddMissingVariables(expression, excludedName);
        Model.AddMissingVariables(expression, excludedName);
    }
    void ValidateVariableValues(const QString &expression, TChyba &err, const QString &excludedName,
                                quint8 mode) override {
        Model.ValidateVariableValues(expression, err, excludedName, mode);
    }
    QStringList Names() const {
        QStringList names;
        for (int i = 0; i < Rows.Count(); ++i)
            names.append(Rows.Row(i).Name);
        return names;
    }
};

TCyklickeVypocty::TSucet Compute(const char *expression, const char *index, qint64 from, qint64 to, bool product) {
    TCyklickeVypocty model;
    model.SetVariable(QString::fromLatin1(index));
    model.SetExpression(QString::fromLatin1(expression));
    return model.Compute(from, to, product);
}

} // namespace

class CyklickeVypoctyTest : public AppTest {};

TEST_F(CyklickeVypoctyTest, SumsAndProductsOverTheRange) {
    struct Case {
        const char *expression;
        const char *index;
        qint64 from, to;
        bool product;
        long double value;
        const char *text;
    } cases[] = {
        {"n", "n", 0, 5, false, 15, "1,5E1"},
        {"n", "n", 0, 5, true, 0, "0E0"},
        {"n", "n", 1, 5, true, 120, "1,2E2"},
        {"n", "n", 1, 5, false, 15, "1,5E1"},
        {"n", "n", 5, 0, false, 0, "0E0"}, // lower above upper: nothing summed
        {"n", "n", 5, 0, true, 1, "1E0"},
        {"k^2", "k", -2, 2, false, 10, "1E1"},
        {"2^I", "i", 0, 10, false, 2047, "2,047E3"},
        {"1/n", "n", 1, 2, true, 0.5L, "5E-1"},
        {"", "n", 1, 3, false, 0, "0E0"}, // an empty expression is 0
    };
    for (const Case &c : cases) {
        const TCyklickeVypocty::TSucet r = Compute(c.expression, c.index, c.from, c.to, c.product);
        const std::string name = std::string(c.expression) + (c.product ? " product " : " sum ") +
                                 std::to_string(c.from) + ".." + std::to_string(c.to);
        EXPECT_EQ(CodeNumber(r.Error.Code), 0) << name;
        EXPECT_EQ(r.Value, c.value) << name;
        EXPECT_EQ(S(r.Text), c.text) << name;
    }
    // Many indices: the terms of 1/n^2 as the evaluator gives them.
    const TCyklickeVypocty::TSucet r = Compute("1/n^2", "n", 1, 2999, false);
    long double want = 0;
    for (int n = 2999; n >= 1; --n)
        want += 1.0L / (static_cast<long double>(n) * n);
    EXPECT_EQ(CodeNumber(r.Error.Code), 0);
    EXPECT_NEAR(double(r.Value), double(want), 1e-15);
}

TEST_F(CyklickeVypoctyTest, TheFirstFailingIndexStopsTheLoop) {
    struct Case {
        const char *expression;
        qint64 from, to;
        bool product;
        int code;
    } cases[] = {
        {"1/n", 0, 5, false, 25},
        {"1/(n-3)", 1, 5, true, 25}, // fails half-way
        {"sqrt(n)", -1, 1, false, 22},
        {"n!", -1, 1, false, 24},
        {"10^300*n", 1, 20, true, 20},  // the product leaves the number range
        {"10^4931*n", 1, 20, false, 20}, // and so does the sum
        {"(n", 1, 2, false, 11},
    };
    for (const Case &c : cases) {
        const TCyklickeVypocty::TSucet r = Compute(c.expression, "n", c.from, c.to, c.product);
        EXPECT_EQ(CodeNumber(r.Error.Code), c.code) << c.expression;
        EXPECT_TRUE(r.Text.isEmpty()) << c.expression;
    }
}

TEST_F(CyklickeVypoctyTest, RefusesIndexNamesAndBoundsThatCannotBeUsed) {
    struct Case {
        const char *index, *lower, *upper;
        TCyklickeVypocty::TPole pole;
    } cases[] = {
        {"", "0", "5", TCyklickeVypocty::PoleIndex},
        {"1n", "0", "5", TCyklickeVypocty::PoleIndex},
        {"n+1", "0", "5", TCyklickeVypocty::PoleIndex},
        {"[#]", "0", "5", TCyklickeVypocty::PoleIndex}, // would stand in its own replacement text
        {"sin", "0", "5", TCyklickeVypocty::PoleIndex},
        {"mod", "0", "5", TCyklickeVypocty::PoleIndex},
        {"n", "", "5", TCyklickeVypocty::PoleOd},
        {"n", "-", "5", TCyklickeVypocty::PoleOd},
        {"n", "0", "-", TCyklickeVypocty::PoleDo},
        {"n", "0", "", TCyklickeVypocty::PoleDo},
        {"n", "1-", "5", TCyklickeVypocty::PoleOd},
        {"n", "0", "1234567890", TCyklickeVypocty::PoleDo},
        {"n", "0", "2,5", TCyklickeVypocty::PoleDo},
    };
    TVariablesMain main;
    TCyklickeVypocty model;
    model.Messages.InvalidBound = QStringLiteral("bound");
    model.Messages.InvalidVariable = QStringLiteral("index");
    for (const Case &c : cases) {
        Prompter->Shown.clear();
        const TCyklickeVypocty::TVystup out = model.Priprav(
            {QStringLiteral("n"), QString::fromLatin1(c.index), QString::fromLatin1(c.lower), QString::fromLatin1(c.upper)},
            main, nullptr);
        const std::string name = std::string(c.index) + " " + c.lower + ".." + c.upper;
        EXPECT_EQ(out.Krok, TCyklickeVypocty::TKrok::Zastavene) << name;
        EXPECT_EQ(out.Pole, c.pole) << name;
        ASSERT_EQ(Prompter->Shown.size(), 1) << name;
        EXPECT_EQ(Prompter->Shown.first().Kind, TMessageKind::Warning) << name;
        EXPECT_EQ(S(Prompter->Shown.first().Text), c.pole == TCyklickeVypocty::PoleIndex ? "index" : "bound") << name;
    }
    EXPECT_TRUE(main.AddMissingCalls.isEmpty()); // nothing of the function was looked at

    // A name of letters and digits, and bounds of up to nine characters.
    const TCyklickeVypocty::TVystup out =
        model.Priprav({QStringLiteral("k2"), QStringLiteral("k2"), QStringLiteral("-12345678"), QStringLiteral("-12345000")},
                      main, nullptr);
    EXPECT_EQ(out.Krok, TCyklickeVypocty::TKrok::Pocitaj);
    EXPECT_EQ(out.Od, -12345678);
    EXPECT_EQ(out.Do, -12345000);
}

TEST_F(CyklickeVypoctyTest, VariablesBesidesTheIndexNeedRealValues) {
    struct Case {
        const char *value; // of a; null: no row
        TCyklickeVypocty::TKrok krok;
        int code;
    } cases[] = {
        {nullptr, TCyklickeVypocty::TKrok::ChybajuHodnoty, 15},
        {"", TCyklickeVypocty::TKrok::ChybajuHodnoty, 15},
        {"abc", TCyklickeVypocty::TKrok::Chyba, 31},
        {"2+j3", TCyklickeVypocty::TKrok::Chyba, 17},
        {"1/4", TCyklickeVypocty::TKrok::Pocitaj, 0},
    };
    for (const Case &c : cases) {
        TVariablesMain main;
        if (c.value)
            main.Rows.AppendRow(QStringLiteral("a"), QString::fromLatin1(c.value));
        TCyklickeVypocty model;
        const TCyklickeVypocty::TVystup out = model.Priprav(
            {QStringLiteral("a*n+n"), QStringLiteral("n"), QStringLiteral("0"), QStringLiteral("5")}, main, nullptr);
        const char *name = c.value ? c.value : "no row";
        EXPECT_EQ(out.Krok, c.krok) << name;
        EXPECT_EQ(CodeNumber(out.Error.Code), c.code) << name;
        // a gets its row, the index never does.
        EXPECT_EQ(main.Names(), QStringList({QString(), QStringLiteral("a")})) << name;
        EXPECT_TRUE(Prompter->Shown.isEmpty()) << name;
    }
    // With a value, the loop takes it.
    TVariablesMain main;
    main.Rows.AppendRow(QStringLiteral("a"), QStringLiteral("2"));
    TCyklickeVypocty model;
    const TCyklickeVypocty::TVstup in{QStringLiteral("a*n"), QStringLiteral("n"), QStringLiteral("1"),
                                      QStringLiteral("3"), true};
    const TCyklickeVypocty::TVystup checked = model.Priprav(in, main, nullptr);
    ASSERT_EQ(checked.Krok, TCyklickeVypocty::TKrok::Pocitaj);
    const TCyklickeVypocty::TVystup out = model.Pocitaj(in, checked.Od, checked.Do);
    EXPECT_EQ(out.Krok, TCyklickeVypocty::TKrok::Vysledok);
    EXPECT_EQ(out.Value, 48);
}

TEST_F(CyklickeVypoctyTest, LongRangesAreQuestionedAndTooLongOnesRefused) {
    struct Case {
        const char *lower, *upper;
        TAnswer answer;
        TMessageKind box; // Information: no box
        TCyklickeVypocty::TKrok krok;
    } cases[] = {
        {"0", "999", TAnswer::Yes, TMessageKind::Information, TCyklickeVypocty::TKrok::Pocitaj},
        {"0", "1000", TAnswer::Yes, TMessageKind::Question, TCyklickeVypocty::TKrok::Pocitaj},
        {"0", "1000", TAnswer::No, TMessageKind::Question, TCyklickeVypocty::TKrok::Zastavene},
        {"-1500", "1499", TAnswer::Yes, TMessageKind::Question, TCyklickeVypocty::TKrok::Pocitaj},
        {"0", "3000", TAnswer::Yes, TMessageKind::Warning, TCyklickeVypocty::TKrok::Zastavene},
        {"-99999999", "999999999", TAnswer::Yes, TMessageKind::Warning, TCyklickeVypocty::TKrok::Zastavene},
        {"3000", "0", TAnswer::Yes, TMessageKind::Information, TCyklickeVypocty::TKrok::Pocitaj},
    };
    TVariablesMain main;
    TCyklickeVypocty model;
    for (const Case &c : cases) {
        Prompter->Shown.clear();
        Prompter->Answers = {c.answer};
        const TCyklickeVypocty::TVystup out =
            model.Priprav({QStringLiteral("n"), QStringLiteral("n"), QString::fromLatin1(c.lower),
                           QString::fromLatin1(c.upper)},
                          main, nullptr);
        const std::string name = std::string(c.lower) + ".." + c.upper;
        EXPECT_EQ(out.Krok, c.krok) << name;
        if (c.box == TMessageKind::Information) {
            EXPECT_TRUE(Prompter->Shown.isEmpty()) << name;
            continue;
        }
        ASSERT_EQ(Prompter->Shown.size(), 1) << name;
        EXPECT_EQ(Prompter->Shown.first().Kind, c.box) << name;
        EXPECT_EQ(Prompter->Shown.first().Caption, model.Messages.DifficultCalculationCaption) << name;
        EXPECT_EQ(Prompter->Shown.first().Text, c.box == TMessageKind::Warning ? model.Messages.TooDifficultCalculation
                                                                              : model.Messages.DifficultCalculation)
            << name;
    }
}
