// The answers of the four evaluators to a stored table of generated texts
// (well-formed and with faults, every set, both separators, every angle
// unit, variables and constants): the road of the "=" key (check, constants,
// evaluation) must give the same code, span, Param1 and result text.
//
// The table was made from the generator below and checked against the old
// text-rewriting evaluators; it is written anew with
//   TARBELON_WRITE_TABLE=<file> engine_tests --gtest_filter=Tabulka.*
// and the generator runs on more texts with TARBELON_GENERATED_CASES=<n>.
#include "GeneratorVyrazov.h"

#include "Analyzator.h"
#include "KomplexnyAnalyzator.h"
#include "ModuloAnalyzator.h"
#include "ZlomkovyAnalyzator.h"
#include "uCisla.h"

#include <QFile>
#include <QTextStream>

#include <gtest/gtest.h>

using generator::TPripad;

namespace {

// The outcome of the road as one line: code, span, Param1, Param2, token.
QString Road(const TPripad &c) {
    TEvaluationContext context(c.Separator);
    context.AngleUnit = TAngleUnit(c.AngleUnit);
    context.NumberSet = c.Set == generator::Komplexne ? TNumberSet::Complex
                        : c.Set == generator::Modulo  ? TNumberSet::Modulo
                                                      : TNumberSet::Real;
    context.Modulus = quint16(c.Modulus);
    TVariableList variables(c.Variables);
    TConstantList constants;
    constants.Items = c.Constants;
    context.Variables = &variables;
    context.Constants = &constants;
    TChyba err;
    TEngineResult result;
    const bool blank = QString(c.Text).remove(QLatin1Char(' ')).isEmpty();
    try {
        if (c.Set == generator::Komplexne)
            CheckComplexSyntax(c.Text, context, err);
        else if (c.Set == generator::Modulo)
            CheckModuloSyntax(c.Text, context, err);
        else
            CheckSyntax(c.Text, context, err);
        if (!err.Failed())
            CheckDollarReferences(c.Text, context, err);
        if (!err.Failed() && !blank) {
            if (c.Set == generator::Komplexne)
                result = EvaluateComplex(c.Text, context);
            else if (c.Set == generator::Modulo)
                result = EvaluateModulo(c.Text, context);
            else if (c.Set == generator::Zlomky && UsesNoFunction(c.Text))
                result = EvaluateFraction(c.Text, context);
            else
                result = EvaluateReal(c.Text, context);
            err = result.Error;
        }
    } catch (const std::exception &) {
        err.Set(TErrorCode::UnknownFailure); // an overlong text for the complex check
    }
    return QStringLiteral("%1 %2 %3|%4|%5|%6")
        .arg(CodeNumber(err.Code))
        .arg(err.SpanStart)
        .arg(err.SpanEnd)
        .arg(err.Param1, err.Param2, result.Token);
}

QString CaseLine(const TPripad &c) {
    QStringList constants;
    for (const auto &[caption, value] : c.Constants)
        constants << caption + QLatin1Char('=') + value;
    return QStringList{QString::number(c.Set),
                       QString(c.Separator),
                       QString::number(c.AngleUnit),
                       QString::number(c.Modulus),
                       c.Variables.join(QLatin1Char(';')),
                       constants.join(QLatin1Char(';')),
                       c.Text}
        .join(QLatin1Char('\t'));
}

TPripad CaseOf(const QStringList &f) {
    TPripad c;
    c.Set = f[0].toInt();
    c.Separator = f[1].at(0);
    c.AngleUnit = f[2].toInt();
    c.Modulus = f[3].toInt();
    c.Variables = f[4].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &item : f[5].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype eq = item.indexOf(QLatin1Char('='));
        c.Constants.append({item.left(eq), item.mid(eq + 1)});
    }
    c.Text = f[6];
    return c;
}

} // namespace

