// The graph's sampler against the real evaluator: each sample must give what
// EvaluateReal gives for the text with the number put in place of x.
#include "GrafTestSupport.h"

#include "Analyzator.h"
#include "uCisla.h"
#include "uIndexovanyVyraz.h"

#include <cmath>
#include <numbers>
#include <set>
#include <tuple>

namespace {

// The text with every x that stands alone (no letter before it, no letter
// or digit after it) replaced by value in brackets.
QString WithX(const QString &text, const QString &value) {
    QString out;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool alone = c == QLatin1Char('x') && (i == 0 || !IsAsciiLetter(text.at(i - 1))) &&
                           (i + 1 == text.size() || !(IsAsciiLetter(text.at(i + 1)) || IsAsciiDigit(text.at(i + 1))));
        out += alone ? QLatin1Char('(') + value + QLatin1Char(')') : QString(c);
    }
    return out;
}

// How close a sample must come to the evaluator's value. The evaluator
// rounds each operation's result to 18 significant digits and writes each
// function's value to 17 decimals; the sampler rounds neither. So both are
// good to 15 significant digits of the largest term the value is made of,
// and that is what they must agree to. Where terms cancel, the largest term
// is larger than the value: the table gives its magnitude at x. A function's
// value counts as a term of at least 0,01, since its 17 decimals are 15
// significant digits of 0,01.
bool Agree(long double a, long double b, long double largestTerm) {
    return std::fabs(a - b) <= 1e-15L * std::max({std::fabs(a), std::fabs(b), largestTerm});
}

using TTerms = long double (*)(long double x);
constexpr TTerms FunctionValues = [](long double) { return 0.01L; };

class Vzorkovanie : public GraphTest {
protected:
    TVariableList Variables;
    TConstantList Constants;

    void SetUp() override {
        GraphTest::SetUp();
        Variables.Items = {QStringLiteral("a=1,5"), QStringLiteral("b=-2"), QStringLiteral("y=2"),
                           QStringLiteral("e=2,718281828")};
        Context.Variables = &Variables;
        Constants.Items = {{QStringLiteral("$g"), QStringLiteral("9,81")},
                           {QStringLiteral("$Na"), QStringLiteral("6,022E23")}};
        Context.Constants = &Constants;
    }
};

