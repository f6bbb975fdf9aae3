// The main window's calculation model without the window: the road of "="
// in every number set and base, complex display, the variables' values,
// the error messages and the tool keys' part.
#include "AppTestSupport.h"
#include "uChyby.h"
#include "uKalkulacka.h"
#include "uPremenne.h"
#include "PrevodySustav.h"
#include "uCisla.h"
#include "uVypocet.h"

#include <cmath>
#include <random>

#include <random>

namespace {

using Vars = QList<QPair<QString, QString>>;

// set: 0 real, 1 complex, 2 modulo (modulus 5). Success: the shown result,
// ANS and the variable list of the history entry. Error (shown nullptr):
// the code, the part of the input it marks, and whether the variables
// window is to come up.
struct RoadCase {
    quint8 set, radix;
    bool fractions;
    const char *input;
    Vars variables;
    const char *shown, *ans, *list;
    quint8 code;
    int selStart, selLength;
    bool showVariables;
};

RoadCase Ok(quint8 set, quint8 radix, bool fractions, const char *input, const Vars &vars, const char *shown,
            const char *ans, const char *list) {
    return {set, radix, fractions, input, vars, shown, ans, list, 0, 0, 0, false};
}

RoadCase Err(quint8 set, quint8 radix, bool fractions, const char *input, const Vars &vars, quint8 code, int selStart,
             int selLength, bool showVariables = false) {
    return {set, radix, fractions, input, vars, nullptr, nullptr, nullptr, code, selStart, selLength, showVariables};
}

} // namespace

TEST_F(AppTest, CalculateInEveryNumberSetAndBase) {
    const RoadCase cases[] = {
        Ok(0, 10, false, "2+3*sin(30)", {}, "3,5", "3,5", ""),
        // Names are looked up without regard to case; the list names them as typed.
        Ok(0, 10, false, "x*y", {{"X", "2"}, {"Y", "5"}}, "10", "10", "x=2;y=5;"),
        Err(0, 10, false, "1/0", {}, 25, 0, 3),
        // Word operators and the imaginary unit in capitals ask for no variable.
        Ok(0, 10, false, "5MOD3", {}, "2", "2", ""),
        Ok(1, 10, false, "3+J4", {}, "3+j4", "(3+j4)", ""),
        // The span counts the spaces of the input as typed.
        Err(0, 10, false, " sin +1", {}, 12, 1, 3),
        Err(0, 10, false, "x+1", {{"x", "abc"}}, 31, 0, 3),
        Err(0, 10, false, "a+b", {{"a", "1"}}, 15, 0, 3, true),
        Ok(0, 10, true, "1/3+1/6", {}, "1 / 2", "1 / 2", ""),
        // Every digit of a large part is shown.
        Ok(0, 10, true, "1000000000000000009/100", {}, "1 000 000 000 000 000 009 / 100",
           "1 000 000 000 000 000 009 / 100", ""),
        // A function sends the text to the real evaluator; still shown as a fraction.
        Ok(0, 10, true, "sin(30)", {}, "1 / 2", "1 / 2", ""),
        Err(0, 10, true, "5 div 0", {}, 25, 0, 7),
        // In base 16 the digits are no variables.
        Ok(0, 16, false, "FF+1", {}, "1 00", "1 00", ""),
        Ok(0, 16, false, "x*A", {{"x", "2"}}, "14", "14", "x=2;"),
        Err(0, 2, false, "2+1", {}, 26, 0, 3),
        Ok(1, 10, false, "z*2", {{"z", "1+j"}}, "2+j2", "(2+j2)", "z=1+j;"),
        Ok(1, 2, false, "j11*j", {}, "-11", "(-11)", ""),
        Err(1, 10, false, "sin(j)", {}, 14, 0, 3),
        Ok(2, 10, false, "2/3", {}, "4", "4", ""),
        // ANS keeps the decimal residue, whatever the base shown.
        Ok(2, 2, false, "11+1", {}, "100", "4", ""),
        Err(2, 10, false, "3^2", {}, 13, 1, 1),
        // Beyond the modulo tokens' range the evaluator throws: the guard gives
        // 29 and marks the whole input.
        Err(2, 10, false, "70000+1", {}, 29, 0, 7),
        Err(2, 10, false, "x+1", {{"x", "1,5"}}, 17, 0, 3, true),
    };
    for (const RoadCase &c : cases) {
        SCOPED_TRACE(c.input);
        TPremenne rows;
        TKalkulacka model(&rows);
        ASSERT_TRUE(model.Calculate(QStringLiteral("40+2")).Ok);
        model.NumberSet = TNumberSet(c.set);
        model.Radix = c.radix;
        model.Fractions = c.fractions;
        for (const auto &[name, value] : c.variables)
            rows.AppendRow(name, value);
        const QString input = QString::fromUtf8(c.input);
        const TVysledokVypoctu out = model.Calculate(input);
        EXPECT_EQ(out.Ok, c.shown != nullptr) << S(ErrorMessage(model.LastError));
        if (c.shown) {
            EXPECT_EQ(S(out.Shown), c.shown);
            EXPECT_EQ(S(model.Ans), c.ans);
            EXPECT_EQ(S(model.BuildVariableList(input)), c.list);
            continue;
        }
        const TChyba &err = model.LastError;
        EXPECT_EQ(CodeNumber(err.Code), c.code);
        EXPECT_EQ(err.SpanEnd ? err.SpanStart : 0, c.selStart);
        EXPECT_EQ(err.SpanEnd ? err.SpanEnd - err.SpanStart : input.size(), c.selLength);
        EXPECT_EQ(out.ShowVariables, c.showVariables);
        EXPECT_EQ(S(model.Ans), "42"); // only a success writes ANS
    }
}

