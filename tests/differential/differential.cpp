// The old text-rewriting evaluators and the compiled ones side by side: the
// same road (check, constants, evaluation) on every text of the suite and
// on generated texts, the outcomes compared field by field.
//
// engine_differential [cases per set] [seed] prints every difference and a
// count per set.
#include "GeneratorVyrazov.h"

#include "legacy/Analyzator.h"
#include "legacy/KomplexnyAnalyzator.h"
#include "legacy/ModuloAnalyzator.h"
#include "legacy/ZlomkovyAnalyzator.h"

#include "Analyzator.h"
#include "KomplexnyAnalyzator.h"
#include "ModuloAnalyzator.h"
#include "ZlomkovyAnalyzator.h"

#include <QFile>
#include <QTextStream>

#include <cstdio>
#include <map>

using generator::TPripad;

namespace {

struct TOutcome {
    int Code = 0;
    int SpanStart = 0;
    int SpanEnd = 0;
    QString Param1, Param2, Token;

    QString Text() const {
        if (Code == 0)
            return Token;
        QString t = QStringLiteral("code %1 span %2-%3").arg(Code).arg(SpanStart).arg(SpanEnd);
        if (!Param1.isEmpty())
            t += QStringLiteral(" p1 '%1'").arg(Param1);
        if (!Param2.isEmpty())
            t += QStringLiteral(" p2 '%1'").arg(Param2);
        return t;
    }
    bool operator==(const TOutcome &o) const {
        return Code == o.Code && SpanStart == o.SpanStart && SpanEnd == o.SpanEnd &&
               (Code != 12 && Code != 19 && Code != 22 && Code != 23 && Code != 27 || Param1 == o.Param1) &&
               (Code != 22 || Param2 == o.Param2) && (Code != 0 || Token == o.Token);
    }
};

bool Blank(const QString &text) { return QString(text).remove(QLatin1Char(' ')).isEmpty(); }

TOutcome OldRoad(const TPripad &c) {
    legacy::TEngineContext &e = legacy::Engine();
    e.Reset();
    e.DecimalSeparator = c.Separator;
    e.AngleUnit = quint8(c.AngleUnit);
    e.NumberSet = c.Set == generator::Komplexne ? 1 : (c.Set == generator::Modulo ? 2 : 0);
    e.Modulus = quint16(c.Modulus);
    legacy::TVariableList variables(c.Variables);
    legacy::TConstantList constants;
    constants.Items = c.Constants;
    e.VariableValues = &variables;
    e.ConstantsListView = &constants;
    legacy::TChyba err;
    QString r;
    TOutcome out;
    try {
        switch (c.Set) {
        case generator::Komplexne:
            legacy::CheckComplexSyntax(c.Text, err, e.FunctionNames);
            if (err.Code == 0)
                legacy::CheckDollarReferences(c.Text, err);
            if (err.Code == 0 && !Blank(c.Text)) {
                e.ComplexFirstCall = true;
                legacy::EvaluateComplex(c.Text, err, r);
            }
            break;
        case generator::Modulo:
            legacy::CheckModuloSyntax(c.Text, err, e.FunctionNames);
            if (err.Code == 0)
                legacy::CheckDollarReferences(c.Text, err);
            if (err.Code == 0 && !Blank(c.Text)) {
                e.ModuloFirstCall = true;
                legacy::EvaluateModulo(c.Text, err, r);
            }
            break;
        default:
            legacy::CheckSyntax(c.Text, err, e.FunctionNames);
            if (err.Code == 0)
                legacy::CheckDollarReferences(c.Text, err);
            if (err.Code == 0 && !Blank(c.Text)) {
                e.RealExpressionPrepared = false;
                e.FractionFirstCall = true;
                if (c.Set == generator::Zlomky && legacy::UsesNoFunction(c.Text, e.FunctionNames))
                    legacy::EvaluateFraction(c.Text, err, r);
                else
                    legacy::EvaluateReal(c.Text, err, e.FunctionNames, r);
            }
            break;
        }
    } catch (const legacy::EEngineInvalidOp &) {
        err.Code = 20;
        err.SpanStart = err.SpanEnd = 0;
    } catch (...) {
        err.Code = 29;
        err.SpanStart = err.SpanEnd = 0;
    }
    out.Code = err.Code;
    out.SpanStart = err.SpanStart;
    out.SpanEnd = err.SpanEnd;
    out.Param1 = err.Param1;
    out.Param2 = err.Param2;
    out.Token = r;
    return out;
}

TOutcome NewRoad(const TPripad &c) {
    TEvaluationContext context;
    context.DecimalSeparator = c.Separator;
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
    TOutcome out;
    try {
        switch (c.Set) {
        case generator::Komplexne:
            CheckComplexSyntax(c.Text, context, err);
            if (!err.Failed())
                CheckDollarReferences(c.Text, context, err);
            if (!err.Failed() && !Blank(c.Text))
                result = EvaluateComplex(c.Text, context);
            break;
        case generator::Modulo:
            CheckModuloSyntax(c.Text, context, err);
            if (!err.Failed())
                CheckDollarReferences(c.Text, context, err);
            if (!err.Failed() && !Blank(c.Text))
                result = EvaluateModulo(c.Text, context);
            break;
        default:
            CheckSyntax(c.Text, context, err);
            if (!err.Failed())
                CheckDollarReferences(c.Text, context, err);
            if (!err.Failed() && !Blank(c.Text))
                result = c.Set == generator::Zlomky && UsesNoFunction(c.Text) ? EvaluateFraction(c.Text, context)
                                                                             : EvaluateReal(c.Text, context);
            break;
        }
    } catch (const EEngineInvalidOp &) {
        err.Set(TErrorCode::TooLarge);
    } catch (...) {
        err.Set(TErrorCode::UnknownFailure);
    }
    if (!err.Failed())
        err = result.Error;
    out.Code = CodeNumber(err.Code);
    out.SpanStart = err.SpanStart;
    out.SpanEnd = err.SpanEnd;
    out.Param1 = err.Param1;
    out.Param2 = err.Param2;
    out.Token = result.Token;
    return out;
}

const char *SetName(int set) {
    static const char *names[] = {"real", "fractions", "complex", "modulo"};
    return names[set];
}

} // namespace

