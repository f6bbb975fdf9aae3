#include "Analyzator.h"
#include "uCisla.h"
#include "uVyraz.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

// Failure messages show texts as text.
static void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

namespace {

QString Q(const char *s) { return QString::fromUtf8(s); }

QString Plain(const QString &text) {
    TVyraz t;
    t.Parse(text, nkTop);
    QString r;
    t.ToString(r);
    return r;
}

// The tables are written with "." as the separator.
QString Derivative(const QString &text, const QString &var = Q("x"), int order = 1, QChar sep = QLatin1Char('.')) {
    TVyraz work;
    QString t = text;
    DeriveNTimes(work, t, var, order, sep);
    return t;
}

// The value of a text at a point by the real evaluator in radians, with x
// and y as variables, a = 0.5, b = 2 and the constant $e; used to check
// derivative texts against difference quotients.
long double EvalText(const QString &text, long double x, long double y = 1.7L) {
    const auto num = [](long double v) {
        return FormatFloat(Q("0.##############################E-0"), v, QLatin1Char('.'));
    };
    const TVariableList vars({Q("x=") + num(x), Q("y=") + num(y), Q("a=0.5"), Q("b=2")});
    TConstantList constants;
    constants.Items = {{Q("$e"), num(std::exp(1.0L))}};
    TEvaluationContext context(QLatin1Char('.'));
    context.AngleUnit = TAngleUnit::Radians;
    context.Variables = &vars;
    context.Constants = &constants;
    const TEngineResult r = EvaluateReal(text, context);
    EXPECT_TRUE(r.Ok()) << qPrintable(text) << " code " << CodeNumber(r.Error.Code);
    return r.Ok() ? r.Real : NAN;
}

// The n-th difference quotient of text in the variable at the point; the
// other variable stands at 1.1 (x) or 1.7 (y).
long double NumericDerivative(const QString &text, const QString &var, long double at, int order) {
    const long double h = order == 1 ? 1e-6L : 1e-3L;
    auto f = [&](long double u) { return var == Q("y") ? EvalText(text, 1.1L, u) : EvalText(text, u, 1.7L); };
    if (order == 1)
        return (f(at + h) - f(at - h)) / (2 * h);
    if (order == 2)
        return (f(at + h) - 2 * f(at) + f(at - h)) / (h * h);
    return (f(at + 2 * h) - 2 * f(at + h) + 2 * f(at - h) - f(at - 2 * h)) / (2 * h * h * h);
}

class VyrazTest : public ::testing::Test {};

} // namespace

// --- parsing and printing -----------------------------------------------------

TEST_F(VyrazTest, PrintsWithTheBracketsTheKindsNeed) {
    const struct {
        const char *text, *plain;
    } cases[] = {
        {"a-b-c", "(a-b)-c"},
        {"a-(b-c)", "a-(b-c)"},
        {"a/b/c", "(a/b)/c"},
        {"a^b^c", "(a)^((b)^(c))"},
        {"(a+b)*c", "(a+b)*c"},
        {"a+b*c", "a+b*c"},
        {"sin(x)+1", "sin(x)+1"},
        {"((x))", "x"},
        {"2^3!", "((2)^(3))!"},
        {"-x", "-x"},
        {"-(x+1)", "-(x+1)"},
        {"x^2%", "(x)^(1/100*2)"},
        {"a*b/c", "(a*b)/c"},
        {"+x", "x"},
        {"2 + x", "2 + x"},
        {"-x^2", "-((x)^(2))"},
        {"x/(-y)", "x/(-y)"},
        {"x^(-sin(x))", "(x)^(-sin(x))"},
        // "%" as the evaluator computes it; a number's exponent is one operand
        {"a-b+10%", "a-b*(1+1/100*10)"},
        {"a+(10%)", "a+1/100*10"},
        {"2e-5*x", "2e-5*x"},
    };
    for (const auto &c : cases) {
        const QString plain = Plain(Q(c.text));
        EXPECT_EQ(plain, Q(c.plain)) << c.text;
        EXPECT_EQ(Plain(plain), plain) << c.text; // the printed text reads back as the same tree
    }
}

