#include "KomplexneCisla.h"
#include "Analyzator.h"
#include "KomplexnyAnalyzator.h"

#include "uCisla.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace {

class Complex : public ::testing::Test {
protected:
    TEvaluationContext ctx{QLatin1Char(',')};

    void SetUp() override { ctx.NumberSet = TNumberSet::Complex; }

    // The separator of the context and of the token texts.
    void UseSeparator(char sep) { ctx.DecimalSeparator = QLatin1Char(sep); }

    QString Token(const TComplexNumber &z) const {
        QString r;
        ComplexToToken(z, r, ctx.Separator());
        return r;
    }

    TComplexNumber Parse(const QString &s) const {
        TComplexNumber z;
        ParseComplex(s, z, ctx.Separator());
        return z;
    }

    // The result token, or empty after an error.
    QString Evaluate(const QString &text, TChyba &err) {
        const TEngineResult r = EvaluateComplex(text, ctx);
        err = r.Error;
        return r.Token;
    }
};

std::string S(const QString &s) { return s.toStdString(); }

TComplexNumber Z(long double re, long double im, bool polar = false) {
    TComplexNumber z;
    z.Re = re;
    z.Im = im;
    z.Polar = polar;
    return z;
}

// --- token texts -------------------------------------------------------------

TEST_F(Complex, TokenTextsInBothFormsWithEitherSeparator) {
    struct Case {
        long double re, im;
        bool polar;
        const char *comma;
        const char *point;
    };
    const Case cases[] = {
        {3, 4, false, "[3+j4]", "[3+j4]"},
        {3, -4, false, "[3-j4]", "[3-j4]"},
        {3, -1, false, "[3-j]", "[3-j]"},
        {0, 0, false, "[0]", "[0]"},
        {-2, 0, false, "[-2]", "[-2]"},
        {1.5L, -0.25L, false, "[1,5-j0,25]", "[1.5-j0.25]"},
        {-0.0L, -0.0L, false, "[0]", "[0]"},
        {1e30L, 2, false, "[1E30+j2]", "[1E30+j2]"},
        {0, 2, true, "[2e^j90]", "[2e^j90]"},
        {5, 0, true, "[5]", "[5]"},
        {0, 0, true, "[0]", "[0]"},
        {0, 0.5L, true, "[0,5e^j90]", "[0.5e^j90]"},
        {1, 1, true, "[1,4142135623730951e^j45]", "[1.4142135623730951e^j45]"},
        {-3, -4, true, "[5e^-j126,869897645844021]", "[5e^-j126.869897645844021]"},
    };
    for (const auto &c : cases) {
        UseSeparator(',');
        EXPECT_EQ(S(Token(Z(c.re, c.im, c.polar))), c.comma);
        UseSeparator('.');
        EXPECT_EQ(S(Token(Z(c.re, c.im, c.polar))), c.point);
    }
}

TEST_F(Complex, ParseReadsBothForms) {
    struct Case {
        const char *text;
        long double re, im;
        bool polar;
    };
    const Case cases[] = {
        {"[3-j4]", 3, -4, false},
        {"-j", 0, -1, false},
        {"j", 0, 1, false},
        {"-3", -3, 0, false},
        {"[ 1,5 - j 0,5 ]", 1.5L, -0.5L, false},
        {"j2,5", 0, 2.5L, false},
        {"", 0, 0, false},
        {"[2e^-j90]", 0, -2, true},
        {"e^j180", -1, 0, true},
        {"2e^j", 2 * std::cos(std::acos(-1.0L) / 180), 2 * std::sin(std::acos(-1.0L) / 180), true},
        {"2e^-j", 2 * std::cos(std::acos(-1.0L) / 180), -2 * std::sin(std::acos(-1.0L) / 180), true},
        {"4e^+j0", 4, 0, true},
    };
    for (const auto &c : cases) {
        const TComplexNumber z = Parse(QString::fromLatin1(c.text));
        EXPECT_NEAR(double(z.Re), double(c.re), 1e-15) << c.text;
        EXPECT_NEAR(double(z.Im), double(c.im), 1e-15) << c.text;
        EXPECT_EQ(z.Polar, c.polar) << c.text;
    }
    UseSeparator('.');
    EXPECT_EQ(Parse("[1.5-j0.25]").Im, -0.25L);
    for (const char *bad : {"[x]", "[1,5]", "[3+jq]", "[2e^jz]", "[e^j1e99999]"})
        EXPECT_THROW(Parse(QString::fromLatin1(bad)), EEngineConvertError) << bad;
}