TEST_F(AppTest, MissingVariablesGetEmptyRowsInTheirOrder) {
    TPremenne rows;
    rows.SetName(0, "a");
    rows.SetValue(0, "1");
    TKalkulacka model(&rows);
    model.AddMissingVariables(QStringLiteral("a+b*c+b+logy(8)+x"), QStringLiteral("x"));
    EXPECT_EQ(rows.Lines(), QStringList({"a=1", "b=", "c=", "y="}));
}

TEST_F(AppTest, FormatComplexNumberAlgebraicAndExponential) {
    struct Case {
        long double re, im;
        bool polar;
        quint8 base;
        const char *text;
    };
    const Case cases[] = {
        {0, 1, false, 10, "0+j"},
        {2, -1, false, 10, "2-j"},
        {5, 0, false, 10, "5"},
        {-1.5L, -2.25L, false, 10, "-1,5-j2,25"},
        {10, 255, false, 16, "A+jFF"},
        {0, -2, true, 10, "2e^-j90"},
        {-4, 0, true, 10, "4e^j180"},
        {0, 3, true, 2, "11e^j101 1010"},
        // A part too small for the decimals of base 2, 8 or 16 is not written.
        {14, 1e-30L, false, 16, "E"},
        {0, -1e-30L, false, 8, "0"},
        {5, 1e-25L, true, 16, "5"},
        {14, 1e-30L, false, 10, "14+j1E-30"},
    };
    for (const Case &c : cases) {
        TComplexNumber z;
        z.Re = c.re;
        z.Im = c.im;
        z.Polar = c.polar;
        EXPECT_EQ(S(FormatComplexNumber(z, 6, c.base, QLatin1Char(','))), c.text) << c.text;
    }
}