TEST_F(VyrazTest, FindsTheVariable) {
    const struct {
        const char *text, *var;
        bool independent;
    } cases[] = {
        {"-x", "x", false},     {"x", "x", false},       {"2x", "x", true},       {"x2", "x", true},
        {"X", "x", true},       {"sin(y)+3", "x", true}, {"a^(b*x)", "x", false}, {"x!", "x", false},
        {"(x+1)%", "x", false}, {"logy(2)", "y", false}, {"logy(2)", "x", true},  {"x^2", "", true},
    };
    for (const auto &c : cases) {
        TVyraz t;
        t.Parse(Q(c.text), nkTop);
        EXPECT_EQ(t.IsIndependentOf(Q(c.var)), c.independent) << c.text << " / " << c.var;
    }
}

TEST_F(VyrazTest, RefusesMalformedText) {
    const char *cases[] = {"",     "x+",  "()",    "2*-x", "(x",    "x)",     ")(",     "x^",
                           "*x",   "!x",  "x!2",   "x%2",  "a(b)c", "(a)(b)", "-",      "+",
                           "x^-2", "--x", "sin()", "2**3", "x/",    "(x+)",   "f(x)(y)"};
    for (const char *text : cases) {
        TVyraz t;
        t.Parse(Q("x+1"), nkTop);
        EXPECT_THROW(t.Parse(Q(text), nkTop), EEngineRangeError) << text;
        EXPECT_EQ(t.Kind, nkEmpty) << text;
        EXPECT_FALSE(t.Left || t.Right) << text;
        EXPECT_THROW(Derivative(Q(text)), EEngineRangeError) << text;
    }
}

TEST_F(VyrazTest, LongChainsAndDeepNestingWithoutRecursion) {
    TVyraz t;
    // Deep bracket nesting alone costs no depth.
    t.Parse(QString(30000, QLatin1Char('(')) + Q("x") + QString(30000, QLatin1Char(')')), nkTop);
    EXPECT_EQ(t.Kind, nkOperand);
    EXPECT_THROW(t.Parse(QString(MaxExpressionLength + 1, QLatin1Char('x')), nkTop), EEngineRangeError);

    // Chains of 30,000 terms and 10,000 nested functions are built, printed,
    // searched and freed; a sum is derived.
    const auto chain = [](const char *op, int terms) {
        QString s = Q("x");
        for (int i = 1; i < terms; ++i)
            s += Q(op) + Q("x");
        return s;
    };
    QString nested = Q("x");
    for (int i = 0; i < 10000; ++i)
        nested = Q("sin(") + nested + Q(")");
    for (const QString &text : {chain("+", 30000), chain("*", 30000), chain("/", 30000), chain("^", 30000), nested}) {
        t.Parse(text, nkTop);
        QString printed;
        t.ToString(printed);
        if (printed.size() <= MaxExpressionLength) { // the brackets of "/" and "^" make it longer
            EXPECT_EQ(Plain(printed), printed);
        }
        EXPECT_FALSE(t.IsIndependentOf(Q("x")));
        EXPECT_TRUE(t.IsIndependentOf(Q("y")));
    }
    EXPECT_EQ(Derivative(chain("+", 30000)), Q("30000"));
    EXPECT_EQ(Derivative(chain("-", 30000)), Q("-29998"));
    EXPECT_EQ(Derivative(chain("+", 15000).replace(Q("x"), Q("2*x"))), Q("30000"));
    // The product rule and the chain rule outgrow the bound on the text.
    EXPECT_THROW(Derivative(chain("*", 30000)), EEngineRangeError);
    EXPECT_THROW(Derivative(nested), EEngineRangeError);
    QString signs = Q("x");
    for (int i = 0; i < 10000; ++i)
        signs = Q("-(") + signs + Q(")");
    EXPECT_EQ(Derivative(signs), Q("1"));
}