TEST_F(Complex, TokensReadBackInEveryQuadrantAndForm) {
    for (const char sep : {',', '.'}) {
        UseSeparator(sep);
        for (const long double re : {-2.5L, -1.0L, 0.0L, 0.75L, 3.0L})
            for (const long double im : {-4.0L, -1.0L, 0.0L, 0.5L, 1.0L, 123.25L})
                for (const bool polar : {false, true}) {
                    const QString t = Token(Z(re, im, polar));
                    const TComplexNumber back = Parse(t);
                    EXPECT_NEAR(double(back.Re), double(re), 1e-13) << S(t);
                    EXPECT_NEAR(double(back.Im), double(im), 1e-13) << S(t);
                    // A value without an angle is written as its modulus alone.
                    EXPECT_EQ(back.Polar, polar && t.contains(QLatin1String("e^"))) << S(t);
                }
    }
}

// --- arithmetic --------------------------------------------------------------

TEST_F(Complex, FourOperationsKeepTheExponentialFlagOnlyWhenBothHaveIt) {
    using Op = void (*)(const TComplexNumber &, const TComplexNumber &, TComplexNumber &);
    struct Case {
        Op op;
        TComplexNumber a, b;
        long double re, im;
    };
    const Case cases[] = {
        {ComplexAdd, Z(1, 2), Z(3, -5), 4, -3},   {ComplexSub, Z(1, 2), Z(3, -5), -2, 7},
        {ComplexMul, Z(3, 4), Z(3, -4), 25, 0},   {ComplexMul, Z(0, 1), Z(0, 1), -1, 0},
        {ComplexDiv, Z(1, 1), Z(1, -1), 0, 1},    {ComplexDiv, Z(10, 5), Z(2, 0), 5, 2.5L},
        {ComplexDiv, Z(3, 4), Z(0, 2), 2, -1.5L},
    };
    for (const auto &c : cases) {
        for (const bool pa : {false, true})
            for (const bool pb : {false, true}) {
                TComplexNumber a = c.a, b = c.b, r;
                a.Polar = pa;
                b.Polar = pb;
                c.op(a, b, r);
                EXPECT_EQ(r.Re, c.re);
                EXPECT_EQ(r.Im, c.im);
                EXPECT_EQ(r.Polar, pa && pb);
            }
    }
}

TEST_F(Complex, DivisionByZeroAndOverflowRaiseInsteadOfInfinities) {
    TComplexNumber r = Z(7, 7);
    EXPECT_THROW(ComplexDiv(Z(1, 1), Z(0, 0), r), EEngineInvalidOp);
    EXPECT_THROW(ComplexDiv(Z(0, 0), Z(-0.0L, 0), r), EEngineInvalidOp);
    EXPECT_EQ(r.Re, 7); // the result is left alone
    EXPECT_THROW(ComplexMul(Z(1e3000L, 0), Z(1e3000L, 0), r), EEngineRangeError);
    EXPECT_THROW(ComplexAdd(Z(1e4932L, 0), Z(1e4932L, 0), r), EEngineRangeError);
    EXPECT_THROW(ComplexAbs(Z(1e4932L, 1e4932L), r), EEngineRangeError);

    // Squares beyond the range do not spoil a quotient that fits.
    ComplexDiv(Z(2e3000L, 2e3000L), Z(1e3000L, 0), r);
    EXPECT_NEAR(double(r.Re), 2, 1e-15);
    EXPECT_NEAR(double(r.Im), 2, 1e-15);
    ComplexDiv(Z(1, 0), Z(0, 1e-3000L), r);
    EXPECT_EQ(r.Re, 0);
    EXPECT_NEAR(double(r.Im / -1e3000L), 1, 1e-15);
}

TEST_F(Complex, IntegerPowersAndModulus) {
    struct Case {
        TComplexNumber z;
        quint16 n;
        long double re, im;
    };
    const Case cases[] = {
        {Z(0, 1), 2, -1, 0}, {Z(0, 1), 1, 0, 1},        {Z(1, 1), 2, 0, 2},       {Z(2, 0), 10, 1024, 0},
        {Z(0, 0), 0, 1, 0},  {Z(0.5L, 0), 65535, 0, 0}, {Z(-1, 0), 65535, -1, 0},
    };
    for (const auto &c : cases) {
        TComplexNumber r;
        ComplexPowerInt(c.z, c.n, r);
        EXPECT_EQ(r.Re, c.re) << c.n;
        EXPECT_EQ(r.Im, c.im) << c.n;
    }
    TComplexNumber r;
    ComplexPowerInt(Z(0, 2, true), 2, r);
    EXPECT_TRUE(r.Polar);
    ComplexPowerInt(Z(3, 3, true), 0, r);
    EXPECT_TRUE(r.Polar);
    EXPECT_THROW(ComplexPowerInt(Z(2, 0), 65535, r), EEngineRangeError);

    ComplexAbs(Z(-3, 4, true), r);
    EXPECT_EQ(r.Re, 5);
    EXPECT_EQ(r.Im, 0);
    EXPECT_FALSE(r.Polar);
}

// --- syntax check ------------------------------------------------------------

struct CheckCase {
    const char *text;
    char sep;
    int code;
    int start;
    int end;
};

