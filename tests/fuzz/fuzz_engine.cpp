// libFuzzer target over every text road of the engine: the checks and the
// real, fraction, complex and modulo evaluators, the base conversion of a
// whole text, and the compiled form against the text road.
//
// Input: the first byte picks the settings (number set, decimal separator,
// angle unit, base, modulus), the rest is the text as UTF-8. A text of the
// real set runs as fractions too.
// Anything may be returned or thrown as an engine error; a crash, a
// sanitizer report or a compiled result that differs from the text road's
// is a fault.
#include "Analyzator.h"
#include "KomplexnyAnalyzator.h"
#include "ModuloAnalyzator.h"
#include "PrevodySustav.h"
#include "ZlomkovyAnalyzator.h"
#include "uKompilovanyVyraz.h"
#include "uSpolocne.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// A compiled result and the text road's result must be the same to the
// letter: the same code, the same token.
void ExpectSame(const TEngineResult &compiled, const TEngineResult &text, const char *road) {
    if (compiled.Error.Code == text.Error.Code && compiled.Token == text.Token)
        return;
    std::fprintf(stderr, "%s: compiled gives code %d \"%s\", the text road code %d \"%s\"\n", road,
                 int(compiled.Error.Code), qPrintable(compiled.Token), int(text.Error.Code), qPrintable(text.Token));
    std::abort();
}

template <typename F>
void Guarded(F &&f) {
    try {
        f();
    } catch (const EEngineError &) {
        // The main window's guard turns these into codes.
    }
}

void RealRoads(const QString &text, TEvaluationContext context) {
    TChyba err;
    Guarded([&] { CheckSyntax(text, context, err); });
    Guarded([&] {
        const TEngineResult byText = EvaluateReal(text, context);
        ExpectSame(TCompiledExpression(text, context).EvaluateReal(), byText, "real");
        // Without the token: the same code and value.
        const TEngineResult valueOnly = EvaluateReal(text, context, TCompiledExpression::TText::ValueOnly);
        if (valueOnly.Error.Code != byText.Error.Code ||
            (byText.Ok() &&
             !(valueOnly.Real == byText.Real || (std::isnan(valueOnly.Real) && std::isnan(byText.Real))))) {
            std::fprintf(stderr, "real without its token: code %d, with it %d\n", int(valueOnly.Error.Code),
                         int(byText.Error.Code));
            std::abort();
        }
    });
    // A free name and a variable of the same integer value are the same
    // number to every operation.
    const TVariableList variables({QStringLiteral("x=3")});
    context.Variables = &variables;
    Guarded([&] {
        const long double x = 3;
        const TCompiledExpression compiled(text, context, {QStringLiteral("x")});
        ExpectSame(compiled.EvaluateReal({&x, 1}), EvaluateReal(text, context), "free name");
        long double y;
        (void)compiled.EvaluateFast({&x, 1}, y);
    });
    context.Variables = nullptr;
    context.Fractions = true;
    Guarded([&] {
        (void)UsesNoFunction(text);
        const TEngineResult byText = EvaluateFraction(text, context);
        ExpectSame(TCompiledExpression(text, context).EvaluateFraction(), byText, "fraction");
    });
}

void ComplexRoad(const QString &text, const TEvaluationContext &context) {
    TChyba err;
    Guarded([&] { CheckComplexSyntax(text, context, err); });
    Guarded([&] {
        const TEngineResult byText = EvaluateComplex(text, context);
        ExpectSame(TCompiledExpression(text, context).EvaluateComplex(), byText, "complex");
    });
}

void ModuloRoad(const QString &text, const TEvaluationContext &context) {
    TChyba err;
    Guarded([&] { CheckModuloSyntax(text, context, err); });
    Guarded([&] {
        const TEngineResult byText = EvaluateModulo(text, context);
        ExpectSame(TCompiledExpression(text, context).EvaluateModulo(), byText, "modulo");
    });
}

void BaseRoad(const QString &text, int base, QChar extra, QChar sep) {
    Guarded([&] {
        QString converted = text;
        TChyba err;
        ConvertExpressionBase(10, base, extra, converted, err, sep);
        if (!err.Failed())
            ConvertExpressionBase(base, 10, extra, converted, err, sep);
    });
    Guarded([&] {
        QString converted = text;
        TChyba err;
        ConvertExpressionBase(base, 10, extra, converted, err, sep);
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1 || size > 4096)
        return 0;
    // One byte, read as mixed radix: set (3), separator (2), angle unit (3),
    // base (3), modulus (the rest).
    unsigned settings = data[0];
    auto take = [&settings](unsigned n) {
        const unsigned v = settings % n;
        settings /= n;
        return v;
    };
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    const unsigned set = take(3);
    TEvaluationContext context(take(2) ? QLatin1Char('.') : QLatin1Char(','));
    context.AngleUnit = TAngleUnit(take(3));
    static const int bases[] = {2, 8, 16};
    const int base = bases[take(3)];
    static const quint16 moduli[] = {2, 5, 7, 97, 997};
    context.Modulus = moduli[take(5)];

    switch (set) {
    case 0:
        context.NumberSet = TNumberSet::Real;
        RealRoads(text, context);
        break;
    case 1:
        context.NumberSet = TNumberSet::Complex;
        ComplexRoad(text, context);
        break;
    default:
        context.NumberSet = TNumberSet::Modulo;
        ModuloRoad(text, context);
        break;
    }
    const QChar extra = context.NumberSet == TNumberSet::Complex ? context.ImaginaryUnit : QChar();
    BaseRoad(text, base, extra, context.Separator());
    return 0;
}