// --- derivatives ----------------------------------------------------------------

struct DerivativeCase {
    const char *text;
    const char *var;
    int order;
    const char *result;
};

void ExpectDerivatives(const DerivativeCase *cases, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const DerivativeCase &c = cases[i];
        EXPECT_EQ(Derivative(Q(c.text), Q(c.var), c.order), Q(c.result)) << c.text << " order " << c.order;
    }
}

TEST_F(VyrazTest, FirstDerivativesOfEveryFunction) {
    const DerivativeCase cases[] = {
        {"ln(x)", "x", 1, "1/x"},
        {"log(x)", "x", 1, "1/(x*ln(10))"},
        {"logy(x)", "x", 1, "1/(x*ln(y))"},
        {"sin(x)", "x", 1, "cos(x)"},
        {"cos(x)", "x", 1, "-sin(x)"},
        {"tg(x)", "x", 1, "1/cos(x)^2"},
        {"tan(x)", "x", 1, "1/cos(x)^2"},
        {"cotg(x)", "x", 1, "-1/sin(x)^2"},
        {"arcsin(x)", "x", 1, "1/(1-x^2)^0.5"},
        {"arccos(x)", "x", 1, "-1/(1-x^2)^0.5"},
        {"arctg(x)", "x", 1, "1/(x^2+1)"},
        {"arccotg(x)", "x", 1, "-1/(x^2+1)"},
        {"sinh(x)", "x", 1, "cosh(x)"},
        {"cosh(x)", "x", 1, "sinh(x)"},
        {"tgh(x)", "x", 1, "1/cosh(x)^2"},
        {"cotgh(x)", "x", 1, "-1/sinh(x)^2"},
        {"arcsinh(x)", "x", 1, "1/(1+x^2)^0.5"},
        {"arccosh(x)", "x", 1, "1/(x^2-1)^0.5"},
        {"arctgh(x)", "x", 1, "1/(1-x^2)"},
        {"arccotgh(x)", "x", 1, "1/(1-x^2)"},
        {"sqr(x)", "x", 1, "2*x"},
        {"sqrt(x)", "x", 1, "1/(2*sqrt(x))"},
        {"abs(x)", "x", 1, "sign(x)"},
        {"sin(x^2)", "x", 1, "cos((x^2))*2*x"},
        {"-cos(x)", "x", 1, "sin(x)"},
        {"x^2", "x", 1, "2*x"},
        {"x^3", "x", 1, "3*x^2"},
        {"2^x", "x", 1, "2^x*ln(2)"},
        {"$e^x", "x", 1, "$e^x"},
        {"x", "x", 1, "1"},
        {"-x", "x", 1, "-1"},
    };
    ExpectDerivatives(cases, std::size(cases));
}

TEST_F(VyrazTest, HigherOrders) {
    const DerivativeCase cases[] = {
        {"x^3", "x", 2, "6*x"},
        {"x^3", "x", 3, "6"},
        {"x^3", "x", 4, "0"},
        {"x^2", "x", 2, "2"},
        {"sin(x)", "x", 2, "-sin(x)"},
        {"sin(x)", "x", 3, "-cos(x)"},
        {"sin(x)", "x", 4, "sin(x)"},
        {"$e^x", "x", 10, "$e^x"},
        {"1/x", "x", 2, "2*x/(x^2)^2"},
        // a minus moved before a product stays out of the function's argument
        {"sin(-x)", "x", 1, "-cos(-x)*1"},
        {"sin(-x)", "x", 3, "cos(-x)*1"},
    };
    ExpectDerivatives(cases, std::size(cases));
}