TEST_F(AppTest, ValidateVariableValuesByMode) {
    TPremenne rows;
    rows.AppendRow("a", "2");
    rows.AppendRow("f", "1/3");
    rows.AppendRow("c", "3+j4");
    rows.AppendRow("bad", "1+*");
    rows.AppendRow("blank", "");
    rows.AppendRow("Y", "10");
    rows.AppendRow("br", "]1[");
    rows.AppendRow("p", "0.5"); // saved under the other separator
    rows.AppendRow("q", "2e^j4.5");
    TKalkulacka model(&rows);
    struct Case {
        const char *expr;
        TKontrola mode;
        const char *excluded;
        quint8 code;
        const char *param;
    };
    const Case cases[] = {
        {"a+f", TKontrola::Realne, "", 0, ""},
        {"a+c", TKontrola::Realne, "", 17, "c"},
        {"a+c", TKontrola::Komplexne, "", 0, ""},
        {"a*f", TKontrola::Modulo, "", 17, "f"},
        {"bad+1", TKontrola::Komplexne, "", 31, "bad"},
        {"blank", TKontrola::Realne, "", 15, ""},
        {"a+nothere", TKontrola::Realne, "", 15, ""},
        {"x^2+a", TKontrola::Realne, "x", 0, ""},  // the excluded name needs no value
        {"logy(8)", TKontrola::Realne, "", 0, ""}, // y, found as Y
        {"sin(a)+2e5*$pi mod 2", TKontrola::Realne, "", 0, ""},
        // square brackets belong to no value, in any set
        {"2br", TKontrola::Realne, "", 31, "br"},
        {"2br", TKontrola::Modulo, "", 31, "br"},
        // either separator is the program's
        {"p+1", TKontrola::Realne, "", 0, ""},
        {"p*q", TKontrola::Komplexne, "", 0, ""},
        {"p", TKontrola::Modulo, "", 17, "p"},
    };
    for (const Case &c : cases) {
        TChyba err;
        err.SpanStart = 4;
        err.SpanEnd = 9;
        model.ValidateVariableValues(QString::fromLatin1(c.expr), err, QString::fromLatin1(c.excluded), c.mode);
        EXPECT_EQ(CodeNumber(err.Code), c.code) << c.expr;
        if (c.code != 0) {
            EXPECT_EQ(S(err.Param1), c.param) << c.expr;
        }
        EXPECT_EQ(err.SpanEnd, 0) << c.expr;
    }
}

TEST_F(AppTest, ErrorMessagePlaceholders) {
    struct Case {
        quint8 code;
        const char *p1;
        const char *p2;
        const char *text;
    };
    const Case cases[] = {
        {22, "-1", "ln", "Parameter \"-1\" nepatrí do definičného oboru funkcie \"ln\"."},
        {9, "x", "y", "Prázdne zátvorky."},
        {0, "x", "", ""},
    };
    for (const Case &c : cases) {
        TChyba err;
        err.Code = TErrorCode(c.code);
        err.Param1 = QString::fromUtf8(c.p1);
        err.Param2 = QString::fromUtf8(c.p2);
        EXPECT_EQ(S(ErrorMessage(err)), c.text) << int(c.code);
    }
}

TEST_F(AppTest, ToolKeysCheckTheInputAndWriteItInBaseTen) {
    struct Case {
        quint8 radix;
        const char *input;
        quint8 empty;
        quint8 code;
        const char *handed;
    };
    const Case cases[] = {
        {10, "x + 1", 33, 0, "x + 1"},         // base 10: as typed
        {16, "FF + n * A", 34, 0, "255+n*10"}, // other bases: base 10, no spaces
        {10, " \t ", 34, 34, ""},
        {10, "2 +", 33, 3, ""},
        {10, "$zz + 1", 33, 19, ""},
        {2, "12 + x", 33, 26, ""},
    };
    TKalkulacka model;
    for (const Case &c : cases) {
        model.Radix = c.radix;
        QString handed;
        EXPECT_EQ(model.PrepareToolExpression(QString::fromLatin1(c.input), c.empty, handed), c.code == 0) << c.input;
        EXPECT_EQ(CodeNumber(model.LastError.Code), c.code) << c.input;
        EXPECT_EQ(S(handed), c.handed) << c.input;
    }
}

TEST_F(AppTest, ToolResultsBecomeAnsInTheBaseAndDecimals) {
    struct Case {
        long double value;
        quint8 radix;
        quint8 decimals;
        const char *shown;
        quint8 code;
    };
    const Case cases[] = {
        {255.5L, 16, 6, "FF,8", 0}, {1.0L / 3, 10, 4, "0,333 3", 0}, {1234567, 10, 6, "1 234 567", 0},
        {5, 2, 6, "101", 0},        {1e30L, 16, 6, "", 29}, // beyond what base 16 writes: Ans stays
    };
    for (const Case &c : cases) {
        TKalkulacka model;
        model.Radix = c.radix;
        model.Decimals = c.decimals;
        QString shown;
        EXPECT_EQ(model.TakeRealResult(c.value, shown), c.code == 0) << c.shown;
        EXPECT_EQ(CodeNumber(model.LastError.Code), c.code) << c.shown;
        EXPECT_EQ(S(shown), c.shown);
        EXPECT_EQ(S(model.Ans), c.code == 0 ? c.shown : "0");
        EXPECT_EQ(model.AnsRadix, c.code == 0 ? c.radix : 10);
        if (c.code == 0) {
            EXPECT_EQ(model.AnsValue.Re, c.value);
        }
    }
}

