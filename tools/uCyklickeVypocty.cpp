#include "uCyklickeVypocty.h"

#include "uAppContext.h"
#include "uCisla.h"
#include "uMainWindowLink.h"

#include <cmath>

namespace {

void SetCode(TChyba &err, TErrorCode code) {
    err = TChyba();
    err.Code = code;
}

} // namespace

bool JeNazovIndexu(const QString &name) {
    if (name.isEmpty() || !IsAsciiLetter(name.at(0)))
        return false;
    for (QChar c : name)
        if (!IsAsciiLetter(c) && !IsAsciiDigit(c))
            return false;
    return IsVariableName(name, TEvaluationContext(DecSep())); // a name of the real set
}

bool CitajHranicu(const QString &text, qint64 &value) {
    if (text.isEmpty() || text.size() > NajdlhsiaHranica)
        return false;
    const bool negative = text.at(0) == QLatin1Char('-');
    const QStringView digits = QStringView(text).mid(negative ? 1 : 0);
    if (digits.isEmpty())
        return false;
    qint64 v = 0;
    for (QChar c : digits) {
        if (!IsAsciiDigit(c))
            return false;
        v = v * 10 + (c.unicode() - '0');
    }
    value = negative ? -v : v;
    return true;
}

TCyklickeVypocty::TCyklickeVypocty(TPriprava priprava) : m_priprava(std::move(priprava)), m_context(DecSep()) {
    if (!m_priprava)
        m_priprava = [this](const QString &expression, const QString &index) {
            return PripravIndexovanyVyraz(expression, index, m_context);
        };
}

void TCyklickeVypocty::SetVariable(const QString &name) { VariableName = name; }

void TCyklickeVypocty::SetExpression(const QString &text) {
    Expression = text.isEmpty() ? QStringLiteral("0") : text;
    m_prepared.reset();
    m_prepared = m_priprava(Expression, VariableName);
}

TCyklickeVypocty::TSucet TCyklickeVypocty::Compute(qint64 from, qint64 to, bool isProduct) const {
    TSucet out;
    long double acc = isProduct ? 1.0L : 0.0L;
    if (from <= to && !m_prepared) {
        SetCode(out.Error, TErrorCode::UnknownFailure);
        return out;
    }
    try {
        for (qint64 i = from; i <= to; ++i) {
            long double v = 0;
            if (!m_prepared->Evaluate(i, v, out.Error))
                return out;
            acc = isProduct ? acc * v : acc + v;
            // Once beyond the range it would only be shown as infinity.
            if (!std::isfinite(acc)) {
                SetCode(out.Error, TErrorCode::TooLarge);
                return out;
            }
        }
        out.Text = FormatFloat(QStringLiteral("0.##############################E-0"), acc, DecSep());
    } catch (const EEngineInvalidOp &) {
        SetCode(out.Error, TErrorCode::TooLarge);
        return out;
    } catch (...) {
        SetCode(out.Error, TErrorCode::UnknownFailure);
        return out;
    }
    out.Value = acc;
    return out;
}

TCyklickeVypocty::TVystup TCyklickeVypocty::Priprav(const TVstup &vstup, TMainWindowLink &main, QWidget *parent) {
    TVystup out;
    const auto refuse = [&](TPole pole, const QString &text) {
        AppContext().Prompter().Show(parent, TMessageKind::Warning, Messages.InputError, text);
        out.Krok = TKrok::Zastavene;
        out.Pole = pole;
        return out;
    };
    if (!JeNazovIndexu(vstup.Index))
        return refuse(PoleIndex, Messages.InvalidVariable);
    qint64 od = 0, po = 0;
    if (!CitajHranicu(vstup.Lower, od))
        return refuse(PoleOd, Messages.InvalidBound);
    if (!CitajHranicu(vstup.Upper, po))
        return refuse(PoleDo, Messages.InvalidBound);

    SetVariable(vstup.Index);
    m_context = main.EvaluationContext();
    main.AddMissingVariables(vstup.Function, vstup.Index);
    main.ValidateVariableValues(vstup.Function, out.Error, vstup.Index, TKontrola::Realne);
    if (out.Error.Failed()) {
        // A value that is missing, unreadable or not real would fail at
        // every index: nothing is computed.
        out.Krok = out.Error.Code == TErrorCode::MissingValue ? TKrok::ChybajuHodnoty : TKrok::Chyba;
        return out;
    }

    if (po - od >= NajviacIndexov) {
        AppContext().Prompter().Show(parent, TMessageKind::Warning, Messages.DifficultCalculationCaption,
                                     Messages.TooDifficultCalculation);
        out.Krok = TKrok::Zastavene;
        return out;
    }
    if (po - od >= OtazkaOdIndexov &&
        AppContext().Prompter().Show(parent, TMessageKind::Question, Messages.DifficultCalculationCaption,
                                     Messages.DifficultCalculation) != TAnswer::Yes) {
        out.Krok = TKrok::Zastavene;
        return out;
    }
    out.Krok = TKrok::Pocitaj;
    out.Od = od;
    out.Do = po;
    return out;
}

TCyklickeVypocty::TVystup TCyklickeVypocty::Pocitaj(const TVstup &vstup, qint64 od, qint64 po) {
    TVystup out;
    out.Od = od;
    out.Do = po;
    TSucet s;
    try {
        SetVariable(vstup.Index);
        SetExpression(vstup.Function);
        s = Compute(od, po, vstup.Product);
    } catch (const EEngineInvalidOp &) {
        SetCode(s.Error, TErrorCode::TooLarge);
    } catch (...) {
        SetCode(s.Error, TErrorCode::UnknownFailure);
    }
    out.Error = s.Error;
    out.Krok = !s.Error.Failed() ? TKrok::Vysledok : TKrok::Chyba;
    out.Value = s.Value;
    return out;
}
