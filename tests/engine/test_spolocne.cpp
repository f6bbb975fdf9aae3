#include "Analyzator.h"
#include "GeneratorVyrazov.h"
#include "KomplexnyAnalyzator.h"
#include "ModuloAnalyzator.h"
#include "ZlomkovyAnalyzator.h"
#include "uSpolocne.h"
#include "PrevodySustav.h"
#include "uKompilovanyVyraz.h"

#include <array>

#include <gtest/gtest.h>

namespace {

class Spolocne : public ::testing::Test {
protected:
    TEvaluationContext ctx{QLatin1Char(',')};
};

QString Q(const char *s) { return QString::fromUtf8(s); }

struct SpanCase {
    const char *typed;
    int code;
    int start;
    int end;
};

} // namespace

TEST_F(Spolocne, CheckBracketsReportsCodesWithTypedSpans) {
    const SpanCase cases[] = {
        {"(1+2))", 10, 5, 6},   {"(1+(2", 11, 0, 1},       {"( 1 + 2", 11, 0, 1},
        {"1 + 2 )", 10, 6, 7},  {"  (1) + ( 2", 11, 8, 9}, {")(", 10, 0, 1}, // the stray ")" wins over the open "("
        {"(1))+((2", 10, 3, 4}, {"(1+2)", 0, 0, 0},        {"", 0, 0, 0},
    };
    for (const auto &c : cases) {
        QString text = Q(c.typed);
        text.remove(QLatin1Char(' '));
        TChyba err;
        CheckBrackets(text, Q(c.typed), err);
        EXPECT_EQ(CodeNumber(err.Code), c.code) << c.typed;
        EXPECT_EQ(err.SpanStart, c.start) << c.typed;
        EXPECT_EQ(err.SpanEnd, c.end) << c.typed;
    }
}

TEST_F(Spolocne, InsertImplicitMultiplication) {
    struct Case {
        const char *in;
        const char *out;
        quint8 numberSet;
    };
    const Case cases[] = {
        {"[2][3]", "[2]*[3]", 0},      {"[2]!x", "[2]!*x", 0},          {"[2](", "[2]*(", 0},
        {"[2]mod[3]", "[2]mod[3]", 0}, {"[2]mod[3]", "[2]*mod[3]", 1},  {"(1)$a", "(1)*$a", 0},
        {"[5]%[2]", "[5]%*[2]", 0},    {"(x)(y)x2y", "(x)*(y)*x2y", 0}, {"[2]+[3]", "[2]+[3]", 0},
    };
    for (const auto &c : cases) {
        ctx.NumberSet = TNumberSet(c.numberSet);
        QString e = Q(c.in);
        InsertImplicitMultiplication(e, WordTailReal, DigitsAndLetters, ctx.NumberSet);
        EXPECT_EQ(e, Q(c.out)) << c.in << " set " << int(c.numberSet);
    }
}

