#include "uSpolocne.h"

#include <QStringView>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

const TCharSet DigitChars = QStringLiteral("0123456789");
const TCharSet LetterChars = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
const TCharSet DigitsAndLetters = DigitChars + LetterChars;
const TCharSet WordTailReal = QStringLiteral("+,-.0123456789");
const TCharSet WordTailWithExp = QStringLiteral("+,-.0123456789Ee");
const TCharSet OperatorChars = QStringLiteral("!%*+-/^");
const TCharSet BinaryOperatorChars = QStringLiteral("*+-/^");
const TCharSet PostfixOperatorChars = QStringLiteral("!%");
const TCharSet ExpressionChars = QStringLiteral("\b $(),.") + OperatorChars + DigitsAndLetters;

QStringView WordOperatorName(int index) {
    static constexpr QStringView words[WordOperatorCount] = {u"nad", u"div", u"mod"};
    return index >= 0 && index < WordOperatorCount ? words[index] : QStringView();
}

int WordOperatorAt(QStringView text) {
    if (text.isEmpty())
        return -1;
    const QChar first = AsciiLower(text.at(0));
    if (first != QLatin1Char('n') && first != QLatin1Char('d') && first != QLatin1Char('m'))
        return -1; // the first letters of the words below
    for (int k = 0; k < WordOperatorCount; ++k) {
        const QStringView word = WordOperatorName(k);
        if (SameName(text.left(word.size()), word))
            return k;
    }
    return -1;
}

bool HoldsLetter(QStringView s) {
    for (const QChar c : s)
        if (IsAsciiLetter(c))
            return true;
    return false;
}

QString ValueOfName(const QStringList &lines, const QString &name) {
    for (const QString &line : lines) {
        // Only a line that begins with the name and "=" can be its line (a
        // name holds no "=", so that "=" is the line's first).
        if (line.size() <= name.size() || line.at(name.size()) != QLatin1Char('='))
            continue;
        if (SameName(QStringView(line).left(name.size()), name))
            return line.mid(name.size() + 1);
    }
    return QString();
}

QString TNameIndex::Key(QStringView name) { return AsciiLower(name.toString()); }

TLineValues::TLineValues(const QStringList &lines) : m_lines(lines) {
    for (int k = 0; k < lines.size(); ++k) {
        const int eq = int(lines.at(k).indexOf(QLatin1Char('=')));
        if (eq >= 0)
            m_index.Add(QStringView(lines.at(k)).left(eq), k);
    }
}

QString TLineValues::Value(QStringView name) const {
    const int k = m_index.Find(name);
    return k < 0 ? QString() : m_lines.at(k).mid(m_lines.at(k).indexOf(QLatin1Char('=')) + 1);
}

// --- 1-based helpers -------------------------------------------------------

void Delete(QString &s, int index, int count) {
    if (index < 1 || index > s.size() || count <= 0)
        return;
    s.remove(index - 1, count);
}

QString AsciiLower(const QString &s) {
    QString r = s;
    for (QChar &c : r)
        c = AsciiLower(c);
    return r;
}

QString AsciiUpper(const QString &s) {
    QString r = s;
    for (QChar &c : r)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 32);
    return r;
}

// --- blanks ----------------------------------------------------------------

namespace {

// Whether the digit at `last` ends a number (digits and separators that no
// letter, "$" or "_" runs into), not the tail of a name as in "x2".
bool EndsNumber(const QString &t, int last) {
    int i = last;
    while (i >= 0 && (IsAsciiDigit(t.at(i)) || t.at(i) == QLatin1Char(',') || t.at(i) == QLatin1Char('.')))
        --i;
    return i < 0 || !(IsAsciiLetter(t.at(i)) || t.at(i) == QLatin1Char('$'));
}

bool IsBracket(QChar c) { return c == QLatin1Char('(') || c == QLatin1Char(')'); }
bool IsAlphanumeric(QChar c) { return IsAsciiLetter(c) || IsAsciiDigit(c); }

} // namespace

