#include "Analyzator.h"

#include "PrevodySustav.h"
#include "uCisla.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
namespace legacy {

namespace {

// Pictures of the engine's number texts.
const QString OperatorResultPicture = QStringLiteral("0.##############################E-0");
const QString FunctionResultPicture = QStringLiteral("0.#################");
const QString PackedAnglePicture = QStringLiteral("0.0###############");
const QString SixteenDecimalsPicture = QStringLiteral("0.0000000000000000");

constexpr long double Pi = std::numbers::pi_v<long double>;
constexpr long double DegreesToRadians = Pi / 180.0L;
constexpr long double GradsToRadians = Pi / 200.0L;
constexpr long double RadiansToDegrees = 180.0L / Pi;
constexpr long double RadiansToGrads = 200.0L / Pi;

// The largest factorial operand the evaluator accepts.
constexpr long double MaxFactorialOperand = 65535.0L;

inline bool IsSignPairOperator(QChar c) {
    return c == QLatin1Char('/') || c == QLatin1Char('*') || c == QLatin1Char('+') || c == QLatin1Char('-');
}

// True when the "+" at 0-based index q of s directly follows "/", "*", "+",
// "-", "nad", "div" or "mod".
bool PlusFollowsOperator(const QString &s, int q) {
    if (q < 1)
        return false;
    if (IsSignPairOperator(s.at(q - 1)))
        return true;
    if (q < 3)
        return false;
    const QStringView word = QStringView(s).mid(q - 3, 3);
    return word == QLatin1String("nad") || word == QLatin1String("div") || word == QLatin1String("mod");
}

void ThrowIfTooLong(const QString &expr) {
    if (expr.size() > MaxExpressionLength)
        throw EEngineRangeError("expression too long");
}

// Where a splice put its text: 0-based, end exclusive.
struct TSplice {
    int start;
    int end;
};

// Replaces `count` characters at 0-based index `at` by `text`, then tidies the
// signs as ReplaceOnce does: a "+" that now directly follows an operator is
// deleted, and so is a "+" at the very start. The text outside the splice is
// expected to be tidy already, so only the splice and its borders are looked
// at. Callers always pass a range that lies inside s.
TSplice Splice(QString &s, int at, int count, const QString &text) {
    s.replace(at, count, text);
    TSplice r{at, at + int(text.size())};
    int q = at;
    int last = r.end; // the character after the text is looked at too
    while (q <= last && q < s.size()) {
        if (s.at(q) == QLatin1Char('+') && PlusFollowsOperator(s, q)) {
            s.remove(q, 1);
            --last;
            if (q < r.end)
                --r.end;
        } else {
            ++q;
        }
    }
    if (!s.isEmpty() && s.at(0) == QLatin1Char('+')) {
        s.remove(0, 1);
        if (r.start > 0)
            --r.start;
        if (r.end > 0)
            --r.end;
    }
    return r;
}

// The text with the first `open` and then the first `close` deleted.
QString WithoutBrackets(QString text, QChar open, QChar close) {
    const int o = int(text.indexOf(open));
    if (o >= 0)
        text.remove(o, 1);
    const int c = int(text.indexOf(close));
    if (c >= 0)
        text.remove(c, 1);
    return text;
}

// The text of a token with its first "[" and first "]" deleted.
QString TokenText(const QString &token) { return WithoutBrackets(token, QLatin1Char('['), QLatin1Char(']')); }

// The value of a token, read from its text without its first "[" and first
// "]". The usual "[number]" is read in place.
bool TokenValue(QStringView token, long double &value) {
    const qsizetype n = token.size();
    if (n >= 2 && token.front() == QLatin1Char('[') && token.back() == QLatin1Char(']') &&
        token.indexOf(QLatin1Char(']')) == n - 1)
        return TryStrToFloat(QString::fromRawData(token.data() + 1, n - 2), value);
    return TryStrToFloat(TokenText(token.toString()), value);
}

// The operands beside an operator of length opLen at 1-based position p:
// leftward up to and including the first "[", rightward up to and including
// the first "]". The views point into expr.
void OperandsAt(const QString &expr, int p, int opLen, QStringView &left, QStringView &right) {
    left = QStringView();
    right = QStringView();
    if (p < 1 || p > expr.size())
        return;
    const QStringView all(expr);
    if (p > 1) {
        int j = p - 1;
        while (j > 1 && expr.at(j - 1) != QLatin1Char('['))
            --j;
        left = all.mid(j - 1, p - j);
    }
    const int from = p - 1 + opLen; // 0-based start of the right operand
    if (from < expr.size()) {
        const int close = int(expr.indexOf(QLatin1Char(']'), from));
        right = close < 0 ? all.mid(from) : all.mid(from, close - from + 1);
    }
}

void SetCode(TChyba &err, quint8 code) {
    err.Code = code;
    err.SpanStart = 0;
    err.SpanEnd = 0;
}

// For the stages: sets the code (or takes over a failed step's record) and
// says that the evaluation stops.
bool Stop(TChyba &err, quint8 code) {
    SetCode(err, code);
    return false;
}
bool Stop(TChyba &err, const TChyba &failed) {
    err = failed;
    return false;
}

// The letters a text holds, without regard to case, one bit per letter.
quint32 LetterMask(QStringView text) {
    quint32 mask = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= u'a' && u <= u'z')
            mask |= 1u << (u - u'a');
        else if (u >= u'A' && u <= u'Z')
            mask |= 1u << (u - u'A');
    }
    return mask;
}