TEST_F(Complex, CheckReportsEachCodeWithItsSpan) {
    const CheckCase cases[] = {
        // passing texts
        {"3+j4", ',', 0, 0, 0},
        {"2e^-j45", ',', 0, 0, 0},
        {"2e^+j45", ',', 0, 0, 0},
        {"abs(3+j4)", ',', 0, 0, 0},
        {"$r*2", ',', 0, 0, 0},
        {"   ", ',', 0, 0, 0},
        {"1.5+j0.5", '.', 0, 0, 0},
        {"-j", ',', 0, 0, 0},
        {"1E5*j", ',', 0, 0, 0},
        {"7 mod", ',', 0, 0, 0}, // no word operators here: a name
        {"scot+glow", ',', 0, 0, 0},
        // 32: the exponential form
        {"2e^j(45)", ',', 32, 1, 5},
        {"2e^-j(45)", ',', 32, 1, 6},
        {"2 e^+j (4)", ',', 32, 2, 8},
        {"2eej", ',', 32, 2, 3},
        {"2jj", ',', 32, 2, 3},
        {"je", ',', 32, 1, 2},
        // 13 and 16: characters
        {"5!", ',', 13, 1, 2},
        {"10%", ',', 13, 2, 3},
        {"2 + # 3", ',', 16, 4, 5},
        {"1.5", ',', 0, 0, 0}, // either character is the separator
        {"2;", '.', 16, 1, 2},
        // 2, 3, 4: ends of the text
        {"^2", ',', 2, 0, 1},
        {"3 -", ',', 3, 2, 3},
        {"3,", ',', 4, 1, 2},
        {"3.", '.', 4, 1, 2},
        {"3.", ',', 4, 1, 2},
        // pairs
        {"2^-1", ',', 5, 2, 3},
        {"2E^-j4", ',', 5, 3, 4},
        {"1,+2", ',', 6, 2, 3},
        {"1.)", '.', 6, 2, 3},
        {"(2+)", ',', 7, 3, 4},
        {"(^2)", ',', 8, 1, 2},
        {"$+2", ',', 18, 0, 1},
        {"$,5", ',', 18, 0, 1},
        {"3$", ',', 18, 1, 2},
        {"(,5)", ',', 30, 1, 2},
        {"(.5)", '.', 30, 1, 2},
        {"(1),5", ',', 30, 3, 4},
        // brackets
        {"2*()", ',', 9, 2, 4},
        {"( 1 + 2", ',', 11, 0, 1},
        {"1 + 2 )", ',', 10, 6, 7},
        // function names
        {"2 + arcsin(1)", ',', 14, 4, 10},
        {"abs", ',', 12, 0, 3},
        {"abs(1)*2 * abs", ',', 12, 11, 14},
        {"(abs", ',', 12, 1, 4},
        {"(sin(1)", ',', 14, 1, 4},
    };
    for (const auto &c : cases) {
        UseSeparator(c.sep);
        TChyba err;
        err.Code = TErrorCode(99);
        err.SpanEnd = 99;
        CheckComplexSyntax(QString::fromLatin1(c.text), ctx, err);
        EXPECT_EQ(CodeNumber(err.Code), c.code) << c.text;
        if (c.code != 0) {
            EXPECT_EQ(err.SpanStart, c.start) << c.text;
            EXPECT_EQ(err.SpanEnd, c.end) << c.text;
            if (c.code == 12) {
                EXPECT_EQ(S(err.Param1), "abs") << c.text;
            }
        } else {
            EXPECT_EQ(err.SpanEnd, 0) << c.text;
        }
    }
}

TEST_F(Complex, CheckTakesAtMost255CharactersWithoutBlanks) {
    QString text = QStringLiteral("1");
    while (text.size() < 255)
        text += QStringLiteral("+1");
    ASSERT_EQ(text.size(), 255);
    TChyba err;
    CheckComplexSyntax(text + QStringLiteral("     "), ctx, err);
    EXPECT_EQ(CodeNumber(err.Code), 0);
    EXPECT_THROW(CheckComplexSyntax(text + QStringLiteral("+1"), ctx, err), EEngineRangeError);
}

// --- literals and operands ---------------------------------------------------

TEST_F(Complex, MarkingLiterals) {
    const std::pair<const char *, const char *> marks[] = {
        {"3+j4", "[3]+[j4]"},     {"2e^-j45", "[2e^-j45]"},
        {"1,5E3", "[1,5E3]"},     {"j", "[j]"},
        {"[3+j4]", "[3]+[j4]"},   {"2j", "[2][j]"},
        {"abs(.5)", "abs([.5])"}, {"x1*2e^+j3", "x[1]*[2e^+j3]"},
        {"2^-j", "[2]^-[j]"},     {"1E-20-j5E-4", "[1E-20]-[j5E-4]"},
        {"2e-j45", "[2e]-[j45]"},
    };
    for (const auto &[in, out] : marks) {
        QString t = QString::fromLatin1(in);
        MarkComplexNumbers(t);
        EXPECT_EQ(S(t), out) << in;
    }
}

// --- evaluator ---------------------------------------------------------------