QString StripBlanks(const QString &text, TNumberSet set) {
    const QChar blank = QLatin1Char(' ');
    if (!text.contains(blank))
        return text;
    const int n = int(text.size());
    std::vector<bool> keep;
    if (set == TNumberSet::Real) {
        for (int i = 0; i + 3 <= n; ++i) {
            // Between blanks only the lower-case word is the operator: "x MOD 4"
            // stays the name it was always read as.
            const int k = WordOperatorAt(QStringView(text).mid(i, 3));
            if (k < 0 || QStringView(text).mid(i, 3) != WordOperatorName(k))
                continue;
            const QChar left = i > 0 ? text.at(i - 1) : QChar();
            const QChar right = i + 3 < n ? text.at(i + 3) : QChar();
            const bool leftOk = left == blank || IsBracket(left) || (IsAsciiDigit(left) && EndsNumber(text, i - 1));
            const bool rightOk = right == blank || IsBracket(right) || IsAsciiDigit(right);
            if (!leftOk || !rightOk || (left != blank && right != blank))
                continue;
            if (keep.empty())
                keep.assign(size_t(n), false);
            if (left == blank) {
                int k = i - 1;
                while (k >= 0 && text.at(k) == blank)
                    --k;
                keep[size_t(i - 1)] = k >= 0 && IsAlphanumeric(text.at(k));
            }
            if (right == blank) {
                int k = i + 3;
                while (k < n && text.at(k) == blank)
                    ++k;
                keep[size_t(i + 3)] = k < n && IsAlphanumeric(text.at(k));
            }
        }
    }
    QString out(n, Qt::Uninitialized);
    QChar *to = out.data();
    for (int i = 0; i < n; ++i)
        if (text.at(i) != blank || (!keep.empty() && keep[size_t(i)]))
            *to++ = text.at(i);
    out.truncate(int(to - out.constData()));
    return out;
}

int PositionWithoutBlanks(QStringView stripped, int pos) {
    int blanks = 0;
    for (int i = 0; i < pos && i < stripped.size(); ++i)
        blanks += stripped.at(i) == QLatin1Char(' ');
    return pos - blanks;
}

// --- spans -----------------------------------------------------------------

void AdjustSpanToTyped(const QString &typed, TChyba &err) {
    if (err.SpanStart == 0 && err.SpanEnd == 0)
        return;
    // SpanStart grows by the spaces before its (SpanStart + 1)-th non-space
    // character, SpanEnd by the spaces before its SpanEnd-th one.
    const qint32 wantStart = err.SpanStart + 1;
    const qint32 wantEnd = err.SpanEnd;
    qint32 spaces = 0, nonSpaces = 0, spacesBeforeLast = 0;
    qint32 addStart = -1, addEnd = -1;
    for (QChar c : typed) {
        if (c == QLatin1Char(' ')) {
            ++spaces;
            continue;
        }
        ++nonSpaces;
        spacesBeforeLast = spaces;
        if (nonSpaces == wantStart)
            addStart = spaces;
        if (nonSpaces == wantEnd)
            addEnd = spaces;
        if (addStart >= 0 && (addEnd >= 0 || wantEnd < 1))
            break;
    }
    if (addStart < 0)
        addStart = spacesBeforeLast;
    if (addEnd < 0)
        addEnd = wantEnd < 1 ? 0 : spacesBeforeLast;
    err.SpanStart += addStart;
    err.SpanEnd += addEnd;
}

// --- brackets ----------------------------------------------------------------

void CheckBrackets(QStringView text, const QString &typed, TChyba &err) {
    int depth = 0;
    int stray = 0;     // the first ")" that closes nothing
    int lastOuter = 0; // the last "(" that opened depth 1
    const int n = int(text.size());
    for (int i = 1; i <= n; ++i) {
        const QChar c = text.at(i - 1);
        if (c == QLatin1Char('(')) {
            if (++depth == 1)
                lastOuter = i;
        } else if (c == QLatin1Char(')')) {
            if (--depth < 0 && stray == 0)
                stray = i;
        }
    }
    if (stray > 0) {
        err.Code = TErrorCode::StrayClose;
        err.SpanStart = stray - 1;
        err.SpanEnd = stray;
    } else if (depth > 0) {
        err.Code = TErrorCode::UnclosedBracket;
        err.SpanStart = lastOuter - 1;
        err.SpanEnd = lastOuter;
    } else {
        return;
    }
    AdjustSpanToTyped(typed, err);
}

// --- implicit multiplication and names -------------------------------------

void InsertImplicitMultiplication(QString &expr, const TCharSet &wordTailChars, const TCharSet &operandChars,
                                  TNumberSet numberSet) {
    const QString copy = expr;
    const int n = int(copy.size());
    QString out;
    out.reserve(n + n / 4 + 1);
    if (n > 0)
        out += copy.at(0);
    int i = 2; // 1-based position in the copy
    while (i <= n) {
        const QChar c = copy.at(i - 2);
        const QChar d = copy.at(i - 1);
        const bool closes =
            c == QLatin1Char('!') || c == QLatin1Char('%') || c == QLatin1Char(')') || c == QLatin1Char(']');
        if (closes && (d == QLatin1Char('(') || d == QLatin1Char('['))) {
            out += QLatin1Char('*');
        } else if (closes && (InSet(d, operandChars) || d == QLatin1Char('$'))) {
            int j = i;
            while (j <= n && InSet(copy.at(j - 1), operandChars))
                ++j;
            const QString run = copy.mid(i - 1, j - i);
            if (!IsWordOperator(run, wordTailChars, numberSet))
                out += QLatin1Char('*');
            if (j > i) { // the run is taken whole; the scan goes on after it
                out += QStringView(copy).mid(i - 1, j - i);
                i = j;
                continue;
            }
        }
        out += d;
        ++i;
    }
    expr = out;
}

