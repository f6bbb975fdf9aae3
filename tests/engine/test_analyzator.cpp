#include "Analyzator.h"
#include "KomplexnyAnalyzator.h"
#include "ModuloAnalyzator.h"
#include "ZlomkovyAnalyzator.h"
#include "uKompilovanyVyraz.h"
#include "uCisla.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <thread>

namespace {

QString Q(const char *s) { return QString::fromUtf8(s); }

class Analyzator : public ::testing::Test {
protected:
    TVariableList variables;
    TConstantList constants;
    TEvaluationContext ctx{QLatin1Char(',')};

    // The "=" road: the syntax check, then the evaluation of the checked text.
    TChyba Calculate(const QString &typed, QString &result) {
        TChyba err;
        CheckSyntax(typed, ctx, err);
        if (err.Failed())
            return err;
        const TEngineResult r = EvaluateReal(typed, ctx);
        result = r.Token;
        return r.Error;
    }

    // The value of a result token; fails the test on an error code.
    long double ValueOf(const char *typed) {
        QString r;
        const TChyba err = Calculate(Q(typed), r);
        EXPECT_EQ(CodeNumber(err.Code), 0) << typed << " param " << err.Param1.toStdString();
        EXPECT_TRUE(r.startsWith(QLatin1Char('[')) && r.endsWith(QLatin1Char(']')))
            << typed << " -> " << r.toStdString();
        long double v = -12345;
        EXPECT_TRUE(TryStrToFloat(r.mid(1, r.size() - 2), v, QLatin1Char(','))) << typed << " -> " << r.toStdString();
        return v;
    }

    TChyba ErrorOf(const char *typed) {
        QString r;
        return Calculate(Q(typed), r);
    }

    // The evaluator alone, without the syntax check.
    QString Raw(const QString &text, TChyba &err) {
        const TEngineResult r = EvaluateReal(text, ctx);
        err = r.Error;
        return r.Token;
    }

    // One sample as the graph takes it: the text compiled once with x free,
    // evaluated for a value.
    TChyba Sample(const TCompiledExpression &compiled, long double x, long double &v) {
        const TEngineResult r = compiled.EvaluateReal({&x, 1});
        if (r.Ok())
            v = r.Real;
        return r.Error;
    }
};

struct ValueCase {
    const char *typed;
    long double value;
};

struct CodeCase {
    const char *typed;
    int code;
    const char *param1;
};

void ExpectClose(long double got, long double want, const char *what) {
    const long double tolerance = 1e-15L * std::max(1.0L, std::fabs(want));
    EXPECT_NEAR(double(got), double(want), double(tolerance)) << what;
}

} // namespace

TEST_F(Analyzator, OperatorsPrecedenceAndAssociativity) {
    const ValueCase cases[] = {
        {"2+3*4", 14},         {"2^3^2", 512},   {"10-2-3", 5},    {"8/2/2", 2},   {"2*(3+(4*(5-1)))", 38},
        {"(2)(3)", 6},         {"-2^2", -4},     {"(-2)^2", 4},    {"7-(-3)", 10}, {",5*2", 1},
        {"1,5e-3*1000", 1.5L}, {"200+10%", 220}, {"200-10%", 180}, {"50*10%", 5},  {"2^3!", 40320},
        {"2*3!^2+1", 73},      {"0!", 1},        {"5nad2", 10},    {"10nad0", 1},  {"7div2", 3},
        {"(-7)div2", -3},      {"-7mod3", -1},   {"7mod(-3)", 1},  {"(-2)^3", -8}, {"9e18div(-1)", -9e18L},
        {"(-9e18)mod(-1)", 0},
    };
    for (const auto &c : cases)
        ExpectClose(ValueOf(c.typed), c.value, c.typed);
}

TEST_F(Analyzator, OperatorErrorsGiveTheirCodes) {
    const CodeCase cases[] = {
        {"1/0", 25, ""},       {"0/0", 25, ""},           {"(-8)^0,5", 21, ""},   {"0^(-1)", 25, ""},
        {"10^5000", 20, ""},   {"1e4000*1e4000", 20, ""}, {"(-2)!", 24, ""},      {"2,5!", 24, ""},
        {"1755!", 20, ""},     {"2nad5", 28, ""},         {"5nad2,5", 27, "nad"}, {"(-1)nad1", 27, "nad"},
        {"70000nad1", 20, ""}, {"7,5mod2", 27, "mod"},    {"7,5div2", 27, "div"}, {"7div0", 25, ""},
        {"1e19div1", 20, ""},  {"7div(-9,3e18)", 20, ""},
    };
    for (const auto &c : cases) {
        const TChyba err = ErrorOf(c.typed);
        EXPECT_EQ(CodeNumber(err.Code), c.code) << c.typed;
        if (*c.param1) {
            EXPECT_EQ(err.Param1, Q(c.param1)) << c.typed;
        }
        EXPECT_EQ(err.SpanStart, 0) << c.typed;
        EXPECT_EQ(err.SpanEnd, 0) << c.typed;
    }
}

