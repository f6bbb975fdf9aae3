// The digits a result keeps and shows: the display's rounding of a value's
// 18 digits, function values beside the residues of pi, arccotg and whole
// powers, each against an exact reference worked out here.
#include "Analyzator.h"
#include "PrevodySustav.h"
#include "uCisla.h"
#include "uKompilovanyVyraz.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <random>
#include <string>

namespace {

QString Q(const char *s) { return QString::fromUtf8(s); }
std::string S(const QString &s) { return s.toStdString(); }

// --- exact decimal references, on digit strings ---

// The 18 significant digits of |v| (glibc's printf rounds the exact binary
// value): |v| = D[0],D[1..17] * 10^E.
struct TDigits {
    std::string D;
    int E = 0;
};

TDigits EighteenOf(long double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17Le", std::fabs(v));
    TDigits d;
    for (const char *c = buf; *c != 'e'; ++c)
        if (*c != '.')
            d.D += *c;
    d.E = std::atoi(std::strchr(buf, 'e') + 1);
    return d;
}

// The first `keep` digits of d (keep may be 0), one added when the next
// digit is 5 or more: the digits of a rounding a half away from zero. The
// result may have one digit more ("999" -> "1000").
std::string KeepRounded(const std::string &d, int keep) {
    std::string r = d.substr(0, size_t(keep));
    if (d[size_t(keep)] < '5')
        return r.empty() ? "0" : r;
    int i = keep - 1;
    while (i >= 0 && r[size_t(i)] == '9')
        r[size_t(i--)] = '0';
    if (i < 0)
        r.insert(r.begin(), '1');
    else
        ++r[size_t(i)];
    return r;
}

std::string TrimZeros(std::string s) {
    while (!s.empty() && s.back() == '0')
        s.pop_back();
    return s;
}

// The display text without the spaces of the groups: the 18 digits rounded
// to `decimals` decimals, or the exponent form with up to 17 digits when
// that gives 0, or with 18 beyond 18 integer digits.
std::string ExpectedShown(long double v, int decimals, char sep) {
    if (v == 0)
        return "0";
    const TDigits d = EighteenOf(v);
    const std::string sign = v < 0 ? "-" : "";
    auto scientific = [&](int digits, bool signedExponent) {
        std::string m = KeepRounded(d.D, digits);
        int e = d.E;
        if (int(m.size()) > digits) { // 9,99.. rounded up to 10
            m.pop_back();
            ++e;
        }
        const std::string rest = TrimZeros(m.substr(1));
        return sign + m.substr(0, 1) + (rest.empty() ? "" : sep + rest) + "E" +
               (e < 0            ? "-"
                : signedExponent ? "+"
                                 : "") +
               std::to_string(std::abs(e));
    };
    if (d.E >= 18)
        return scientific(18, false);
    // Q * 10^-decimals, Q made of the digits kept.
    const int keep = d.E + 1 + decimals;
    std::string q;
    if (keep >= 18)
        q = d.D + std::string(size_t(keep - 18), '0');
    else if (keep >= 0)
        q = KeepRounded(d.D, keep);
    else
        q = "0";
    if (q.find_first_not_of('0') == std::string::npos)
        return scientific(17, true);
    if (int(q.size()) <= decimals)
        q.insert(0, size_t(decimals + 1 - int(q.size())), '0');
    const std::string whole = q.substr(0, q.size() - size_t(decimals));
    const std::string fraction = TrimZeros(q.substr(q.size() - size_t(decimals)));
    return sign + whole + (fraction.empty() ? "" : sep + fraction);
}

std::string Shown(long double v, int decimals, char sep, int base = 10) {
    QString r;
    FormatNumber(quint8(decimals), base, r, v, QLatin1Char(sep));
    return S(r.remove(QLatin1Char(' ')));
}

// The digits of m^n for a whole m, little end first.
std::string PowerDigits(unsigned m, int n) {
    std::string digits = "1";
    for (int i = 0; i < n; ++i) {
        unsigned carry = 0;
        for (char &c : digits) {
            const unsigned x = unsigned(c - '0') * m + carry;
            c = char('0' + x % 10);
            carry = x / 10;
        }
        for (; carry > 0; carry /= 10)
            digits += char('0' + carry % 10);
    }
    return std::string(digits.rbegin(), digits.rend());
}

// The result token of a value of 18 digits d * 10^e, as the engine writes it.
std::string TokenOf(const std::string &digits18, int e, char sep) {
    const std::string rest = TrimZeros(digits18.substr(1));
    return "[" + digits18.substr(0, 1) + (rest.empty() ? "" : sep + rest) + "E" + std::to_string(e) + "]";
}

class Presnost : public ::testing::Test {
protected:
    TConstantList constants;
    TEvaluationContext ctx{QLatin1Char(',')};

