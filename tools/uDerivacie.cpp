#include "uDerivacie.h"

#include "ZlomkovyAnalyzator.h"
#include "Zlomky.h"

#include <limits>
#include <numeric>

// ---------------------------------------------------------------------------
// Implicit multiplication

namespace {

bool IsLetterOrDigit(QChar c) { return IsAsciiLetter(c) || IsAsciiDigit(c); }

bool IsFunctionOrWordOperator(const QString &word) {
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
    return IsFunctionOrWordOperator(s.mid(start, last - start + 1)) ||
           IsFunctionOrWordOperator(s.mid(startWithoutE, last - startWithoutE + 1));
}

} // namespace

void InsertMultiplicationSigns(QString &t) {
    const QString s = t; // the text as it was on entry
    const int n = int(s.size());
    int inserted = 0;
    int i = 0; // the pair (s[i], s[i + 1])
    while (i + 1 < n) {
        const QChar a = s.at(i);
        const QChar b = s.at(i + 1);
        int runEnd = i + 1;
        while (runEnd < n && IsLetterOrDigit(s.at(runEnd)))
            ++runEnd;
        const QString run = s.mid(i + 1, runEnd - i - 1); // empty when b is "$" or "("
        const bool opens = b == QLatin1Char('$') || b == QLatin1Char('(');
        const bool postfix = a == QLatin1Char('!') || a == QLatin1Char('%');
        bool insert = false;
        bool overRun = false;
        if (postfix && IsAsciiDigit(b)) {
            insert = true;
        } else if ((postfix || IsAsciiDigit(a)) && (opens || IsAsciiLetter(b))) {
            insert = !IsWordOperator(run, WordTailWithExp, TNumberSet::Real) && run != QLatin1String("e") && run != QLatin1String("E");
            overRun = true;
        } else if (IsAsciiLetter(a) && a != QLatin1Char('e') && a != QLatin1Char('E') && opens) {
            insert = !EndsWithFunctionName(s, i);
        } else if (a == QLatin1Char(')') && (opens || IsLetterOrDigit(b))) {
            insert = !IsWordOperator(run, WordTailWithExp, TNumberSet::Real);
            overRun = true;
        }
        if (insert) {
            t.insert(i + 1 + inserted, QLatin1Char('*'));
            ++inserted;
        }
        // After a run the walk goes on from its last character.
        i = overRun && !run.isEmpty() ? runEnd - 1 : i + 1;
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
// The exact value of a constant derivative
//
// The tree's own printer folds numbers into decimals with three places, so
// that a constant such as 1/3 would come out as 0,333. The value of a
// constant result is therefore worked out again by a chain of the same
// derivative steps whose printer folds numbers as exact fractions of 64-bit
// integers; everything else it writes as the tree's printer does.

namespace {

const QChar kMinus = QLatin1Char('-');

// A reduced fraction, the denominator positive, both parts below 10^18 so
// that they are written exactly in digits.
struct TRational {
    qint64 N = 0;
    qint64 D = 1;
};

constexpr qint64 PartBound = 999999999999999999LL;

bool Make(qint64 n, qint64 d, TRational &r) {
    if (d == 0 || n == std::numeric_limits<qint64>::min() || d == std::numeric_limits<qint64>::min())
        return false;
    if (d < 0) {
        n = -n;
        d = -d;
    }
    const qint64 g = std::gcd(n, d);
    n /= g;
    d /= g;
    if (n > PartBound || n < -PartBound || d > PartBound)
        return false;
    r = TRational{n, d};
    return true;
}

bool Mul(qint64 a, qint64 b, qint64 &r) { return !__builtin_mul_overflow(a, b, &r); }

bool Fold(quint8 kind, const TRational &a, const TRational &b, TRational &r) {
    qint64 x, y, n, d;
    switch (kind) {
    case nkPlus:
    case nkMinus:
        if (!Mul(a.N, b.D, x) || !Mul(b.N, a.D, y) || !Mul(a.D, b.D, d))
            return false;
        if (kind == nkPlus ? __builtin_add_overflow(x, y, &n) : __builtin_sub_overflow(x, y, &n))
            return false;
        return Make(n, d, r);
    case nkTimes:
        return Mul(a.N, b.N, n) && Mul(a.D, b.D, d) && Make(n, d, r);
    case nkDivide:
        return b.N != 0 && Mul(a.N, b.D, n) && Mul(a.D, b.N, d) && Make(n, d, r);
    case nkPower: {
        // Whole exponents only: anything else has no exact value here.
        if (b.D != 1 || b.N > 64 || b.N < -64 || (b.N < 0 && a.N == 0))
            return false;
        TRational p{1, 1};
        for (qint64 k = 0; k < (b.N < 0 ? -b.N : b.N); ++k)
            if (!Fold(nkTimes, p, a, p))
                return false;
        return b.N < 0 ? Make(p.D, p.N, r) : (r = p, true);
    }
    default:
        return false;
    }
}

// The exact value of a number written as the engine writes numbers: an
// optional sign, digits with at most one decimal separator, an optional
// exponent.
bool ReadExact(const QString &text, TRational &r) {
    const QChar sep = DecSep();
    int i = 0;
    const int n = int(text.size());
    bool negative = false;
    if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == kMinus)) {
        negative = text.at(i) == kMinus;
        ++i;
    }
    qint64 mantissa = 0;
    qint64 scale = 1;
    int digits = 0;
    bool separator = false;
    for (; i < n; ++i) {
        const QChar c = text.at(i);
        if (IsAsciiDigit(c)) {
            if (!Mul(mantissa, 10, mantissa) || __builtin_add_overflow(mantissa, c.unicode() - '0', &mantissa))
                return false;
            if (separator && !Mul(scale, 10, scale))
                return false;
            ++digits;
        } else if (c == sep && !separator) {
            separator = true;
        } else {
            break;
        }
    }
    if (digits == 0)
        return false;
    int exponent = 0;
    if (i < n) {
        if (text.at(i) != QLatin1Char('e') && text.at(i) != QLatin1Char('E'))
            return false;
        ++i;
        bool expNegative = false;
        if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == kMinus)) {
            expNegative = text.at(i) == kMinus;
            ++i;
        }
        int expDigits = 0;
        for (; i < n && IsAsciiDigit(text.at(i)); ++i) {
            exponent = exponent * 10 + (text.at(i).unicode() - '0');
            if (exponent > 40)
                return false;
            ++expDigits;
        }
        if (expDigits == 0 || i < n)
            return false;
        if (expNegative)
            exponent = -exponent;
    }
    for (; exponent > 0; --exponent)
        if (!Mul(mantissa, 10, mantissa))
            return false;
    for (; exponent < 0; ++exponent)
        if (!Mul(scale, 10, scale))
            return false;
    return Make(negative ? -mantissa : mantissa, scale, r);
}

