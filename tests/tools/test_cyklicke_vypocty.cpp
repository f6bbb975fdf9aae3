// Sums and products over a range: the loop and its errors, the checks of
// the index name and the bounds, the variables, and the limits of the range.
#include "../app/AppTestSupport.h"
#include "Analyzator.h"
#include "uCyklickeVypocty.h"
#include "uKalkulacka.h"
#include "uPremenne.h"

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
                                TKontrola mode) override {
        Model.ValidateVariableValues(expression, err, excludedName, mode);
    }
};

TCyklickeVypocty::TVstup Input(const char *function, const char *index, const char *lower, const char *upper,
                               bool product = false) {
    return {QString::fromLatin1(function), QString::fromLatin1(index), QString::fromLatin1(lower),
            QString::fromLatin1(upper), product};
}

} // namespace

class CyklickeVypoctyTest : public AppTest {};

TEST_F(CyklickeVypoctyTest, SumsAndProductsOverTheRangeStopAtTheFirstFailingIndex) {
    const struct Case {
        const char *expression, *index;
        qint64 from, to;
        bool product;
        int code;
        long double value = 0;
        const char *text = "";
    } cases[] = {
        {"n", "n", 0, 5, false, 0, 15, "1,5E1"},
        {"n", "n", 1, 5, true, 0, 120, "1,2E2"},
        // lower above upper: nothing summed
        {"n", "n", 5, 0, false, 0, 0, "0E0"},
        {"n", "n", 5, 0, true, 0, 1, "1E0"},
        {"k^2", "k", -2, 2, false, 0, 10, "1E1"},
        {"2^I", "i", 0, 10, false, 0, 2047, "2,047E3"},
        {"", "n", 1, 3, false, 0, 0, "0E0"},  // an empty expression is 0
        {"1/(n-3)", "n", 1, 5, true, 25},     // fails half-way
        {"10^300*n", "n", 1, 20, true, 20},   // the product leaves the number range
        {"10^4931*n", "n", 1, 20, false, 20}, // and so does the sum
    };
    for (const auto &c : cases) {
        TCyklickeVypocty model;
        model.SetVariable(QString::fromLatin1(c.index));
        model.SetExpression(QString::fromLatin1(c.expression));
        const TCyklickeVypocty::TSucet r = model.Compute(c.from, c.to, c.product);
        const std::string name = std::string(c.expression) + (c.product ? " product " : " sum ") +
                                 std::to_string(c.from) + ".." + std::to_string(c.to);
        EXPECT_EQ(CodeNumber(r.Error.Code), c.code) << name;
        EXPECT_EQ(S(r.Text), c.text) << name;
        EXPECT_EQ(r.Value, c.value) << name;
    }
}

TEST_F(CyklickeVypoctyTest, EachIndexAddsWhatTheTextWithTheIndexWrittenInGives) {
    // Oracle: the text road on the expression with each "n" that stands
    // alone replaced by the index in brackets, accumulated in the same order.
    const struct Case {
        const char *expression;
        qint64 from, to;
        bool product;
    } cases[] = {
        {"1/n^2", 1, 2999, false},      {"sin(n)/n+n%-n/7", -60, 60, false}, {"(1+1/n)^n", 1, 200, true},
        {"n!/3^n-n/10", 0, 170, false}, {"10^n/7+n mod 3", -27, 27, false},  {"1/(n-3)", 1, 5, false}, // fails at n = 3
    };
    for (const Case &c : cases) {
        const QString text = QString::fromLatin1(c.expression);
        TCyklickeVypocty model;
        model.SetExpression(text);
        const TCyklickeVypocty::TSucet got = model.Compute(c.from, c.to, c.product);
        long double want = c.product ? 1 : 0;
        TErrorCode code = TErrorCode::None;
        for (qint64 i = c.from; i <= c.to && code == TErrorCode::None; ++i) {
            QString written;
            for (int k = 0; k < text.size(); ++k) {
                const bool alone = text.at(k) == QLatin1Char('n') && (k == 0 || !IsAsciiLetter(text.at(k - 1))) &&
                                   (k + 1 == text.size() || !IsAsciiLetter(text.at(k + 1)));
                written += alone ? QStringLiteral("(%1)").arg(i) : QString(text.at(k));
            }
            const TEngineResult r = EvaluateReal(written, TEvaluationContext(DecSep()));
            code = r.Error.Code;
            want = c.product ? want * r.Real : want + r.Real;
        }
        EXPECT_EQ(got.Error.Code, code) << c.expression;
        EXPECT_EQ(got.Value, code == TErrorCode::None ? want : 0) << c.expression;
    }
}

