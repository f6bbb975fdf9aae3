// The graph's sampler against the real evaluator: each sample must give what
// EvaluateReal gives for the text with the number put in place of x.
#include "GrafTestSupport.h"

#include "Analyzator.h"
#include "uCisla.h"

#include <cmath>

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

// The "=" key's evaluation of a text: the code, and the value when 0.
quint8 Evaluate(const QString &text, const TEvaluationContext &context, long double &value) {
    const TEngineResult r = EvaluateReal(text, context);
    if (!r.Ok())
        return quint8(CodeNumber(r.Error.Code));
    value = r.Real;
    return 0;
}

// 15 significant digits of the larger of the values and `terms`; below the
// 17 decimals to which function values are written, any difference is
// rounding. Where terms of some size cancel, the evaluator's rounding of
// each step to 18 digits keeps only the digits of the terms, while the
// sampler's unrounded arithmetic keeps more: the two then agree to 15
// digits of the terms.
bool Agree(long double a, long double b, long double terms = 0) {
    const long double d = std::fabs(a - b);
    return d <= 1e-15L * std::max({std::fabs(a), std::fabs(b), terms}) || d <= 1e-17L;
}

class Vzorkovanie : public GraphTest {
protected:
    TVariableList Variables;
    TConstantList Constants;

    void SetUp() override {
        GraphTest::SetUp();
        Variables.Items = {QStringLiteral("a=1,5"), QStringLiteral("b=-2"), QStringLiteral("y=2"),
                           QStringLiteral("e=2,718281828")};
        Context.Variables = &Variables;
        Constants.Items = {{QStringLiteral("$g"), QStringLiteral("9,81")}, {QStringLiteral("$Na"), QStringLiteral("6,022E23")}};
        Context.Constants = &Constants;
    }
};

TEST_F(Vzorkovanie, EverySampleAgreesWithTheEvaluatorOnTheSubstitutedText) {
    // x runs over k/64 (exact in binary and in decimal) and over the poles
    // and domain edges of the functions in the table.
    QStringList xs;
    for (int k = -1024; k < 1024; ++k)
        xs += FormatFloat(QStringLiteral("0.##########"), k / 64.0L);
    for (const char *edge : {"90", "-90", "180", "270", "360", "100", "200", "300", "-16", "16", "16,015625",
                             "57,2957795130823209", "65535", "0,000001", "-0,000001", "1E-20", "170", "171"})
        xs += QString::fromLatin1(edge);

    const struct {
        const char *text;
        quint8 angleUnit;
        long double terms = 0; // the size of terms that cancel
    } table[] = {
        {"x^2-3*x+2", 0},
        {"1/x+1/(x-1)", 0},
        {"sin(x)*cos(2*x)-sin(x)^2", 0},
        {"tg(x)+tan(x/2)", 0},
        {"tg(x)*cotg(x)+cotan(x)", 2},
        {"sin(x)+cos(x)+tg(x)", 1},
        {"sin(x)*(cos(x)+1)-(x/3)^2+sin(x/3)*(x/3)^2+cos(x/3)/(x-3)", 0}, // computed once, sine and cosine together
        {"arcsin(x/16)+arccos(x/16)", 0},
        {"arctg(x)*arctan(x)+arccotg(x)-arccot(x)", 1},
        {"sinh(x)+cosh(x)-tgh(x)*tanh(x)", 1, 1e7L}, // sinh(-16) + cosh(-16)
        {"cotgh(x)+cotanh(x/2)", 0},
        {"arcsinh(x)+arccosh(x)", 0},
        {"arctgh(x/8)+arctanh(x/16)+arccotgh(x)+arccoth(x/2)", 0},
        {"sqrt(x)+sqr(x)-abs(x)", 0},
        {"log(x)+ln(17-x)", 0},
        {"logy(x)", 0},
        {"sign(x)*rnd(x*3)+deg(x)-dms(x)", 0},
        {"x!+rnd(abs(x))!", 0},
        {"rnd(abs(x))nad2+3nad(rnd(abs(x)))-(x*64)nad(x*32)", 0},
        {"(x*64)div7+(x*64)mod5-(x*64)div(x*32)", 0},
        {"200+x%-(200-x%)+x*10%", 0, 1e3L},
        {"2x+3(x-1)(x+1)-x(x)", 0},
        {"((x+1)*(x-(2-(3*x))))/((x^2)+1)-(((x)))", 0},
        {"a*x^2+b-$g*x+$Na/x", 0},
        {"x^x+(-x)^0,5", 0},
        {"10^(x*400)+2^-x-x^-2", 0},
        {"-x^2+2*-x--x", 0},
        {"e^(-x/5)*sin(x)", 1, 1e2L}, // sin(x) near its zeros, to 17 decimals
        {"x^3^2/7-x/2/2", 0},
    };
    long samples = 0;
    for (const auto &row : table) {
        Context.AngleUnit = TAngleUnit(row.angleUnit);
        const QString text = QString::fromLatin1(row.text);
        const std::unique_ptr<TFunctionSampler> sampler = CompileFunction(text, QStringLiteral("x"), Context);
        int failures = 0;
        QList<quint8> codes;
        for (const QString &x : xs) {
            long double at = 0;
            ASSERT_TRUE(TryStrToFloat(x, at)) << S(x);
            long double want = 0, got = 0;
            const quint8 wantCode = Evaluate(WithX(text, x), Context, want);
            const quint8 gotCode = sampler->Sample(at, got);
            if (!codes.contains(wantCode))
                codes.append(wantCode);
            const bool same = wantCode == gotCode && (wantCode != 0 || Agree(got, want, row.terms));
            if (!same && ++failures <= 3)
                ADD_FAILURE() << row.text << " at x = " << S(x) << ": sample code " << int(gotCode) << " value "
                              << double(got) << ", evaluator code " << int(wantCode) << " value " << double(want);
            ++samples;
        }
        // each row is tried where it works, and most also where it fails
        EXPECT_TRUE(codes.contains(0)) << row.text;
    }
    EXPECT_GT(samples, 50000);
}

TEST_F(Vzorkovanie, FailingSamplesGiveTheirCodes) {
    const struct {
        const char *text;
        const char *x;
        quint8 code;
    } cases[] = {
        {"1/x", "0", 25},      {"sqrt(x)", "-1", 22},    {"sinh(x)", "100000", 23}, {"x!", "-1", 24},
        {"x!", "0,5", 24},     {"(-8)^x", "0,5", 21},   {"x^2", "1E3000", 20},     {"5nad(x)", "6", 28},
        {"(x)nad2", "2,5", 27},  {"7mod(x)", "0", 25},    {"x+(", "1", 11},          {"x", "2", 0},
    };
    for (const auto &c : cases) {
        long double x = 0, y = -7;
        ASSERT_TRUE(TryStrToFloat(QString::fromLatin1(c.x), x));
        EXPECT_EQ(CompileFunction(QString::fromLatin1(c.text), QStringLiteral("x"), Context)->Sample(x, y), c.code)
            << c.text << " at " << c.x;
        if (c.code != 0) {
            EXPECT_EQ(y, -7) << c.text;
        }
    }
    // a text too long to be made ready fails every sample
    long double y = 0;
    EXPECT_NE(CompileFunction(QString(70000, QLatin1Char('1')), QStringLiteral("x"), Context)->Sample(1, y), 0);
}

} // namespace