// True when the text holds a letter other than the exponent "e" / "E", that
// is when a function name or a word operator may stand in it.
bool HoldsWordLetters(const QString &expr) {
    return (LetterMask(expr) & ~(1u << ('e' - 'a'))) != 0;
}

// --- the stages of the evaluator ---------------------------------------------
// Each returns false when the evaluation stops (Err then holds the code).

// Replaces each occurrence of a sign pair, from the left, by one sign.
void ReplaceSignPairs(QString &expr, QStringView pair, const QString &sign) {
    int from = 0;
    int p;
    while ((p = int(expr.indexOf(pair, from))) >= 0)
        from = std::max(0, Splice(expr, p, 2, sign).start - 1);
}

void ReplaceDoubleMinus(QString &expr) { ReplaceSignPairs(expr, u"--", QStringLiteral("+")); }

bool FunctionStage(QString &expr, TChyba &err, const QStringList &funcNames) {
    const quint32 present = LetterMask(expr);
    if ((present & ~(1u << ('e' - 'a'))) == 0)
        return true;
    for (const QString &name : funcNames) {
        const quint32 needed = LetterMask(name);
        if ((needed & present) != needed)
            continue; // a letter of the name is missing: it cannot occur
        int from = 0;
        int p;
        while ((p = int(expr.indexOf(name, from))) >= 0) {
            // the argument token follows the name; its text is taken as in
            // "name[text]"
            QStringView left, right;
            OperandsAt(expr, p + int(name.size()) + 1, 1, left, right);
            const QString arg = TokenText(right.toString());
            long double x = 0;
            if (!TryStrToFloat(arg, x))
                return Stop(err, 1);
            long double v = 0;
            TChyba local;
            ApplyFunction(name, v, local, x);
            if (local.Code != 0)
                return Stop(err, local);
            const QString old = name + QLatin1Char('[') + arg + QLatin1Char(']');
            if (QStringView(expr).mid(p, old.size()) != old)
                return Stop(err, 1);
            const QString token = QLatin1Char('[') + FormatFloat(FunctionResultPicture, v) + QLatin1Char(']');
            from = Splice(expr, p, int(old.size()), token).start;
        }
    }
    return true;
}

void SignStage(QString &expr) {
    ReplaceSignPairs(expr, u"-+", QStringLiteral("-"));
    ReplaceDoubleMinus(expr);
}

bool PercentStage(QString &expr, TChyba &err) {
    static const TCharSet operandChars = QStringLiteral(",.0123456789Ee[]");
    int from = 0;
    int p;
    while ((p = int(expr.indexOf(QLatin1Char('%'), from))) >= 0) {
        // Walk left over the operand; j ends on the first character not taken
        // (0 when position 1 was taken). Positions are 1-based.
        int j = p;
        while (j >= 1) {
            const QChar c = expr.at(j - 1);
            if (InSet(c, operandChars)) {
                --j;
            } else if ((c == QLatin1Char('+') || c == QLatin1Char('-')) && !IsOutsideNumberToken(j, expr)) {
                --j;
            } else {
                break;
            }
        }
        const QString tok = expr.mid(j, p - j);
        long double b = 0;
        if (!TokenValue(tok, b))
            return Stop(err, 1);
        const QChar sign = j >= 1 ? expr.at(j - 1) : QChar();
        TSplice s;
        if (j > 1 && sign == QLatin1Char('+'))
            s = Splice(expr, j - 1, p - j + 2, QLatin1Char('*') + FormatNumberToken((b + 100.0L) / 100.0L));
        else if (j > 1 && sign == QLatin1Char('-'))
            s = Splice(expr, j - 1, p - j + 2, QLatin1Char('*') + FormatNumberToken((100.0L - b) / 100.0L));
        else
            s = Splice(expr, j, p - j + 1, FormatNumberToken(b / 100.0L));
        from = s.start;
    }
    return true;
}

// Replaces the token before the "!" at 0-based index p by its factorial;
// start receives where the new token begins.
bool ApplyFactorialAt(QString &expr, int p, TChyba &err, int &start) {
    QStringView left, right;
    OperandsAt(expr, p + 1, 1, left, right);
    long double a = 0;
    if (!TokenValue(left, a))
        return Stop(err, 1);
    long double v = 0;
    TChyba local;
    ApplyOperator(v, QLatin1Char('!'), local, a, 0);
    if (local.Code != 0)
        return Stop(err, local);
    start = Splice(expr, p - int(left.size()), int(left.size()) + 1, FormatNumberToken(v)).start;
    return true;
}