// The result, ANS and the result of a tool show the value's 18 digits
// rounded a half away from zero, in each set and base that has decimals.
TEST_F(AppTest, ResultsRoundTheirEighteenDigitsHalfAwayFromZero) {
    struct Case {
        quint8 set, radix, decimals;
        const char *input, *shown;
    };
    const Case cases[] = {
        {0, 10, 2, "1/8", "0,13"},
        {0, 10, 2, "1234,565", "1 234,57"},
        {0, 10, 2, "0,005", "0,01"},
        {0, 10, 0, "-2,5", "-3"},
        {0, 10, 6, "999999999999999999", "999 999 999 999 999 999"},
        {0, 10, 6, "abs(1,23456789E-12)*1E12", "1,234 568"},
        {0, 16, 1, "1/20", "0,1"},
        {1, 10, 2, "5/8-j1/8", "0,63-j0,13"},
    };
    for (const Case &c : cases) {
        TKalkulacka model;
        model.NumberSet = TNumberSet(c.set);
        model.Radix = c.radix;
        model.Decimals = c.decimals;
        const TVysledokVypoctu out = model.Calculate(QString::fromLatin1(c.input));
        EXPECT_EQ(S(out.Shown), c.shown) << c.input;
        EXPECT_EQ(S(model.Ans), c.set == 1 ? std::string("(") + c.shown + ")" : std::string(c.shown)) << c.input;
    }
    TKalkulacka model;
    model.Decimals = 2;
    QString shown;
    ASSERT_TRUE(model.TakeRealResult(2.675L, shown));
    EXPECT_EQ(S(shown), "2,68");
}

// A base switch converts the input and the result text; ANS keeps its own
// base and is converted only as the ANS key puts it in.
TEST_F(AppTest, ABaseSwitchConvertsTheInputTheResultAndAnsForInsertion) {
    struct Case {
        quint8 set, from, to;
        const char *input, *converted, *result, *ans;
        quint8 code;
    };
    const Case cases[] = {
        {0, 10, 16, "255+1", "FF+1", "1 00", "100", 0},
        {0, 16, 2, "FF+1", "11111111+1", "1 0000 0000", "100000000", 0},
        {0, 10, 8, "255+1", "377+1", "400", "400", 0},
        {1, 10, 16, "j10+12", "jA+C", "C+jA", "(C+jA)", 0}, // the j stays inside the number
        {1, 10, 2, "3+j4", "11+j100", "11+j100", "(11+j100)", 0},
        {2, 16, 2, "5A+5", "1011010+101", "101 1111", "1011111", 0}, // ANS holds the residue in base 10
        // A result that cannot be written in the new base is dropped; an
        // input that cannot be converted stays as it was, in its old base.
        {0, 10, 16, "2^70", "2^46", "", nullptr, 26},
        {0, 10, 16, "1e400", "1e400", "", nullptr, 26},
        {1, 10, 16, "30^2", "30^2", "", nullptr, 26}, // 1E^2 would be an exponential form
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.input);
        TKalkulacka model;
        model.NumberSet = TNumberSet(c.set);
        model.Radix = c.from;
        model.Modulus = 97;
        const TVysledokVypoctu out = model.Calculate(QString::fromLatin1(c.input));
        ASSERT_TRUE(out.Ok) << S(ErrorMessage(model.LastError));
        const TPrepnutieSustavy sw = model.SwitchBase(c.to, QString::fromLatin1(c.input), "  " + out.Shown);
        EXPECT_EQ(S(sw.InputConverted ? sw.Input : QString::fromLatin1(c.input)), c.converted);
        // An input that cannot be converted keeps the old base in force and
        // leaves the result alone.
        const bool refused = c.code != 0 && !sw.InputConverted;
        EXPECT_EQ(sw.ResultConverted, !refused);
        EXPECT_EQ(S(sw.Result), c.result);
        EXPECT_EQ(CodeNumber(model.LastError.Code), c.code);
        EXPECT_EQ(model.Radix, refused ? c.from : c.to);
        if (c.ans) {
            EXPECT_EQ(S(model.AnsForInsertion()), c.ans);
        }
    }
}