TEST_F(Spolocne, WordOperatorsAndVariableNames) {
    EXPECT_TRUE(IsWordOperator(Q("mod"), WordTailReal, TNumberSet::Real));
    EXPECT_TRUE(IsWordOperator(Q("div12"), WordTailReal, TNumberSet::Real));
    EXPECT_FALSE(IsWordOperator(Q("mode"), WordTailReal, TNumberSet::Real));
    EXPECT_TRUE(IsWordOperator(Q("mode"), WordTailWithExp, TNumberSet::Real));
    EXPECT_TRUE(IsWordOperator(Q("MOD"), WordTailReal, TNumberSet::Real)); // letter case as the scanner reads it
    EXPECT_FALSE(IsWordOperator(Q("nadx"), WordTailReal, TNumberSet::Real));

    struct Case {
        const char *token;
        quint8 numberSet;
        bool variable;
    };
    const Case cases[] = {
        {"x", 0, true},      {"x2", 0, true},   {"SIN", 0, false}, {"sqrt", 0, false}, {"$g", 0, false},
        {"e", 0, true},      {"e", 1, false},   {"j", 1, false},   {"j12", 1, false},  {"j", 0, true},
        {"jx", 1, true},     {"mod", 0, false}, {"mod", 2, true},  {"nad5", 0, false}, {"modx", 0, true},
        {"j5E13", 1, false}, {"j5e", 1, false}, {"j5ex", 1, true}, {"je5", 1, true},   {"j5E13", 0, true},
    };
    for (const auto &c : cases) {
        ctx.NumberSet = TNumberSet(c.numberSet);
        EXPECT_EQ(IsVariableName(Q(c.token), ctx), c.variable) << c.token << " set " << int(c.numberSet);
    }
    EXPECT_TRUE(IsImaginaryUnitToken(Q("j"), QLatin1Char('j')));
    EXPECT_TRUE(IsImaginaryUnitToken(Q("j45"), QLatin1Char('j')));
    EXPECT_FALSE(IsImaginaryUnitToken(Q("j4x"), QLatin1Char('j')));
    // the coefficient with an exponent, as results are shown, is no name
    EXPECT_TRUE(IsImaginaryUnitToken(Q("J5E13"), QLatin1Char('j')));
    EXPECT_FALSE(IsImaginaryUnitToken(Q("jE5"), QLatin1Char('j')));
}

TEST_F(Spolocne, VariablesStandForTheirValuesInBrackets) {
    // A variable is a bracket group of its value: "2x" with x = -3 is -6,
    // x^2 is 9, and a longer name that holds another is a name of its own.
    struct Case {
        const char *in;
        QStringList lines;
        const char *out;
    };
    const Case cases[] = {
        {"x+2x", {"x=2"}, "[6E0]"},
        {"e+2e3*x", {"x=2", "e=5"}, "[4,005E3]"},
        {"X*y", {"x= 1 000", "Y=3"}, "[3E3]"},
        {"xy+x", {"x=2", "xy=7"}, "[9E0]"},
        {"x^2-2x", {"x=-3"}, "[1,5E1]"},
        {"x+e", {"x=1", "e=4"}, "[5E0]"},
        {"ex+1", {"x=1", "ex=2"}, "[3E0]"},
    };
    ctx.DecimalSeparator = QLatin1Char(',');
    for (const auto &c : cases) {
        TVariableList values(c.lines);
        ctx.Variables = &values;
        const TEngineResult r = EvaluateReal(Q(c.in), ctx);
        EXPECT_EQ(r.Token, Q(c.out)) << c.in << " code " << CodeNumber(r.Error.Code);
    }
    // A name without a value is an empty group; without any variable it is
    // no number at all.
    TVariableList values({Q("x=2")});
    ctx.Variables = &values;
    EXPECT_EQ(CodeNumber(EvaluateReal(Q("x+q"), ctx).Error.Code), 9);
    ctx.Variables = nullptr;
    EXPECT_EQ(CodeNumber(EvaluateReal(Q("x+1"), ctx).Error.Code), 1);
}

TEST_F(Spolocne, CollectVariableNames) {
    struct Case {
        const char *in;
        const char *excluded;
        QStringList names;
        quint8 numberSet;
    };
    const Case cases[] = {
        {"logy(x)+y", "", {"y", "x"}, 0}, {"a + b*a + sin(c)", "", {"a", "b", "c"}, 0},
        {"x^2+k*x", "x", {"k"}, 0},       {"7mod2+q", "", {"q"}, 0},
        {"e+j2+r", "", {"r"}, 1},         {"$g*t", "", {"t"}, 0},
        {"x+e", "", {"x", "e"}, 0},
    };
    for (const auto &c : cases) {
        ctx.NumberSet = TNumberSet(c.numberSet);
        QStringList list{Q("stale")};
        CollectVariableNames(Q(c.in), ctx, list, Q(c.excluded));
        EXPECT_EQ(list, c.names) << c.in;
    }
}