TEST_F(Complex, EvaluatorResults) {
    struct Case {
        const char *text;
        char sep;
        const char *token;
    };
    const Case cases[] = {
        {"(3+j4)*(3-j4)", ',', "[25]"},
        {"(1+j)/(1-j)", ',', "[0+j]"},
        {"abs(3+j4)", ',', "[5]"},
        {"-j", ',', "[0-j]"},
        {"2e^j90", ',', "[0+j2]"},
        {"(1+j)^0", ',', "[1]"},
        {"3^3^3", ',', "[7625597484987]"},
        {"2j*j", ',', "[-2]"},
        {"10-2-3", ',', "[5]"},
        {"8/2/2", ',', "[2]"},
        {"(1+j)(1-j)", ',', "[2]"},
        {"1,5+j0,5", ',', "[1,5+j0,5]"},
        {"1.5+j0.5", '.', "[1.5+j0.5]"},
        {"2 * ( 1 - j )", ',', "[2-j2]"},
        {"2^(2*3)", ',', "[64]"},
        {"abs(2e^-j30)*j", ',', "[0+j2]"},
        {"(2e^j30)*(3e^j60)", ',', "[0+j6]"},
        {"-(2-j)", ',', "[-2+j]"},
        {"4-j4/2", ',', "[4-j2]"},
        {"(3+j4)*(1-j2)/(2+j)", ',', "[4-j3]"},
    };
    for (const auto &c : cases) {
        UseSeparator(c.sep);
        TChyba err;
        const QString r = Evaluate(QString::fromLatin1(c.text), err);
        EXPECT_EQ(CodeNumber(err.Code), 0) << c.text;
        EXPECT_EQ(S(r), c.token) << c.text;
    }
}

// Small values keep their digits, parts beside a much larger part keep
// theirs, and values that cancel exactly stay whole.
TEST_F(Complex, PartsKeepEighteenDigitsAndExactValuesStayExact) {
    struct Case {
        const char *text;
        const char *token;
        long double re, im;
    };
    const Case cases[] = {
        {"(1/100000000000000000)*100000000000000000", "[1]", 1, 0},
        {"1/(0,001^6)", "[1E18]", 1e18L, 0},
        {"1/100000000000000000000", "[1E-20]", 1e-20L, 0},
        {"(57,4584e^-j45-914474664965e^-j180)", "[914474665005,629224-j40,6292242761291223]", 914474665005.629224L,
         -40.6292242761291223L},
        {"8e^+j90-0,0000000040e^+j186", "[0,0000000039780876+j8,0000000004181139]", 3.97808758147309335e-9L,
         8.00000000041811385L},
        {"602200000000000000000000-j486", "[6,022E23-j486]", 6.022e23L, -486},
        {"(602200000000000000000000-j486)*2", "[1,2044E24-j972]", 1.2044e24L, -972},
        {"(3+j4)*(3-j4)", "[25]", 25, 0},
        {"2e^j90", "[0+j2]", 0, 2},
        {"2e^-j90^2", "[-4]", -4, 0},
        {"(2e^j30)*(3e^j60)", "[0+j6]", 0, 6},
        {"(2e^j30)^3", "[0+j8]", 0, 8},
        {"(2e^j30)*(2e^j30)*(2e^j30)", "[0+j8]", 0, 8},
        {"1e^j0+1e^j120+1e^j240", "[0]", 0, 0},
        {"(2e^j45)^8", "[256]", 256, 0},
        {"(1000e^j45)^4", "[-1000000000000]", -1e12L, 0},
        {"2e^j30", "[1,7320508075688773+j]", 1.73205080756887729L, 1},
        {"2e^j3630", "[1,7320508075688773+j]", 1.73205080756887729L, 1},
        {"(1+j)^8", "[16]", 16, 0},
        {"(796242693+j796242692)*(796242691+j796242692)", "[-1+j1,26800484912681373E18]", -1, 1.26800484912681373e18L},
        {"j992791939676582228+j1-j992791939676582228", "[0+j]", 0, 1},
        {"(2e^j30,1)*(3e^j59,9)", "[0+j6]", 0, 6},
        {"(1e^j1)^360", "[1]", 1, 0},
        {"1e^j1E-18", "[1+j1,74532925199432958E-20]", 1, 1.74532925199432958e-20L},
        {"2e^j90,00000000000000001", "[0+j2]", 0, 2},
    };
    for (const auto &c : cases) {
        TChyba err;
        const TEngineResult r = EvaluateComplex(QString::fromLatin1(c.text), ctx);
        EXPECT_EQ(CodeNumber(r.Error.Code), 0) << c.text;
        EXPECT_EQ(S(r.Token), c.token) << c.text;
        EXPECT_EQ(r.Complex.Re, c.re) << c.text;
        EXPECT_EQ(r.Complex.Im, c.im) << c.text;
    }
}