TEST_F(Analyzator, ResultTokenTextAndBothSeparators) {
    QString r;
    ASSERT_EQ(CodeNumber(Calculate(Q("2+3*sin(30)"), r).Code), 0);
    EXPECT_EQ(r, Q("[3,5E0]"));
    ASSERT_EQ(CodeNumber(Calculate(Q("0,1+0,2"), r).Code), 0);
    EXPECT_EQ(r, Q("[3E-1]"));
    ASSERT_EQ(CodeNumber(Calculate(Q("-1/2"), r).Code), 0);
    EXPECT_EQ(r, Q("[-5E-1]"));
    ASSERT_EQ(CodeNumber(Calculate(Q("sin(180)"), r).Code), 0);
    EXPECT_EQ(r, Q("[0E0]")); // a function value below 0.5E-17 is 0

    ctx.DecimalSeparator = QLatin1Char('.');
    ASSERT_EQ(CodeNumber(Calculate(Q("2.5*2+1/4"), r).Code), 0);
    EXPECT_EQ(r, Q("[5.25E0]"));
    ASSERT_EQ(CodeNumber(Calculate(Q("200+10%"), r).Code), 0);
    EXPECT_EQ(r, Q("[2.2E2]"));
}

// Without its token the road gives the same value and the same code.
TEST_F(Analyzator, TheValueOnlyRoadAgreesWithTheTokenRoad) {
    for (const char *text : {"2+3*sin(30)", "0,1+0,2-0,3", "1/3", "1/0", "(-2)!", "5nad2,5", "2^0,5*ln(7)", "x"}) {
        const TEngineResult token = EvaluateReal(Q(text), ctx);
        const TEngineResult value = EvaluateReal(Q(text), ctx, TCompiledExpression::TText::ValueOnly);
        EXPECT_EQ(value.Error.Code, token.Error.Code) << text;
        EXPECT_EQ(value.Real, token.Real) << text;
        EXPECT_TRUE(value.Token.isEmpty()) << text;
    }
}

TEST_F(Analyzator, UnaryMinusAfterOperatorInsideTheEvaluator) {
    // the syntax check refuses "2*-3"; variable values bring such texts in
    variables.Items = {Q("x=-3")};
    ctx.Variables = &variables;
    EXPECT_EQ(ValueOf("2*x"), -6);
    EXPECT_EQ(ValueOf("x^2"), 9);
    EXPECT_EQ(ValueOf("2-x"), 5);
    TChyba err;
    EXPECT_EQ(Raw(Q("2*-3"), err), Q("[-6E0]"));
    EXPECT_EQ(CodeNumber(err.Code), 0);
}

TEST_F(Analyzator, MalformedGroupsStopWithBracketCodes) {
    const CodeCase cases[] = {
        {"()", 9, ""},  {"2+()", 9, ""}, {"(()", 9, ""},   {"(", 11, ""},      {"2+(3", 11, ""},
        {")(", 11, ""}, {"2)", 10, ""},  {"(2))", 10, ""}, {"(1)+3)", 10, ""},
    };
    for (const auto &c : cases) {
        TChyba err;
        EXPECT_TRUE(Raw(Q(c.typed), err).isEmpty()) << c.typed;
        EXPECT_EQ(CodeNumber(err.Code), c.code) << c.typed;
    }
}

TEST_F(Analyzator, AnErrorInsideAGroupStopsTheWhole) {
    TChyba err;
    EXPECT_TRUE(Raw(Q("2+(1/0)"), err).isEmpty());
    EXPECT_EQ(CodeNumber(err.Code), 25);
    // Groups are taken from the last "(" to the first: the later one reports.
    EXPECT_TRUE(Raw(Q("(1/0)+(sqrt(-1))"), err).isEmpty());
    EXPECT_EQ(CodeNumber(err.Code), 22);
    // In a group, functions come before the operators.
    Raw(Q("1/0+ln(0)"), err);
    EXPECT_EQ(CodeNumber(err.Code), 22);
    EXPECT_EQ(err.Param2, Q("ln"));
}