TEST_F(CyklickeVypoctyTest, RefusesUnusableFieldsAndTooLongRangesAndAsksBeforeLongOnes) {
    using P = TCyklickeVypocty::TPole;
    const struct {
        const char *index, *lower, *upper;
        P pole;          // the field refused
        const char *box; // the message shown; none: nothing asked
        TAnswer answer = TAnswer::Yes;
    } cases[] = {
        {"", "0", "5", P::PoleIndex, "index"},
        {"n+1", "0", "5", P::PoleIndex, "index"},
        {"[#]", "0", "5", P::PoleIndex, "index"}, // would stand in its own replacement text
        {"sin", "0", "5", P::PoleIndex, "index"},
        {"n", "", "5", P::PoleOd, "bound"},
        {"n", "-", "5", P::PoleOd, "bound"},
        {"n", "0", "1234567890", P::PoleDo, "bound"},
        {"n", "0", "2,5", P::PoleDo, "bound"},
        {"k2", "-12345678", "-12345000", P::ZiadnePole, ""}, // letters and digits; nine characters
        {"n", "0", "999", P::ZiadnePole, ""},
        {"n", "0", "1000", P::ZiadnePole, "long"},
        {"n", "0", "1000", P::ZiadnePole, "long", TAnswer::No},
        {"n", "-1500", "1499", P::ZiadnePole, "long"},
        {"n", "0", "3000", P::ZiadnePole, "too long"},
        {"n", "3000", "0", P::ZiadnePole, ""},
    };
    for (const auto &c : cases) {
        TVariablesMain main;
        TCyklickeVypocty model;
        model.Messages.InvalidBound = QStringLiteral("bound");
        model.Messages.InvalidVariable = QStringLiteral("index");
        model.Messages.DifficultCalculation = QStringLiteral("long");
        model.Messages.TooDifficultCalculation = QStringLiteral("too long");
        Prompter->Shown.clear();
        Prompter->Answers = {c.answer};
        const TCyklickeVypocty::TVystup out = model.Priprav(Input(c.index, c.index, c.lower, c.upper), main, nullptr);
        const std::string name = std::string(c.index) + " " + c.lower + ".." + c.upper;
        const bool computes = !*c.box || (c.box == std::string("long") && c.answer == TAnswer::Yes);
        EXPECT_EQ(out.Krok, computes ? TCyklickeVypocty::TKrok::Pocitaj : TCyklickeVypocty::TKrok::Zastavene) << name;
        EXPECT_EQ(out.Pole, c.pole) << name;
        EXPECT_EQ(S(Prompter->Shown.isEmpty() ? QString() : Prompter->Shown.first().Text), c.box) << name;
        // a refused field stops before the function is looked at
        EXPECT_EQ(main.AddMissingCalls.isEmpty(), c.pole != P::ZiadnePole) << name;
        if (computes) {
            EXPECT_EQ(out.Od, QByteArray(c.lower).toLongLong()) << name;
            EXPECT_EQ(out.Do, QByteArray(c.upper).toLongLong()) << name;
        }
    }
}

TEST_F(CyklickeVypoctyTest, VariablesBesidesTheIndexNeedRealValues) {
    const struct {
        const char *value; // of a; null: no row
        TCyklickeVypocty::TKrok krok;
        int code;
    } cases[] = {
        {nullptr, TCyklickeVypocty::TKrok::ChybajuHodnoty, 15},
        {"abc", TCyklickeVypocty::TKrok::Chyba, 31},
        {"2+j3", TCyklickeVypocty::TKrok::Chyba, 17},
        {"1/4", TCyklickeVypocty::TKrok::Pocitaj, 0},
    };
    for (const auto &c : cases) {
        TVariablesMain main;
        if (c.value)
            main.Rows.AppendRow(QStringLiteral("a"), QString::fromLatin1(c.value));
        TCyklickeVypocty model;
        const TCyklickeVypocty::TVstup in = Input("a*n+n", "n", "0", "5");
        const TCyklickeVypocty::TVystup out = model.Priprav(in, main, nullptr);
        const char *name = c.value ? c.value : "no row";
        EXPECT_EQ(out.Krok, c.krok) << name;
        EXPECT_EQ(CodeNumber(out.Error.Code), c.code) << name;
        if (out.Krok == TCyklickeVypocty::TKrok::Pocitaj) {
            // the loop takes the value
            const TCyklickeVypocty::TVystup sum = model.Pocitaj(in, out.Od, out.Do);
            EXPECT_EQ(sum.Krok, TCyklickeVypocty::TKrok::Vysledok);
            EXPECT_EQ(sum.Value, 18.75L);
        }
    }
}