bool IsWordOperator(QStringView token, const TCharSet &wordTailChars, TNumberSet numberSet) {
    if (numberSet != TNumberSet::Real || WordOperatorAt(token) < 0)
        return false;
    for (int i = 3; i < token.size(); ++i)
        if (!InSet(token.at(i), wordTailChars))
            return false;
    return true;
}

namespace {

bool IsExponentLead(QChar c) {
    return IsAsciiDigit(c) || c == QLatin1Char(',') || c == QLatin1Char('.') || c == QLatin1Char('E') ||
           c == QLatin1Char('e');
}

} // namespace

bool IsImaginaryUnitToken(QStringView token, QChar unit) {
    if (token.isEmpty() || AsciiLower(token.at(0)) != AsciiLower(unit))
        return false;
    // The coefficient's digits, and after them perhaps an exponent letter
    // with its digits ("j5E13"; "j5E" before "-4" of "j5E-4").
    int i = 1;
    while (i < token.size() && IsAsciiDigit(token.at(i)))
        ++i;
    if (i > 1 && i < token.size() && AsciiLower(token.at(i)) == QLatin1Char('e'))
        ++i;
    while (i < token.size() && IsAsciiDigit(token.at(i)))
        ++i;
    return i == token.size();
}

TNameKind NameKind(QStringView run, const TEvaluationContext &context, TFunction *function) {
    const int index = FunctionIndex(run);
    if (index >= 0) {
        if (function)
            *function = TFunction(index);
        return TNameKind::Function;
    }
    if (IsWordOperator(run, WordTailWithExp, context.NumberSet))
        return TNameKind::WordOperator;
    if (context.NumberSet == TNumberSet::Complex) {
        if (run.size() == 1 && AsciiLower(run.at(0)) == QLatin1Char('e'))
            return TNameKind::LoneE;
        if (IsImaginaryUnitToken(run, context.ImaginaryUnit))
            return TNameKind::ImaginaryUnit;
    }
    return TNameKind::Variable;
}

bool IsVariableName(QStringView token, const TEvaluationContext &context) {
    if (token.isEmpty() || token.startsWith(QLatin1Char('$')))
        return false;
    return NameKind(token, context) == TNameKind::Variable;
}

// --- user constants ---------------------------------------------------------------

namespace {

bool EndsDollarName(QChar c) {
    switch (c.unicode()) {
    case ' ': // before a word operator (StripBlanks)
    case '!':
    case '$':
    case '%':
    case '(':
    case ')':
    case '*':
    case '+':
    case '-':
    case '/':
    case '^': return true;
    default: return false;
    }
}

} // namespace

int DollarNameEnd(QStringView s, int i) {
    int j = i + 1;
    while (j < s.size() && !EndsDollarName(s.at(j)))
        ++j;
    return j;
}

int TConstantFinder::Find(QStringView reference) {
    if (!m_constants)
        return -1;
    const int count = m_constants->Count();
    constexpr int FewConstants = 16; // compared directly: no index pays for itself
    if (count <= FewConstants) {
        for (int k = 0; k < count; ++k)
            if (m_constants->Caption(k) == reference)
                return k;
        return -1;
    }
    if (!m_indexed) {
        m_index.reserve(count);
        for (int k = count; k-- > 0;) // from the last, so that the first of equal captions stays
            m_index.insert(m_constants->Caption(k), k);
        m_indexed = true;
    }
    return m_index.value(reference.toString(), -1);
}

int DollarReferenceEnd(const QString &s, int pos) { return DollarNameEnd(s, pos - 1) + 1; }