TEST_F(VyrazTest, ProductsQuotientsConstantsAndOtherVariables) {
    const DerivativeCase cases[] = {
        {"x*sin(x)", "x", 1, "sin(x)+x*cos(x)"},
        {"(x+1)*(x-1)", "x", 1, "(x-1)+(x+1)"},
        {"1/x", "x", 1, "-1/x^2"},
        {"x/3", "x", 1, "1/3"},
        {"sin(x)/x", "x", 1, "(cos(x)*x-sin(x))/x^2"},
        {"x*(1/3)", "x", 1, "1/3"},
        {"5", "x", 1, "0"},
        {"x^2+sin(x)", "", 1, "0"},
        {"a*x", "x", 1, "a"},
        {"a*x", "a", 1, "x"},
        {"y^2+x", "x", 1, "1"},
        {"$c*x", "x", 1, "$c"},
        {"X^2", "x", 1, "0"},
        {"rnd(2)+x", "x", 1, "1"},
        {"3!*x", "x", 1, "3!"},
        {"x/(2-5)", "x", 1, "-1/3"},
    };
    ExpectDerivatives(cases, std::size(cases));
}

// Numbers fold without rounding: small terms stay, fractions that do not
// end are written as fractions, and what has no exact value stays as written.
TEST_F(VyrazTest, FoldsNumbersExactly) {
    const DerivativeCase cases[] = {
        {"0.0001*x^2", "x", 1, "0.0002*x"},
        {"0.0001*x^2+x^3", "x", 1, "0.0002*x+3*x^2"},
        {"x*0.0004", "x", 1, "0.0004"},
        {"x*(1/3)+x^2", "x", 1, "1/3+2*x"},
        {"x^(1/3)", "x", 1, "1/3*x^(-2/3)"},
        {"x-x*(1/3)", "x", 1, "2/3"},
        {"x*2.50", "x", 1, "2.5"},
        {"x*(-1/3)^2", "x", 1, "1/9"},
        {"x*4^0.5", "x", 1, "2"},
        {"x*2^0.5", "x", 1, "2^0.5"},
        {"x*10^18*10^18", "x", 1, "10^18*10^18"},
        {"x*(1/3)^40", "x", 1, "(1/3)^40"},
        {"x*123456789012345678901234", "x", 1, "123456789012345678901234"},
        {"x/0", "x", 1, "0/0"},
        {"0.001*x^3", "x", 3, "0.006"},
    };
    ExpectDerivatives(cases, std::size(cases));
    const QChar comma = QLatin1Char(',');
    EXPECT_EQ(Derivative(Q("x*2,5+x*0,25"), Q("x"), 1, comma), Q("2,75"));
    EXPECT_EQ(Derivative(Q("0,0001*x^2"), Q("x"), 1, comma), Q("0,0002*x"));
}

// As the evaluator reads them: a number's exponent keeps its sign, and a
// percent right after a sign multiplies the term before it.
TEST_F(VyrazTest, NumbersAndPercentsAsTheEvaluatorReadsThem) {
    const DerivativeCase cases[] = {
        {"1E-5*x", "x", 1, "0.00001"}, {"2.5E-3*x^2", "x", 1, "0.005*x"}, {"x^2e-1", "x", 1, "0.2*x^(-0.8)"},
        {"x-1e-5", "x", 1, "1"},       {"x+10%", "x", 1, "1.1"},          {"x-10%", "x", 1, "0.9"},
        {"2*x+10%", "x", 1, "2.2"},    {"x*10%", "x", 1, "0.1"},          {"x%", "x", 1, "0.01"},
        {"(x+1)%", "x", 1, "0.01"},    {"x+(10%)", "x", 1, "1"},          {"x+10%%", "x", 1, "0.011"},
        {"x^2+50%", "x", 2, "3"},      {"a-b+10%", "b", 1, "-1.1"},
    };
    ExpectDerivatives(cases, std::size(cases));
}

