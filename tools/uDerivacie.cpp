#include "uDerivacie.h"

#include "ZlomkovyAnalyzator.h"
#include "Zlomky.h"
#include "uAppContext.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// Implicit multiplication

namespace {

// A part after which an operand standing next to it is multiplied.
bool EndsOperand(const TTextPart &part, const QString &t) {
    switch (part.Kind) {
    case TTextPartKind::Number:
    case TTextPartKind::Name:
    case TTextPartKind::Constant:
    case TTextPartKind::Close: return true;
    case TTextPartKind::Operator: return t.at(part.Start) == QLatin1Char('!') || t.at(part.Start) == QLatin1Char('%');
    default: return false;
    }
}

// A part that begins an operand.
bool BeginsOperand(const TTextPart &part) {
    switch (part.Kind) {
    case TTextPartKind::Number:
    case TTextPartKind::Name:
    case TTextPartKind::Constant:
    case TTextPartKind::Function:
    case TTextPartKind::Open: return true;
    default: return false;
    }
}

bool HoldsWordOperator(const std::vector<TTextPart> &parts) {
    return std::any_of(parts.begin(), parts.end(),
                       [](const TTextPart &part) { return part.Kind == TTextPartKind::WordOperator; });
}

} // namespace

void InsertMultiplicationSigns(QString &t) {
    std::vector<TTextPart> parts;
    ReadTextParts(t, parts);
    // The text is written anew only where a sign goes in, each part once,
    // so that the time stays linear in the length.
    QString out;
    int copied = 0; // t[0, copied) is in out
    bool operandBefore = false;
    for (const TTextPart &part : parts) {
        if (part.Kind == TTextPartKind::Blank)
            continue;
        if (operandBefore && BeginsOperand(part)) {
            if (out.isEmpty())
                out.reserve(2 * t.size()); // at most one sign for each part
            out += QStringView(t).mid(copied, part.Start - copied);
            out += QLatin1Char('*');
            copied = part.Start;
        }
        operandBefore = EndsOperand(part, t);
    }
    if (copied > 0) {
        out += QStringView(t).mid(copied);
        t = out;
    }
}

// ---------------------------------------------------------------------------
// The display of a constant derivative

namespace {

// The characters of a text that is a plain number.
const TCharSet ConstantChars = QStringLiteral("!%()*+,-./0123456789^");

// The display of the exact value of a constant text through the fraction
// evaluator ("3 / 4", "-2"); false when it has none. A power left in the
// text is one whose value is no fraction (a root) or beyond the range: its
// value would only be a rounded decimal.
bool ExactFraction(const QString &text, QString &shown) {
    if (text.contains(QLatin1Char('^')))
        return false;
    try {
        const TEngineResult r = EvaluateFraction(text, TEvaluationContext(DecSep()));
        if (!r.Ok())
            return false;
        FractionToDisplay(r.Fraction, 10, shown, DecSep());
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace

// ---------------------------------------------------------------------------

TDerivacie::TPremenneFunkcie TDerivacie::VariablesOf(const QString &function) {
    TPremenneFunkcie out;
    CollectVariableNames(function, TEvaluationContext(DecSep()), out.Names, QString());
    for (int i = 0; i < out.Names.size(); ++i)
        if (out.Names.at(i).compare(QLatin1String("x"), Qt::CaseInsensitive) == 0) {
            out.Selected = i;
            break;
        }
    if (out.Selected < 0 && !out.Names.isEmpty())
        out.Selected = 0;
    return out;
}

TDerivacie::TVysledok TDerivacie::Calculate(const QString &function, const QString &variable, int order) {
    // The blanks go as the evaluator drops them: one beside a word operator
    // keeps it apart ("x mod 3" is no name "xmod3"). Either separator is the
    // locale's, as "=" reads it.
    QString t = StripBlanks(function, TNumberSet::Real);
    for (QChar &c : t)
        if (IsDecimalSeparator(c))
            c = DecSep();
    std::vector<TTextPart> parts;
    ReadTextParts(t, parts);
    if (HoldsWordOperator(parts))
        return {false, ErrorText};
    InsertMultiplicationSigns(t);
    t.remove(QLatin1Char(' '));
    try {
        QString shown = t;
        DeriveNTimes(Work, shown, variable, order, DecSep());
        // The tree folds numbers exactly; a constant is shown as the
        // fraction the calculator shows ("1 / 3").
        QString fraction;
        if (AllCharsInSet(shown, ConstantChars) && ExactFraction(shown, fraction))
            return {true, fraction};
        return {true, shown};
    } catch (...) {
        return {false, ErrorText};
    }
}
