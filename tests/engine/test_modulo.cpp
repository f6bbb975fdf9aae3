#include "ModuloAnalyzator.h"
#include "uSpolocne.h"

#include <gtest/gtest.h>
#include <cmath>

namespace {

class ModuloTest : public ::testing::TestWithParam<char> {
protected:
    TEvaluationContext ctx{QLatin1Char(GetParam())};

    void SetUp() override { ctx.NumberSet = TNumberSet::Modulo; }

    // The residue, or empty after an error.
    QString Eval(quint16 n, const QString &text, TChyba &err) {
        ctx.Modulus = n;
        const TEngineResult r = EvaluateModulo(text, ctx);
        err = r.Error;
        return r.Token;
    }
};

INSTANTIATE_TEST_SUITE_P(Separators, ModuloTest, ::testing::Values(',', '.'),
                         [](const auto &info) { return info.param == ',' ? "Comma" : "Point"; });

TEST_P(ModuloTest, CheckCodesAndSpans) {
    struct Case {
        const char *expr;
        quint8 code;
        int start, end;
    };
    const Case cases[] = {
        {"2^3", 13, 1, 2},       {"5!", 13, 1, 2},     {"10%", 13, 2, 3},   {"sin(3)", 14, 0, 3},
        {"1,5", 16, 1, 2},       {"1.5", 16, 1, 2},    {"$a", 16, 0, 1},    {"2|3", 16, 1, 2},
        {"*3", 2, 0, 1},         {"/3", 2, 0, 1},      {"3-", 3, 1, 2},     {"3+*2", 5, 2, 3},
        {"(3+)", 7, 3, 4},       {"(*3)", 8, 1, 2},    {"()", 9, 0, 2},     {"2*()+1", 9, 2, 4},
        {"(1+2", 11, 0, 1},      {"1+2)", 10, 3, 4},   {"sin(3", 14, 0, 3}, {"2+cos(1))", 14, 2, 5},
        {"3 + * 2", 5, 4, 5},    {" 2 ^ 3", 13, 3, 4}, {"1 ,5", 16, 2, 3},  {"( 1 + 2", 11, 0, 1},
        {"2*SQRT(4)", 14, 2, 6}, {"5!^", 13, 1, 2},    {"", 0, 0, 0},       {"3 + 4", 0, 0, 0},
        {"2x+(y-1)/3", 0, 0, 0}, {"-3", 0, 0, 0},      {"7 mod", 0, 0, 0},  {"scot+1", 0, 0, 0},
    };
    for (const auto &c : cases) {
        TChyba err;
        err.Code = TErrorCode(99);
        err.SpanEnd = 99;
        CheckModuloSyntax(QString::fromLatin1(c.expr), ctx, err);
        EXPECT_EQ(CodeNumber(err.Code), c.code) << c.expr;
        if (c.code != 0) {
            EXPECT_EQ(err.SpanStart, c.start) << c.expr;
            EXPECT_EQ(err.SpanEnd, c.end) << c.expr;
        } else {
            EXPECT_EQ(err.SpanEnd, 0) << c.expr;
        }
    }
}

TEST_P(ModuloTest, EvaluatesInEveryModulus) {
    struct Case {
        quint16 n;
        const char *expr;
        const char *result;
    };
    const Case cases[] = {
        {7, "3+5", "1"},       {7, "2-5", "4"},  {7, "3*5", "1"},           {7, "6/2", "3"},     {7, "(2+3)*4", "6"},
        {7, "-3", "4"},        {7, "100", "2"},  {7, "3 + 4", "0"},         {7, "2*3+4*5", "5"}, {7, "2(3)", "6"},
        {7, "-(2+3)", "2"},    {7, "14/3", "0"}, {5, "0-1", "4"},           {5, "2-3*4", "0"},   {5, "7/3+1", "0"},
        {2, "1+1", "0"},       {2, "3*3", "1"},  {97, "65535*65535", "11"}, {97, "50/3", "49"},  {97, "65535", "60"},
        {97, "0-65535", "37"},
    };
    for (const auto &c : cases) {
        TChyba err;
        EXPECT_EQ(Eval(c.n, QString::fromLatin1(c.expr), err), QString::fromLatin1(c.result))
            << c.expr << " mod " << c.n;
        EXPECT_EQ(CodeNumber(err.Code), 0) << c.expr << " mod " << c.n;
    }
}

TEST_P(ModuloTest, DivisionIsMultiplicationByTheInverse) {
    for (quint16 n : {2, 5, 7, 97}) {
        for (int b = 1; b < n; ++b) {
            TChyba err;
            const QString r = Eval(n, QStringLiteral("1/%1").arg(b), err);
            ASSERT_EQ(CodeNumber(err.Code), 0) << b << " mod " << n;
            EXPECT_EQ(r.toInt() * b % n, 1) << b << " mod " << n;
            // The same divisor typed as a larger representative.
            EXPECT_EQ(Eval(n, QStringLiteral("1/%1").arg(b + 3 * n), err), r) << b << " mod " << n;
        }
    }
}

TEST_P(ModuloTest, EvaluationErrors) {
    struct Case {
        quint16 n;
        const char *expr;
        quint8 code;
        const char *result;
    };
    const Case cases[] = {
        {7, "5/7", 25, ""},    {7, "5/(3+4)", 25, ""}, {7, "2+(1/14)", 25, ""}, {2, "1/2", 25, ""},
        {97, "5/194", 25, ""}, {5, "3/0", 25, ""},     {5, "2e3", 1, ""},       {5, "()", 9, ""},
        {5, "(1+2", 11, ""},   {5, "1+2)", 10, ""},    {5, "2*(3+())", 9, ""},
    };
    for (const auto &c : cases) {
        TChyba err;
        EXPECT_EQ(Eval(c.n, QString::fromLatin1(c.expr), err), QString::fromLatin1(c.result)) << c.expr;
        EXPECT_EQ(CodeNumber(err.Code), c.code) << c.expr;
        EXPECT_EQ(err.SpanStart, 0) << c.expr;
        EXPECT_EQ(err.SpanEnd, 0) << c.expr;
    }
}

TEST_P(ModuloTest, NumbersBeyondSixteenBitsAreCode29) {
    TChyba err;
    for (const char *text : {"65536", "1+65536", "99999999999999999999999", "2*(70000)"}) {
        EXPECT_TRUE(Eval(97, QString::fromLatin1(text), err).isEmpty()) << text;
        EXPECT_EQ(CodeNumber(err.Code), 29) << text;
    }
    Eval(5, QString(70000, QLatin1Char('1')), err);
    EXPECT_EQ(CodeNumber(err.Code), 29);
    Eval(0, QStringLiteral("1+1"), err);
    EXPECT_EQ(CodeNumber(err.Code), 29);
}

TEST_P(ModuloTest, VariablesAreSubstituted) {
    TVariableList vars({QStringLiteral("x=3"), QStringLiteral("y=4")});
    ctx.Variables = &vars;
    TChyba err;
    EXPECT_EQ(Eval(5, QStringLiteral("2x+1"), err), QStringLiteral("2"));
    EXPECT_EQ(Eval(7, QStringLiteral("x/y"), err), QStringLiteral("6"));
    EXPECT_EQ(CodeNumber(err.Code), 0);
}

} // namespace