TEST_F(Analyzator, FunctionsInEachAngleUnit) {
    const long double pi = std::numbers::pi_v<long double>;
    struct Case {
        int unit;
        const char *typed;
        long double value;
    };
    const Case cases[] = {
        {0, "sin(30)", 0.5L},
        {0, "cos(60)", 0.5L},
        {0, "tan(-45)", -1},
        {0, "cotg(45)", 1},
        {0, "cotan(135)", -1},
        {0, "sin(390)", 0.5L},
        {0, "cos(90)", 0},
        {0, "arcsin(0,5)", 30},
        {0, "arccos(0,5)", 60},
        {0, "arctan(-1)", -45},
        {0, "arccot(-1)", 135},
        {0, "arccotg(1)", 45},
        {0, "sinh(1)", std::sinh(1.0L)},
        {0, "cosh(2)", std::cosh(2.0L)},
        {0, "tanh(1)", std::tanh(1.0L)},
        {0, "cotanh(2)", 1 / std::tanh(2.0L)},
        {0, "arcsinh(1)", std::asinh(1.0L)},
        {0, "arccosh(2)", std::acosh(2.0L)},
        {0, "arctanh(-0,5)", -std::atanh(0.5L)},
        {0, "arccotgh(2)", std::atanh(0.5L)},
        {0, "arccoth(-2)", -std::atanh(0.5L)},
        {1, "cos(0)", 1},
        {1, "tan(1)", std::tan(1.0L)},
        {1, "cotg(1)", 1 / std::tan(1.0L)},
        {1, "arcsin(1)", pi / 2},
        {1, "arccotg(0)", pi / 2},
        {1, "tgh(1)", std::tanh(1.0L)},
        {2, "sin(100)", 1},
        {2, "cos(200)", -1},
        {2, "arctg(1)", 50},
        {2, "arccos(-1)", 200},
        {0, "sqrt(16)", 4},
        {0, "sqr(3)", 9},
        {0, "abs(-2)", 2},
        {0, "log(1000)", 3},
        {0, "ln(1)", 0},
        {0, "sign(-7)", -1},
        {0, "sign(0)", 0},
        {0, "rnd(2,5)", 2},
        {0, "rnd(3,5)", 4},
        {0, "rnd(-2,7)", -3},
        {0, "deg(12,3045)", 12.5125L},
        {0, "dms(12,5125)", 12.3045L},
        {0, "deg(-12,3045)", -12.5125L},
        {0, "dms(-12,5125)", -12.3045L},
        {0, "deg(123,3045)", 123.5125L},
        {0, "2sin30", 1},
        {0, "sin30^2", 0.25L},
        {0, "SIN(30)+Cos(60)", 1},
    };
    for (const auto &c : cases) {
        ctx.AngleUnit = TAngleUnit(c.unit);
        ExpectClose(ValueOf(c.typed), c.value, c.typed);
    }
}

TEST_F(Analyzator, FunctionDomainAndOverflowErrors) {
    struct Case {
        int unit;
        const char *typed;
        int code;
        const char *param1;
        const char *param2;
    };
    const Case cases[] = {
        {0, "sqrt(-4)", 22, "-4", "sqrt"},         {0, "ln(0)", 22, "0", "ln"},
        {0, "arccos(-1,5)", 22, "-1,5", "arccos"}, {0, "arccosh(0,5)", 22, "0,5", "arccosh"},
        {0, "arctgh(1)", 22, "1", "arctgh"},       {0, "arccotgh(0,5)", 22, "0,5", "arccotgh"},
        {0, "cotgh(0)", 22, "0", "cotgh"},         {1, "cotg(0)", 22, "0", "cotg"},
        {0, "tg(-270)", 22, "-270", "tg"},         {0, "cotg(180)", 22, "180", "cotg"},
        {2, "tan(100)", 22, "100", "tan"},         {2, "cotan(0)", 22, "0", "cotan"},
        {0, "sinh(1000000)", 23, "sinh", ""},      {0, "sqr(1e3000)", 23, "sqr", ""},
    };
    for (const auto &c : cases) {
        ctx.AngleUnit = TAngleUnit(c.unit);
        const TChyba err = ErrorOf(c.typed);
        EXPECT_EQ(CodeNumber(err.Code), c.code) << c.typed;
        EXPECT_EQ(err.Param1, Q(c.param1)) << c.typed;
        if (*c.param2) {
            EXPECT_EQ(err.Param2, Q(c.param2)) << c.typed;
        }
    }
}

