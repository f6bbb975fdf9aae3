#include "Zlomky.h"
#include "ZlomkovyAnalyzator.h"
#include "uSpolocne.h"

#include <gtest/gtest.h>
#include <cmath>

namespace {

class FractionTest : public ::testing::TestWithParam<char> {
protected:
    TEvaluationContext ctx{QLatin1Char(GetParam())};

    // Writes the tables' "," into a text in the separator under test.
    QString Sep(const char *text) const {
        QString s = QString::fromLatin1(text);
        s.replace(QLatin1Char(','), ctx.Separator());
        return s;
    }

    // The result token, or empty after an error.
    QString Eval(const QString &text, TChyba &err) {
        const TEngineResult r = EvaluateFraction(text, ctx);
        err = r.Error;
        return r.Token;
    }
};

INSTANTIATE_TEST_SUITE_P(Separators, FractionTest, ::testing::Values(',', '.'),
                         [](const auto &info) { return info.param == ',' ? "Comma" : "Point"; });

TEST(Prvocisla, GenerateListsLargestFirst) {
    struct Case {
        quint16 limit;
        int count;
        qint32 first;
    };
    const Case cases[] = {{997, 168, 997}, {0, 5, 11}, {13, 6, 13}, {100, 25, 97}};
    for (const auto &c : cases) {
        TPrvocisla primes;
        primes.Generate(c.limit);
        ASSERT_EQ(primes.Count(), c.count) << c.limit;
        EXPECT_EQ(primes.Values().front(), c.first) << c.limit;
        EXPECT_EQ(primes.Values().back(), 2) << c.limit;
    }
    TPrvocisla small;
    small.Generate(5);
    EXPECT_EQ(small.Values(), (std::vector<qint32>{11, 7, 5, 3, 2}));
}

TEST_P(FractionTest, TokenTextMovesTheSign) {
    struct Case {
        long double n, d;
        const char *text;
    };
    const Case cases[] = {
        {-3, -4, "[+3|4]"},
        {3, -4, "[-3|4]"},
        {5, 1, "[+5]"},
        {1, 0, "[+1|0]"},
        {2.5L, 1, "[+2,5]"},
        {1e15L, 1, "[+1000000000000000]"},
        {123456789012345.0L, 1, "[+123456789012345]"},
        {1e-6L, 1, "[+0,000001]"},
        {1.0L / 3, 1, "[+0,333333333333333333]"},
        {-0.0L, 1, "[+0]"},
        {9223372036854775807.0L - 1024, 1, "[+9223372036854774783]"},
    };
    for (const auto &c : cases) {
        QString r;
        FractionToText(TFraction{c.n, c.d}, r, ctx.Separator());
        EXPECT_EQ(r, Sep(c.text)) << c.text;
    }
}

TEST_P(FractionTest, StrToFractionReadsTokensAndNumbers) {
    struct Case {
        const char *text;
        long double n, d;
    };
    const Case cases[] = {
        {"[+3|4]", 3, 4}, {"[-5]", -5, 1}, {"[1 2]", 12, 1}, {"[2,5|-1]", 2.5L, -1}, {"7", 7, 1}, {"[1E3|2]", 1000, 2},
    };
    for (const auto &c : cases) {
        TFraction f{99, 99};
        StrToFraction(Sep(c.text), f, ctx.Separator());
        EXPECT_EQ(f.Numerator, c.n) << c.text;
        EXPECT_EQ(f.Denominator, c.d) << c.text;
    }
    TFraction kept{3, 8};
    StrToFraction(QString(), kept, ctx.Separator());
    EXPECT_EQ(kept.Numerator, 3);
    EXPECT_EQ(kept.Denominator, 8);
    for (const char *bad : {"[x]", "[1|]", "[|2]", "[1|2|3]", "[1;5]"}) {
        TFraction f{3, 8};
        EXPECT_THROW(StrToFraction(QString::fromLatin1(bad), f, ctx.Separator()), EEngineConvertError) << bad;
        EXPECT_EQ(f.Numerator, 3) << bad;
    }
}

TEST(Zlomky, ReduceFractionTable) {
    struct Case {
        long double n, d, rn, rd;
    };
    const Case cases[] = {
        {0.125L, 1, 1, 8},
        {1009, 2018, 1, 2},
        {12, 18, 2, 3},
        {6, -4, 3, -2},
        {0, 6, 0, 1},
        {6, 0, 1, 0},
        {0, 0, 0, 0},
        {0.25L, 0.5L, 1, 2},
        {997 * 3, 997 * 5, 3, 5},
        {1024, 4096, 1, 4},
        {-0.75L, -1.5L, -1, -2},
    };
    for (const auto &c : cases) {
        TFraction f{c.n, c.d};
        ReduceFraction(f);
        EXPECT_EQ(f.Numerator, c.rn) << double(c.n) << "/" << double(c.d);
        EXPECT_EQ(f.Denominator, c.rd) << double(c.n) << "/" << double(c.d);
    }
}

TEST(Zlomky, ReduceFractionOfEndlessDecimalsStopsAtTheBound) {
    // A negative numerator stops growing as soon as a positive one does.
    const long double root = std::sqrt(2.0L);
    for (long double x : {1.0L / 3, -1.0L / 3, root, -root, 1e5L * root, -1e5L * root}) {
        TFraction f{x, 1};
        ASSERT_NO_THROW(ReduceFraction(f)) << double(x);
        EXPECT_FALSE(HasFraction(f.Numerator));
        EXPECT_NEAR(double(f.Numerator / f.Denominator / x), 1.0, 1e-15) << double(x);
    }
    TFraction huge{1e30L, 1};
    EXPECT_THROW(ReduceFraction(huge), EEngineInvalidOp);
}

TEST_P(FractionTest, ExactAsFarAsSixtyFourBitsReach) {
    struct Case {
        const char *expr;
        const char *result;
    };
    const Case cases[] = {
        {"999999999999999+2", "[+1000000000000001]"},
        {"60 nad 30", "[+118264581564861424]"},
        {"20!", "[+2432902008176640000]"},
        {"9223372036854775807", "[+9223372036854775807]"},
        {"(2/3)^(0-2)", "[+9|4]"},
        {"(4/9)^0,5", "[+2|3]"},
        {"1009/2018", "[+1|2]"},
        {"3!^2", "[+36]"},
        {"0,1+0,2-0,3", "[+0]"},
        {"1/3*3", "[+1]"},
        {"123456789/1000000007*1000000007", "[+123456789]"},
        {"1755 nad 2", "[+1539135]"},
    };
    for (const auto &c : cases) {
        TChyba err;
        EXPECT_EQ(Eval(Sep(c.expr), err), Sep(c.result)) << c.expr << " code " << CodeNumber(err.Code);
    }
    // Beyond 64 bits: code 20, not a rounded value.
    for (const char *expr : {"21!", "2^63", "1/2^64", "64 nad 32*8", "9223372036854775807+1", "100 nad 50"}) {
        TChyba err;
        EXPECT_TRUE(Eval(Sep(expr), err).isEmpty()) << expr;
        EXPECT_EQ(CodeNumber(err.Code), 20) << expr;
    }
    // A long sum stays exact: its terms are reduced as they go.
    QString sum = QStringLiteral("1/2");
    for (int i = 1; i < 3201; ++i)
        sum += QStringLiteral("+1/2");
    TChyba err;
    EXPECT_EQ(Eval(sum, err), QStringLiteral("[+3201|2]"));
}

// Every typed number is read with all its digits: exactly when its reduced
// parts fit in 64 bits, code 20 otherwise; nothing is rounded on the way.
TEST_P(FractionTest, LongNumbersAreReadExactly) {
    struct Case {
        const char *expr;
        const char *result;
        quint8 code;
    };
    const Case cases[] = {
        {"1000000000000000001-1000000000000000000", "[+1]", 0},
        {"7777777775777777007-7777777775777777000", "[+7]", 0},
        {"1234567890,123456789-1234567890,12345678", "[+9|1000000000]", 0},
        {"176366841446208111/10-1763668414462081116/100", "[-3|50]", 0},
        {"1,000000000000000001", "[+1000000000000000001|1000000000000000000]", 0},
        {"9549710196841361854%", "[+4774855098420680927|50]", 0},
        {"1+9549710196841361854%", "[+4774855098420680977|50]", 0},
        {"1,5e18+1", "[+1500000000000000001]", 0},
        {"1,5e-18", "[+3|2000000000000000000]", 0},
        {"000000000000000000000012,50000000000000000000", "[+25|2]", 0},
        {"1^100000000000000000000", "[+1]", 0},
        {"(0-1)^100000000000000000001", "[-1]", 0},
        {"0^100000000000000000000", "[+0]", 0},
        {"0,1234567890123456789", "", 20},
        {"1/0,0000000000000000001", "", 20},
        {"0,0000000000000000001*0", "", 20},
        {"10000000000000000000000/10000000", "", 20},
        {"2^100000000000000000000", "", 20},
        {"(1/2)^100000000000000000000", "", 20},
        {"99999999999999999999999999999999999999999+1", "", 20},
        {"12345678901234567890,5!", "", 24},
        {"5 nad 21!", "", 28},
        {"21! nad 5", "", 20},
        {"5 nad 123456789012,5^4", "", 27},
        {"1/0^(-1)", "", 25},
        {"2/0^(0-1)", "", 25},
        {"0^(-1)*0", "", 25},
    };
    for (const auto &c : cases) {
        TChyba err;
        EXPECT_EQ(Eval(Sep(c.expr), err), Sep(c.result)) << c.expr;
        EXPECT_EQ(CodeNumber(err.Code), c.code) << c.expr;
    }
}

TEST_P(FractionTest, DisplayInEveryBase) {
    struct Case {
        const char *token;
        quint8 base;
        const char *shown;
    };
    const Case cases[] = {
        {"[+6|8]", 10, "3 / 4"},
        {"[+4|2]", 10, "2"},
        {"[+5|10]", 10, "1 / 2"},
        {"[-3|4]", 10, "-3 / 4"},
        {"[3|-4]", 10, "-3 / 4"},
        {"[+1234567|2]", 10, "1 234 567 / 2"},
        {"[+0,25]", 10, "1 / 4"},
        {"[+5|8]", 2, "101 / 1000"},
        {"[-10]", 2, "-1010"},
        {"[+255|256]", 16, "FF / 1 00"},
        {"[+9|64]", 8, "11 / 100"},
        {"[+0|5]", 16, "0"},
        {"[+1000000000000000009|100]", 10, "1 000 000 000 000 000 009 / 100"},
        {"[-9223372036854775807|1000000000000000000]", 10, "-9 223 372 036 854 775 807 / 1 000 000 000 000 000 000"},
        {"[+999999999999999999]", 10, "999 999 999 999 999 999"},
        {"[+1000000000000000009]", 16, "D E0 B6 B3 A7 64 00 09"},
    };
    for (const auto &c : cases) {
        QString r;
        FractionTextToDisplay(Sep(c.token), c.base, r, ctx.Separator());
        EXPECT_EQ(r, QString::fromLatin1(c.shown)) << c.token << " base " << int(c.base);
    }
    QString r;
    EXPECT_THROW(FractionTextToDisplay(QStringLiteral("[+1|0]"), 10, r, ctx.Separator()), EEngineInvalidOp);
}

TEST_P(FractionTest, EvaluatesExactly) {
    struct Case {
        const char *expr;
        const char *result;
    };
    const Case cases[] = {
        {"1/3+1/6", "[+1|2]"},
        {"6/3", "[+2]"},
        {"-1/2", "[-1|2]"},
        {"2^(-1)", "[+1|2]"},
        {"2^3^2", "[+512]"},
        {"(4/9)^(1/2)", "[+2|3]"},
        {"2^3!", "[+40320]"},
        {"0!", "[+1]"},
        {"5 nad 2", "[+10]"},
        {"(0-7) mod 2", "[-1]"},
        {"(0-7) div 2", "[-3]"},
        {"200+10%", "[+220]"},
        {"200-10%", "[+180]"},
        {"2*10%", "[+1|5]"},
        {"-10%", "[-1|10]"},
        {"1,5+1/2", "[+2]"},
        {"1/3+1/6*(2/5)^2", "[+9|25]"},
        {"2-(1/2-3)", "[+9|2]"},
        {"(0-1)/(0-3)", "[+1|3]"},
        {"(1/2)^(0-1)", "[+2]"},
        // Powers of 0, 1 and -1 stay exact past 64 bits of exponent.
        {"1^64", "[+1]"},
        {"0^100", "[+0]"},
        {"(0-1)^65", "[-1]"},
    };
    for (const auto &c : cases) {
        TChyba err;
        const QString r = Eval(Sep(c.expr), err);
        EXPECT_EQ(CodeNumber(err.Code), 0) << c.expr;
        EXPECT_EQ(r, Sep(c.result)) << c.expr;
    }
}

TEST_P(FractionTest, StageErrors) {
    struct Case {
        const char *expr;
        quint8 code;
        const char *param1;
    };
    const Case cases[] = {
        {"(1/2)!", 24, ""},
        {"(0-3)!", 24, ""},
        {"2 nad 5", 28, ""},
        {"(0-5) nad 1", 27, "nad"},
        {"(15/2) mod 2", 27, "mod"},
        {"7 div (1/2)", 27, "div"},
        {"1/0", 25, ""},
        {"0/0", 20, ""},
        {"7 div 0", 25, ""},
        {"7 mod (2-2)", 25, ""},
        {"1e4000*1e4000", 20, ""},
        {"2^20000", 20, ""},
        {"0^(-1)", 25, ""},
        {"0^(-1)+1", 25, ""},
        {"0^(-1)-0^(-1)", 20, ""},
        {"0^(-1)*2", 25, ""},
        {"(-8)^(1/3)", 20, ""},
        {"70000!", 20, ""},
        {"70000 nad 2", 20, ""},
        {"2^(0^(-1))", 25, ""},
        {"(0^(-1))!", 25, ""},
        {"2*(1/0)", 25, ""},
        {"2*()", 9, ""},
        {"((1)", 11, ""},
        {"1+2)", 10, ""},
        {"2e99999", 1, ""},
        {"5!%", 1, ""},
    };
    for (const auto &c : cases) {
        TChyba err;
        EXPECT_TRUE(Eval(QString::fromLatin1(c.expr), err).isEmpty()) << c.expr;
        EXPECT_EQ(CodeNumber(err.Code), c.code) << c.expr;
        EXPECT_EQ(err.SpanStart, 0) << c.expr;
        EXPECT_EQ(err.SpanEnd, 0) << c.expr;
        EXPECT_EQ(err.Param1, QString::fromLatin1(c.param1)) << c.expr;
    }
    TChyba err;
    EXPECT_TRUE(Eval(QString(70000, QLatin1Char('1')), err).isEmpty()); // an overlong text
    EXPECT_EQ(CodeNumber(err.Code), 29);
}

TEST_P(FractionTest, VariablesAreSubstituted) {
    TVariableList vars({QStringLiteral("x=1/2"), QStringLiteral("y=3")});
    ctx.Variables = &vars;
    TChyba err;
    EXPECT_EQ(Eval(QStringLiteral("x+1/4"), err), QStringLiteral("[+3|4]"));
    EXPECT_EQ(Eval(QStringLiteral("2x*y"), err), QStringLiteral("[+3]"));
    EXPECT_EQ(CodeNumber(err.Code), 0);
}

TEST(ZlomkovyAnalyzator, UsesNoFunction) {
    struct Case {
        const char *expr;
        bool none;
    };
    const Case cases[] = {{"2+3", true},     {"sin(30)", false}, {"signal+1", false}, {"SIN(30)", false},
                          {"x nad 2", true}, {"", true},         {"2*sqrt", false}};
    for (const auto &c : cases)
        EXPECT_EQ(UsesNoFunction(QString::fromLatin1(c.expr)), c.none) << c.expr;
}

} // namespace

TEST_P(FractionTest, ConstantReferencesKeepTheirCaseBesideVariables) {
    TVariableList vars({QStringLiteral("x=1/2")});
    TConstantList constants;
    constants.Items = {{QStringLiteral("$Na"), QStringLiteral("6")}, {QStringLiteral("$x"), QStringLiteral("3")}};
    ctx.Variables = &vars;
    ctx.Constants = &constants;
    struct Case {
        const char *text;
        const char *result;
    };
    for (const Case &c : {Case{"$Na/4+x", "[+2]"}, Case{"$x*x", "[+3|2]"}, Case{"$Na*$x-x", "[+35|2]"}}) {
        TChyba err;
        EXPECT_EQ(Eval(QString::fromLatin1(c.text), err), QString::fromLatin1(c.result)) << c.text;
        EXPECT_EQ(CodeNumber(err.Code), 0) << c.text;
    }
}