// Sums, differences and products whose parts nearly cancel, against the
// real set's answer for the same formulas of the same parts (a*c - b*d and
// a*d + b*c for a product): a part keeps what the real set keeps of it.
TEST_F(Complex, CancellingPartsKeepWhatTheRealSetKeeps) {
    std::mt19937_64 rng(28);
    auto pick = [&rng](long long n) { return (long long)(rng() % quint64(n)); };
    // A number of at most 18 digits: its mantissa and its exponent of ten.
    struct TNumber {
        long long m;
        int e;
    };
    auto text = [](TNumber x) {
        QString t = QString::number(std::llabs(x.m));
        if (x.e != 0)
            t += QStringLiteral("E") + QString::number(x.e);
        return t;
    };
    auto signedText = [&text](TNumber x) { return (x.m < 0 ? QStringLiteral("-") : QString()) + text(x); };
    auto complexText = [&](TNumber re, TNumber im) {
        return QStringLiteral("(") + signedText(re) + (im.m < 0 ? QStringLiteral("-j") : QStringLiteral("+j")) +
               text(im) + QStringLiteral(")");
    };
    auto realText = [&signedText](TNumber x) { return QStringLiteral("(") + signedText(x) + QStringLiteral(")"); };
    // A number near -x: its digits shifted by up to two places, and a few
    // units of the last of them changed.
    auto nearNegative = [&](TNumber x) {
        int shift = int(pick(3));
        long long m = x.m;
        for (int k = 0; k < shift && std::llabs(m) < 10000000000000000LL; ++k)
            m *= 10;
        const int shifted =
            m == x.m ? 0 : int(QString::number(std::llabs(m)).size() - QString::number(std::llabs(x.m)).size());
        return TNumber{-(m + pick(19) - 9), x.e - shifted};
    };
    auto any = [&](int maxDigits) {
        long long m = 1 + pick(9);
        for (int k = 1 + int(pick(maxDigits)); k > 1; --k)
            m = m * 10 + pick(10);
        return TNumber{pick(2) ? m : -m, int(pick(41)) - 20};
    };
    TEvaluationContext real(QLatin1Char(','));
    auto realRoad = [&real](const QString &t) {
        const TEngineResult r = EvaluateReal(t, real);
        EXPECT_TRUE(r.Ok()) << S(t);
        return r.Real;
    };
    int cancelled = 0;
    for (int i = 0; i < 1500; ++i) {
        TNumber a, b, c, d;
        const char op = "+-*"[i % 3];
        if (op == '*') {
            // a*c - b*d cancels: c = b*k, d = a*k + s, all whole.
            a = TNumber{1 + pick(999999999), 0};
            b = TNumber{1 + pick(999999999), 0};
            const long long k = 1 + pick(999999999);
            c = TNumber{b.m * k, 0};
            d = TNumber{a.m * k + pick(19) - 9, 0};
            if (pick(2))
                std::swap(c, d), std::swap(a, b); // a*d + b*c cancels instead
            if (pick(2))
                c.m = -c.m, d.m = -d.m;
            const int e = int(pick(21)) - 10; // the same scale for all
            a.e = b.e = c.e = d.e = e;
        } else {
            a = any(18);
            b = any(18);
            c = op == '+' ? nearNegative(a) : TNumber{-nearNegative(a).m, nearNegative(a).e};
            d = op == '+' ? nearNegative(b) : TNumber{-nearNegative(b).m, nearNegative(b).e};
        }
        const QString text = complexText(a, b) + QLatin1Char(op) + complexText(c, d);
        const TEngineResult r = EvaluateComplex(text, ctx);
        ASSERT_TRUE(r.Ok()) << S(text);
        const QString A = realText(a), B = realText(b), C = realText(c), D = realText(d);
        const long double re =
            op == '*' ? realRoad(A + "*" + C + "-" + B + "*" + D) : realRoad(A + QLatin1Char(op) + C);
        const long double im =
            op == '*' ? realRoad(A + "*" + D + "+" + B + "*" + C) : realRoad(B + QLatin1Char(op) + D);
        EXPECT_EQ(r.Complex.Re, re) << S(text);
        EXPECT_EQ(r.Complex.Im, im) << S(text);
        cancelled += std::fabs(re) < 1e-9L * std::fabs(realRoad(A)) || std::fabs(im) < 1e-9L * std::fabs(realRoad(B));
    }
    EXPECT_GT(cancelled, 500); // the parts did cancel
}

