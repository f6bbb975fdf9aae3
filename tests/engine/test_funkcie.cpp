// Every row of the function table against what the engine does with the
// function: the angle unit, the complex set and the derivative follow the
// row, so a wrong or a new row shows here.
#include "Analyzator.h"
#include "KomplexnyAnalyzator.h"
#include "uVyraz.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// An argument inside every function's domain, in radians and in degrees.
// The derivative is written, and its texts are read, with one separator.
const QChar Point = QLatin1Char('.');

long double ArgumentOf(TFunction f) {
    return f == TFunction::Arccosh || f == TFunction::Arccoth || f == TFunction::Arccotgh ? 2.0L : 0.5L;
}

// The value of text at x in the real set; y = 3 is the base of logy.
long double ValueAt(const QString &text, long double x, TAngleUnit unit = TAngleUnit::Radians) {
    const TVariableList variables({QStringLiteral("y=3")});
    TEvaluationContext context(Point);
    context.AngleUnit = unit;
    context.Variables = &variables;
    const TEngineResult r = TCompiledExpression(text, context, {QStringLiteral("x")}).EvaluateReal({&x, 1});
    EXPECT_TRUE(r.Ok()) << qPrintable(text) << " code " << CodeNumber(r.Error.Code);
    return r.Real;
}

QString Call(const TFunctionInfo &f, const char *argument) {
    return f.Name.toString() + QLatin1Char('(') + QLatin1String(argument) + QLatin1Char(')');
}

} // namespace

TEST(FunctionTable, TheAngleUnitAppliesWhereTheRowSaysSo) {
    for (const TFunctionInfo &f : FunctionTable) {
        const long double x = ArgumentOf(f.Function);
        const QString text = Call(f, "x");
        EXPECT_EQ(ValueAt(text, x, TAngleUnit::Degrees) != ValueAt(text, x, TAngleUnit::Radians), f.UsesAngleUnit)
            << qPrintable(text);
    }
}

TEST(FunctionTable, TheComplexSetTakesTheFunctionsOfItsRows) {
    TEvaluationContext context(Point);
    context.NumberSet = TNumberSet::Complex;
    for (const TFunctionInfo &f : FunctionTable) {
        const QString text = Call(f, "3");
        TChyba err;
        CheckComplexSyntax(text, context, err);
        EXPECT_EQ(err.Code, f.InComplexSet ? TErrorCode::None : TErrorCode::FunctionNotInSet) << qPrintable(text);
        EXPECT_EQ(EvaluateComplex(text, context).Ok(), f.InComplexSet) << qPrintable(text);
    }
}

// A row with a rule derives against a difference quotient; a row without
// one has no derivative.
TEST(FunctionTable, DerivativesFollowTheRows) {
    for (const TFunctionInfo &f : FunctionTable) {
        const QString text = Call(f, "x");
        TVyraz work;
        QString derivative = text;
        if (!f.DerivativeBefore && f.Function != TFunction::Logy) {
            EXPECT_THROW(DeriveNTimes(work, derivative, QStringLiteral("x"), 1, Point), EEngineNoDerivative)
                << qPrintable(text);
            continue;
        }
        DeriveNTimes(work, derivative, QStringLiteral("x"), 1, Point);
        const long double x = ArgumentOf(f.Function), h = 1e-6L;
        const long double numeric = (ValueAt(text, x + h) - ValueAt(text, x - h)) / (2 * h);
        EXPECT_NEAR(double(ValueAt(derivative, x)), double(numeric), 1e-6 * (1 + std::fabs(double(numeric))))
            << qPrintable(text) << " gives " << qPrintable(derivative);
    }
}

// Each English name is the same function as its Slovak twin, in every
// angle unit.
TEST(FunctionTable, EnglishNamesAreTheirSlovakTwins) {
    QStringList english;
    for (const TFunctionInfo &f : FunctionTable) {
        if (!f.SlovakTwin)
            continue;
        english << f.Name.toString();
        const TFunctionInfo &twin = FunctionInfo(*f.SlovakTwin);
        for (const long double x : {ArgumentOf(f.Function), ArgumentOf(f.Function) * 1.3L})
            for (const TAngleUnit unit : {TAngleUnit::Degrees, TAngleUnit::Radians, TAngleUnit::Grads})
                EXPECT_EQ(ValueAt(Call(f, "x"), x, unit), ValueAt(Call(twin, "x"), x, unit))
                    << qPrintable(Call(f, "x")) << " and " << qPrintable(Call(twin, "x"));
    }
    EXPECT_EQ(english.join(u' ').toStdString(), "arccoth arccot arctanh arctan cotanh cotan tanh tan");
}