// The names the road asks values for are those the evaluator reads: word
// operators and the imaginary unit in any letter case are none, and a name
// is one name whatever its letter case.
TEST_F(Spolocne, CollectedNamesAreReadAsTheEvaluatorReadsThem) {
    struct Case {
        const char *in;
        quint8 numberSet;
        const char *excluded;
        QStringList names;
    };
    const Case cases[] = {
        {"5MOD3", 0, "", {}},        {"7DIV2", 0, "", {}},       {"5NAD2", 0, "", {}},         {"3+J4", 1, "", {}},
        {"2E^J45", 1, "", {}},       {"E*z", 1, "", {"z"}},      {"x+X*y", 0, "", {"x", "y"}}, {"X^2+k", 0, "x", {"k"}},
        {"LOGY(8)+Y", 0, "", {"y"}}, {"5MODx", 0, "", {"MODx"}}, {"5nadx", 0, "", {"nadx"}},   {"2e+e", 0, "", {"e"}},
        {"12,5*(3-1)", 0, "", {}},   {"sin(x)", 2, "", {"x"}},
    };
    for (const auto &c : cases) {
        ctx.NumberSet = TNumberSet(c.numberSet);
        QStringList list{Q("stale")};
        CollectVariableNames(Q(c.in), ctx, list, Q(c.excluded));
        EXPECT_EQ(list, c.names) << c.in;
    }
}

// Over generated texts of every set, and the same texts upper-cased: with
// every listed name given a value the text evaluates, and then each listed
// name given a value that is no number makes it fail, so the evaluator
// reads every name the road would ask for.
TEST_F(Spolocne, EveryCollectedNameIsReadByTheEvaluator) {
    generator::TGenerator gen(23);
    int names = 0;
    for (int i = 0; i < 400; ++i)
        for (int set = 0; set < 4; ++set) {
            const generator::TPripad c = gen.Next(set);
            for (const QString &text : {c.Text, c.Text.toUpper()}) {
                TEvaluationContext context(c.Separator);
                context.NumberSet = set == generator::Komplexne ? TNumberSet::Complex
                                    : set == generator::Modulo  ? TNumberSet::Modulo
                                                                : TNumberSet::Real;
                QStringList listed;
                CollectVariableNames(text, context, listed, QString());
                auto evaluate = [&](const QString &unreadable) {
                    QStringList lines;
                    for (const QString &name : listed)
                        lines << name + (name == unreadable ? Q("=#") : Q("=2"));
                    TVariableList values(lines);
                    context.Variables = &values;
                    const TEngineResult r = set == generator::Komplexne ? EvaluateComplex(text, context)
                                            : set == generator::Modulo  ? EvaluateModulo(text, context)
                                            : set == generator::Zlomky  ? EvaluateFraction(text, context)
                                                                        : EvaluateReal(text, context);
                    return r.Ok();
                };
                if (listed.isEmpty() || !evaluate(QString()))
                    continue;
                for (const QString &name : listed) {
                    EXPECT_FALSE(evaluate(name)) << text.toStdString() << " does not read " << name.toStdString();
                    ++names;
                }
            }
        }
    EXPECT_GT(names, 200); // the texts did reach the comparison
}