TEST_F(Analyzator, LogyReadsTheVariableY) {
    variables.Items = {Q("y=2")};
    ctx.Variables = &variables;
    ExpectClose(ValueOf("logy(8)"), 3, "logy(8)");
    variables.Items = {Q("y=1")};
    EXPECT_EQ(CodeNumber(ErrorOf("logy(8)").Code), 22);
    variables.Items = {Q("x=1")};
    EXPECT_EQ(CodeNumber(ErrorOf("logy(8)").Code), 15);
}

// Either character is the decimal separator in every set, in the text, a
// variable's value, a constant's value and the base of logy; the result is
// written with the context's.
TEST_F(Analyzator, EverySetReadsBothSeparators) {
    enum Road { Real, Fraction, Complex, Modulo };
    const struct {
        Road road;
        char sep;
        const char *typed, *token;
        int code;
    } cases[] = {
        {Real, ',', "1.5+1", "[2,5E0]", 0},
        {Real, '.', "1,5+1", "[2.5E0]", 0},
        {Real, ',', "x*$c+logy(4)", "[-7,5E-1]", 0}, // x=0.5, $c=0.5, y=0,25: 0.25 - 1
        {Real, '.', "x*$c+logy(4)", "[-7.5E-1]", 0},
        {Fraction, ',', "1.5+1/4", "[+7|4]", 0},
        {Fraction, '.', "1,5+1/4", "[+7|4]", 0},
        {Complex, ',', "1.5+j0.5", "[1,5+j0,5]", 0},
        {Complex, '.', "1,5+j0,5", "[1.5+j0.5]", 0},
        {Complex, ',', "2.5e^j90.0*x", "[0+j1,25]", 0},
        {Modulo, ',', "1.5+1", "", 1},
        {Modulo, '.', "1,5+1", "", 1},
    };
    TVariableList values({Q("x=0.5"), Q("y=0,25")});
    constants.Items = {{Q("$c"), Q("0.5")}};
    for (const auto &c : cases) {
        TEvaluationContext context(QLatin1Char(c.sep));
        context.Variables = &values;
        context.Constants = &constants;
        context.NumberSet = c.road == Complex  ? TNumberSet::Complex
                            : c.road == Modulo ? TNumberSet::Modulo
                                               : TNumberSet::Real;
        context.Fractions = c.road == Fraction;
        const TEngineResult r = c.road == Complex    ? EvaluateComplex(Q(c.typed), context)
                                : c.road == Modulo   ? EvaluateModulo(Q(c.typed), context)
                                : c.road == Fraction ? EvaluateFraction(Q(c.typed), context)
                                                     : EvaluateReal(Q(c.typed), context);
        EXPECT_EQ(CodeNumber(r.Error.Code), c.code) << c.typed << " " << c.sep;
        EXPECT_EQ(r.Token, Q(c.token)) << c.typed << " " << c.sep;
    }
}

TEST_F(Analyzator, ConstantReferencesKeepTheirCaseBesideVariables) {
    constants.Items = {{Q("$Na"), Q("6,022E23")}, {Q("$x"), Q("3")}};
    ctx.Constants = &constants;
    variables.Items = {Q("x=2")};
    ctx.Variables = &variables;
    ExpectClose(ValueOf("$Na*x"), 1.2044e24L, "$Na*x");
    ExpectClose(ValueOf("$x+x"), 5, "$x+x");

    // the same in a compiled text with x free
    const TCompiledExpression compiled(Q("$Na*x+$x"), ctx, {Q("x")});
    long double v = 0;
    ASSERT_EQ(CodeNumber(Sample(compiled, 2, v).Code), 0);
    ExpectClose(v, 1.2044e24L + 3, "compiled");
}