// What binds loosest in a printed text, outside any brackets.
enum TShape : quint8 { shAtom, shSum, shProduct, shPower, shFactorial };

struct TPrinted {
    TPrinted() = default;
    TPrinted(QString text, TShape shape) : Text(std::move(text)), Shape(shape) {}

    QString Text;
    TShape Shape = shAtom;
    bool IsNumber = false; // Text is Value
    TRational Value;
    bool Signed() const { return Text.startsWith(kMinus); }
    bool Is(qint64 v) const { return IsNumber && Value.D == 1 && Value.N == v; }
};

TPrinted Number(const TRational &v) {
    TPrinted p;
    p.IsNumber = true;
    p.Value = v;
    p.Text = v.D == 1 ? QString::number(v.N)
                      : QLatin1Char('(') + QString::number(v.N) + QLatin1Char('/') + QString::number(v.D) +
                            QLatin1Char(')');
    return p;
}

TPrinted Bracketed(const QString &s) { return {QLatin1Char('(') + s + QLatin1Char(')'), shAtom}; }

bool KindIn(quint8 k, std::initializer_list<int> set) {
    for (int x : set)
        if (k == x)
            return true;
    return false;
}

// The operand as it may stand on the given side of the operator; brackets
// only where the text would otherwise be read differently.
QString Placed(const TPrinted &x, quint8 op, bool right) {
    bool wrap = false;
    switch (op) {
    case nkMinus:
        wrap = right && x.Shape == shSum;
        break;
    case nkTimes:
        wrap = x.Shape == shSum;
        break;
    case nkDivide:
        wrap = x.Shape == shSum || (right && (x.Shape == shProduct || x.Signed()));
        break;
    case nkPower:
        wrap = !right && (x.Shape != shAtom || x.Signed());
        break;
    case nkFactorial:
        wrap = x.Shape == shSum || x.Shape == shProduct;
        break;
    case nkPercent:
        wrap = x.Shape != shAtom;
        break;
    default:
        break;
    }
    return wrap ? QLatin1Char('(') + x.Text + QLatin1Char(')') : x.Text;
}

TPrinted Compose(const TVyraz *n, const QString &text, TShape shape, std::initializer_list<int> bare) {
    if (KindIn(n->ParentKind, bare))
        return {text, shape};
    return Bracketed(text);
}

