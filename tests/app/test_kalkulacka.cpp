// The main window's calculation model without the window: complex display,
// the check of the variables' values and the error messages.
#include "AppTestSupport.h"
#include "uChyby.h"
#include "uKalkulacka.h"
#include "uPremenne.h"

#include <cmath>

TEST_F(AppTest, FormatComplexNumberAlgebraicAndExponential) {
    struct Case { long double re, im; bool polar; quint8 base; const char *text; };
    const Case cases[] = {
        {0, 1, false, 10, "0+j"},
        {2, -1, false, 10, "2-j"},
        {5, 0, false, 10, "5"},
        {-1.5L, -2.25L, false, 10, "-1,5-j2,25"},
        {10, 255, false, 16, "A+jFF"},
        {0, -2, true, 10, "2e^-j90"},
        {-4, 0, true, 10, "4e^j180"},
        {4, 0, true, 10, "4"},
        {0, 3, true, 2, "11e^j101 1010"},
    };
    for (const Case &c : cases) {
        TComplexNumber z;
        z.Re = c.re;
        z.Im = c.im;
        z.Polar = c.polar;
        EXPECT_EQ(S(FormatComplexNumber(z, 6, c.base)), c.text) << c.text;
    }
}

TEST_F(AppTest, ValidateVariableValuesByMode) {
    TPremenne rows;
    rows.AppendRow("a", "2");
    rows.AppendRow("f", "1/3");
    rows.AppendRow("c", "3+j4");
    rows.AppendRow("bad", "1+*");
    rows.AppendRow("d", "2,5");
    rows.AppendRow("blank", "");
    rows.AppendRow("Y", "10");
    rows.AppendRow("br", "]1[");
    TKalkulacka model(&rows);
    struct Case { const char *expr; quint8 mode; const char *excluded; quint8 code; const char *param; };
    const Case cases[] = {
        {"a+f", KontrolaRealne, "", 0, ""},
        {"a+c", KontrolaRealne, "", 17, "c"},
        {"a+c", KontrolaKomplexne, "", 0, ""},
        {"a*f", KontrolaModulo, "", 17, "f"},
        {"a+d", KontrolaModulo, "", 17, "d"},
        {"bad+1", KontrolaKomplexne, "", 31, "bad"},
        {"blank", KontrolaRealne, "", 15, ""},
        {"a+nothere", KontrolaRealne, "", 15, ""},
        {"x^2+a", KontrolaRealne, "x", 0, ""}, // the excluded name needs no value
        {"logy(8)", KontrolaRealne, "", 0, ""}, // y, found as Y
        {"sin(a)+2e5", KontrolaRealne, "", 0, ""},
        {"$pi*a", KontrolaRealne, "", 0, ""},
        {"7 mod 2", KontrolaRealne, "", 0, ""},
        // square brackets belong to no value, in any set
        {"2br", KontrolaKomplexne, "", 31, "br"},
        {"2br", KontrolaRealne, "", 31, "br"},
        {"2br", KontrolaModulo, "", 31, "br"},
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
        EXPECT_EQ(err.SpanStart, 0);
        EXPECT_EQ(err.SpanEnd, 0);
    }
}

TEST_F(AppTest, TheCalculationNeverLetsAnExceptionOut) {
    TKalkulacka model;
    model.NumberSet = MnozinaModulo;
    model.Modulus = 97;
    const TVysledokVypoctu out = model.Calculate(QStringLiteral("70000+1"));
    EXPECT_FALSE(out.Ok);
    EXPECT_EQ(CodeNumber(model.LastError.Code), 29);
    EXPECT_EQ(model.LastError.SpanEnd, 0);
    EXPECT_EQ(S(model.Ans), "0");
}

TEST(ErrorMessages, ThirtyFourBuiltInTexts) {
    EXPECT_EQ(S(BuiltInErrorText(0)), "");
    EXPECT_EQ(S(BuiltInErrorText(35)), "");
    QSet<QString> distinct;
    for (int code = 1; code <= 34; ++code) {
        EXPECT_FALSE(BuiltInErrorText(quint8(code)).isEmpty()) << code;
        distinct.insert(BuiltInErrorText(quint8(code)));
    }
    EXPECT_EQ(distinct.size(), 34);
}

TEST_F(AppTest, ErrorMessagePlaceholders) {
    struct Case { quint8 code; const char *p1; const char *p2; const char *text; };
    const Case cases[] = {
        {12, "sin", "", "Funkcia \"sin\" nemá zadaný parameter."},
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
    struct Case { quint8 radix; const char *input; quint8 empty; quint8 code; const char *handed; };
    const Case cases[] = {
        {10, "x + 1", 33, 0, "x + 1"},          // base 10: as typed
        {16, "FF + n * A", 34, 0, "255+n*10"},  // other bases: base 10, no spaces
        {2, "101 - x", 33, 0, "5-x"},
        {10, " \t ", 33, 33, ""},
        {16, "", 34, 34, ""},
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
    struct Case { long double value; quint8 radix; quint8 decimals; const char *shown; quint8 code; };
    const Case cases[] = {
        {15, 16, 6, "F", 0},
        {255.5L, 16, 6, "FF,8", 0},
        {1.0L / 3, 10, 4, "0,333 3", 0},
        {1234567, 10, 6, "1 234 567", 0},
        {5, 2, 6, "101", 0},
        {1e30L, 16, 6, "", 29}, // beyond what base 16 writes: Ans stays
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