TEST_F(Spolocne, DollarReferences) {
    TConstantList constants;
    constants.Items = {{Q("$g"), Q("9,81")}, {Q("$Na"), Q("6,022 E23")}, {Q("$ab"), Q("3")}};
    ctx.Constants = &constants;

    struct Case {
        const char *typed;
        int code;
        const char *param;
        int start;
        int end;
    };
    const Case cases[] = {
        {"1+$q", 19, "$q", 2, 4},    {"1 + $q * 2", 19, "$q", 4, 6},
        {"$g+$na", 19, "$na", 3, 6}, {"$ab + $a", 19, "$a", 6, 8}, // the span marks the unknown reference, not "$ab"
        {"$g*$Na+$ab", 0, "", 0, 0},
    };
    for (const auto &c : cases) {
        TChyba err;
        err.Code = TErrorCode(99);
        CheckDollarReferences(Q(c.typed), ctx, err);
        EXPECT_EQ(CodeNumber(err.Code), c.code) << c.typed;
        if (c.code) {
            EXPECT_EQ(err.Param1, Q(c.param)) << c.typed;
        }
        EXPECT_EQ(err.SpanStart, c.start) << c.typed;
        EXPECT_EQ(err.SpanEnd, c.end) << c.typed;
    }

    // A reference is a bracket group of the constant's value, spaces removed.
    ctx.DecimalSeparator = QLatin1Char(',');
    EXPECT_EQ(EvaluateReal(Q("2*$g+$ab^2"), ctx).Token, Q("[2,862E1]"));
    EXPECT_EQ(EvaluateReal(Q("$Na/1E23"), ctx).Token, Q("[6,022E0]"));
    EXPECT_EQ(CodeNumber(EvaluateReal(Q("$ab1"), ctx).Error.Code), 1);

    // with no constants window every reference is unknown
    ctx.Constants = nullptr;
    TChyba err;
    CheckDollarReferences(Q("1+$q"), ctx, err);
    EXPECT_EQ(CodeNumber(err.Code), 19);
    EXPECT_EQ(err.Param1, Q("$q"));
}

TEST_F(Spolocne, ReplaceAndDeleteRestartWhereTheTextChanged) {
    struct Case {
        const char *in;
        const char *oldText;
        const char *newText;
        const char *out;
    };
    const Case cases[] = {
        {"++-", "+-", "-", "-"},
        {"a--b--c", "--", "+", "a+b+c"},
        {"aabb", "ab", "", ""},
        {"aa", "a", "aa", "aaaa"}, // a replacement holding the old text is one pass
    };
    for (const auto &c : cases) {
        QString s = Q(c.in);
        ReplaceAll(s, Q(c.oldText), Q(c.newText));
        EXPECT_EQ(s, Q(c.out)) << c.in;
    }
    QString s = Q("aabb");
    DeleteAll(s, Q("ab"));
    EXPECT_EQ(s, Q(""));
}

TEST_F(Spolocne, MoveMinusAndSimplifySigns) {
    struct Case {
        const char *in;
        const char *moved;
        const char *simplified;
    };
    const Case cases[] = {
        {"2*-3", "-2*3", "-2*3"},
        {"a+2*-3", "a+-2*3", "a-2*3"},
        {"a-b*-c", "a--b*c", "a+b*c"},
        {"(x+1)*-3", "-(x+1)*3", "-(x+1)*3"},
        {"sin(a*-b)", "sin(-a*b)", "sin(-a*b)"},
        {"1+2e-5*-3", "1+-2e-5*3", "1-2e-5*3"},
        {"+-x", "+-x", "-x"},
        {"a---b", "a---b", "a-b"},
    };
    for (const auto &c : cases) {
        QString s = Q(c.in);
        MoveMinusBeforeProduct(s);
        EXPECT_EQ(s, Q(c.moved)) << c.in;
        s = Q(c.in);
        SimplifySigns(s);
        EXPECT_EQ(s, Q(c.simplified)) << c.in;
    }
}

TEST_F(Spolocne, RemoveSuperfluousBrackets) {
    struct Case {
        const char *in;
        const char *out;
    };
    const Case cases[] = {
        {"(x)", "x"},
        {"((a+b))", "a+b"},
        {"(a+b)*(c)", "(a+b)*c"},
        {"2*((x))^(2)", "2*x^2"},
        {"((a+b)(c))", "(a+b)c"},
        {"(a+b)*(c-d)", "(a+b)*(c-d)"},
        {"sin[(x+1)]", "sin[(x+1)]"},
        {"((x)", "(x"},
    };
    for (const auto &c : cases) {
        QString s = Q(c.in);
        RemoveSuperfluousBrackets(s);
        EXPECT_EQ(s, Q(c.out)) << c.in;
    }
}