Q_NEVER_INLINE TPrinted Combine(const TVyraz *n, TPrinted a, TPrinted b) {
    const quint8 pk = n->ParentKind;
    switch (n->Kind) {
    case nkOperand: {
        TRational v;
        if (ReadExact(n->Text, v))
            return Number(v);
        return pk == nkPower ? Bracketed(n->Text) : TPrinted{n->Text, shAtom};
    }

    case nkBrackets:
        if (a.IsNumber)
            return a;
        if (n->Left && KindIn(n->Left->Kind, {nkPlus, nkMinus, nkTimes, nkDivide, nkPower}))
            return Bracketed(a.Text);
        return a;

    case nkPlus:
    case nkMinus:
    case nkTimes:
    case nkDivide:
    case nkPower: {
        const quint8 k = n->Kind;
        TRational v;
        if (a.IsNumber && b.IsNumber && Fold(k, a.Value, b.Value, v))
            return Number(v);
        switch (k) {
        case nkPlus:
            if (a.Is(0))
                return b;
            if (b.Is(0))
                return a;
            return Compose(n, a.Text + QLatin1Char('+') + b.Text, shSum, {nkPlus, nkFunction, nkTop});
        case nkMinus:
            if (a.Is(0))
                return {kMinus + Placed(b, nkMinus, true), b.Shape == shSum ? shAtom : b.Shape};
            if (b.Is(0))
                return a;
            return Compose(n, a.Text + QLatin1Char('-') + Placed(b, nkMinus, true), shSum,
                           {nkPlus, nkFunction, nkTop});
        case nkTimes:
            if (a.Is(1))
                return b;
            if (b.Is(1))
                return a;
            if (a.Is(0) || b.Is(0))
                return Number(TRational{0, 1});
            return Compose(n, Placed(a, k, false) + QLatin1Char('*') + Placed(b, k, true), shProduct,
                           {nkPlus, nkMinus, nkTimes, nkFunction, nkTop});
        case nkDivide:
            if (a.Is(0))
                return Number(TRational{0, 1});
            return Compose(n, Placed(a, k, false) + QLatin1Char('/') + Placed(b, k, true), shProduct,
                           {nkPlus, nkMinus, nkTimes, nkFunction, nkTop});
        default: // power
            if (a.Is(0))
                return Number(TRational{0, 1});
            if (a.Is(1) || b.Is(0))
                return Number(TRational{1, 1});
            if (b.Is(1))
                return a;
            // A fraction is written in its brackets already.
            return Compose(n,
                           Placed(a, k, false) +
                               (b.IsNumber && b.Value.D != 1 ? QLatin1Char('^') + b.Text
                                                              : QLatin1String("^(") + b.Text + QLatin1Char(')')),
                           shPower, {nkPlus, nkMinus, nkTimes, nkDivide, nkTop});
        }
    }

    case nkFactorial:
        return {Placed(a, nkFactorial, false) + QLatin1Char('!'), shFactorial};

    case nkFunction:
        a = std::move(b); // the argument
        if (n->Text == QString(kMinus)) {
            TRational v;
            if (a.IsNumber && Make(-a.Value.N, a.Value.D, v))
                return Number(v);
            return {kMinus + Placed(a, nkMinus, true), a.Shape == shSum ? shAtom : a.Shape};
        }
        return Compose(n, n->Text + QLatin1Char('[') + a.Text + QLatin1Char(']'), shAtom,
                       {nkPlus, nkMinus, nkTimes, nkDivide, nkFactorial, nkPower, nkTop});

    case nkPercent:
        return {Placed(a, nkPercent, false) + QLatin1Char('%'), shAtom};

    default:
        return {QStringLiteral("?"), shAtom};
    }
}

TPrinted Print(const TVyraz *n) {
    if (!n)
        return {QStringLiteral("?"), shAtom};
    TPrinted a = Print(n->Left.get());
    TPrinted b = Print(n->Right.get());
    return Combine(n, std::move(a), std::move(b));
}

// One derivative step as the engine's, with the exact printer.
void ExactStep(TVyraz &work, QString &t, const QString &varName) {
    work.Parse(t, nkTop);
    QString d;
    work.Derive(varName, d);
    SimplifySigns(d);
    work.Parse(d, nkTop);
    d = Print(&work).Text;
    RemoveSuperfluousBrackets(d);
    ReplaceAll(d, QStringLiteral("["), QStringLiteral("("));
    ReplaceAll(d, QStringLiteral("]"), QStringLiteral(")"));
    SimplifySigns(d);
    if (d.size() > MaxExpressionLength)
        throw EEngineRangeError("derivative longer than 65535 characters");
    t = d;
}

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
        const TEngineResult r = EvaluateFraction(text, TEvaluationContext());
        if (!r.Ok())
            return false;
        FractionToDisplay(r.Fraction, 10, shown);
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace

// ---------------------------------------------------------------------------

TDerivacie::TPremenneFunkcie TDerivacie::VariablesOf(const QString &function) {
    TPremenneFunkcie out;
    CollectVariableNames(function, TEvaluationContext(), out.Names, QString());
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
    ExpandExponents(t);
    InsertMultiplicationSigns(t);
    try {
        QString shown = t;
        DeriveNTimes(Work, shown, variable, order);
        if (!AllCharsInSet(shown, ConstantChars))
            return {true, shown};
        // A constant: its value without the printer's rounding.
        QString exact = t;
        try {
            for (int i = 0; i < order; ++i)
                ExactStep(Work, exact, variable);
        } catch (...) {
            return {true, shown};
        }
        QString fraction;
        if (AllCharsInSet(exact, ConstantChars) && ExactFraction(exact, fraction))
            return {true, fraction};
        // A root, or a term that the rounding had made 0.
        return {true, exact};
    } catch (...) {
        return {false, ErrorText};
    }
}