// What a switch writes into the input, "=" reads with the value it had
// before (x = 3): "E" is a digit, a number never runs into a name.
TEST_F(AppTest, ASwitchedInputGivesTheResultOfBefore) {
    struct Case {
        const char *input, *converted, *shown;
    };
    const Case cases[] = {
        {"1000x", "3E8*x", "B B8"},
        {"999999999999999999", "DE0B6B3A763FFFF", "D E0 B6 B3 A7 63 FF FF"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.input);
        TPremenne rows;
        rows.AppendRow(QStringLiteral("x"), QStringLiteral("3"));
        TKalkulacka model(&rows);
        const TVysledokVypoctu before = model.Calculate(QString::fromLatin1(c.input));
        ASSERT_TRUE(before.Ok);
        const TPrepnutieSustavy sw = model.SwitchBase(16, QString::fromLatin1(c.input), "  " + before.Shown);
        EXPECT_EQ(S(sw.Input), c.converted);
        const TVysledokVypoctu after = model.Calculate(sw.Input);
        EXPECT_TRUE(after.Ok) << S(ErrorMessage(model.LastError));
        EXPECT_EQ(S(after.Shown), c.shown);
        EXPECT_EQ(S(after.Shown), S(sw.Result));
    }
}

// Small complex values and a small part beside a large one reach the
// display, in both forms.
TEST_F(AppTest, ComplexResultsShowSmallValuesAndSmallParts) {
    struct Case {
        const char *input, *shown, *turned;
    };
    const Case cases[] = {
        {"(1/100000000000000000)*100000000000000000", "1", "1"},
        {"1/(0,001^6)", "1E18", "1E18"},
        {"(57,4584e^-j45-914474664965e^-j180)", "914 474 665 005,629 224-j40,629 224",
         "914 474 665 005,629 224e^-j2,5455960290582092E-9"},
        {"8e^+j90-0,0000000040e^+j186", "3,9780875814730934E-9+j8", "8e^j90"},
    };
    for (const Case &c : cases) {
        TKalkulacka model;
        model.NumberSet = TNumberSet::Complex;
        EXPECT_EQ(S(model.Calculate(QString::fromLatin1(c.input)).Shown), c.shown) << c.input;
        EXPECT_EQ(S(model.ToggleComplexForm()), c.turned) << c.input;
    }
}