TEST_F(Analyzator, CompiledExpressionEvaluatesForEachValue) {
    variables.Items = {Q("x=100"), Q("a=3")};
    ctx.Variables = &variables;
    // x is free: the variables' x is not used; "X" is the same name.
    const TCompiledExpression compiled(Q("2X^2 + a*sin(x) - x!"), ctx, {Q("x")});
    for (int x = 0; x <= 5; ++x) {
        long double v = 0;
        ASSERT_EQ(CodeNumber(Sample(compiled, x, v).Code), 0) << x;
        const long double want =
            2.0L * x * x + 3 * std::sin(x * std::numbers::pi_v<long double> / 180) - std::tgamma(x + 1.0L);
        ExpectClose(v, want, "sample");
        // the fast road agrees to the last digits and has the same codes
        long double fast = 0;
        const long double point = x;
        ASSERT_EQ(compiled.EvaluateFast({&point, 1}, fast), TErrorCode::None);
        ExpectClose(fast, want, "fast");
    }
    // a failed sample reports the code EvaluateReal gives on the text with
    // the value written in; the next one works again
    long double v = 0;
    EXPECT_EQ(CodeNumber(Sample(compiled, -1, v).Code), 24);
    EXPECT_EQ(CodeNumber(Sample(compiled, 1.5L, v).Code), 24);
    long double fast = 0;
    const long double half = 1.5L;
    EXPECT_EQ(compiled.EvaluateFast({&half, 1}, fast), TErrorCode::FactorialOfNonNatural);
    EXPECT_EQ(CodeNumber(Sample(compiled, 1, v).Code), 0);
    EXPECT_EQ(CodeNumber(EvaluateReal(Q("2*(-1)^2+3*sin(-1)-(-1)!"), ctx).Error.Code), 24);

    // only whole names are free: "xy" and "ex" are names of their own
    variables.Items = {Q("xy=10"), Q("ex=20")};
    const TCompiledExpression names(Q("x+xy+ex+2x"), ctx, {Q("x")});
    ASSERT_EQ(CodeNumber(Sample(names, 1, v).Code), 0);
    ExpectClose(v, 33, "whole names");
    // the sample's rounding is that of the text: sin(180) is 0
    const TCompiledExpression sine(Q("sin(x)"), ctx, {Q("x")});
    ASSERT_EQ(CodeNumber(Sample(sine, 180, v).Code), 0);
    EXPECT_EQ(v, 0);

    const TCompiledExpression open(Q("x+("), ctx, {Q("x")});
    EXPECT_EQ(CodeNumber(Sample(open, 1, v).Code), 11);
}

// A compiled program answers only on the road of the set it was compiled
// for, there as the text road does; on any other road it gives code 29 and
// no value (a real "sin(30)+2" run as complex once gave "[32]").
TEST_F(Analyzator, ACompiledProgramAnswersOnlyOnItsOwnRoad) {
    using TRoad = TCompiledExpression::TRoad;
    const TRoad roads[] = {TRoad::Real, TRoad::Fraction, TRoad::Complex, TRoad::Modulo};
    for (const char *text : {"sin(30)+2", "2*3+1"})
        for (const TRoad compiledFor : roads) {
            TEvaluationContext context = ctx;
            context.NumberSet = compiledFor == TRoad::Complex  ? TNumberSet::Complex
                                : compiledFor == TRoad::Modulo ? TNumberSet::Modulo
                                                               : TNumberSet::Real;
            context.Fractions = compiledFor == TRoad::Fraction;
            const TCompiledExpression compiled(Q(text), context);
            const TEngineResult answers[] = {compiled.EvaluateReal(), compiled.EvaluateFraction(),
                                             compiled.EvaluateComplex(), compiled.EvaluateModulo()};
            for (int k = 0; k < 4; ++k) {
                SCOPED_TRACE(std::string(text) + " compiled for road " + std::to_string(int(compiledFor)) +
                             ", run on road " + std::to_string(k));
                const TEngineResult oracle = TCompiledExpression::EvaluateText(Q(text), ctx, roads[k]);
                const bool own = roads[k] == compiledFor;
                EXPECT_EQ(answers[k].Error.Code, own ? oracle.Error.Code : TErrorCode::UnknownFailure);
                EXPECT_EQ(answers[k].Token, own ? oracle.Token : QString());
            }
            long double y = 0;
            const TErrorCode fast = compiled.EvaluateFast({}, y);
            EXPECT_EQ(fast, compiledFor == TRoad::Real ? answers[0].Error.Code : TErrorCode::UnknownFailure) << text;
        }
}

