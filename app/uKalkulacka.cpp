#include "uKalkulacka.h"

#include "Analyzator.h"
#include "KomplexnyAnalyzator.h"
#include "ModuloAnalyzator.h"
#include "PrevodySustav.h"
#include "ZlomkovyAnalyzator.h"
#include "Zlomky.h"
#include "uCisla.h"
#include "uPremenne.h"

#include <cmath>

namespace {

void SetCaught(TChyba &err, quint8 code) {
    err.Code = code;
    err.SpanStart = 0;
    err.SpanEnd = 0;
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
    try {
        switch (NumberSet) {
        case MnozinaKomplexne:
            CalculateComplex(input, out);
            break;
        case MnozinaModulo:
            CalculateModulo(input, out);
            break;
        default:
            CalculateReal(input, out);
            break;
        }
    } catch (const EEngineInvalidOp &) {
        SetCaught(LastError, 20);
        out = TVysledokVypoctu();
    } catch (...) {
        SetCaught(LastError, 29);
        out = TVysledokVypoctu();
    }
    return out;
}

bool TKalkulacka::PrepareForEvaluation(QString &e, QChar extra, quint8 mode, TVysledokVypoctu &out) {
    if (LastError.Code == 0)
        CheckDollarReferences(e, LastError);
    if (LastError.Code == 0 && Radix != 10)
        ConvertExpressionBase(Radix, 10, extra, e, LastError);
    if (LastError.Code == 0) {
        AddMissingVariables(e, QString());
        ValidateVariableValues(e, LastError, QString(), mode);
        // Missing values, and in the modulo set values that are no integers,
        // are to be entered in the variables window.
        if (LastError.Code == 15 || (mode == KontrolaModulo && LastError.Code == 17))
            out.ShowVariables = true;
    }
    return LastError.Code == 0;
}

void TKalkulacka::CalculateReal(QString e, TVysledokVypoctu &out) {
    TEngineContext &engine = Engine();
    engine.RealExpressionPrepared = false;
    CheckSyntax(e, LastError, engine.FunctionNames);
    if (!PrepareForEvaluation(e, QChar(), KontrolaRealne, out))
        return;

    QString r;
    if (Fractions) {
        engine.FractionFirstCall = true;
        if (UsesNoFunction(e, engine.FunctionNames))
            EvaluateFraction(e, LastError, r);
        else
            EvaluateReal(e, LastError, engine.FunctionNames, r);
    } else {
        EvaluateReal(e, LastError, engine.FunctionNames, r);
    }
    if (LastError.Code != 0)
        return; // Ans keeps the last good result

    DeleteAll(r, QStringLiteral(" "));
    Delete(r, Pos(QStringLiteral("["), r), 1);
    Delete(r, Pos(QStringLiteral("]"), r), 1);
    if (r.isEmpty())
        r = QStringLiteral("0");
    QString shown;
    TComplexNumber value;
    if (Fractions) {
        FractionTextToDisplay(r, Radix, shown);
        TFraction f;
        StrToFraction(r, f);
        value.Re = f.Numerator / f.Denominator; // not zero: the display refuses that
    } else {
        value.Re = StrToFloat(r);
        FormatNumber(Decimals, Radix, shown, value.Re);
    }
    Succeed(out, shown, shown, Radix, value);
}

void TKalkulacka::CalculateComplex(QString e, TVysledokVypoctu &out) {
    TEngineContext &engine = Engine();
    engine.ComplexFirstCall = true;
    CheckComplexSyntax(e, LastError, engine.FunctionNames);
    if (!PrepareForEvaluation(e, engine.ImaginaryUnit, KontrolaKomplexne, out))
        return;

    QString r;
    EvaluateComplex(e, LastError, r);
    if (LastError.Code != 0)
        return;
    TComplexNumber z;
    ParseComplex(r, z);
    const QString shown = FormatComplexNumber(z, Decimals, Radix);
    Succeed(out, shown, QLatin1Char('(') + shown + QLatin1Char(')'), Radix, z);
}

void TKalkulacka::CalculateModulo(QString e, TVysledokVypoctu &out) {
    TEngineContext &engine = Engine();
    engine.Modulus = Modulus;
    engine.ModuloFirstCall = true;
    CheckModuloSyntax(e, LastError, engine.FunctionNames);
    if (!PrepareForEvaluation(e, QChar(), KontrolaModulo, out))
        return;

    QString r;
    EvaluateModulo(e, LastError, r);
    if (LastError.Code != 0)
        return;
    QString shown;
    const long double residue = StrToFloat(r);
    FormatNumber(Decimals, Radix, shown, residue);
    // ANS is the decimal residue; only the shown text is in the current base.
    Succeed(out, shown, r, 10, TComplexNumber{residue, 0, false});
}

void TKalkulacka::Succeed(TVysledokVypoctu &out, const QString &shown, const QString &ans, quint8 ansRadix,
                          const TComplexNumber &value) {
    Ans = ans;
    AnsRadix = ansRadix;
    AnsValue = value;
    out.Ok = true;
    out.Shown = shown;
}

// --- the tool keys ---------------------------------------------------------------

bool TKalkulacka::PrepareToolExpression(const QString &input, quint8 emptyCode, QString &expression) {
    LastError = TChyba();
    try {
        if (input.trimmed().isEmpty()) {
            LastError.Code = emptyCode;
            return false;
        }
        QString e = input;
        CheckSyntax(e, LastError, Engine().FunctionNames);
        if (LastError.Code == 0)
            CheckDollarReferences(e, LastError);
        if (LastError.Code == 0 && Radix != 10)
            ConvertExpressionBase(Radix, 10, QChar(), e, LastError);
        if (LastError.Code != 0)
            return false;
        expression = e;
        return true;
    } catch (const EEngineInvalidOp &) {
        SetCaught(LastError, 20);
    } catch (...) {
        SetCaught(LastError, 29);
    }
    return false;
}

bool TKalkulacka::TakeRealResult(long double value, QString &shown) {
    LastError = TChyba();
    try {
        QString t;
        FormatNumber(Decimals, Radix, t, value);
        Ans = t;
        AnsRadix = Radix;
        AnsValue = TComplexNumber{value, 0, false};
        shown = t;
        return true;
    } catch (const EEngineInvalidOp &) {
        SetCaught(LastError, 20);
    } catch (...) {
        SetCaught(LastError, 29);
    }
    return false;
}

// --- variables -----------------------------------------------------------------

void TKalkulacka::AddMissingVariables(const QString &expression, const QString &excludedName) {
    if (!Premenne)
        return;
    QStringList names;
    CollectVariableNames(expression, names, excludedName);
    Premenne->AddMissingNames(names);
}

void TKalkulacka::ValidateVariableValues(const QString &expression, TChyba &err, const QString &excludedName,
                                         quint8 mode) const {
    err.ClearCodeAndSpan();
    QString x = expression;
    DeleteAll(x, QStringLiteral(" "));
    static const TCharSet lettersButE = [] {
        TCharSet set;
        for (QChar c : LetterChars)
            if (c != QLatin1Char('e') && c != QLatin1Char('E'))
                set += c;
        return set;
    }();
    auto fail = [&err](quint8 code, const QString &name) {
        Engine().EvaluationOk = false;
        err.Code = code;
        err.Param1 = name;
    };
    do {
        QString name = ExtractFirstIdentifier(x);
        if (name.isEmpty())
            break; // nothing more that could name a variable
        const QString found = name;
        if (AsciiLower(name) == QLatin1String("logy"))
            name = QStringLiteral("y");
        if (IsVariableName(name) && name != excludedName) {
            const int row = Premenne ? Premenne->IndexOfName(name) : -1;
            if (row < 0 || Premenne->Row(row).Value.isEmpty()) {
                fail(15, QString());
                return;
            }
            const QString key = Premenne->Row(row).Name;
            QString v = Premenne->Row(row).Value;
            // Readable at all: a fraction, or else a complex number.
            try {
                if (v.contains(QLatin1Char('/'))) {
                    ReplaceOnce(v, QStringLiteral("/"), QStringLiteral("|"), false);
                    TFraction f;
                    StrToFraction(v, f);
                } else {
                    TComplexNumber z;
                    ParseComplex(v, z);
                }
            } catch (const std::exception &) {
                fail(31, key);
                return;
            }
            // Of the set.
            bool ofSet = true;
            if (mode == KontrolaRealne) {
                try {
                    TFraction f;
                    StrToFraction(v, f);
                } catch (const std::exception &) {
                    ofSet = false;
                }
            } else if (mode == KontrolaModulo) {
                ofSet = IsIntegerText(v);
            }
            if (!ofSet) {
                fail(17, key);
                return;
            }
        }
        // The name goes from the text; "logy" goes whole.
        const int p = Pos(found, x);
        if (p == 0)
            break;
        Delete(x, p, int(found.size()));
    } while (FirstCharInSet(x, lettersButE) != 0);
}

QString TKalkulacka::BuildVariableList(const QString &input) const {
    // The names are those of the expression as it is evaluated: in another
    // base its numbers are first written in base 10, so that "FF" is no
    // variable.
    QString text = input;
    if (Radix != 10) {
        TChyba err;
        QString converted = input;
        ConvertExpressionBase(Radix, 10, ExtraNumberChar(), converted, err);
        if (err.Code == 0)
            text = converted;
    }
    QStringList names;
    CollectVariableNames(text, names, QString());
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
    return NumberSet == MnozinaKomplexne ? Engine().ImaginaryUnit : QChar();
}

QString TKalkulacka::ToggleComplexForm() {
    TComplexNumber z = AnsValue;
    z.Polar = !z.Polar;
    const QString shown = FormatComplexNumber(z, Decimals, Radix);
    AnsValue = z;
    Ans = QLatin1Char('(') + shown + QLatin1Char(')');
    AnsRadix = Radix;
    return shown;
}

QString TKalkulacka::AnsForInsertion() const {
    if (AnsRadix == Radix)
        return Ans;
    try {
        QString t = Ans;
        TChyba err;
        // A complex ANS holds the imaginary unit inside its numbers.
        const QChar extra = Ans.contains(Engine().ImaginaryUnit) ? Engine().ImaginaryUnit : QChar();
        ConvertExpressionBase(AnsRadix, Radix, extra, t, err);
        if (err.Code == 0)
            return t;
    } catch (...) {
    }
    return Ans;
}

TPrepnutieSustavy TKalkulacka::SwitchBase(quint8 newBase, const QString &input, const QString &resultText) {
    TPrepnutieSustavy out;
    LastError = TChyba();
    try {
        const QChar extra = ExtraNumberChar();
        QString t = input;
        ConvertExpressionBase(Radix, newBase, extra, t, LastError);
        if (LastError.Code == 0) {
            out.InputConverted = true;
            out.Input = t;
            QString r = resultText;
            ConvertExpressionBaseFormatted(Radix, newBase, extra, r, LastError, Decimals);
            out.ResultConverted = true;
            out.Result = r;
        }
    } catch (const EEngineConvertError &) {
        SetCaught(LastError, 26);
    } catch (const EEngineRangeError &) {
        SetCaught(LastError, 26);
    } catch (...) {
        SetCaught(LastError, 29);
    }
    // A result that could not be written in the new base is dropped: its
    // text would be read in the wrong base by the next switch.
    if (LastError.Code != 0) {
        out.ResultConverted = true;
        out.Result.clear();
    }
    Radix = newBase;
    return out;
}

// --- complex display -----------------------------------------------------------------

QString FormatComplexNumber(const TComplexNumber &z, quint8 decimals, quint8 base) {
    auto number = [&](long double v) {
        QString t;
        FormatNumber(decimals, base, t, v);
        return t;
    };
    const QChar unit = Engine().ImaginaryUnit;
    if (!z.Polar) {
        QString text = number(z.Re);
        if (z.Im == 0)
            return text;
        text += z.Im > 0 ? QLatin1Char('+') : QLatin1Char('-');
        text += unit;
        const long double a = std::fabs(z.Im);
        if (a != 1)
            text += number(a);
        return text;
    }
    TComplexNumber modulus;
    ComplexAbs(z, modulus);
    QString text = number(modulus.Re);
    const long double angle = ComplexAngleDegrees(z);
    if (angle != 0) {
        text += angle > 0 ? QStringLiteral("e^") : QStringLiteral("e^-");
        text += unit;
        text += number(std::fabs(angle));
    }
    return text;
}