// A complex result as the main window shows it, in every base, with any
// number of decimals and in both forms, is read back by "=" on ANS to the
// value the shown text holds (each part kept to 18 digits, as any number
// is); in base 10 a variable with the shown text as its value gives it too.
TEST_F(AppTest, ComplexResultsReadBackInEveryBaseAndDecimals) {
    // The examples: an imaginary part shown with an exponent is a number.
    {
        TKalkulacka model;
        model.NumberSet = TNumberSet::Complex;
        model.Decimals = 3;
        // (0,0005 rounds to 0,001 at 3 decimals; 0,0004 has no digit there.)
        ASSERT_EQ(S(model.Calculate(QStringLiteral("0,0004j")).Shown), "0+j4E-4");
        const TVysledokVypoctu again = model.Calculate(model.Ans);
        EXPECT_TRUE(again.Ok) << S(ErrorMessage(model.LastError));
        EXPECT_EQ(S(again.Shown), "0+j4E-4");
        ASSERT_EQ(S(model.Calculate(QStringLiteral("1E20j")).Shown), "0+j1E20");
        EXPECT_EQ(S(model.Calculate(model.Ans).Shown), "0+j1E20");
        for (const char *value : {"j1E0", "j5E13"}) {
            TPremenne rows;
            rows.SetLines({QStringLiteral("x=") + QString::fromLatin1(value)});
            TKalkulacka withX(&rows);
            withX.NumberSet = TNumberSet::Complex;
            EXPECT_TRUE(withX.Calculate(QStringLiteral("-(x)")).Ok) << value << S(ErrorMessage(withX.LastError));
            EXPECT_EQ(withX.AnsValue.Im, -std::stold(QString::fromLatin1(value).mid(1).toStdString())) << value;
        }
    }
    std::mt19937_64 rng(6);
    auto part = [&rng]() -> long double {
        switch (rng() % 6) {
        case 0: return 0;
        case 1: return rng() % 2 ? 1 : -1;
        default: {
            const long double mantissa = (long double)(rng() % 1000000007) / 1000000007 + 0.05L;
            const int exponent = int(rng() % 51) - 25;
            return (rng() % 2 ? mantissa : -mantissa) * std::pow(10.0L, exponent);
        }
        }
    };
    int compared = 0;
    for (const char sep : {',', '.'}) {
        SetDecSep(QLatin1Char(sep));
        for (int i = 0; i < 60; ++i) {
            TComplexNumber z{part(), part(), rng() % 2 == 0};
            for (const quint8 base : {2, 8, 10, 16})
                for (const quint8 decimals : {0, 2, 3, 6, 13, 30}) {
                    QString shown;
                    try {
                        shown = FormatComplexNumber(z, decimals, base, QLatin1Char(sep));
                    } catch (const EEngineError &) {
                        continue; // no digits for it in this base
                    }
                    const std::string what = S(shown) + " base " + std::to_string(base);
                    // The value the text holds, read by the plain reader.
                    QString plain = shown;
                    TChyba err;
                    ConvertExpressionBase(base, 10, QLatin1Char('j'), plain, err, QLatin1Char(sep));
                    ASSERT_FALSE(err.Failed()) << what;
                    TComplexNumber held;
                    ASSERT_TRUE(TryParseComplex(plain, held, QLatin1Char(sep), QLatin1Char('j'))) << what;
                    TKalkulacka model;
                    model.NumberSet = TNumberSet::Complex;
                    model.Radix = base;
                    model.Decimals = decimals;
                    const TVysledokVypoctu r = model.Calculate(QLatin1Char('(') + shown + QLatin1Char(')'));
                    ASSERT_TRUE(r.Ok) << what << ": " << S(ErrorMessage(model.LastError));
                    // Bases 2, 8 and 16 keep a whole part of 64 bits whole.
                    auto kept = [base](long double v) {
                        return base != 10 && vypocet::WholeIn64Bits(v) ? v : RoundOperatorResult(v);
                    };
                    EXPECT_EQ(model.AnsValue.Re, kept(held.Re)) << what;
                    EXPECT_EQ(model.AnsValue.Im, kept(held.Im)) << what;
                    ++compared;
                    if (base != 10)
                        continue;
                    TPremenne rows;
                    rows.SetLines({QStringLiteral("v=") + shown});
                    TKalkulacka withV(&rows);
                    withV.NumberSet = TNumberSet::Complex;
                    ASSERT_TRUE(withV.Calculate(QStringLiteral("v")).Ok) << what;
                    EXPECT_EQ(withV.AnsValue.Re, model.AnsValue.Re) << what;
                    EXPECT_EQ(withV.AnsValue.Im, model.AnsValue.Im) << what;
                }
        }
    }
    SetDecSep(QLatin1Char(','));
    EXPECT_GT(compared, 1500);
}

// The complex form key turns ANS over and back without loss, and ANS as it
// leaves it is a number of the complex set.
TEST_F(AppTest, TheComplexFormKeyTurnsAnsOverAndBack) {
    struct Case {
        quint8 set, radix;
        const char *input, *shown, *turned;
    };
    const Case cases[] = {
        {1, 10, "3+j4", "3+j4", "5e^j53,130 102"},
        // Six binary places of the angle, rounded in base 2, round back to the same parts.
        {1, 2, "11+j100", "11+j100", "101e^j11 0101,001"},
        {0, 10, "-5", "-5", "5e^j180"}, // a result of the real set
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.input);
        TKalkulacka model;
        model.NumberSet = TNumberSet(c.set);
        model.Radix = c.radix;
        ASSERT_EQ(S(model.Calculate(QString::fromLatin1(c.input)).Shown), c.shown);
        model.NumberSet = TNumberSet::Complex;
        EXPECT_EQ(S(model.ToggleComplexForm()), c.turned);
        // What continues is the value, not the rounded modulus and angle.
        EXPECT_EQ(S(model.AnsForInsertion()), std::string("(") + c.shown + ")");
        EXPECT_EQ(S(model.ToggleComplexForm()), c.shown);
        model.ToggleComplexForm();
        const TVysledokVypoctu again = model.Calculate(model.AnsForInsertion());
        EXPECT_TRUE(again.Ok) << S(model.Ans) << " " << S(ErrorMessage(model.LastError));
        EXPECT_EQ(S(again.Shown), c.shown);
    }
}