bool FactorialStage(QString &expr, TChyba &err) {
    int from = 0;
    int p;
    while ((p = int(expr.indexOf(QLatin1Char('!'), from))) >= 1) {
        if (!ApplyFactorialAt(expr, p, err, from))
            return false;
    }
    return true;
}

bool PowerStage(QString &expr, TChyba &err) {
    int before = int(expr.size()) - 1; // 0-based index the search goes back from
    while (before >= 1) {
        int p = int(expr.lastIndexOf(QLatin1Char('^'), before));
        if (p < 1)
            break;
        if (expr.at(p - 1) == QLatin1Char('!')) {
            // A factorial as the base ("3!^2") is taken first; the power of a
            // factorial's operand ("2^3!") still goes before the factorial.
            int start = 0;
            if (!ApplyFactorialAt(expr, p - 1, err, start))
                return false;
            p = int(expr.indexOf(QLatin1Char('^'), start));
        }
        QStringView left, right;
        OperandsAt(expr, p + 1, 1, left, right);
        long double a = 0, b = 0;
        if (!TokenValue(left, a) || !TokenValue(right, b))
            return Stop(err, 1);
        if (a < 0 && b != std::trunc(b))
            return Stop(err, 21);
        if (a == 0 && b < 0)
            return Stop(err, 25);
        const long double v = std::pow(a, b);
        if (!std::isfinite(v))
            return Stop(err, 20);
        const TSplice s = Splice(expr, p - int(left.size()), int(left.size() + 1 + right.size()), FormatNumberToken(v));
        before = s.start - 1;
    }
    return true;
}


// n over k for whole n, k with 0 <= k <= n, as a product that stays exact
// while the values fit and overflows only when the result does.
long double Binomial(long double n, long double k) {
    const long double m = std::min(k, n - k);
    long double v = 1;
    for (long double i = 1; i <= m && std::isfinite(v); i += 1)
        v = v * (n - m + i) / i;
    return v;
}

bool BinomialStage(QString &expr, TChyba &err) {
    int from = 0;
    int p;
    while ((p = int(expr.indexOf(QStringView(u"nad"), from))) >= 0) {
        QStringView left, right;
        OperandsAt(expr, p + 1, 3, left, right);
        long double n = 0, k = 0;
        if (!TokenValue(left, n) || !TokenValue(right, k))
            return Stop(err, 1);
        if (HasFraction(n) || HasFraction(k) || n < 0 || k < 0) {
            SetCode(err, 27);
            err.Param1 = QStringLiteral("nad");
            return false;
        }
        if (k > n)
            return Stop(err, 28);
        const long double v = n > MaxFactorialOperand ? HUGE_VALL : Binomial(n, k);
        if (!std::isfinite(v))
            return Stop(err, 20);
        from = Splice(expr, p - int(left.size()), int(left.size() + 3 + right.size()), FormatNumberToken(v)).start;
    }
    return true;
}

bool IntegerDivisionStage(QString &expr, TChyba &err) {
    int from = 0;
    while (true) {
        const int pd = int(expr.indexOf(QStringView(u"div"), from));
        const int pm = int(expr.indexOf(QStringView(u"mod"), from));
        if (pd < 0 && pm < 0)
            break;
        const bool isDiv = pm < 0 || (pd >= 0 && pd < pm);
        const int p = isDiv ? pd : pm;
        QStringView left, right;
        OperandsAt(expr, p + 1, 3, left, right);
        long double a = 0, b = 0;
        if (!TokenValue(left, a) || !TokenValue(right, b))
            return Stop(err, 1);
        if (HasFraction(a) || HasFraction(b)) {
            SetCode(err, 27);
            err.Param1 = isDiv ? QStringLiteral("div") : QStringLiteral("mod");
            return false;
        }
        qint64 ia = 0, ib = 0;
        try {
            ia = RoundToInt64(a);
            ib = RoundToInt64(b);
        } catch (const EEngineRangeError &) {
            return Stop(err, 20);
        }
        if (ib == 0)
            return Stop(err, 25);
        qint64 q;
        if (isDiv) {
            if (ia == std::numeric_limits<qint64>::min() && ib == -1)
                return Stop(err, 20);
            q = ia / ib;
        } else {
            q = ib == -1 ? 0 : ia % ib;
        }
        from = Splice(expr, p - int(left.size()), int(left.size() + 3 + right.size()),
                      FormatNumberToken(static_cast<long double>(q)))
                   .start;
    }
    return true;
}