TEST_F(Spolocne, AnIndexOfManyVariablesFindsWhatTheSearchThroughTheLinesFinds) {
    // Letter case ignored for ASCII letters only (the Kelvin sign is no "k",
    // "č" no "Č"), the first line wins, a line without "=" names nothing.
    QStringList lines;
    for (int k = 1; k <= 20; ++k)
        lines += Q("v") + QString::number(k) + Q("=") + QString::number(k);
    lines += {Q("noequals"), Q("V7=700"), Q("\u212A=9"), Q("Čo=8"), Q("=0"), Q("y=2=3")};
    const TLineValues index(lines);
    for (const char *name : {"v7", "V7", "v20", "v21", "noequals", "k", "K", "čO", "Čo", "", "y"})
        EXPECT_EQ(index.Value(Q(name)), ValueOfName(lines, Q(name))) << name;
    // The evaluator, which indexes a long list, reads the same values.
    TVariableList values(lines);
    ctx.Variables = &values;
    EXPECT_EQ(EvaluateReal(Q("V7+v20"), ctx).Real, 27);
}

// A list of constants too long to search through is indexed: the reference
// finds what the search would, the first of equal captions, letter case
// counting, in the check and in the evaluation.
TEST_F(Spolocne, AnIndexOfManyConstantsFindsWhatTheSearchFinds) {
    for (const int count : {3, 40}) {
        TConstantList constants;
        for (int k = 1; k <= count; ++k)
            constants.Items.append({Q("$c") + QString::number(k), QString::number(k)});
        constants.Items.append({Q("$c2"), Q("200")});
        constants.Items.append({Q("$C2"), Q("7")});
        TConstantFinder finder(&constants);
        for (const char *reference : {"$c1", "$c2", "$C2", "$c3", "$C3", "$c41", "$", "c2"}) {
            int searched = -1;
            for (int k = 0; k < constants.Count() && searched < 0; ++k)
                searched = constants.Caption(k) == Q(reference) ? k : -1;
            EXPECT_EQ(finder.Find(Q(reference)), searched) << reference << " among " << count;
        }
        ctx.Constants = &constants;
        TChyba err;
        CheckDollarReferences(Q("$c2+$C2+$c3"), ctx, err);
        EXPECT_EQ(CodeNumber(err.Code), 0) << count;
        CheckDollarReferences(Q("$c2+$C3"), ctx, err);
        EXPECT_EQ(CodeNumber(err.Code), 19) << count;
        EXPECT_EQ(err.Param1, Q("$C3")) << count;
        EXPECT_EQ(EvaluateReal(Q("$c2+$C2+$c3"), ctx).Real, 12) << count;
    }
    EXPECT_EQ(TConstantFinder(nullptr).Find(Q("$c1")), -1);
}

TEST_F(Spolocne, LongTextsStayCorrect) {
    // Scans are linear: a long text with many occurrences is handled whole.
    QString s;
    for (int i = 0; i < 20000; ++i)
        s += QStringLiteral("x*-");
    s += QLatin1Char('x');
    QString t = s;
    ReplaceAll(t, Q("*-"), Q("/"));
    EXPECT_EQ(t.count(QLatin1Char('/')), 20000);

    QString m = s;
    MoveMinusBeforeProduct(m);
    EXPECT_TRUE(m.startsWith(QString(20000, QLatin1Char('-')) + QLatin1String("x*x*")));
    EXPECT_FALSE(m.contains(QLatin1String("*-")));
    SimplifySigns(s);
    EXPECT_EQ(s.size(), 20000 * 2 + 1);
    EXPECT_TRUE(s.startsWith(QLatin1String("x*x*")));

    QString b = QString(30000, QLatin1Char('(')) + Q("a+b") + QString(30000, QLatin1Char(')'));
    RemoveSuperfluousBrackets(b);
    EXPECT_EQ(b, Q("a+b"));
}