void CheckDollarReferences(const QString &expr, const TEvaluationContext &context, TChyba &err) {
    err.ClearCodeAndSpan();
    if (!expr.contains(QLatin1Char('$')))
        return;
    // Without a list of constants every reference is unknown.
    TConstantFinder constants(context.Constants);
    const QString copy = StripBlanks(expr, context.NumberSet);
    const int n = int(copy.size());
    for (int i = 0; i + 1 < n; ++i) {
        if (copy.at(i) != QLatin1Char('$'))
            continue;
        const int end = DollarNameEnd(copy, i);
        const QStringView ref = QStringView(copy).mid(i, end - i);
        if (constants.Find(ref) < 0) {
            err.Code = TErrorCode::UnknownConstant;
            err.Param1 = ref.toString();
            err.SpanStart = PositionWithoutBlanks(copy, i);
            err.SpanEnd = PositionWithoutBlanks(copy, end);
            AdjustSpanToTyped(expr, err);
            return;
        }
        i = end - 1;
    }
}

// --- numbers ----------------------------------------------------------------------

long double Factorial(quint16 n) {
    long double r = 1.0L;
    for (unsigned k = 2; k <= n; ++k)
        r *= static_cast<long double>(k);
    return r;
}

bool HasFraction(long double x) {
    // rint in the rounding mode in force: truncl would switch the mode and
    // back, which costs more than the rest of an operation.
    return x - __builtin_rintl(x) != 0.0L;
}

// --- plain text operations ----------------------------------------------------------

void ReplaceAll(QString &s, const QString &oldText, const QString &newText) {
    if (oldText.isEmpty())
        return;
    qsizetype p = s.indexOf(oldText);
    if (p < 0)
        return;
    const qsizetype m = oldText.size();
    const qsizetype limit = 4 * std::max<qsizetype>(s.size(), MaxExpressionLength);
    QString out = s.left(p);
    out.reserve(s.size());
    if (newText.contains(oldText)) {
        // A replacement that holds the old text would never end if done
        // again and again; it is then a single pass.
        qsizetype from = 0;
        while (p >= 0) {
            out += QStringView(s).mid(from, p - from);
            out += newText;
            if (out.size() > limit)
                throw EEngineRangeError("text too long");
            from = p + m;
            p = s.indexOf(oldText, from);
        }
        out += QStringView(s).mid(from);
        s = out;
        return;
    }
    // Replacing the first occurrence again and again, in one pass: the text
    // is read into out one character at a time, and an occurrence is
    // replaced as soon as out ends with it (the first to end is the first
    // to begin). Its replacement is read again before the rest, as it may
    // form a new occurrence with what stands before or after it. So out
    // never holds an occurrence, and the time is linear in the length.
    const bool grows = newText.size() > m;
    const QChar last = oldText.back();
    std::vector<QChar> again; // the replacement still to read, its next character on top
    qsizetype i = p;
    for (;;) {
        QChar c;
        if (!again.empty()) {
            c = again.back();
            again.pop_back();
        } else if (i < s.size()) {
            c = s.at(i++);
        } else {
            break;
        }
        out += c;
        if (c == last && out.size() >= m && QStringView(out).right(m) == oldText) {
            out.chop(m);
            for (qsizetype k = newText.size(); k-- > 0;)
                again.push_back(newText.at(k));
            if (grows && out.size() + qsizetype(again.size()) + (s.size() - i) > limit)
                throw EEngineRangeError("text too long");
        }
    }
    s = out;
}

void DeleteAll(QString &s, const QString &sub) { ReplaceAll(s, sub, QString()); }

bool AllCharsInSet(const QString &s, const TCharSet &chars) {
    for (QChar c : s)
        if (!InSet(c, chars))
            return false;
    return true;
}

namespace {

// Is the "+" or "-" at index j the sign of an exponent, as in "2e-5"?
bool IsExponentSign(const QString &s, int j) {
    if (j < 2)
        return false;
    const QChar e = s.at(j - 1), lead = s.at(j - 2);
    return (e == QLatin1Char('e') || e == QLatin1Char('E')) && IsExponentLead(lead) && lead != QLatin1Char('e') &&
           lead != QLatin1Char('E');
}

} // namespace