    void SetUp() override {
        constants.Items = {{Q("$pi"), Q("3,14159265358979324")}};
        ctx.Constants = &constants;
    }

    // The "=" road's token, or "code n".
    std::string Token(const QString &typed, TAngleUnit unit = TAngleUnit::Degrees) {
        ctx.AngleUnit = unit;
        TChyba err;
        CheckSyntax(typed, ctx, err);
        if (!err.Failed())
            CheckDollarReferences(typed, ctx, err);
        if (err.Failed())
            return "code " + std::to_string(CodeNumber(err.Code));
        const TEngineResult r = EvaluateReal(typed, ctx);
        return r.Ok() ? S(r.Token) : "code " + std::to_string(CodeNumber(r.Error.Code));
    }

    long double Value(const QString &typed, TAngleUnit unit) {
        ctx.AngleUnit = unit;
        const TEngineResult r = EvaluateReal(typed, ctx);
        EXPECT_TRUE(r.Ok()) << S(typed) << " code " << CodeNumber(r.Error.Code);
        return r.Real;
    }
};

constexpr TAngleUnit Deg = TAngleUnit::Degrees, Rad = TAngleUnit::Radians, Grad = TAngleUnit::Grads;

} // namespace

TEST(FormatNumberHalves, TheEighteenDigitsRoundAHalfAwayFromZero) {
    struct Case {
        int decimals, base;
        long double value;
        const char *shown;
    };
    const Case cases[] = {
        {2, 10, 1.0L / 8, "0,13"},
        {2, 10, 5.0L / 8, "0,63"},
        {2, 10, 2.675L, "2,68"},
        {2, 10, 1.005L, "1,01"},
        {2, 10, 1234.565L, "1 234,57"},
        {0, 10, 2.5L, "3"},
        {0, 10, -2.5L, "-3"},
        {2, 10, 0.005L, "0,01"},
        {2, 10, -0.005L, "-0,01"},
        {2, 10, 0.00499999L, "4,99999E-3"},
        {6, 10, 999999999999999999.0L, "999 999 999 999 999 999"},
        {6, 10, 99999999999999999.9L, "99 999 999 999 999 999,9"},
        {6, 10, 999999999999999999.6L, "1E18"},
        {6, 10, 1.23456789L, "1,234 568"},
        {0, 2, 2.5L, "11"},
        {0, 2, -0.5L, "-1"},
        {1, 16, 1.0L / 32, "0,1"},
    };
    for (const char sep : {',', '.'})
        for (const Case &c : cases) {
            QString r;
            FormatNumber(quint8(c.decimals), c.base, r, c.value, QLatin1Char(sep));
            EXPECT_EQ(S(r), S(Q(c.shown).replace(QLatin1Char(','), QLatin1Char(sep)))) << c.shown;
        }
    // A switch from base 16 to 10 with no decimals rounds the same way.
    QString e = Q("0,8+2,8");
    TChyba err;
    ConvertExpressionBaseFormatted(16, 10, QChar(), e, err, 0, QLatin1Char(','));
    EXPECT_EQ(S(e), "1+3");
}

// Generated values (any binary value, decimal halves as typed, exact
// binary halves, values an ulp beside them) at 0 to 6 decimals against the
// 18 digits printf gives, rounded on their text.
TEST(FormatNumberHalves, GeneratedValuesAgreeWithTheirDigitsRounded) {
    std::mt19937_64 rng(102);
    std::vector<long double> values;
    for (int i = 0; i < 600; ++i) {
        values.push_back(std::ldexp(static_cast<long double>(rng()), int(rng() % 140) - 130));
        // A half at the d-th decimal: up to 12 whole digits, d - 1 decimals and a 5.
        const int d = int(rng() % 7) + 1;
        std::string text = std::to_string(rng() % 1000000000000ULL >> (rng() % 40)) + "." +
                           std::to_string(rng() % 10000000).substr(0, size_t(d - 1)) + "5";
        long double half = 0;
        EXPECT_TRUE(TryStrToFloat(QString::fromStdString(text), half, QLatin1Char('.'))) << text;
        values.push_back(half);
        values.push_back(std::nextafter(half, 0.0L));
        values.push_back(std::nextafter(half, HUGE_VALL));
        values.push_back(static_cast<long double>(rng() % 100000) / 64 + 1.0L / 128);
    }
    int failures = 0;
    for (size_t i = 0; i < values.size() && failures < 10; ++i) {
        const long double v = i % 3 ? values[i] : -values[i];
        const char sep = i % 2 ? ',' : '.';
        for (int decimals = 0; decimals <= 6; ++decimals) {
            const std::string want = ExpectedShown(v, decimals, sep), got = Shown(v, decimals, sep);
            if (got != want) {
                ++failures;
                ADD_FAILURE() << EighteenOf(v).D << "E" << EighteenOf(v).E << " at " << decimals << ": " << got
                              << " instead of " << want;
            }
        }
    }
}