// Runs "*" and "/" (or, when additive, "+" and "-") from left to right.
bool LeftToRightStage(QString &expr, TChyba &err, bool additive) {
    int i = 2; // 1-based
    while (i < expr.size()) {
        const QChar c = expr.at(i - 1);
        const bool isOp = additive ? ((c == QLatin1Char('+') || c == QLatin1Char('-')) && IsOutsideNumberToken(i, expr))
                                   : (c == QLatin1Char('*') || c == QLatin1Char('/'));
        if (!isOp) {
            ++i;
            continue;
        }
        QStringView left, right;
        OperandsAt(expr, i, 1, left, right);
        if (additive && expr.at(i - 2) != QLatin1Char(']'))
            left = QStringView(); // a sign operand is a whole token only
        long double a = 0, b = 0, v = 0;
        if (!TokenValue(left, a) || !TokenValue(right, b))
            return Stop(err, 1);
        ApplyOperator(v, c, err, a, b);
        if (err.Code != 0)
            return false;
        const TSplice s = Splice(expr, i - 1 - int(left.size()), int(left.size() + 1 + right.size()), FormatNumberToken(v));
        i = additive ? s.start + 2 : std::max(2, s.start + 1);
    }
    return true;
}

// Steps of the evaluation after the bracket groups, on a text without
// brackets. Returns false when Err holds a code.
bool EvaluateFlat(QString &expr, TChyba &err, const QStringList &funcNames) {
    if (!FunctionStage(expr, err, funcNames))
        return false;
    SignStage(expr);
    // The stages below run only when their operator occurs; only the word
    // operators are left to bring letters in now.
    const bool words = HoldsWordLetters(expr);
    if ((expr.contains(QLatin1Char('%')) && !PercentStage(expr, err)) ||
        (expr.contains(QLatin1Char('^')) && !PowerStage(expr, err)) ||
        (expr.contains(QLatin1Char('!')) && !FactorialStage(expr, err)) ||
        (words && (!BinomialStage(expr, err) || !IntegerDivisionStage(expr, err))) ||
        !LeftToRightStage(expr, err, false))
        return false;
    if (expr.startsWith(QLatin1Char('+')))
        expr.remove(0, 1);
    ReplaceDoubleMinus(expr);
    if (expr.startsWith(QLatin1Char('-')))
        expr.prepend(QStringLiteral("[0]"));
    return LeftToRightStage(expr, err, true);
}

// True when the text is one token "[...]" whose text holds only digits,
// separators, exponent letters and single signs: no stage would change it,
// so it is its own value as a group.
bool IsPlainToken(QStringView text) {
    const qsizetype n = text.size();
    if (n < 3 || text.front() != QLatin1Char('[') || text.back() != QLatin1Char(']'))
        return false;
    QChar previous;
    for (qsizetype i = 1; i + 1 < n; ++i) {
        const QChar c = text.at(i);
        const bool sign = c == QLatin1Char('+') || c == QLatin1Char('-');
        if (!(IsAsciiDigit(c) || c == QLatin1Char(',') || c == QLatin1Char('.') || c == QLatin1Char('e') ||
              c == QLatin1Char('E') || sign))
            return false;
        if (sign && (previous == QLatin1Char('+') || previous == QLatin1Char('-')))
            return false;
        previous = c;
    }
    return true;
}

// How deep the evaluation of bracket groups is nested; 0 at the top.
struct TGroupLevel {
    static inline int depth = 0;
    TGroupLevel() { ++depth; }
    ~TGroupLevel() { --depth; }
    TGroupLevel(const TGroupLevel &) = delete;
    TGroupLevel &operator=(const TGroupLevel &) = delete;
};

void PrepareExpression(QString &expr) {
    expr.remove(QLatin1Char(' '));
    expr += QStringLiteral("+0");
    // Constant references first: the variable substitution lower-cases the
    // text, and references such as "$Na" must still match their captions.
    ReplaceDollarReferences(expr);
    SubstituteVariableValues(expr, Engine().VariableValues);
    MarkNumbers(expr);
    InsertImplicitMultiplication(expr, WordTailReal, DigitsAndLetters);
    expr = AsciiLower(expr);
}

} // namespace

// --- evaluator -----------------------------------------------------------------