// A part the display writes with an exponent reads back (ANS of a small or
// large result), also after the imaginary unit, and as a variable's value;
// an "e" with a sign elsewhere is still no number, and an exponent's sign
// is only one typed.
TEST_F(Complex, ExponentsAsTheDisplayWritesThem) {
    struct Case {
        const char *text;
        int code;
        long double re, im;
    };
    const Case cases[] = {
        {"1E-20+j", 0, 1e-20L, 1},
        {"3,9780875814730933E-9+j8", 0, 3.9780875814730933e-9L, 8},
        {"2,5E+3-j1E-3", 0, 2500, -0.001L},
        {"3-2e-1", 0, 2.8L, 0},
        {"(0+j5E-4)", 0, 0, 5e-4L},
        {"(0+j1E20)", 0, 0, 1e20L},
        {"-j1,5E+3*j", 0, 1500, 0},
        {"j1E0", 0, 0, 1},
        {"2e^j9E1", 0, 0, 2},
        {"1e-3", 0, 0.001L, 0},
        {"2e+5", 0, 200000, 0},
        {"-(v)", 0, 0, -1},  // v = j1E0
        {"w/1E13", 0, 0, 5}, // w = j5E13
        {"2e-j45", 1, 0, 0},
        {"2e+j", 1, 0, 0},
        {"2e", 1, 0, 0},
        {"1,5e", 1, 0, 0},
        {"2E", 1, 0, 0},
        {"2e^j90e", 1, 0, 0},
        {"j5e", 1, 0, 0},
    };
    // With variables the scanner reads names: "j5E" must not be one.
    TVariableList vars({QStringLiteral("v=j1E0"), QStringLiteral("w=j5E13")});
    ctx.Variables = &vars;
    for (const auto &c : cases) {
        const TEngineResult r = EvaluateComplex(QString::fromLatin1(c.text), ctx);
        EXPECT_EQ(CodeNumber(r.Error.Code), c.code) << c.text;
        if (c.code == 0) {
            EXPECT_EQ(r.Complex.Re, c.re) << c.text;
            EXPECT_EQ(r.Complex.Im, c.im) << c.text;
        }
        QStringList names;
        CollectVariableNames(QString::fromLatin1(c.text), ctx, names, QString());
        EXPECT_TRUE(names.isEmpty() || names == QStringList{QStringLiteral("v")} ||
                    names == QStringList{QStringLiteral("w")})
            << c.text << ": " << S(names.join(QLatin1Char(',')));
    }
}

// The angle from both parts keeps a small part's digits near every axis.
TEST_F(Complex, AngleKeepsTheSmallPart) {
    struct Case {
        long double re, im, degrees;
    };
    const Case cases[] = {
        {914474665005.629224L, -40.6292242761291223L, -2.54559602905820919984e-9L},
        {3.97808758147309335e-9L, 8.00000000041811385L, 89.9999999715090463825L},
        {-1, 1e-15L, 179.999999999999942704L},
        {1, 1, 45},
        {-3, -4, -126.869897645844021297L},
        {0, -2, -90},
        {-1, 0, 180},
        {0, 0, 0},
    };
    for (const auto &c : cases)
        EXPECT_LE(std::fabs(ComplexAngleDegrees(Z(c.re, c.im)) - c.degrees), 1e-17L * std::fabs(c.degrees))
            << double(c.degrees);
}

// --- generated comparison with a reference of 113 bits -----------------------

namespace reference {

using Q = __float128;
struct QComplex {
    Q re = 0, im = 0;
};

// pi as the 80-bit value plus the rest.
const Q Pi = Q(std::numbers::pi_v<long double>) + Q(-5.016557612668332023557e-20L);

Q Sqrt(Q x) {
    if (x == 0)
        return 0;
    Q y = std::sqrt((long double)x);
    for (int i = 0; i < 3; ++i)
        y = (y + x / y) / 2;
    return y;
}

long double Abs(const QComplex &z) { return std::hypot((long double)z.re, (long double)z.im); }

// The cosine and sine of a decimal number of degrees, by series.
void CosSin(Q degrees, Q &c, Q &s) {
    Q turn = degrees - 360 * Q((long long)(degrees / 360));
    const long long quarters = (long long)std::llround((long double)(turn / 90));
    const Q x = (turn - 90 * Q(quarters)) * Pi / 180;
    Q cr = 0, sr = 0, term = 1;
    for (int k = 0; k < 60; ++k) {
        (k % 2 ? sr : cr) += (k % 4 < 2 ? term : -term);
        term *= x / (k + 1);
    }
    const int q = int(((quarters % 4) + 4) % 4);
    c = q == 0 ? cr : q == 1 ? -sr : q == 2 ? -cr : sr;
    s = q == 0 ? sr : q == 1 ? cr : q == 2 ? -sr : -cr;
}

// A generated expression: its text, its value and a bound on how far the
// road may lie from it (each rounding: 18 digits, and a part that cancels
// to within 10^-17 of its terms is 0).
struct TExpr {
    QString text;
    QComplex v;
    long double bound = 0;
    bool zeroDivisor = false; // a division by an exact 0 on the way
};

constexpr long double Digits18 = 1.2e-17L; // per rounding, of the terms
constexpr long double Ulps = 4e-19L;       // what the 80-bit reading leaves

class TGen {
public:
    explicit TGen(unsigned seed) : m_rng(seed) {}