// The shown result switched from its base to another and back (also by
// way of a third) is the text shown before, in every number set and form,
// at any decimals: the value is written anew each time, not the shown
// digits.
TEST_F(AppTest, AResultSwitchedThereAndBackIsShownAsBefore) {
    std::mt19937 rng(2103);
    auto pick = [&rng](int n) { return int(rng() % quint32(n)); };
    auto number = [&]() {
        QString t = QString::number(1 + pick(999999)) + QLatin1Char(',') + QString::number(pick(1000000));
        if (pick(2))
            t += QStringLiteral("E") + QString::number(pick(40) - 25);
        return pick(3) ? t : QLatin1Char('-') + t;
    };
    const quint8 bases[] = {2, 8, 10, 16};
    int trips = 0;
    for (int i = 0; i < 1500; ++i) {
        TKalkulacka model;
        model.NumberSet = TNumberSet(i % 3);
        model.Fractions = i % 6 == 3;
        model.Modulus = 97;
        model.Decimals = quint8(2 + pick(29));
        QString input = model.NumberSet == TNumberSet::Modulo    ? QString::number(pick(65536))
                        : model.NumberSet == TNumberSet::Complex ? number() + QStringLiteral("+j") + number()
                        : model.Fractions
                            ? QString::number(pick(2000) - 1000) + QStringLiteral("/") + QString::number(1 + pick(99))
                            : number() + QStringLiteral("/") + QString::number(1 + pick(99));
        const TVysledokVypoctu out = model.Calculate(input);
        ASSERT_TRUE(out.Ok) << S(input) << " " << S(ErrorMessage(model.LastError));
        QString shown = QStringLiteral("  ") +
                        (model.NumberSet == TNumberSet::Complex && pick(2) ? model.ToggleComplexForm() : out.Shown);
        // (A switch that cannot write the input ends the trip.)
        auto switchTo = [&](quint8 base) {
            if (base == model.Radix)
                return true;
            const TPrepnutieSustavy sw = model.SwitchBase(base, input, shown);
            input = sw.Input;
            shown = QStringLiteral("  ") + sw.Result;
            return sw.InputConverted;
        };
        if (!switchTo(bases[pick(4)]))
            continue;
        const quint8 from = model.Radix;
        const QString before = shown;
        const quint8 via = bases[pick(4)], third = bases[pick(4)];
        if (!switchTo(via) || !switchTo(third) || !switchTo(from))
            continue;
        trips += via != from;
        EXPECT_EQ(S(shown), S(before)) << S(input) << " in base " << int(from) << " by way of " << int(via) << " and "
                                       << int(third) << ", " << int(model.Decimals) << " decimals";
    }
    EXPECT_GT(trips, 1000);
}