void EvaluateReal(QString expr, TChyba &err, const QStringList &funcNames, QString &r) {
    TEngineContext &engine = Engine();
    if (!engine.EvaluationOk)
        return;
    err.ClearCodeAndSpan();
    ThrowIfTooLong(expr);
    if (!engine.RealExpressionPrepared) {
        PrepareExpression(expr);
        engine.RealExpressionPrepared = true;
        ThrowIfTooLong(expr);
    }
    NormalizeSignPairs(expr);

    // Bracket groups, innermost first. Everything after the last "(" is free
    // of brackets, so the search for the next one goes back from the group
    // just replaced.
    int before = int(expr.size()) - 1;
    while (before >= 0) {
        const int open = int(expr.lastIndexOf(QLatin1Char('('), before));
        if (open < 0)
            break;
        const int close = int(expr.indexOf(QLatin1Char(')'), open + 1));
        if (close < 0 || close == open + 1) {
            SetCode(err, close < 0 ? 11 : 9);
            r.clear();
            return;
        }
        TChyba local;
        QString sub;
        const QStringView inner = QStringView(expr).mid(open + 1, close - open - 1);
        if (IsPlainToken(inner)) {
            sub = inner.toString();
        } else {
            const TGroupLevel level;
            EvaluateReal(inner.toString(), local, funcNames, sub);
        }
        if (local.Code == 0 && sub.isEmpty())
            SetCode(local, 1); // a group without a value
        if (local.Code != 0) {
            err = local;
            r.clear();
            return;
        }
        before = Splice(expr, open, close - open + 1, sub).start - 1;
    }
    if (expr.contains(QLatin1Char(')'))) {
        SetCode(err, 10);
        r.clear();
        return;
    }
    if (!engine.EvaluationOk)
        return;
    ReplaceDoubleMinus(expr);
    if (expr.isEmpty())
        return;
    if (!EvaluateFlat(expr, err, funcNames))
        return;

    engine.EvaluationOk = !expr.isEmpty();
    if (expr.indexOf(QLatin1Char('-')) == 0 && expr.indexOf(QLatin1Char('[')) == 1) {
        expr[0] = QLatin1Char('[');
        expr[1] = QLatin1Char('-');
    }
    const int dd = int(expr.indexOf(QStringView(u"--")));
    if (dd >= 0)
        expr.replace(dd, 2, QStringLiteral("+"));
    // The whole expression must have come down to one number; what is left
    // of a malformed text is an error, never a result.
    long double value = 0;
    if (TGroupLevel::depth == 0 && !TokenValue(expr, value)) {
        SetCode(err, 1);
        engine.EvaluationOk = false;
        return;
    }
    r = expr;
}

void PrepareExpressionWithVariable(QString &expr, const QString &varName) {
    ThrowIfTooLong(expr);
    expr.remove(QLatin1Char(' '));
    expr += QStringLiteral("+0");
    // Constants first, before anything lower-cases the text (see EvaluateReal).
    ReplaceDollarReferences(expr);
    ReplaceIdentifier(expr, varName, QStringLiteral("[#]"));
    SubstituteVariableValues(expr, Engine().VariableValues);
    MarkNumbers(expr);
    InsertImplicitMultiplication(expr, WordTailWithExp, DigitsAndLetters);
    expr = AsciiLower(expr);
    ReplaceIdentifier(expr, QStringLiteral("#"), varName);
    ThrowIfTooLong(expr);
}

void ReplaceIdentifier(QString &expr, const QString &name, const QString &replacement) {
    expr = AsciiLower(expr);
    const QString n = AsciiLower(name);
    if (n.isEmpty())
        return;
    QString rep = replacement;
    if (rep.startsWith(QLatin1Char('+')))
        rep.remove(0, 1);
    bool found = false;
    int from = 0;
    int p;
    while ((p = int(expr.indexOf(n, from))) >= 0) {
        found = true;
        const int after = p + int(n.size());
        const bool letterBefore = p > 0 && IsAsciiLetter(expr.at(p - 1));
        const bool wordAfter = after < expr.size() && (IsAsciiLetter(expr.at(after)) || IsAsciiDigit(expr.at(after)));
        if (letterBefore || wordAfter) {
            from = p + 1; // part of a longer name: pass it
            continue;
        }
        expr.replace(p, n.size(), rep);
        from = p + int(rep.size());
    }
    if (found) {
        NormalizeSignPairs(expr);
        if (expr.startsWith(QLatin1Char('+')))
            expr.remove(0, 1);
    }
    expr = AsciiLower(expr);
}

void ReplaceOnce(QString &s, const QString &oldText, const QString &newText, bool fromEnd) {
    const int p = fromEnd ? LastPos(oldText, s) : Pos(oldText, s);
    if (p == 0)
        return;
    s.replace(p - 1, oldText.size(), newText);
    NormalizeSignPairs(s);
    if (s.startsWith(QLatin1Char('+')))
        s.remove(0, 1);
}

void NormalizeSignPairs(QString &s) {
    // Deleting such a "+" only ever brings another "+" behind the same
    // operator, so one pass that looks at what it has kept is enough.
    int w = 0;
    while (w < s.size() && !(s.at(w) == QLatin1Char('+') && PlusFollowsOperator(s, w)))
        ++w;
    if (w == s.size())
        return;
    for (int q = w; q < s.size(); ++q) {
        const QChar c = s.at(q);
        if (c == QLatin1Char('+') && PlusFollowsOperator(s, w))
            continue; // s[0..w) is the kept text, so the test reads it
        s[w++] = c;
    }
    s.truncate(w);
}