// A word operator written as a whole word between blanks (or between a blank
// and a bracket or a number) is the operator wherever the text is read: the
// check, the variable names, the evaluation (both roads), the references and
// the base conversion. Written without blanks, or beside a name's digits, the
// letters stay part of the name as before.
TEST_F(Spolocne, WordOperatorBetweenBlanksStandsApartFromNames) {
    TVariableList values({Q("x=3"), Q("b=2"), Q("x2nadx=7")});
    TConstantList constants;
    constants.Items = {{Q("$ab"), Q("3")}};
    ctx.Variables = &values;
    ctx.Constants = &constants;
    ctx.DecimalSeparator = QLatin1Char(',');
    struct Case {
        const char *typed;
        QStringList names;
        int code;
        const char *token;
        int spanStart;
        int spanEnd;
    };
    const Case cases[] = {
        {"5 nad x", {"x"}, 0, "[1E1]", 0, 0},      {"x mod 4", {"x"}, 0, "[3E0]", 0, 0},
        {"x  div  2", {"x"}, 0, "[1E0]", 0, 0},    {"x mod4", {"x"}, 0, "[3E0]", 0, 0},
        {"(b)nad x", {"b", "x"}, 28, "", 0, 0},    {"2,5 mod x", {"x"}, 27, "", 0, 0},
        {"$ab mod b", {"b"}, 0, "[1E0]", 0, 0},    {"$q nad 2", {}, 19, "", 0, 2}, // the reference ends before the word
        {"cos mod 3", {}, 12, "", 0, 3},           // a function before the operator has no argument
        {"5nadx", {"nadx"}, 9, "", 0, 0},          // no blanks: a name, still without a value
        {"x MOD 4", {"xMOD4"}, 9, "", 0, 0},       // upper case is no word operator
        {"x2nad x", {"x2nadx"}, 0, "[7E0]", 0, 0}, // the "2" ends a name, not a number
    };
    for (const auto &c : cases) {
        const QString typed = Q(c.typed);
        QStringList names;
        CollectVariableNames(typed, ctx, names, QString());
        EXPECT_EQ(names, c.names) << c.typed;
        TChyba err;
        CheckSyntax(typed, ctx, err);
        if (!err.Failed())
            CheckDollarReferences(typed, ctx, err);
        TEngineResult r;
        if (!err.Failed())
            r = EvaluateReal(typed, ctx);
        const TChyba &fault = err.Failed() ? err : r.Error;
        EXPECT_EQ(CodeNumber(fault.Code), c.code) << c.typed;
        EXPECT_EQ(r.Token, Q(c.token)) << c.typed;
        EXPECT_EQ(fault.SpanStart, c.spanStart) << c.typed;
        EXPECT_EQ(fault.SpanEnd, c.spanEnd) << c.typed;
    }
    // the graph's road, x free
    long double y = 0;
    EXPECT_EQ(TCompiledExpression(Q("5 nad x"), ctx, {Q("x")}).EvaluateFast(std::array{4.0L}, y), TErrorCode::None);
    EXPECT_EQ(y, 5.0L);
    // only the real set has word operators
    ctx.NumberSet = TNumberSet::Modulo;
    QStringList names;
    CollectVariableNames(Q("x mod 4"), ctx, names, QString());
    EXPECT_EQ(names, QStringList{Q("xmod4")});
    // numbers of another base beside the word are numbers, and the blanks stay
    struct Conversion {
        const char *in;
        const char *out;
    };
    for (const Conversion &c :
         {Conversion{"a mod b", "10 mod 11"}, Conversion{"x mod 1F", "x mod 31"}, Conversion{"amodb", "10mod11"}}) {
        QString e = Q(c.in);
        TChyba err;
        ConvertExpressionBase(16, 10, QChar(), e, err, ctx.Separator());
        EXPECT_EQ(e, Q(c.out)) << c.in;
    }
}