TEST(Tabulka, StoredAnswersOfGeneratedTexts) {
    const QByteArray out = qgetenv("TARBELON_WRITE_TABLE");
    if (!out.isEmpty()) {
        QFile file(QString::fromLocal8Bit(out));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QTextStream stream(&file);
        generator::TGenerator gen(20261207);
        for (int i = 0; i < 1000; ++i)
            for (int set = 0; set < 4; ++set) {
                const TPripad c = gen.Next(set);
                stream << CaseLine(c) << '\t' << Road(c) << '\n';
            }
        return;
    }
    QFile file(QStringLiteral(TARBELON_ENGINE_TABLE));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << TARBELON_ENGINE_TABLE;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 4000);
    int checked = 0;
    for (const QString &line : lines) {
        const QStringList f = line.split(QLatin1Char('\t'));
        ASSERT_EQ(f.size(), 8) << line.toStdString();
        const TPripad c = CaseOf(f);
        EXPECT_EQ(Road(c).toStdString(), f[7].toStdString()) << CaseLine(c).toStdString();
        ++checked;
    }
    EXPECT_EQ(checked, lines.size());
}

// Any number of generated texts: every road ends with a code or with a
// result that reads as a number of its set.
TEST(Tabulka, GeneratedTextsEndWithACodeOrAResult) {
    const int count = qEnvironmentVariableIsSet("TARBELON_GENERATED_CASES")
                          ? qEnvironmentVariableIntValue("TARBELON_GENERATED_CASES")
                          : 500;
    generator::TGenerator gen(7);
    for (int i = 0; i < count; ++i)
        for (int set = 0; set < 4; ++set) {
            const TPripad c = gen.Next(set);
            const QString road = Road(c);
            const QString token = road.section(QLatin1Char('|'), 3); // a fraction holds "|" too
            if (!road.startsWith(QLatin1String("0 ")) || token.isEmpty())
                continue;
            if (set == generator::Modulo) {
                bool ok = false;
                const int v = token.toInt(&ok);
                EXPECT_TRUE(ok && v >= 0 && v < c.Modulus) << c.Text.toStdString() << " -> " << token.toStdString();
                continue;
            }
            ASSERT_TRUE(token.startsWith(QLatin1Char('[')) && token.endsWith(QLatin1Char(']')))
                << c.Text.toStdString() << " -> " << token.toStdString();
            if (set == generator::Realne) {
                long double v = 0;
                EXPECT_TRUE(TryStrToFloat(token.mid(1, token.size() - 2), v, c.Separator))
                    << c.Text.toStdString() << " -> " << token.toStdString();
            }
        }
}

// The other decimal separator (a text pasted, a value or a constant saved
// under the other locale) reads as the context's: each generated text, with
// its separators swapped at random in the text, the variables' values and
// the constants, gives the same code, span and result as written.
TEST(Tabulka, TheOtherSeparatorReadsAsTheContexts) {
    generator::TGenerator gen(1301);
    std::mt19937 coin(1302);
    int swapped = 0;
    for (int i = 0; i < 500; ++i)
        for (int set = 0; set < 4; ++set) {
            const TPripad c = gen.Next(set);
            const QChar other = c.Separator == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
            const auto swap = [&](QString s) {
                for (QChar &ch : s)
                    if (ch == c.Separator && coin() % 2 == 0) {
                        ch = other;
                        ++swapped;
                    }
                return s;
            };
            TPripad d = c;
            d.Text = swap(c.Text);
            for (QString &line : d.Variables)
                line = swap(line);
            for (auto &constant : d.Constants)
                constant.second = swap(constant.second);
            // A name that ran into a separator is named as it was typed.
            QStringList road = Road(d).split(QLatin1Char('|'));
            road[1].replace(other, c.Separator);
            EXPECT_EQ(road.join(QLatin1Char('|')).toStdString(), Road(c).toStdString()) << CaseLine(d).toStdString();
        }
    EXPECT_GT(swapped, 1000);
}