TEST_F(VyrazTest, RulesWhereThereWasNone) {
    const DerivativeCase cases[] = {
        {"x^x", "x", 1, "x^x*(ln(x)+x/x)"},
        {"x^sin(x)", "x", 1, "x^sin(x)*(cos(x)*ln(x)+sin(x)/x)"},
        {"-(x^2+1)", "x", 1, "-2*x"},
        {"-x^2", "x", 1, "-2*x"},
        {"-sin(x)^2", "x", 1, "-2*sin(x)*cos(x)"},
        {"(-sin(x))^3", "x", 1, "-3*(-sin(x))^2*cos(x)"},
        {"logy(x)", "y", 1, "-ln(x)/(y*ln(y)^2)"},
    };
    ExpectDerivatives(cases, std::size(cases));
    for (const char *text : {"rnd(x)", "sign(x)", "deg(x)", "dms(2*x)", "foo(x)", "Sin(x)", "x!"}) {
        try {
            Derivative(Q(text));
            ADD_FAILURE() << text << " has no derivative";
        } catch (const EEngineNoDerivative &e) {
            EXPECT_FALSE(e.FunctionName.isEmpty()) << text;
        }
    }
}

TEST_F(VyrazTest, CapsTheGrowingText) {
    EXPECT_NO_THROW(Derivative(Q("tg(x)"), Q("x"), 5));
    EXPECT_THROW(Derivative(Q("tg(x)"), Q("x"), 10), EEngineRangeError);
    EXPECT_THROW(Derivative(Q("x"), Q("x"), 0), EEngineRangeError);
    EXPECT_THROW(Derivative(Q("x"), Q("x"), MaxDerivativeOrder + 1), EEngineRangeError);
    // A failed chain leaves the text as it was.
    TVyraz work;
    QString t = Q("tg(x)");
    EXPECT_THROW(DeriveNTimes(work, t, Q("x"), 10, QLatin1Char('.')), EEngineRangeError);
    EXPECT_EQ(t, Q("tg(x)"));
}

// Every derivative text agrees with difference quotients of the original.
TEST_F(VyrazTest, DerivativesAgreeWithDifferenceQuotients) {
    const struct {
        const char *text, *var;
        int order;
        long double at;
    } cases[] = {
        {"sin(2*x+1)*cos(x)", "x", 1, 0.3L},
        {"arccotg(x+1)", "x", 2, 0.7L},
        {"arccosh(x+2)", "x", 2, 0.1L},
        {"logy(x*y)", "y", 1, 1.3L},
        {"sqrt(x^2+1)", "x", 2, 0.6L},
        {"abs(x^3-2)", "x", 1, 0.5L},
        {"x^x", "x", 2, 1.2L},
        {"x^sin(x)", "x", 2, 0.9L},
        {"(x+1)^(x-0.5)", "x", 1, 0.8L},
        {"$e^(x^2)", "x", 2, 0.4L},
        {"2^(sin(x))", "x", 2, 0.7L},
        {"-x^3+x/(x+1)", "x", 2, 0.5L},
        {"(-sin(x))^3", "x", 3, 0.4L},
        {"x^3*ln(x)", "x", 3, 1.4L},
        {"x/(1-x^2)^2", "x", 2, 0.3L},
        {"tg(-x)", "x", 3, 0.6L},
        {"cos(x*(-x))*x", "x", 3, 0.4L},
        {"-(x^2-x)/(x+3)", "x", 3, 0.6L},
        {"a*x^2+b*x", "x", 1, 0.6L},
        {"arctgh(x/2)*sinh(x)", "x", 2, 0.4L},
    };
    for (const auto &c : cases) {
        const QString var = Q(c.var);
        const QString d = Derivative(Q(c.text), var, c.order);
        const long double exact = var == Q("y") ? EvalText(d, 1.1L, c.at) : EvalText(d, c.at, 1.7L);
        const long double numeric = NumericDerivative(Q(c.text), var, c.at, c.order);
        EXPECT_NEAR(double(exact), double(numeric), 1e-4 * (1 + std::fabs(double(numeric))))
            << c.text << " order " << c.order << ": " << qPrintable(d);
    }
}