void MarkNumbers(QString &expr) {
    const QString s = AsciiLower(expr);
    QString out;
    out.reserve(s.size() + 16);
    // A "[" or "]" is not doubled: a number already in a token stays as it is.
    auto put = [&out](QChar c) {
        if ((c == QLatin1Char('[') || c == QLatin1Char(']')) && !out.isEmpty() && out.back() == c)
            return;
        out += c;
    };
    const int n = int(s.size());
    int i = 0;
    while (i < n) {
        QChar c = s.at(i);
        if (!(IsAsciiDigit(c) || c == QLatin1Char(',') || c == QLatin1Char('.'))) {
            put(c);
            ++i;
            continue;
        }
        put(QLatin1Char('['));
        while (i < n) {
            c = s.at(i);
            const bool part = IsAsciiDigit(c) || c == QLatin1Char(',') || c == QLatin1Char('.') || c == QLatin1Char('e') ||
                              ((c == QLatin1Char('+') || c == QLatin1Char('-')) && s.at(i - 1) == QLatin1Char('e'));
            if (!part)
                break;
            out += c;
            ++i;
        }
        put(QLatin1Char(']'));
    }
    expr = out;
}

void ExtractOperands(const QString &expr, const QString &op, QString &left, QString &right, bool fromEnd) {
    const int p = fromEnd ? LastPos(op, expr) : Pos(op, expr);
    if (p == 0) {
        left.clear();
        right.clear();
        return;
    }
    QStringView l, r;
    OperandsAt(expr, p, int(op.size()), l, r);
    left = l.toString();
    right = r.toString();
}

void TokensToFloats(QString leftTok, QString rightTok, long double &a, long double &b, TChyba &err) {
    err.ClearCodeAndSpan();
    if (!TokenValue(leftTok, a) || !TokenValue(rightTok, b))
        err.Code = 1;
}

void ApplyOperator(long double &r, QChar op, TChyba &err, long double a, long double b) {
    err.ClearCodeAndSpan();
    auto fail = [&err](quint8 code) {
        err.Code = code;
        Engine().EvaluationOk = false;
    };
    long double v;
    switch (op.unicode()) {
    case '+': v = a + b; break;
    case '-': v = a - b; break;
    case '*': v = a * b; break;
    case '/':
        if (b == 0) {
            fail(25);
            return;
        }
        v = a / b;
        break;
    case '!':
        if (a < 0 || HasFraction(a)) {
            fail(24);
            r = 1;
            return;
        }
        if (a > MaxFactorialOperand) {
            fail(20);
            return;
        }
        v = Factorial(quint16(a));
        break;
    default:
        return;
    }
    if (!std::isfinite(v)) {
        fail(20);
        return;
    }
    r = v;
}

QString FormatNumberToken(long double value) {
    // Below the smallest normal value a number could not be read back.
    if (std::fabs(value) < std::numeric_limits<long double>::min())
        value = 0;
    QString token;
    token.reserve(32);
    token += QLatin1Char('[');
    token += FormatFloat(OperatorResultPicture, value);
    token += QLatin1Char(']');
    return token;
}

bool IsOutsideNumberToken(int pos, const QString &expr) {
    for (int i = std::min(pos, int(expr.size())); i >= 1; --i) {
        const QChar c = expr.at(i - 1);
        if (c == QLatin1Char(']'))
            return true;
        if (c == QLatin1Char('['))
            return false;
    }
    return true;
}

// --- built-in functions ------------------------------------------------------

namespace {

// The whole part and the fraction of a non-negative value as the packed
// angle picture writes them; false when the value is too large for the
// picture's plain form (it then holds whole degrees only).
bool SplitPacked(long double value, long double &whole, long double &fraction) {
    const QString t = FormatFloat(PackedAnglePicture, value);
    const int sep = int(t.indexOf(DecSep()));
    if (sep < 0 || t.contains(QLatin1Char('E')))
        return false;
    return TryStrToFloat(t.left(sep), whole) && TryStrToFloat(QLatin1Char('0') + t.mid(sep), fraction);
}

// The value cut (not rounded) to two decimals after rounding to sixteen.
long double CutToTwoDecimals(long double value) {
    const QString t = FormatFloat(SixteenDecimalsPicture, value);
    const int sep = int(t.indexOf(DecSep()));
    long double r = value;
    if (sep < 0 || t.contains(QLatin1Char('E')) || !TryStrToFloat(t.left(sep + 3), r))
        return value;
    return r;
}

bool IsName(const QString &name, const char *a, const char *b = nullptr) {
    return name == QLatin1String(a) || (b && name == QLatin1String(b));
}

} // namespace

long double DmsToDegrees(long double x) {
    // The minutes and seconds belong to the magnitude; the sign is put back.
    const long double a = std::fabs(x);
    long double d = 0, f = 0, mm = 0, s = 0;
    if (!SplitPacked(a, d, f) || !SplitPacked(f * 100.0L, mm, s))
        return x;
    const long double r = d + mm / 60.0L + (s * 100.0L) / 3600.0L;
    return x < 0 ? -r : r;
}