int main(int argc, char **argv) {
    if (argc > 3 && QLatin1String(argv[1]) == QLatin1String("-e")) {
        // -e set text [sep] [vars;...]: one text through both roads.
        TPripad c;
        c.Set = atoi(argv[2]);
        c.Text = QString::fromUtf8(argv[3]);
        c.Separator = argc > 4 ? QLatin1Char(argv[4][0]) : QLatin1Char(',');
        if (argc > 5)
            c.Variables = QString::fromUtf8(argv[5]).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        c.Constants = {{QStringLiteral("$c"), QStringLiteral("2,5")}, {QStringLiteral("$k"), QStringLiteral("-3")}};
        QTextStream(stdout) << "old: " << OldRoad(c).Text() << "\nnew: " << NewRoad(c).Text() << "\n";
        return 0;
    }
    const int perSet = argc > 1 ? atoi(argv[1]) : 1000;
    const quint32 seed = argc > 2 ? quint32(atoi(argv[2])) : 1;
    QTextStream out(stdout);
    std::map<int, int> differences, runs;

    auto compare = [&](const TPripad &c) {
        ++runs[c.Set];
        const TOutcome a = OldRoad(c);
        const TOutcome b = NewRoad(c);
        if (a == b)
            return;
        ++differences[c.Set];
        out << SetName(c.Set) << " sep '" << c.Separator << "' angle " << c.AngleUnit << " mod " << c.Modulus
            << " vars [" << c.Variables.join(QLatin1Char(';')) << "] consts " << c.Constants.size() << "\n  text: "
            << c.Text << "\n  old:  " << a.Text() << "\n  new:  " << b.Text() << "\n";
    };

    // Every text of the suite in every set, both separators.
    QFile suite(QStringLiteral(TARBELON_SUITE_EXPRESSIONS));
    if (suite.open(QIODevice::ReadOnly)) {
        const QStringList lines = QString::fromUtf8(suite.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString &line : lines)
            for (int set = 0; set < 4; ++set)
                for (QChar sep : {QLatin1Char(','), QLatin1Char('.')}) {
                    TPripad c;
                    c.Set = set;
                    c.Separator = sep;
                    c.Text = line;
                    compare(c);
                    c.Variables = {QStringLiteral("x=2"), QStringLiteral("y=3")};
                    compare(c);
                }
    }

    generator::TGenerator gen(seed);
    for (int i = 0; i < perSet; ++i)
        for (int set = 0; set < 4; ++set)
            compare(gen.Next(set));

    for (int set = 0; set < 4; ++set)
        out << SetName(set) << ": " << runs[set] << " cases, " << differences[set] << " differences\n";
    out.flush();
    return 0;
}