TEST_F(Vzorkovanie, EverySampleAgreesWithTheEvaluatorOnTheSubstitutedText) {
    // x runs over k/64 (exact in binary and in decimal) and over the poles
    // and domain edges of the functions in the table.
    QStringList xs;
    for (int k = -1024; k < 1024; ++k)
        xs += FormatFloat(QStringLiteral("0.##########"), k / 64.0L, Context.Separator());
    for (const char *edge : {"90", "-90", "180", "270", "360", "100", "200", "300", "-16", "16", "16,015625",
                             "57,2957795130823209", "65535", "0,000001", "-0,000001", "1E-20", "170", "171"})
        xs += QString::fromLatin1(edge);

    constexpr long double HalfPi = std::numbers::pi_v<long double> / 2;
    const struct {
        const char *text;
        TAngleUnit unit;
        TTerms terms = nullptr; // the largest term's magnitude; none: the value's
    } table[] = {
        {"x^2-3*x+2", TAngleUnit::Degrees},
        {"1/x+1/(x-1)", TAngleUnit::Degrees},
        {"sin(x)*cos(2*x)-sin(x)^2", TAngleUnit::Degrees, FunctionValues},
        {"tg(x)+tan(x/2)", TAngleUnit::Degrees, FunctionValues},
        {"tg(x)*cotg(x)+cotan(x)", TAngleUnit::Grads},
        {"sin(x)+cos(x)+tg(x)", TAngleUnit::Radians,
         [](long double x) { return std::max(std::fabs(std::sin(x)), std::fabs(std::cos(x))); }},
        // computed once, sine and cosine together
        {"sin(x)*(cos(x)+1)-(x/3)^2+sin(x/3)*(x/3)^2+cos(x/3)/(x-3)", TAngleUnit::Degrees, FunctionValues},
        {"arcsin(x/16)+arccos(x/16)", TAngleUnit::Degrees},
        {"arctg(x)*arctan(x)+arccotg(x)-arccot(x)", TAngleUnit::Radians,
         [](long double x) { return std::max(std::atan(x) * std::atan(x), HalfPi - std::atan(x)); }},
        {"sinh(x)+cosh(x)-tgh(x)*tanh(x)", TAngleUnit::Radians, [](long double x) { return std::cosh(x); }},
        {"cotgh(x)+cotanh(x/2)", TAngleUnit::Degrees},
        {"arcsinh(x)+arccosh(x)", TAngleUnit::Degrees},
        {"arctgh(x/8)+arctanh(x/16)+arccotgh(x)+arccoth(x/2)", TAngleUnit::Degrees},
        {"sqrt(x)+sqr(x)-abs(x)", TAngleUnit::Degrees, FunctionValues},
        {"log(x)+ln(17-x)", TAngleUnit::Degrees},
        {"logy(x)", TAngleUnit::Degrees},
        {"sign(x)*rnd(x*3)+deg(x)-dms(x)", TAngleUnit::Degrees, FunctionValues},
        {"x!+rnd(abs(x))!", TAngleUnit::Degrees},
        {"rnd(abs(x))nad2+3nad(rnd(abs(x)))-(x*64)nad(x*32)", TAngleUnit::Degrees},
        {"(x*64)div7+(x*64)mod5-(x*64)div(x*32)", TAngleUnit::Degrees},
        // 200+x% is 200+2x
        {"200+x%-(200-x%)+x*10%", TAngleUnit::Degrees, [](long double x) { return 200 + 2 * std::fabs(x); }},
        {"2x+3(x-1)(x+1)-x(x)", TAngleUnit::Degrees},
        // the quotient is about x
        {"((x+1)*(x-(2-(3*x))))/((x^2)+1)-(((x)))", TAngleUnit::Degrees, [](long double x) { return std::fabs(x); }},
        {"a*x^2+b-$g*x+$Na/x", TAngleUnit::Degrees},
        {"x^x+(-x)^0,5", TAngleUnit::Degrees},
        {"10^(x*400)+2^-x-x^-2", TAngleUnit::Degrees},
        {"-x^2+2*-x--x", TAngleUnit::Degrees},
        // the value of sin(x), at least 0,01, times the factor
        {"e^(-x/5)*sin(x)", TAngleUnit::Radians, [](long double x) { return 0.01L * std::exp(-x / 5); }},
        {"x^3^2/7-x/2/2", TAngleUnit::Degrees},
    };
    long samples = 0;
    std::set<int> codes;
    for (const auto &row : table) {
        Context.AngleUnit = row.unit;
        const QString text = QString::fromLatin1(row.text);
        const std::unique_ptr<TFunctionSampler> sampler = CompileFunction(text, QStringLiteral("x"), Context);
        int failures = 0, defined = 0;
        for (const QString &x : xs) {
            long double at = 0;
            ASSERT_TRUE(TryStrToFloat(x, at, Context.Separator())) << S(x);
            long double got = 0;
            const TEngineResult want = EvaluateReal(WithX(text, x), Context);
            const int wantCode = CodeNumber(want.Error.Code);
            const int gotCode = sampler->Sample(at, got);
            codes.insert(wantCode);
            defined += wantCode == 0;
            const bool same =
                wantCode == gotCode && (wantCode != 0 || Agree(got, want.Real, row.terms ? row.terms(at) : 0));
            if (!same && ++failures <= 3)
                ADD_FAILURE() << row.text << " at x = " << S(x) << ": sample code " << gotCode << " value "
                              << double(got) << ", evaluator code " << wantCode << " value " << double(want.Real);
            ++samples;
        }
        EXPECT_GT(defined, 0) << row.text;
    }
    EXPECT_GT(samples, 50000);
    EXPECT_EQ(codes, (std::set<int>{0, 20, 21, 22, 23, 24, 25, 27, 28}));
}

TEST_F(Vzorkovanie, AFailedSampleLeavesYAndAnUncompilableTextFailsEverySample) {
    for (const auto &[text, x, code] : {std::tuple{"x+(", 1.0L, 11}, {"x^2", 1E3000L, 20}}) {
        long double y = -7;
        EXPECT_EQ(CompileFunction(QString::fromLatin1(text), QStringLiteral("x"), Context)->Sample(x, y), code) << text;
        EXPECT_EQ(y, -7) << text;
    }
    long double y = 0;
    EXPECT_NE(CompileFunction(QString(70000, QLatin1Char('1')), QStringLiteral("x"), Context)->Sample(1, y), 0);
}

// The graph and the sum are real: compiled with the main window's context
// after it was switched to another set, they still read the text as real
// ("mod" is an operator there, not a name).
TEST_F(Vzorkovanie, TheGraphAndTheSumReadTheirTextAsRealInEverySet) {
    for (const TNumberSet set : {TNumberSet::Real, TNumberSet::Complex, TNumberSet::Modulo}) {
        TEvaluationContext context = Context;
        context.NumberSet = set;
        long double y = 0;
        EXPECT_EQ(CompileFunction(QStringLiteral("5 mod x+1"), QStringLiteral("x"), context)->Sample(3, y), 0);
        EXPECT_EQ(y, 3) << int(set);
        long double v = 0;
        TChyba err;
        EXPECT_TRUE(
            PripravIndexovanyVyraz(QStringLiteral("5 mod n+1"), QStringLiteral("n"), context)->Evaluate(3, v, err));
        EXPECT_EQ(v, 3) << int(set);
    }
}

} // namespace