// A program that reads no input ("()" fails at once) copies none: the
// sanitizer run catches a copy from the empty input's null pointer.
TEST_F(Analyzator, TheSamplingRoadOfAnEmptyGroupCopiesNothing) {
    for (const char *text : {"()", "(())", "2+()"}) {
        const TCompiledExpression compiled(Q(text), ctx, {Q("x")});
        long double y = 7;
        const long double x = 1;
        EXPECT_EQ(compiled.EvaluateFast({&x, 1}, y), TErrorCode::EmptyBrackets) << text;
        EXPECT_EQ(y, 7) << text;
    }
}

TEST_F(Analyzator, SyntaxCheckCodesAndTypedSpans) {
    struct Case {
        const char *typed;
        int code;
        int start;
        int end;
    };
    const Case cases[] = {
        {"*2", 2, 0, 1},
        {" ^2", 2, 1, 2},
        {"2 + 3 -", 3, 6, 7},
        {"2,", 4, 1, 2},
        {"#2", 16, 0, 1},
        {"2 + # 3", 16, 4, 5},
        {"2 + * 3", 5, 4, 5},
        {"2!!", 5, 1, 3},
        {"2%%", 5, 1, 3},
        {"2,x", 6, 2, 3},
        {"2+)", 7, 2, 3},
        {"2+,5", 7, 2, 3},
        {"( * 2)", 8, 2, 3},
        {"1+( )", 9, 2, 5},
        {"$+1", 18, 0, 1},
        {"2*$", 18, 2, 3},
        {"(,5)", 30, 1, 2},
        {"( 1 + 2", 11, 0, 1},
        {"1 + 2 )", 10, 6, 7},
        {"2 *  sin", 12, 5, 8},
        {"cos+sin(3)", 12, 0, 3},
        {"arcsin", 12, 0, 6},
        {"ff,a", 0, 0, 0},
        {",5", 0, 0, 0},
        {"5nad2", 0, 0, 0},
        {"arcsin(0,5)+x", 0, 0, 0},
        // A word operator needs its second operand as "+" does; the span is
        // the word.
        {"5 nad", 3, 2, 5},
        {"7 mod", 3, 2, 5},
        {"7 div", 3, 2, 5},
        {"7MOD", 3, 1, 4},
        {"(5 nad)+1", 7, 3, 6},
        {"5 nad * 3", 5, 2, 5},
        {"5 nad -!", 5, 7, 8},
        {"5 nad +mod 2", 5, 2, 5},
        {"5 nad%", 5, 2, 5},
        {"5 nad -3", 0, 0, 0},
        {"(7)mod(2)", 0, 0, 0},
        {"xnad", 0, 0, 0},
        {"5 modx", 0, 0, 0},
        {"5 nad (2)", 0, 0, 0},
    };
    for (const auto &c : cases) {
        TChyba err;
        CheckSyntax(Q(c.typed), ctx, err);
        EXPECT_EQ(CodeNumber(err.Code), c.code) << c.typed;
        EXPECT_EQ(err.SpanStart, c.start) << c.typed;
        EXPECT_EQ(err.SpanEnd, c.end) << c.typed;
    }
    TChyba err;
    CheckSyntax(Q("Sin+1"), ctx, err);
    EXPECT_EQ(err.Param1, Q("sin"));
}

// A word operator without its second operand is a fault with fractions
// too; in the other sets "nad", "div" and "mod" are names.
TEST_F(Analyzator, SyntaxCheckOfWordOperatorsInTheOtherSets) {
    TChyba err;
    ctx.Fractions = true;
    CheckSyntax(Q("5 nad"), ctx, err);
    EXPECT_EQ(CodeNumber(err.Code), 3);
    ctx.Fractions = false;
    ctx.NumberSet = TNumberSet::Complex;
    CheckComplexSyntax(Q("5 nad"), ctx, err);
    EXPECT_EQ(CodeNumber(err.Code), 0);
    ctx.NumberSet = TNumberSet::Modulo;
    CheckModuloSyntax(Q("7 mod"), ctx, err);
    EXPECT_EQ(CodeNumber(err.Code), 0);
}

// The search for function names compares every letter of a name: a name
// that holds one but for its last letter is a variable.
TEST_F(Analyzator, SyntaxCheckFindsWholeFunctionNamesOnly) {
    for (const char *typed : {"scot+1", "glow+1", "gtx+1", "co+ab*sq-t", "arcco+lo"}) {
        TChyba err;
        CheckSyntax(Q(typed), ctx, err);
        EXPECT_EQ(CodeNumber(err.Code), 0) << typed;
    }
    TChyba err;
    CheckSyntax(Q("sqr+sqrt(2)"), ctx, err);
    EXPECT_EQ(CodeNumber(err.Code), 12);
    EXPECT_EQ(err.Param1, Q("sqr"));
}

