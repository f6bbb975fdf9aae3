#include "uKalkulacka.h"

#include "Analyzator.h"
#include "KomplexnyAnalyzator.h"
#include "ModuloAnalyzator.h"
#include "PrevodySustav.h"
#include "ZlomkovyAnalyzator.h"
#include "Zlomky.h"
#include "uAppContext.h"
#include "uCisla.h"
#include "uPremenne.h"

#include <cmath>

namespace {

// Runs a step so that nothing escapes it: an invalid operation becomes
// code 20 in err, any other exception code 29. False when the step threw.
template <class F>
bool Guard(TChyba &err, F &&step) {
    try {
        step();
        return true;
    } catch (const EEngineInvalidOp &) {
        err.Set(TErrorCode::TooLarge);
    } catch (...) {
        err.Set(TErrorCode::UnknownFailure);
    }
    return false;
}

// True for an expression of spaces only, which evaluates to 0.
bool IsBlank(const QString &e) {
    for (const QChar c : e)
        if (c != QLatin1Char(' '))
            return false;
    return true;
}

// True when the value text is read as a fraction without an error.
bool ReadsAsFraction(const QString &v, QChar sep) {
    try {
        TFraction f;
        StrToFraction(v, f, sep);
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

// True when the value text is read as a complex number without an error.
bool ReadsAsComplex(const QString &v, QChar sep) {
    try {
        TComplexNumber z;
        ParseComplex(v, z, sep);
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

// True when s is a decimal integer: an optional sign and digits only.
bool IsIntegerText(const QString &s) {
    QString t = s.trimmed();
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+')))
        t.remove(0, 1);
    if (t.isEmpty() || !AllCharsInSet(t, DigitChars))
        return false;
    bool ok = false;
    s.trimmed().toInt(&ok);
    return ok;
}

} // namespace

// --- the road of "=" -------------------------------------------------------------

TVysledokVypoctu TKalkulacka::Calculate(const QString &input) {
    TVysledokVypoctu out;
    LastError = TChyba();
    const bool finished = Guard(LastError, [&] {
        switch (NumberSet) {
        case TNumberSet::Complex: CalculateComplex(input, out); break;
        case TNumberSet::Modulo: CalculateModulo(input, out); break;
        case TNumberSet::Real: CalculateReal(input, out); break;
        }
    });
    return finished ? out : TVysledokVypoctu();
}

TEvaluationContext TKalkulacka::Context() const {
    TEvaluationContext context(DecSep());
    context.NumberSet = NumberSet;
    context.AngleUnit = AngleUnit;
    context.Variables = Premenne;
    context.Constants = Konstanty;
    context.Modulus = Modulus;
    // Bases 2, 8 and 16 show every digit of a whole number.
    context.ExactWholeNumbers = Radix != 10;
    return context;
}

void TKalkulacka::CheckConstantsAndBase(QString &e, const TEvaluationContext &context, QChar extra) {
    if (!LastError.Failed())
        CheckDollarReferences(e, context, LastError);
    if (!LastError.Failed() && Radix != 10)
        ConvertExpressionBase(Radix, 10, extra, e, LastError, context.Separator());
}

bool TKalkulacka::PrepareForEvaluation(QString &e, QChar extra, TKontrola mode, TVysledokVypoctu &out) {
    const TEvaluationContext context = Context();
    CheckConstantsAndBase(e, context, extra);
    if (!LastError.Failed()) {
        // The names once for both steps (none at all in a text without a letter).
        QStringList names;
        CollectVariableNames(e, context, names, QString());
        AddMissingNames(names);
        ValidateNames(names, LastError, mode);
        // Missing values, and in the modulo set values that are no integers,
        // are to be entered in the variables window.
        if (LastError.Code == TErrorCode::MissingValue ||
            (mode == TKontrola::Modulo && LastError.Code == TErrorCode::ValueNotInSet))
            out.ShowVariables = true;
    }
    return !LastError.Failed();
}

void TKalkulacka::CalculateReal(QString e, TVysledokVypoctu &out) {
    const TEvaluationContext context = Context();
    CheckSyntax(e, context, LastError);
    if (!PrepareForEvaluation(e, QChar(), TKontrola::Realne, out))
        return;

    TComplexNumber value;
    QString shown;
    TFraction fraction;
    bool asFraction = false;
    if (IsBlank(e)) {
        // Nothing to evaluate: the result is 0.
        FormatNumber(Decimals, Radix, shown, 0, context.Separator());
    } else if (Fractions && UsesNoFunction(e)) {
        const TEngineResult r = EvaluateFraction(e, context);
        if (!Evaluated(r))
            return; // Ans keeps the last good result
        FractionToDisplay(r.Fraction, Radix, shown, context.Separator());
        value.Re = r.Real;
        fraction = r.Fraction;
        asFraction = true;
    } else {
        // The value is formatted below: the token text is not needed.
        const TEngineResult r = EvaluateReal(e, context, TCompiledExpression::TText::ValueOnly);
        if (!Evaluated(r))
            return;
        value.Re = r.Real;
        if (Fractions) {
            // A function's value is shown as a fraction too.
            fraction = TFraction{r.Real, 1};
            ReduceFraction(fraction);
            FractionToDisplay(fraction, Radix, shown, context.Separator());
            asFraction = true;
        } else {
            FormatNumber(Decimals, Radix, shown, value.Re, context.Separator());
        }
    }
    Succeed(out, shown, shown, Radix, value);
    ResultShown(shown, asFraction ? TResultForm::Fraction : TResultForm::Number, fraction);
}

void TKalkulacka::CalculateComplex(QString e, TVysledokVypoctu &out) {
    const TEvaluationContext context = Context();
    CheckComplexSyntax(e, context, LastError);
    if (!PrepareForEvaluation(e, context.ImaginaryUnit, TKontrola::Komplexne, out))
        return;

    TComplexNumber z;
    if (!IsBlank(e)) {
        const TEngineResult r = EvaluateComplex(e, context);
        if (!Evaluated(r))
            return;
        z = r.Complex;
    }
    const QString shown = FormatComplexNumber(z, Decimals, Radix, context.Separator());
    Succeed(out, shown, QLatin1Char('(') + shown + QLatin1Char(')'), Radix, z);
    ResultShown(shown, TResultForm::Complex);
}

void TKalkulacka::CalculateModulo(QString e, TVysledokVypoctu &out) {
    const TEvaluationContext context = Context();
    CheckModuloSyntax(e, context, LastError);
    if (!PrepareForEvaluation(e, QChar(), TKontrola::Modulo, out))
        return;

    QString r = QStringLiteral("0");
    long double residue = 0;
    if (!IsBlank(e)) {
        const TEngineResult result = EvaluateModulo(e, context);
        if (!Evaluated(result))
            return;
        r = result.Token;
        residue = result.Real;
    }
    QString shown;
    FormatNumber(Decimals, Radix, shown, residue, context.Separator());
    // ANS is the decimal residue; only the shown text is in the current base.
    Succeed(out, shown, r, 10, TComplexNumber{residue, 0, false});
    ResultShown(shown, TResultForm::Number);
}

bool TKalkulacka::Evaluated(const TEngineResult &result) {
    if (!result.Ok())
        LastError = result.Error;
    return result.Ok();
}

void TKalkulacka::SetAns(const QString &ans, quint8 ansRadix, const TComplexNumber &value) {
    Ans = ans;
    AnsRadix = ansRadix;
    AnsValue = value;
}

void TKalkulacka::Succeed(TVysledokVypoctu &out, const QString &shown, const QString &ans, quint8 ansRadix,
                          const TComplexNumber &value) {
    SetAns(ans, ansRadix, value);
    out.Ok = true;
    out.Shown = shown;
}

// --- the tool keys ---------------------------------------------------------------

bool TKalkulacka::PrepareToolExpression(const QString &input, quint8 emptyCode, QString &expression) {
    LastError = TChyba();
    bool passed = false;
    Guard(LastError, [&] {
        if (input.trimmed().isEmpty()) {
            LastError.Code = TErrorCode(emptyCode);
            return;
        }
        QString e = input;
        const TEvaluationContext context = Context();
        CheckSyntax(e, context, LastError);
        CheckConstantsAndBase(e, context, QChar());
        if (LastError.Failed())
            return;
        expression = e;
        passed = true;
    });
    return passed;
}

bool TKalkulacka::TakeRealResult(long double value, QString &shown) {
    LastError = TChyba();
    return Guard(LastError, [&] {
        QString t;
        FormatNumber(Decimals, Radix, t, value, DecSep());
        SetAns(t, Radix, TComplexNumber{value, 0, false});
        ResultShown(t, TResultForm::Number);
        shown = t;
    });
}

// --- variables -----------------------------------------------------------------

void TKalkulacka::AddMissingVariables(const QString &expression, const QString &excludedName) {
    if (!Premenne)
        return;
    QStringList names;
    CollectVariableNames(expression, Context(), names, excludedName);
    AddMissingNames(names);
}

void TKalkulacka::AddMissingNames(const QStringList &names) {
    if (Premenne && !names.isEmpty())
        Premenne->AddMissingNames(names);
}

void TKalkulacka::ValidateVariableValues(const QString &expression, TChyba &err, const QString &excludedName,
                                         TKontrola mode) const {
    // Every variable once, in order of appearance ("logy" asks for "y").
    QStringList names;
    CollectVariableNames(expression, Context(), names, excludedName);
    ValidateNames(names, err, mode);
}

void TKalkulacka::ValidateNames(const QStringList &names, TChyba &err, TKontrola mode) const {
    err.ClearCodeAndSpan();
    auto fail = [&err](TErrorCode code, const QString &name) {
        err.Code = code;
        err.Param1 = name;
    };
    const QChar sep = DecSep();
    for (const QString &name : names) {
        const int row = Premenne ? Premenne->IndexOfName(name) : -1;
        if (row < 0 || Premenne->Row(row).Value.isEmpty()) {
            fail(TErrorCode::MissingValue, QString());
            return;
        }
        const QString key = Premenne->Row(row).Name;
        QString v = Premenne->Row(row).Value;
        // Either separator is the program's, as the evaluators read values.
        for (QChar &c : v)
            if (IsDecimalSeparator(c))
                c = sep;
        // Readable at all: a fraction, or else a complex number; square
        // brackets belong to no value.
        const bool fraction = v.contains(QLatin1Char('/'));
        if (fraction) // "1/4" is read as the fraction 1|4, also for the set below
            v.replace(v.indexOf(QLatin1Char('/')), 1, QLatin1Char('|'));
        if (v.contains(QLatin1Char('[')) || v.contains(QLatin1Char(']')) ||
            !(fraction ? ReadsAsFraction(v, sep) : ReadsAsComplex(v, sep))) {
            fail(TErrorCode::UnreadableValue, key);
            return;
        }
        // Of the set.
        const bool ofSet = mode == TKontrola::Realne   ? ReadsAsFraction(v, sep)
                           : mode == TKontrola::Modulo ? IsIntegerText(v)
                                                       : true;
        if (!ofSet) {
            fail(TErrorCode::ValueNotInSet, key);
            return;
        }
    }
}

QString TKalkulacka::BuildVariableList(const QString &input) const {
    // The names are those of the expression as it is evaluated: in another
    // base its numbers are first written in base 10, so that "FF" is no
    // variable.
    QString text = input;
    if (Radix != 10) {
        TChyba err;
        QString converted = input;
        ConvertExpressionBase(Radix, 10, ExtraNumberChar(), converted, err, DecSep());
        if (!err.Failed())
            text = converted;
    }
    QStringList names;
    CollectVariableNames(text, Context(), names, QString());
    QString r;
    for (const QString &name : names)
        r += name + QLatin1Char('=') + (Premenne ? Premenne->ValueOf(name) : QString()) + QLatin1Char(';');
    return r;
}

QString HistoryEntry(const QString &input, const QString &resultFieldText, const QString &variableList) {
    QString entry = input + QStringLiteral(" =") + resultFieldText;
    if (!variableList.isEmpty())
        entry += QStringLiteral(" [") + variableList + QLatin1Char(']');
    return entry;
}

// --- bases -----------------------------------------------------------------------

QChar TKalkulacka::ExtraNumberChar() const {
    return NumberSet == TNumberSet::Complex ? Context().ImaginaryUnit : QChar();
}

QString TKalkulacka::ToggleComplexForm() {
    TComplexNumber z = AnsValue;
    z.Polar = !z.Polar;
    const QChar sep = DecSep();
    const QString shown = FormatComplexNumber(z, Decimals, Radix, sep);
    // The key only shows the value otherwise: what continues from ANS is the
    // value itself, not its rounded modulus and angle. It is written in
    // base 10 in the algebraic form, whose digits read back exactly (an
    // angle's cosine and sine would not); ANS is put into the input in the
    // current base.
    QString exact = ExactDecimal(z.Re, sep);
    if (z.Im != 0) {
        exact += z.Im > 0 ? QLatin1Char('+') : QLatin1Char('-');
        exact += Context().ImaginaryUnit;
        if (std::fabs(z.Im) != 1)
            exact += ExactDecimal(std::fabs(z.Im), sep);
    }
    SetAns(QLatin1Char('(') + exact + QLatin1Char(')'), 10, z);
    ResultShown(shown, TResultForm::Complex);
    return shown;
}

QString TKalkulacka::AnsForInsertion() const {
    if (AnsRadix == Radix)
        return Ans;
    try {
        QString t = Ans;
        TChyba err;
        // A complex ANS holds the imaginary unit inside its numbers.
        const QChar unit = Context().ImaginaryUnit;
        const QChar extra = Ans.contains(unit) ? unit : QChar();
        ConvertExpressionBase(AnsRadix, Radix, extra, t, err, DecSep());
        if (!err.Failed())
            return t;
    } catch (...) {
    }
    return Ans;
}

void TKalkulacka::ResultShown(const QString &shown, TResultForm form, const TFraction &fraction) {
    m_resultShown = true;
    m_shownResult = shown;
    m_resultForm = form;
    m_resultFraction = fraction;
}

QString TKalkulacka::WriteResult(quint8 base) const {
    QString t;
    switch (m_resultForm) {
    case TResultForm::Number: FormatNumber(Decimals, base, t, AnsValue.Re, DecSep()); break;
    case TResultForm::Fraction: FractionToDisplay(m_resultFraction, base, t, DecSep()); break;
    case TResultForm::Complex: t = FormatComplexNumber(AnsValue, Decimals, base, DecSep()); break;
    }
    return t;
}

TPrepnutieSustavy TKalkulacka::SwitchBase(quint8 newBase, const QString &input, const QString &resultText) {
    TPrepnutieSustavy out;
    LastError = TChyba();
    // The shown text is rounded to the decimals: converted as it stands it
    // would carry that rounding into the new base and back ("-0,7" at 10
    // decimals would come back from base 2 as -0,700 195 312 5). The last
    // result is written from its value instead.
    const bool ownResult = m_resultShown && resultText.trimmed() == m_shownResult;
    m_resultShown = ownResult;
    try {
        const QChar extra = ExtraNumberChar();
        QString t = input;
        ConvertExpressionBase(Radix, newBase, extra, t, LastError, DecSep());
        if (!LastError.Failed()) {
            out.InputConverted = true;
            out.Input = t;
            QString r = resultText;
            if (ownResult) {
                r = WriteResult(newBase);
                m_shownResult = r;
            } else {
                ConvertExpressionBaseFormatted(Radix, newBase, extra, r, LastError, Decimals, DecSep());
            }
            out.ResultConverted = true;
            out.Result = r;
        }
    } catch (const EEngineConvertError &) {
        LastError.Set(TErrorCode::BaseConversion);
    } catch (const EEngineRangeError &) {
        LastError.Set(TErrorCode::BaseConversion);
    } catch (...) {
        LastError.Set(TErrorCode::UnknownFailure);
    }
    // An input that cannot be written in the new base keeps its digits, and
    // they mean what they say only in the old base ("30^2" read in base 16
    // is 48 squared): the old base stays in force, with the input and the
    // result as they were.
    if (!out.InputConverted)
        return out;
    // A result that could not be written in the new base is dropped: its
    // text would be read in the wrong base by the next switch. The last
    // result itself is written again by the next switch.
    if (LastError.Failed()) {
        out.ResultConverted = true;
        out.Result.clear();
        m_shownResult.clear();
    }
    Radix = newBase;
    return out;
}

// --- complex display -----------------------------------------------------------------

QString FormatComplexNumber(const TComplexNumber &z, quint8 decimals, quint8 base, QChar sep) {
    auto number = [&](long double v) {
        QString t;
        FormatNumber(decimals, base, t, v, sep);
        return t;
    };
    // Bases 2, 8 and 16 write no exponent: a part too small for the
    // decimals shows as 0 there, and is then left out as a part that is 0
    // ("E", not "E+j0"; "5", not "5e^j0").
    auto shownAsZero = [](const QString &t) { return t == QLatin1String("0"); };
    const QChar unit = QLatin1Char('j');
    if (!z.Polar) {
        QString text = number(z.Re);
        if (z.Im == 0)
            return text;
        const long double a = std::fabs(z.Im);
        const QString im = a != 1 ? number(a) : QString();
        if (shownAsZero(im))
            return text;
        text += z.Im > 0 ? QLatin1Char('+') : QLatin1Char('-');
        text += unit;
        text += im;
        return text;
    }
    TComplexNumber modulus;
    ComplexAbs(z, modulus);
    QString text = number(modulus.Re);
    const long double angle = ComplexAngleDegrees(z);
    const QString shownAngle = angle != 0 ? number(std::fabs(angle)) : QString();
    if (angle != 0 && !shownAsZero(shownAngle)) {
        text += angle > 0 ? QStringLiteral("e^") : QStringLiteral("e^-");
        text += unit;
        text += shownAngle;
    }
    return text;
}