// Whole numbers typed in base 2, 8 or 16 are shown with every digit when
// the result is whole and within the signed 64-bit range, in the real and
// the complex set, against the digits worked out in integers. Base 10 keeps
// the real set's 18 significant digits.
TEST_F(AppTest, WholeNumbersOf64BitsAreShownExactlyInBases2816) {
    auto digits = [](__int128 n, int base, bool grouped) {
        const int group = base == 2 ? 4 : base == 16 ? 2 : 3;
        unsigned __int128 m = n < 0 ? -n : n;
        std::string d;
        do {
            d.insert(d.begin(), "0123456789ABCDEF"[int(m % base)]);
            m /= base;
        } while (m != 0);
        std::string t = n < 0 ? "-" : "";
        for (size_t i = 0; i < d.size(); ++i) {
            if (grouped && i > 0 && (d.size() - i) % group == 0)
                t += ' ';
            t += d[i];
        }
        return t;
    };
    std::mt19937_64 rng(9);
    const __int128 limit = __int128(1) << 63;
    int compared = 0;
    for (int i = 0; i < 2000; ++i) {
        TKalkulacka model;
        model.NumberSet = i % 2 ? TNumberSet::Complex : TNumberSet::Real;
        model.Radix = quint8(i % 3 == 0 ? 2 : i % 3 == 1 ? 8 : 16);
        model.Decimals = quint8(2 + rng() % 29);
        // a mostly of 56 to 63 bits, b of any length
        const __int128 a = __int128(rng() >> (1 + rng() % (i % 4 ? 8 : 63))), b = __int128(rng() >> (1 + rng() % 63));
        const int op = int(rng() % (model.NumberSet == TNumberSet::Real ? 6 : 4));
        static const char *const ops[] = {"+", "-", "*", "-", " div ", " mod "};
        if (op >= 4 && b == 0)
            continue;
        const __int128 exact = op == 0   ? a + b
                               : op == 1 ? a - b
                               : op == 2 ? a * b
                               : op == 3 ? -a
                               : op == 4 ? a / b
                                         : a % b;
        if (exact < -limit || exact >= limit)
            continue;
        const std::string text = op == 3 ? "-" + digits(a, model.Radix, false)
                                         : digits(a, model.Radix, false) + ops[op] + digits(b, model.Radix, false);
        const TVysledokVypoctu out = model.Calculate(QString::fromStdString(text));
        ASSERT_TRUE(out.Ok) << text << " " << S(ErrorMessage(model.LastError));
        EXPECT_EQ(S(out.Shown), digits(exact, model.Radix, true)) << text;
        ++compared;
    }
    EXPECT_GT(compared, 1500);
    TKalkulacka model;
    model.Calculate(QStringLiteral("1152921504606846975"));
    EXPECT_EQ(model.AnsValue.Re, 1152921504606846980.0L);
}

// Continuing from ANS after the form key uses the value before the key,
// whatever the decimals and the base: generated products and quotients of
// parts of every size, turned over once or twice, put into the input in a
// base and evaluated again, give the same parts to the last bit.
TEST_F(AppTest, AnsAfterTheFormKeyContinuesWithTheValueBeforeIt) {
    TKalkulacka model;
    model.NumberSet = TNumberSet::Complex;
    // The example: 11-j2 shown with 2 decimals in the exponential form.
    model.Decimals = 2;
    ASSERT_EQ(S(model.Calculate(QStringLiteral("(3+j4)*(1-j2)")).Shown), "11-j2");
    EXPECT_EQ(S(model.ToggleComplexForm()), "11,18e^-j10,3");
    model.Decimals = 6;
    EXPECT_EQ(S(model.Calculate(model.AnsForInsertion() + QStringLiteral("*1")).Shown), "11-j2");

    std::mt19937 rng(1101);
    const auto part = [&rng] {
        static const char *const scales[] = {"", "0,00", "1000", "0,000000", "1234567"};
        return QString::number(int(rng() % 2000) - 1000) + QString::fromLatin1(scales[rng() % 5]) +
               QString::number(rng() % 97);
    };
    const quint8 bases[] = {10, 2, 8, 16};
    for (int i = 0; i < 300; ++i) {
        const QString text = QStringLiteral("(%1+j%2)%3(%4-j%5)")
                                 .arg(part(), part(), QLatin1String(rng() % 2 ? "*" : "/"), part(), part())
                                 .replace(QLatin1String("+j-"), QLatin1String("-j"))
                                 .replace(QLatin1String("-j-"), QLatin1String("+j"));
        model.Radix = 10;
        model.Decimals = quint8(2 + rng() % 29);
        if (!model.Calculate(text).Ok)
            continue; // a zero divisor
        const TComplexNumber before = model.AnsValue;
        for (int turns = 1 + int(rng() % 2); turns > 0; --turns)
            model.ToggleComplexForm();
        // Bases 2, 8 and 16 hold whole parts below 2^63 only.
        if (std::max(std::fabs(before.Re), std::fabs(before.Im)) < 0x1p63L)
            model.Radix = bases[rng() % 4];
        const QString ans = model.AnsForInsertion();
        ASSERT_TRUE(model.Calculate(ans).Ok) << S(text) << " -> " << S(ans);
        EXPECT_TRUE(model.AnsValue.Re == before.Re && model.AnsValue.Im == before.Im) << S(text) << " -> " << S(ans);
    }
}