long double DegreesToDms(long double x) {
    const long double a = std::fabs(x);
    long double d = 0, f = 0;
    if (!SplitPacked(a, d, f))
        return x;
    const long double minutes = d + f * 60.0L / 100.0L;
    long double whole100 = 0, fraction100 = 0;
    if (!SplitPacked(minutes * 100.0L, whole100, fraction100))
        fraction100 = 0;
    const long double r = CutToTwoDecimals(minutes) + fraction100 * 60.0L / 10000.0L;
    return x < 0 ? -r : r;
}

void ApplyFunction(const QString &name, long double &value, TChyba &err, long double x) {
    err.ClearCodeAndSpan();
    const quint8 unit = Engine().AngleUnit;
    enum { Ok, Domain, Overflow } fault = Ok;
    long double v = 0;

    // Direct trigonometric functions: the argument in the angle unit. In
    // degrees and grads it is reduced by whole turns first (exactly), so the
    // poles of the tangent and cotangent are recognised.
    auto toRadians = [unit](long double t) {
        if (unit == 0)
            return std::fmod(t, 360.0L) * DegreesToRadians;
        if (unit == 2)
            return std::fmod(t, 400.0L) * GradsToRadians;
        return t;
    };
    auto onQuarterPole = [unit, x](bool odd) {
        // odd: at 90, 270 degrees (tangent); even: at 0, 180 degrees (cotangent)
        const long double half = unit == 0 ? 180.0L : 200.0L;
        const long double r = std::fabs(std::fmod(x, half));
        return odd ? r == half / 2 : r == 0;
    };
    auto fromRadians = [unit](long double t) {
        if (unit == 0)
            return t * RadiansToDegrees;
        if (unit == 2)
            return t * RadiansToGrads;
        return t;
    };

    if (IsName(name, "rnd")) {
        v = std::nearbyint(x);
    } else if (IsName(name, "sqr")) {
        v = x * x;
    } else if (IsName(name, "sqrt")) {
        if (x < 0)
            fault = Domain;
        else
            v = std::sqrt(x);
    } else if (IsName(name, "abs")) {
        v = std::fabs(x);
    } else if (IsName(name, "log") || IsName(name, "ln")) {
        if (x <= 0)
            fault = Domain;
        else
            v = IsName(name, "log") ? std::log10(x) : std::log(x);
    } else if (IsName(name, "deg")) {
        v = DmsToDegrees(x);
    } else if (IsName(name, "dms")) {
        v = DegreesToDms(x);
    } else if (IsName(name, "sign")) {
        v = x > 0 ? 1 : (x < 0 ? -1 : 0);
    } else if (IsName(name, "logy")) {
        QString base = QStringLiteral("y");
        SubstituteVariableValues(base, Engine().VariableValues); // "(" + value + ")"
        base = WithoutBrackets(base, QLatin1Char('('), QLatin1Char(')'));
        long double y = 0;
        if (base.isEmpty() || base == QLatin1String("y")) {
            SetCode(err, 15); // "y" has no value
            return;
        }
        if (!TryStrToFloat(base, y)) {
            SetCode(err, 31);
            err.Param1 = QStringLiteral("y");
            return;
        }
        if (x <= 0 || y <= 0 || y == 1)
            fault = Domain;
        else
            v = std::log(x) / std::log(y);
    } else if (IsName(name, "sin")) {
        v = std::sin(toRadians(x));
    } else if (IsName(name, "cos")) {
        v = std::cos(toRadians(x));
    } else if (IsName(name, "tg", "tan")) {
        if (unit != 1 && onQuarterPole(true))
            fault = Domain;
        else
            v = std::tan(toRadians(x));
    } else if (IsName(name, "cotg", "cotan")) {
        const long double t = toRadians(x);
        if ((unit != 1 && onQuarterPole(false)) || t == 0)
            fault = Domain;
        else
            v = 1.0L / std::tan(t);
    } else if (IsName(name, "arcsin", "arccos")) {
        if (x < -1 || x > 1)
            fault = Domain;
        else
            v = fromRadians(IsName(name, "arcsin") ? std::asin(x) : std::acos(x));
    } else if (IsName(name, "arctg", "arctan")) {
        v = fromRadians(std::atan(x));
    } else if (IsName(name, "arccotg", "arccot")) {
        v = fromRadians(Pi / 2 - std::atan(x)); // values from 0 to pi
    } else if (IsName(name, "sinh")) {
        v = std::sinh(x);
    } else if (IsName(name, "cosh")) {
        v = std::cosh(x);
    } else if (IsName(name, "tgh", "tanh")) {
        v = std::tanh(x);
    } else if (IsName(name, "cotgh", "cotanh")) {
        if (x == 0)
            fault = Domain;
        else
            v = 1.0L / std::tanh(x);
    } else if (IsName(name, "arcsinh")) {
        v = std::asinh(x);
    } else if (IsName(name, "arccosh")) {
        if (x < 1)
            fault = Domain;
        else
            v = std::acosh(x);
    } else if (IsName(name, "arctgh", "arctanh")) {
        if (x <= -1 || x >= 1)
            fault = Domain;
        else
            v = std::atanh(x);
    } else if (IsName(name, "arccotgh", "arccoth")) {
        if (x >= -1 && x <= 1)
            fault = Domain;
        else
            v = std::atanh(1.0L / x);
    } else {
        SetCode(err, 1); // not a built-in function
        return;
    }

    if (fault == Ok && std::isnan(v))
        fault = Domain;
    else if (fault == Ok && std::isinf(v))
        fault = Overflow;
    if (fault == Domain) {
        err.Code = 22;
        QString shown;
        FormatNumber(2, 10, shown, x);
        err.Param1 = shown;
        err.Param2 = name;
        return;
    }
    if (fault == Overflow) {
        err.Code = 23;
        err.Param1 = name;
        return;
    }
    value = v;
}