void MoveMinusBeforeProduct(QString &s) {
    if (!s.contains(QLatin1String("*-")))
        return;
    // The text is rewritten in one go: minus signs deleted after a "*" are
    // marked, and the signs moved to the front of a product are counted in
    // the slot before the character they precede (slot i stands before s[i]).
    const int n = int(s.size());
    QList<int> inserted(n + 1, 0);
    QList<bool> deleted(n, false);
    int prevStar = -1, prevSlot = -1; // the last "*" whose minus moved, and where it went
    // Walk left from the "*" at p over the left factor, over whole bracket
    // groups, to the nearest "(", "+" or "-" at depth 0 (or to the start of
    // the text); the sign of an exponent belongs to its number. A walk that
    // reaches the previous "*" at depth 0 ends where that one ended.
    auto slotFor = [&](int p) {
        if (p == prevStar)
            return prevSlot;
        int depth = 0;
        for (int j = p - 1;; --j) {
            if (inserted[j + 1] > 0 && depth == 0)
                return j + 1;
            if (j < 0)
                return 0;
            if (j == prevStar && depth == 0)
                return prevSlot;
            if (deleted[j])
                continue;
            const QChar c = s.at(j);
            if (c == QLatin1Char(')')) {
                ++depth;
            } else if (c == QLatin1Char('(')) {
                if (depth == 0)
                    return j + 1;
                --depth;
            } else if (depth == 0 && (c == QLatin1Char('+') || c == QLatin1Char('-')) &&
                       !(inserted[j] == 0 && IsExponentSign(s, j))) {
                return j + 1;
            }
        }
    };
    for (int p = 0; p < n; ++p) {
        if (s.at(p) != QLatin1Char('*'))
            continue;
        for (int k = p + 1; k < n && s.at(k) == QLatin1Char('-'); ++k) {
            deleted[k] = true;
            const int slot = slotFor(p);
            ++inserted[slot];
            prevStar = p;
            prevSlot = slot;
        }
    }
    QString out;
    out.reserve(n + 1);
    for (int i = 0; i <= n; ++i) {
        for (int k = 0; k < inserted[i]; ++k)
            out += QLatin1Char('-');
        if (i < n && !deleted[i])
            out += s.at(i);
    }
    s = out;
}

void SimplifySigns(QString &s) {
    MoveMinusBeforeProduct(s);
    // Repeated until no pair is left: "--" becoming "+" can make a new "+-".
    for (;;) {
        ReplaceAll(s, QStringLiteral("+-"), QStringLiteral("-"));
        ReplaceAll(s, QStringLiteral("--"), QStringLiteral("+"));
        ReplaceAll(s, QStringLiteral("++"), QStringLiteral("+"));
        if (!s.contains(QLatin1String("+-")) && !s.contains(QLatin1String("--")))
            break;
    }
    if (s.startsWith(QLatin1Char('+')))
        s.remove(0, 1);
}

void RemoveSuperfluousBrackets(QString &s) {
    const int n = int(s.size());
    if (n == 0)
        return;
    // Matching brackets and a running count of operators, so that each pair
    // is judged without a rescan.
    QList<int> match(n, -1);
    QList<int> stack;
    QList<int> ops(n + 1, 0); // ops[i] = operators among the first i characters
    for (int i = 0; i < n; ++i) {
        const QChar c = s.at(i);
        ops[i + 1] = ops[i];
        switch (c.unicode()) {
        case '+':
        case '-':
        case '*':
        case '/':
        case '^': ++ops[i + 1]; break;
        case '(': stack.append(i); break;
        case ')':
            if (!stack.isEmpty()) {
                const int open = stack.takeLast();
                match[open] = i;
                match[i] = open;
            }
            break;
        default: break;
        }
    }
    QList<bool> removed(n, false);
    int removedBefore = 0;          // removed characters before i
    QList<int> removedClosersAhead; // closers of removed pairs that enclose i, innermost last
    for (int i = 0; i < n; ++i) {
        while (!removedClosersAhead.isEmpty() && removedClosersAhead.last() < i) {
            removedClosersAhead.removeLast();
            ++removedBefore;
        }
        if (s.at(i) != QLatin1Char('(') || match[i] < 0)
            continue;
        const int close = match[i];
        const bool holdsOperator = ops[close] - ops[i + 1] > 0;
        const bool first = i - removedBefore == 0;
        const bool last = (n - 1 - close) == int(removedClosersAhead.size());
        if (!holdsOperator || (first && last)) {
            removed[i] = removed[close] = true;
            ++removedBefore;
            removedClosersAhead.append(close);
        }
    }
    QString out;
    out.reserve(n);
    for (int i = 0; i < n; ++i)
        if (!removed[i])
            out += s.at(i);
    s = out;
}

void DeleteTokenAtCaret(QString &s, int &caret) {
    if (s.isEmpty())
        return;
    static const TCharSet delimiters = OperatorChars + QStringLiteral("()");
    const int n = int(s.size());
    caret = qBound(0, caret, n);
    int b = caret;
    while (b > 0 && !InSet(At(s, b), delimiters))
        --b;
    int e = caret == 0 ? 1 : caret;
    while (e <= n && !InSet(At(s, e), delimiters))
        ++e;
    if (e - 1 >= b + 1)
        Delete(s, b + 1, e - 1 - b);
    caret = b;
}