    TExpr Next(int depth) {
        if (depth == 0 || Pick(4) == 0)
            return Leaf();
        const int kind = Pick(6);
        const TExpr a = Next(depth - 1);
        if (kind == 4)
            return PowerOf(a, Pick(5));
        if (kind == 5)
            return TExpr{QStringLiteral("abs(") + a.text + QLatin1Char(')'),
                         {Sqrt(a.v.re * a.v.re + a.v.im * a.v.im), 0},
                         a.bound + Digits18 * Abs(a.v),
                         a.zeroDivisor};
        return Binary(a, Next(depth - 1), "+-*/"[kind]);
    }

private:
    std::mt19937 m_rng;
    int Pick(int n) { return int(m_rng() % unsigned(n)); }

    // A decimal number: its text with "," and its exact value; with
    // exponent, now and then written with a signed exponent as the display
    // writes small and large parts ("1,5E-3").
    std::pair<QString, Q> Decimal(int maxDigits, int maxDecimals, bool exponent = false) {
        long long m = 0;
        for (int i = 1 + Pick(maxDigits); i > 0; --i)
            m = m * 10 + Pick(10);
        const int d = Pick(maxDecimals + 1);
        QString t = QString::number(m).rightJustified(d + 1, QLatin1Char('0'));
        Q value = m;
        if (d > 0)
            t.insert(t.size() - d, QLatin1Char(','));
        for (int i = 0; i < d; ++i)
            value /= 10;
        if (exponent && Pick(4) == 0) {
            const int e = Pick(25) - 12;
            t += (e < 0 ? QStringLiteral("E-") : QStringLiteral("E+")) + QString::number(std::abs(e));
            for (int i = 0; i < std::abs(e); ++i)
                value = e < 0 ? value / 10 : value * 10;
        }
        return {t, value};
    }

    TExpr Leaf() {
        const auto [text, value] = Decimal(7, 6, true);
        switch (Pick(3)) {
        case 0: return TExpr{text, {value, 0}, Ulps * (long double)value};
        case 1: return TExpr{QLatin1Char('j') + text, {0, value}, Ulps * (long double)value};
        default: {
            static const int exact[] = {0, 30, 45, 60, 90, 120, 150, 180, 270, 360, 3630};
            auto [angleText, angle] = Decimal(3, 2);
            if (Pick(2)) {
                angle = exact[Pick(11)];
                angleText = QString::number(int(angle));
            }
            const bool minus = Pick(2);
            Q c = 0, s = 0;
            CosSin(minus ? -angle : angle, c, s);
            // The 80-bit angle is off by an ulp, its radians by one more.
            const long double bound = Ulps * (2 + (long double)angle * std::numbers::pi_v<long double> / 180);
            return TExpr{text + (minus ? QStringLiteral("e^-j") : QStringLiteral("e^j")) + angleText,
                         {value * c, value * s},
                         bound * (long double)value};
        }
        }
    }

    static TExpr Binary(const TExpr &a, const TExpr &b, char op) {
        TExpr r{QLatin1Char('(') + a.text + QLatin1Char(op) + b.text + QLatin1Char(')'),
                {},
                0,
                a.zeroDivisor || b.zeroDivisor};
        const long double ma = Abs(a.v), mb = Abs(b.v);
        if (op == '+' || op == '-') {
            const Q sign = op == '+' ? 1 : -1;
            r.v = {a.v.re + sign * b.v.re, a.v.im + sign * b.v.im};
            r.bound = a.bound + b.bound + 2 * Digits18 * (ma + mb);
        } else if (op == '*') {
            r.v = {a.v.re * b.v.re - a.v.im * b.v.im, a.v.re * b.v.im + a.v.im * b.v.re};
            r.bound = ma * b.bound + mb * a.bound + a.bound * b.bound + 3 * Digits18 * ma * mb;
        } else {
            const Q den = b.v.re * b.v.re + b.v.im * b.v.im;
            if (den == 0) {
                r.zeroDivisor = true;
                return r;
            }
            r.v = {(a.v.re * b.v.re + a.v.im * b.v.im) / den, (a.v.im * b.v.re - a.v.re * b.v.im) / den};
            r.bound = mb > b.bound ? (a.bound + Abs(r.v) * b.bound) / (mb - b.bound) + 3 * Digits18 * ma / mb
                                   : INFINITY; // a divisor lost in its own uncertainty
        }
        return r;
    }

    static TExpr PowerOf(const TExpr &a, int n) {
        TExpr r{QLatin1Char('(') + a.text + QStringLiteral(")^") + QString::number(n), {1, 0}, 0, a.zeroDivisor};
        for (int i = 0; i < n; ++i)
            r.v = {r.v.re * a.v.re - r.v.im * a.v.im, r.v.re * a.v.im + r.v.im * a.v.re};
        const long double m = Abs(a.v);
        r.bound = n == 0 ? 0 : n * std::pow(m + a.bound, n - 1) * a.bound + (n + 2) * Digits18 * std::pow(m, n);
        return r;
    }
};

} // namespace reference