// Either character is the separator for the rules of the check.
TEST_F(Analyzator, SyntaxCheckFollowsTheDecimalSeparator) {
    ctx.DecimalSeparator = QLatin1Char('.');
    const struct {
        const char *typed;
        int code;
    } cases[] = {{"2.", 4}, {"2.x", 6}, {"(.5)", 30}, {"2+.5", 7}, {"2.5", 0}, {"2,", 4}, {"(,5)", 30}, {"2,5", 0}};
    for (const auto &c : cases) {
        TChyba err;
        CheckSyntax(Q(c.typed), ctx, err);
        EXPECT_EQ(CodeNumber(err.Code), c.code) << c.typed;
    }
}

TEST_F(Analyzator, OverlongTextsAreRangeErrors) {
    const QString text = QString(MaxExpressionLength + 1, QLatin1Char('1'));
    TChyba err;
    EXPECT_THROW(CheckSyntax(text, ctx, err), EEngineRangeError);
    EXPECT_TRUE(Raw(text, err).isEmpty());
    EXPECT_EQ(CodeNumber(err.Code), 29);
}

TEST_F(Analyzator, DeepAndLongTextsAreReadWithoutRecursion) {
    // Nesting is kept in lists, not on the stack: any depth the text can
    // hold is evaluated.
    QString brackets = QString(32500, QLatin1Char('(')) + Q("2") + QString(32500, QLatin1Char(')'));
    QString r;
    ASSERT_EQ(CodeNumber(Calculate(brackets, r).Code), 0);
    EXPECT_EQ(r, Q("[2E0]"));
    QString sines;
    for (int i = 0; i < 13000; ++i)
        sines += Q("sin(");
    sines += Q("0") + QString(13000, QLatin1Char(')'));
    ASSERT_EQ(CodeNumber(Calculate(sines, r).Code), 0);
    EXPECT_EQ(r, Q("[0E0]"));
    QString powers = Q("1");
    for (int i = 0; i < 20000; ++i)
        powers += Q("^1");
    ASSERT_EQ(CodeNumber(Calculate(powers, r).Code), 0);
    EXPECT_EQ(r, Q("[1E0]"));
    QString sum = Q("x");
    while (sum.size() < 30000)
        sum += Q("+x");
    variables.Items = {Q("x=1")};
    ctx.Variables = &variables;
    ASSERT_EQ(CodeNumber(Calculate(sum, r).Code), 0);
    EXPECT_EQ(r, Q("[1,5001E4]")); // 15,001 times x
    QStringList names;
    CollectVariableNames(sum, ctx, names, QString());
    EXPECT_EQ(names, QStringList{Q("x")});
}

TEST_F(Analyzator, LongNumbersAreReadAsAnyOtherNumber) {
    const std::pair<QString, const char *> cases[] = {
        {Q("0,") + QString(4095, QLatin1Char('3')), "0,333333333333333333"},
        {Q("1") + QString(4940, QLatin1Char('0')) + Q("E-4900"), "1E40"},
        {Q("2*0,") + QString(5000, QLatin1Char('5')), "10/9"},
    };
    for (const auto &[text, same] : cases) {
        QString r, expected;
        ASSERT_EQ(CodeNumber(Calculate(text, r).Code), 0) << same;
        ASSERT_EQ(CodeNumber(Calculate(Q(same), expected).Code), 0) << same;
        EXPECT_EQ(r, expected) << same;
    }
}

TEST_F(Analyzator, TwoContextsOnTwoThreads) {
    // Everything an evaluation reads is in its context: two threads with a
    // different separator, angle unit and variables do not disturb each other.
    TVariableList first({Q("x=30")}), second({Q("x=100")});
    TEvaluationContext degrees(QLatin1Char(','));
    degrees.Variables = &first;
    TEvaluationContext grads(QLatin1Char('.'));
    grads.AngleUnit = TAngleUnit::Grads;
    grads.Variables = &second;
    const TCompiledExpression shared(Q("2*x+1"), degrees);
    QStringList a, b;
    auto run = [&shared](const TEvaluationContext &context, QStringList &out) {
        for (int i = 0; i < 2000; ++i) {
            out << EvaluateReal(Q("sin(x)+0.25"), context).Token;
            out << shared.EvaluateReal().Token;
        }
    };
    std::thread one([&] { run(degrees, a); });
    std::thread two([&] { run(grads, b); });
    one.join();
    two.join();
    ASSERT_EQ(a.size(), 4000);
    ASSERT_EQ(b.size(), 4000);
    // Each context writes its own separator ("0.25" reads in both).
    EXPECT_EQ(a.count(Q("[7,5E-1]")), 2000);
    EXPECT_EQ(a.count(Q("[6,1E1]")), 2000);
    EXPECT_EQ(b.count(Q("[1.25E0]")), 2000); // sin(100 grads) = 1
    EXPECT_EQ(b.count(Q("[6,1E1]")), 2000);  // one compiled text, shared
}