// Every function value keeps 18 digits, as any step keeps its value; only
// what pi's rounding leaves of a zero of sin, cos, tg or cotg is 0.
TEST_F(Presnost, FunctionValuesKeepEighteenDigitsAndPiResiduesVanish) {
    struct Case {
        TAngleUnit unit;
        const char *typed, *token;
    };
    const Case cases[] = {
        {Deg, "cos(90)", "[0E0]"},
        {Deg, "sin(180)", "[0E0]"},
        {Deg, "tg(180)", "[0E0]"},
        {Deg, "cotg(-90)", "[0E0]"},
        {Deg, "sin(360000180)", "[0E0]"},
        {Rad, "cos($pi/2)", "[0E0]"},
        {Rad, "sin($pi)", "[0E0]"},
        {Rad, "tg(-2*$pi)", "[0E0]"},
        {Rad, "cos(3*$pi/2)", "[0E0]"},
        {Rad, "cotg($pi/2)", "[0E0]"},
        {Grad, "cos(100)", "[0E0]"},
        {Grad, "sin(200)", "[0E0]"},
        {Grad, "tg(-200)", "[0E0]"},
        {Grad, "cotg(300)", "[0E0]"},
        {Deg, "abs(1E-20)", "[1E-20]"},
        {Deg, "sqrt(1E-40)", "[1E-20]"},
        {Deg, "1/abs(1E-20)", "[1E20]"},
        {Deg, "abs(1,23456789E-12)*1E12", "[1,23456789E0]"},
        {Deg, "sqrt(2E-10)", "[1,41421356237309505E-5]"},
        {Rad, "sin(1E-20)", "[1E-20]"},
        {Rad, "tg(-1E-20)", "[-1E-20]"},
        {Deg, "sin(1E-20)", "[1,74532925199432958E-22]"},
        {Grad, "tg(1E-20)", "[1,57079632679489662E-22]"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Token(Q(c.typed), c.unit), c.token) << c.typed;
    ctx.DecimalSeparator = QLatin1Char('.');
    EXPECT_EQ(Token(Q("sin(1E-20)"), Rad), "[1E-20]");
    constants.Items = {{Q("$pi"), Q("3.14159265358979324")}};
    EXPECT_EQ(Token(Q("cos($pi/2)"), Rad), "[0E0]");

    // Shown with 6 decimals, the small value's digits are there.
    ctx.DecimalSeparator = QLatin1Char(',');
    EXPECT_EQ(Shown(Value(Q("abs(1,23456789E-12)*1E12"), Deg), 6, ','), "1,234568");

    // An argument one unit of its 18th digit away from 90 degrees is no
    // zero of the cosine: its value stays, while 17 decimals wrote 0.
    for (const char *typed : {"cos(90,0000000000000001)", "-cos(89,9999999999999999)", "cotg(90,0000000000000001)"}) {
        const long double v = Value(Q(typed), Deg);
        EXPECT_LT(v, -1.5e-18L) << typed;
        EXPECT_GT(v, -2e-18L) << typed;
    }
}

// Both kinds over generated arguments in each unit: a zero of the function
// written as a whole number of degrees or grads (or as the 18 digits of a
// multiple of pi/2 in radians) gives 0; a small argument keeps its value.
TEST_F(Presnost, GeneratedZerosAndSmallArguments) {
    std::mt19937_64 rng(103);
    const long double pi = std::numbers::pi_v<long double>;
    for (int i = 0; i < 300; ++i) {
        const long long k = (long long)(rng() % 2000001) - 1000000;
        const TAngleUnit unit = i % 2 ? Deg : Grad;
        const long long half = unit == Deg ? 180 : 200;
        const QString atZero = QString::number(k * half), atQuarter = QString::number(k * half + half / 2);
        for (const QString &typed :
             {"sin(" + atZero + ")", "tg(" + atZero + ")", "cos(" + atQuarter + ")", "cotg(" + atQuarter + ")"})
            EXPECT_EQ(Token(typed, unit), "[0E0]") << S(typed);
    }
    for (int k = -3; k <= 3; ++k) { // |x| < 10: 17 decimals of the 18 digits
        const QString whole = OperatorResultText(RoundOperatorResult(k * pi), QLatin1Char(','));
        const QString quarter = OperatorResultText(RoundOperatorResult((k - (k > 0) + 0.5L) * pi), QLatin1Char(','));
        for (const QString &typed :
             {"sin(" + whole + ")", "tg(" + whole + ")", "cos(" + quarter + ")", "cotg(" + quarter + ")"})
            EXPECT_EQ(Token(typed, Rad), "[0E0]") << S(typed);
    }
    for (int i = 0; i < 300; ++i) {
        const long double x = std::ldexp(static_cast<long double>(rng() >> 11) + 1, -int(rng() % 900) - 90);
        const QString text = OperatorResultText(x, QLatin1Char(','));
        const TAngleUnit unit = TAngleUnit(i % 3);
        const long double factor = unit == Deg ? pi / 180 : unit == Grad ? pi / 200 : 1;
        const long double argument = RoundOperatorResult(x) * factor;
        for (const char *name : {"sin", "tg"}) {
            const long double v = Value(Q(name) + QLatin1Char('(') + text + QLatin1Char(')'), unit);
            EXPECT_LE(std::fabs(v / argument - 1), 2e-17L) << name << " " << S(text) << " in unit " << i % 3;
        }
    }
}

// arccotg keeps its digits for every argument: against arctan2(1, x), within
// half a unit of the 18th digit (and an ulp or two of the unit's factor).
TEST_F(Presnost, ArcCotangentKeepsItsDigits) {
    EXPECT_EQ(Token(Q("1/arccotg(1E18)"), Rad), "[1E18]");
    EXPECT_EQ(Token(Q("7/arccotg(3E19)"), Deg), "[3,66519142918809211E18]");
    EXPECT_EQ(Shown(Value(Q("7/arccotg(3E19)"), Deg), 6, ','), "3,66519142918809211E18");
    EXPECT_EQ(Token(Q("arccotg(0)"), Grad), "[1E2]");
    EXPECT_EQ(Token(Q("arccotg(-1)"), Deg), "[1,35E2]");
    const long double pi = std::numbers::pi_v<long double>;
    std::mt19937_64 rng(110);
    for (int i = 0; i < 600; ++i) {
        const long double x = std::ldexp(static_cast<long double>(rng()), int(rng() % 200) - 163) * (i % 2 ? -1 : 1);
        const TAngleUnit unit = TAngleUnit(i % 3);
        const long double factor = unit == Deg ? 180 / pi : unit == Grad ? 200 / pi : 1;
        const long double want = std::atan2(1.0L, RoundOperatorResult(x)) * factor;
        const QString typed = QStringLiteral("arccotg(") + OperatorResultText(x, QLatin1Char(',')) + QLatin1Char(')');
        const long double got = Value(typed, unit);
        const long double unit18 = std::pow(10.0L, std::floor(std::log10(want)) - 17);
        EXPECT_LE(std::fabs(got - want), 0.5L * unit18 + want * 0x1p-61L) << S(typed) << " in unit " << i % 3;
    }
}

// A whole power of a decimal base is the general power of the base's binary
// value, not a product of roundings: the rows where the two differ in the
// 18th digit, against the exact power rounded to 18 digits.
TEST_F(Presnost, WholePowersOfDecimalBases) {
    struct Case {
        unsigned digits;
        int decimals, exponent;
    };
    const Case cases[] = {{33, 1, 21},   {11, 1, 64},   {71, 1, 13}, {1603, 2, 23},
                          {9176, 3, 30}, {1701, 3, 26}, {49, 2, 52}, {3292, 3, 61}};
    for (const char sep : {',', '.'}) {
        ctx.DecimalSeparator = QLatin1Char(sep);
        for (const Case &c : cases) {
            const std::string exact = PowerDigits(c.digits, c.exponent);
            const std::string rounded = KeepRounded(exact + "0", 18);
            const int e = int(exact.size()) - 1 - c.decimals * c.exponent + (rounded.size() > 18 ? 1 : 0);
            std::string base = std::to_string(c.digits);
            base.insert(base.size() - size_t(c.decimals), 1, sep);
            if (base[0] == sep)
                base.insert(0, "0");
            const QString typed = QString::fromStdString(base + "^" + std::to_string(c.exponent));
            EXPECT_EQ(Token(typed), TokenOf(rounded.substr(0, 18), e, sep)) << S(typed);
        }
    }
}