// --- syntax check -------------------------------------------------------------

void CheckSyntax(const QString &expr, TChyba &err, const QStringList &funcNames) {
    Engine().EvaluationOk = false;
    err.Code = 0;
    err.SpanEnd = 0;
    ThrowIfTooLong(expr);
    QString s = expr;
    s.remove(QLatin1Char(' '));
    s = AsciiLower(s);
    if (s.isEmpty())
        return;

    const QChar sep = DecSep();
    const int len = int(s.size());
    static const TCharSet binaryOps = QStringLiteral("*+-/^");
    static const TCharSet afterBinaryOp = QStringLiteral("!%*+-/^");
    static const TCharSet notAtStart = QStringLiteral("!%*/^");
    static const TCharSet afterDollar = QStringLiteral("!$%*+-/^");
    static const TCharSet beforeArgument = QStringLiteral("!%)*+-/^");
    static const TCharSet punctuation = QStringLiteral("\b !$%()*+,-./^");
    auto allowed = [](QChar c) { return IsAsciiDigit(c) || IsAsciiLetter(c) || InSet(c, punctuation); };
    auto digitLike = [](QChar c) { return IsAsciiDigit(c) || (c >= QLatin1Char('a') && c <= QLatin1Char('f')); };
    auto fail = [&](quint8 code, int start, int end) {
        err.Code = code;
        err.SpanStart = start;
        err.SpanEnd = end;
        AdjustSpanToTyped(expr, err);
    };

    const QChar first = s.at(0);
    const QChar last = s.at(len - 1);
    if (InSet(first, notAtStart))
        return fail(2, 0, 1);
    if (InSet(last, binaryOps))
        return fail(3, len - 1, len);
    if (last == sep)
        return fail(4, len - 1, len);
    if (!allowed(first))
        return fail(16, 0, 1);
    for (int i = 2; i <= len; ++i) {
        const QChar a = s.at(i - 2);
        const QChar b = s.at(i - 1);
        if (!allowed(b))
            return fail(16, i - 1, i);
        if (InSet(a, binaryOps) && InSet(b, afterBinaryOp))
            return fail(5, i - 1, i);
        if (a == sep && !digitLike(b))
            return fail(6, i - 1, i);
        if (InSet(a, binaryOps) && (b == QLatin1Char(')') || b == sep))
            return fail(7, i - 1, i);
        if (a == QLatin1Char('(') && InSet(b, notAtStart))
            return fail(8, i - 1, i);
        if (a == QLatin1Char('$') && (InSet(b, afterDollar) || b == sep))
            return fail(18, i - 2, i - 1);
        if (b == sep && !digitLike(a))
            return fail(30, i - 1, i);
    }
    if (last == QLatin1Char('$'))
        return fail(18, len - 1, len);
    for (const auto &[pair, code] : {std::pair{QLatin1String("!!"), 5}, std::pair{QLatin1String("%%"), 5},
                                      std::pair{QLatin1String("()"), 9}}) {
        const int p = int(s.indexOf(pair));
        if (p >= 0)
            return fail(quint8(code), p, p + 2);
    }

    CheckBrackets(s, expr, err); // 10 or 11; the check goes on

    // Every function name must be followed by its argument. Names are taken
    // out of the text one by one in list order; `origin` keeps where each
    // remaining character stood, for the span.
    QString t = s + QLatin1Char('+');
    QList<int> origin(t.size());
    for (int i = 0; i < origin.size(); ++i)
        origin[i] = i;
    for (const QString &name : funcNames) {
        const int n = int(name.size());
        int from = 0;
        int p;
        while ((p = int(t.indexOf(name, from))) >= 0) {
            const int q = p + n;
            if (q < t.size() && InSet(t.at(q), beforeArgument)) {
                err.Param1 = name;
                return fail(12, origin[p], origin[q - 1] + 1);
            }
            t.remove(p, n);
            origin.remove(p, n);
            from = std::max(0, p - n + 1); // a name may close up across the gap
        }
    }
    Engine().EvaluationOk = true;
}

} // namespace legacy