TEST_F(Analyzator, LeftoversOfMalformedTextsAreErrorsNotResults) {
    EXPECT_EQ(CodeNumber(ErrorOf(",5eEE").Code), 1); // passes the check, reads as one bad number
    // An exponent's sign is only one typed: the evaluator's "+0" after the
    // text is none, nor is it the second operand of a word operator.
    for (const char *text : {"5e", "2E", "1,5e", "(2e)", "5 nad", "7 mod", "7 div", "5*"}) {
        TChyba err;
        EXPECT_TRUE(Raw(Q(text), err).isEmpty()) << text;
        EXPECT_EQ(CodeNumber(err.Code), 1) << text;
    }
    ExpectClose(ValueOf("1e-3"), 1e-3L, "1e-3");
    ExpectClose(ValueOf("2e+5"), 2e5L, "2e+5");
    const char *unchecked[] = {"*", "^2", "[", "(*)"};
    for (const char *text : unchecked) {
        TChyba err;
        EXPECT_NE(Raw(Q(text), err).left(1), Q("*")) << text;
        EXPECT_EQ(CodeNumber(err.Code), 1) << text;
    }
    // a product below the smallest normal number comes out as 0
    ExpectClose(ValueOf("1e-4000*1e-940+1"), 1, "underflow");
}

// With ExactWholeNumbers a whole result within the 64-bit range keeps every
// digit, in the real and the complex set, also through functions, powers
// and quotients; any other result keeps its 18 digits, and without the
// setting every result does.
TEST(AnalyzatorWholeNumbers, WholeResultsOf64BitsKeepEveryDigit) {
    struct Case {
        bool exact, complex;
        const char *text;
        long double re, im;
    };
    const Case cases[] = {
        {true, false, "1152921504606846975", 1152921504606846975.0L, 0},
        {true, false, "1152921504606846975-1", 1152921504606846974.0L, 0},
        {true, false, "-9223372036854775807-1", -9223372036854775808.0L, 0},
        {true, false, "abs(-9223372036854775807)", 9223372036854775807.0L, 0},
        {true, false, "4294967295*2147483647", 9223372030412324865.0L, 0},
        {true, false, "2^62+3", 4611686018427387907.0L, 0},
        {true, false, "9223372036854775806 div 2", 4611686018427387903.0L, 0},
        {true, false, "9223372036854775807 mod 10", 7, 0},
        // not whole, or beyond 64 bits: 18 digits
        {true, false, "1152921504606846975/2", 576460752303423488.0L, 0},
        {true, false, "9223372036854775807+1", 9223372036854775810.0L, 0},
        {false, false, "1152921504606846975", 1152921504606846980.0L, 0},
        {true, true, "1152921504606846975-j1152921504606846975", 1152921504606846975.0L, -1152921504606846975.0L},
        {true, true, "(3037000499+j2)*(3037000499-j2)", 9223372030926249005.0L, 0},
        {true, true, "(1+j)^124", -4611686018427387904.0L, 0},
        {true, true, "(4611686018427387903+j)*2/2", 4611686018427387903.0L, 1},
        {false, true, "1152921504606846975+j", 1152921504606846980.0L, 1},
    };
    for (const Case &c : cases) {
        TEvaluationContext context(QLatin1Char(','));
        context.ExactWholeNumbers = c.exact;
        context.NumberSet = c.complex ? TNumberSet::Complex : TNumberSet::Real;
        const TEngineResult r = c.complex ? EvaluateComplex(Q(c.text), context) : EvaluateReal(Q(c.text), context);
        ASSERT_TRUE(r.Ok()) << c.text;
        EXPECT_EQ(r.Complex.Re, c.re) << c.text;
        EXPECT_EQ(r.Complex.Im, c.im) << c.text;
    }
}