// Generated expressions of every operation (sums that cancel, exact angles,
// small and large values) against the same tree in 113-bit arithmetic:
// the road lies within what 18 digits per rounding allow.
// TARBELON_COMPLEX_CASES=<n> runs more than the default.
TEST_F(Complex, GeneratedExpressionsAgreeWithTheReference) {
    const int count = qEnvironmentVariableIsSet("TARBELON_COMPLEX_CASES")
                          ? qEnvironmentVariableIntValue("TARBELON_COMPLEX_CASES")
                          : 3000;
    reference::TGen gen(2026);
    int compared = 0;
    for (int i = 0; i < count; ++i) {
        const reference::TExpr e = gen.Next(4);
        const TEngineResult r = EvaluateComplex(e.text, ctx);
        if (e.zeroDivisor) {
            EXPECT_EQ(CodeNumber(r.Error.Code), 25) << S(e.text);
            continue;
        }
        if (!std::isfinite(e.bound) || reference::Abs(e.v) > 1e4000L)
            continue;
        ++compared;
        ASSERT_TRUE(r.Ok()) << S(e.text) << " code " << CodeNumber(r.Error.Code);
        // The road's last step adds 0 and rounds once more.
        const long double bound = e.bound + reference::Digits18 * reference::Abs(e.v);
        const reference::QComplex d{reference::Q(r.Complex.Re) - e.v.re, reference::Q(r.Complex.Im) - e.v.im};
        EXPECT_LE(reference::Abs(d), bound)
            << S(e.text) << " = " << S(r.Token) << ", off by " << double(reference::Abs(d) / bound) << " of the bound";
    }
    EXPECT_GT(compared, count * 9 / 10);
}

TEST_F(Complex, EvaluatorUsesVariablesAndConstants) {
    TVariableList vars({QStringLiteral("z=3+j4"), QStringLiteral("w=2")});
    TConstantList constants;
    constants.Items.append({QStringLiteral("$k"), QStringLiteral("0,5")});
    ctx.Variables = &vars;
    ctx.Constants = &constants;
    TChyba err;
    EXPECT_EQ(S(Evaluate("z*w", err)), "[6+j8]");
    EXPECT_EQ(S(Evaluate("abs(z)+$k*j", err)), "[5+j0,5]");
    EXPECT_EQ(CodeNumber(err.Code), 0);

    // references with capitals still match their captions beside variables
    constants.Items.append({QStringLiteral("$Zo"), QStringLiteral("1-j")});
    EXPECT_EQ(S(Evaluate("$Zo*w", err)), "[2-j2]");
    EXPECT_EQ(CodeNumber(err.Code), 0);
    EXPECT_EQ(S(Evaluate("$Zo*z+$k", err)), "[7,5+j]");
    EXPECT_EQ(CodeNumber(err.Code), 0);
}

TEST_F(Complex, EvaluatorErrors) {
    struct Case {
        const char *text;
        char sep;
        int code;
        const char *r;
    };
    const Case cases[] = {
        {"1/0", ',', 25, nullptr},
        {"(1-1)/(j-j)", ',', 25, nullptr},
        {"(1/0)+1", ',', 25, ""},
        {"2^j", ',', 20, ""},
        {"2^(0-1)", ',', 20, ""},
        {"2^0,5", ',', 20, ""},
        {"2^0.5", '.', 20, ""},
        {"(2^(1+j))*3", ',', 20, ""},
        {"2^0,5", '.', 20, ""}, // either character is the separator
        // bracket faults end the group step instead of looping
        {"()", ',', 9, ""},
        {"(1+2", ',', 11, ""},
        {"1+2)", ',', 10, ""},
        {"2*(()+1)", ',', 9, ""},
        // what no stage consumes is no result
        {"x+1", ',', 1, nullptr},
        {"+e^2", ',', 1, nullptr},
        {"(a)*2", ',', 1, ""},
    };
    for (const auto &c : cases) {
        UseSeparator(c.sep);
        TChyba err;
        err.SpanStart = 5;
        err.SpanEnd = 6;
        const QString r = Evaluate(QString::fromLatin1(c.text), err);
        EXPECT_EQ(CodeNumber(err.Code), c.code) << c.text;
        EXPECT_EQ(err.SpanStart, 0) << c.text;
        EXPECT_EQ(err.SpanEnd, 0) << c.text;
        EXPECT_TRUE(r.isEmpty()) << c.text; // no result after an error
    }
}

TEST_F(Complex, HugeExponentsAndOverflowAreCode29) {
    for (const char *text : {"2^70000", "2^65536", "2^(2^17)", "j^1E30", "10^5000", "(10^4000)*(10^4000)"}) {
        TChyba err;
        EXPECT_TRUE(Evaluate(QString::fromLatin1(text), err).isEmpty()) << text;
        EXPECT_EQ(CodeNumber(err.Code), 29) << text;
    }
    TChyba err;
    EXPECT_EQ(S(Evaluate("1^65535", err)), "[1]");
    Evaluate(QString(70000, QLatin1Char('1')), err);
    EXPECT_EQ(CodeNumber(err.Code), 29);
}

} // namespace
