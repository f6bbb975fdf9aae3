#include "uDerivacie.h"

#include "ZlomkovyAnalyzator.h"
#include "Zlomky.h"
#include "uAppContext.h"

// ---------------------------------------------------------------------------
// Implicit multiplication

namespace {

bool IsLetterOrDigit(QChar c) { return IsAsciiLetter(c) || IsAsciiDigit(c); }

bool IsFunctionOrWordOperator(QStringView word) {
    return FunctionIndex(word) >= 0 || IsWordOperator(word, WordTailWithExp, TNumberSet::Real);
}

// Whether the letters that end at index `last` of s name a function or a
// word operator. The letters are taken once whole and once without the
// letters "e" and "E" (the walk stops at them), so that "sin(" is a
// function, and so is "deg(".
bool EndsWithFunctionName(const QString &s, int last) {
    int start = last;
    while (start > 0 && IsAsciiLetter(s.at(start - 1)))
        --start;
    int startWithoutE = last;
    while (startWithoutE > 0 && IsAsciiLetter(s.at(startWithoutE - 1)) && s.at(startWithoutE - 1) != QLatin1Char('e') &&
           s.at(startWithoutE - 1) != QLatin1Char('E'))
        --startWithoutE;
    return IsFunctionOrWordOperator(QStringView(s).mid(start, last - start + 1)) ||
           IsFunctionOrWordOperator(QStringView(s).mid(startWithoutE, last - startWithoutE + 1));
}

} // namespace

void InsertMultiplicationSigns(QString &t) {
    // The walk reads the text as it was on entry and writes a new one, so
    // that each character is read a bounded number of times and none is
    // moved for a sign inserted before it: the time stays linear in the
    // length, however many signs go in.
    const QString s = t; // the text as it was on entry
    const int n = int(s.size());
    QString out;
    int copied = 0; // s[0, copied) is in out
    int i = 0;      // the pair (s[i], s[i + 1])
    while (i + 1 < n) {
        const QChar a = s.at(i);
        const QChar b = s.at(i + 1);
        // The run of letters and digits that starts at b, measured only
        // where a rule reads it (empty when b is "$" or "(").
        const auto runAfter = [&s, n, i]() {
            int end = i + 1;
            while (end < n && IsLetterOrDigit(s.at(end)))
                ++end;
            return QStringView(s).mid(i + 1, end - i - 1);
        };
        const bool opens = b == QLatin1Char('$') || b == QLatin1Char('(');
        const bool postfix = a == QLatin1Char('!') || a == QLatin1Char('%');
        bool insert = false;
        QStringView run;
        if (postfix && IsAsciiDigit(b)) {
            insert = true;
        } else if ((postfix || IsAsciiDigit(a)) && (opens || IsAsciiLetter(b))) {
            run = runAfter();
            insert = !IsWordOperator(run, WordTailWithExp, TNumberSet::Real) && run != QLatin1String("e") &&
                     run != QLatin1String("E");
        } else if (IsAsciiLetter(a) && a != QLatin1Char('e') && a != QLatin1Char('E') && opens) {
            insert = !EndsWithFunctionName(s, i);
        } else if (a == QLatin1Char(')') && (opens || IsLetterOrDigit(b))) {
            run = runAfter();
            insert = !IsWordOperator(run, WordTailWithExp, TNumberSet::Real);
        }
        if (insert) {
            if (out.isEmpty())
                out.reserve(2 * n); // at most one sign for each pair
            out += QStringView(s).mid(copied, i + 1 - copied);
            out += QLatin1Char('*');
            copied = i + 1;
        }
        // After a run the walk goes on from its last character.
        i = run.isEmpty() ? i + 1 : i + int(run.size());
    }
    if (copied > 0) {
        out += QStringView(s).mid(copied);
        t = out;
    }
}

// ---------------------------------------------------------------------------
// Numbers with an exponent

namespace {

// The plain decimal form of the number whose digits (without the
// separator) are `digits`, `point` of them before the separator, times ten
// to `exponent`.
QString PlainDecimal(const QString &digits, int point, int exponent) {
    const int at = point + exponent;
    QString r;
    if (at <= 0)
        r = QLatin1Char('0') + QString(DecSep()) + QString(-at, QLatin1Char('0')) + digits;
    else if (at >= digits.size())
        r = digits + QString(at - digits.size(), QLatin1Char('0'));
    else
        r = digits.left(at) + DecSep() + digits.mid(at);
    return r;
}

} // namespace

void ExpandExponents(QString &t) {
    const QChar sep = DecSep();
    QString out;
    out.reserve(t.size());
    const int n = int(t.size());
    int i = 0;
    while (i < n) {
        const QChar c = t.at(i);
        const bool starts = IsAsciiDigit(c) && (i == 0 || !(IsLetterOrDigit(t.at(i - 1)) || t.at(i - 1) == sep));
        if (!starts) {
            out += c;
            ++i;
            continue;
        }
        // The mantissa: digits with at most one separator.
        int j = i;
        QString digits;
        int point = -1;
        while (j < n && (IsAsciiDigit(t.at(j)) || (t.at(j) == sep && point < 0))) {
            if (t.at(j) == sep)
                point = int(digits.size());
            else
                digits += t.at(j);
            ++j;
        }
        if (point < 0)
            point = int(digits.size());
        // The exponent, which must end the number.
        int k = j;
        int exponent = 0;
        bool found = false;
        if (k < n && (t.at(k) == QLatin1Char('e') || t.at(k) == QLatin1Char('E'))) {
            ++k;
            bool negative = false;
            if (k < n && (t.at(k) == QLatin1Char('+') || t.at(k) == QLatin1Char('-'))) {
                negative = t.at(k) == QLatin1Char('-');
                ++k;
            }
            const int first = k;
            while (k < n && IsAsciiDigit(t.at(k)) && k - first < 4)
                exponent = exponent * 10 + (t.at(k++).unicode() - '0');
            found = k > first && (k == n || !IsLetterOrDigit(t.at(k))) && exponent <= 64;
            if (negative)
                exponent = -exponent;
        }
        if (found) {
            out += PlainDecimal(digits, point, exponent);
            i = k;
        } else {
            out += t.mid(i, j - i);
            i = j;
        }
    }
    t = out;
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
    QString t = function;
    t.remove(QLatin1Char(' '));
    // Either separator is the locale's, as "=" reads it.
    for (QChar &c : t)
        if (IsDecimalSeparator(c))
            c = DecSep();
    ExpandExponents(t);
    InsertMultiplicationSigns(t);
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
