#include "Analyzator.h"

#include "PrevodySustav.h"
#include "uCisla.h"

#include <QVarLengthArray>

#include <algorithm>
#include <vector>
#include <array>
#include <cmath>

namespace {

const QString PackedAnglePicture = QStringLiteral("0.0###############");
const QString SixteenDecimalsPicture = QStringLiteral("0.0000000000000000");
const QChar Point = QLatin1Char('.');

} // namespace

TEngineResult EvaluateReal(const QString &expr, const TEvaluationContext &context, TCompiledExpression::TText text) {
    return TCompiledExpression::EvaluateText(expr, context, TCompiledExpression::TRoad::Real, text);
}

// --- packed angles ---------------------------------------------------------------

namespace {

// The whole part and the fraction of a non-negative value as the packed
// angle picture writes them; false when the value is too large for the
// picture's plain form (it then holds whole degrees only).
bool SplitPacked(long double value, long double &whole, long double &fraction) {
    const QString t = FormatFloat(PackedAnglePicture, value, Point);
    const int sep = int(t.indexOf(Point));
    if (sep < 0 || t.contains(QLatin1Char('E')))
        return false;
    return TryStrToFloat(t.left(sep), whole, Point) && TryStrToFloat(QLatin1Char('0') + t.mid(sep), fraction, Point);
}

// The value cut (not rounded) to two decimals after rounding to sixteen.
long double CutToTwoDecimals(long double value) {
    const QString t = FormatFloat(SixteenDecimalsPicture, value, Point);
    const int sep = int(t.indexOf(Point));
    long double r = value;
    if (sep < 0 || t.contains(QLatin1Char('E')) || !TryStrToFloat(t.left(sep + 3), r, Point))
        return value;
    return r;
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

// --- syntax check -------------------------------------------------------------

namespace {

// The lower-case letters a text holds, one bit each.
quint32 LetterBits(QStringView text) {
    quint32 bits = 0;
    for (const QChar c : text)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            bits |= 1u << (c.unicode() - 'a');
    return bits;
}

// The function-name rule of the check: every function name must be followed
// by its argument. Names are taken out of the text one by one in list
// order, so that a name that closes up where another was taken out is found
// too ("ssinin"). Names are letters, so each run of letters is worked on by
// itself: a name fails when nothing of its run is left after it and the
// character after the run is an operator, ")" or the end (a blank stands
// before a word operator, see StripBlanks). Returns the index
// of the failing name (or -1) and its span in s.
int FailingFunctionName(QStringView s, int &spanStart, int &spanEnd) {
    static const TCharSet beforeArgument = QStringLiteral(" )") + OperatorChars;
    // The letters of each name: a run that lacks one of them cannot hold it.
    static const std::vector<quint32> nameBits = [] {
        std::vector<quint32> bits;
        for (const TFunctionInfo &function : FunctionTable)
            bits.push_back(LetterBits(function.Name));
        return bits;
    }();
    const int n = int(s.size());
    int bestName = -1;
    QVarLengthArray<QChar, 64> stack, run;
    QVarLengthArray<int, 64> origin, at;
    int i = 0;
    while (i < n) {
        if (!IsAsciiLetter(s.at(i))) {
            ++i;
            continue;
        }
        int end = i;
        while (end < n && IsAsciiLetter(s.at(end)))
            ++end;
        const QChar after = end < n ? s.at(end) : QLatin1Char('+');
        const bool canFail = InSet(after, beforeArgument);
        if (!canFail) {
            i = end; // a name fails only at the end of its run, before an operator
            continue;
        }
        const quint32 runBits = LetterBits(QStringView(s).mid(i, end - i));
        // The run as it stands after the names before the current one.
        run.clear();
        at.clear();
        for (int k = i; k < end; ++k) {
            run.append(s.at(k));
            at.append(k);
        }
        const int limit = bestName < 0 ? FunctionCount : bestName;
        for (int f = 0; f < limit && !run.empty(); ++f) {
            const QStringView name = FunctionTable[size_t(f)].Name;
            const qsizetype len = name.size();
            if (run.size() < len || (nameBits[size_t(f)] & ~runBits) != 0)
                continue;
            // Taking every occurrence out from the left is a stack walk: an
            // occurrence is complete when its last letter is pushed.
            stack.clear();
            origin.clear();
            bool failed = false;
            for (qsizetype k = 0; k < run.size(); ++k) {
                stack.append(run[k]);
                origin.append(at[k]);
                if (stack.size() < len)
                    continue;
                bool match = true;
                for (qsizetype m = 0; m < len && match; ++m)
                    match = stack[stack.size() - len + m] == name.at(m);
                if (!match)
                    continue;
                if (k + 1 == run.size() && canFail) {
                    spanStart = origin[origin.size() - len];
                    spanEnd = origin.back() + 1;
                    bestName = f;
                    failed = true;
                    break;
                }
                stack.resize(stack.size() - len);
                origin.resize(origin.size() - len);
            }
            if (failed)
                break;
            run = stack;
            at = origin;
        }
        i = end;
    }
    return bestName;
}

} // namespace

void CheckSyntax(const QString &expr, const TEvaluationContext &context, TChyba &err) {
    err.Code = TErrorCode::None;
    err.SpanEnd = 0;
    if (expr.size() > MaxExpressionLength)
        throw EEngineRangeError("expression too long");
    // Spaces out, lower case, in one copy on the stack.
    QVarLengthArray<QChar, 256> lowered(expr.size());
    qsizetype kept = 0;
    for (const QChar c : expr)
        if (c != QLatin1Char(' '))
            lowered[kept++] = AsciiLower(c);
    const QStringView s(lowered.constData(), kept);
    if (s.isEmpty())
        return;

    const int len = int(s.size());
    // What each ASCII character is for the rules, looked up once per character.
    enum : quint8 {
        Binary = 1,
        AfterBinary = 2,
        NotAtStart = 4,
        AfterDollar = 8,
        Allowed = 16,
        DigitLike = 32,
        Separator = 64
    };
    static const auto classes = [] {
        std::array<quint8, 128> t{};
        auto mark = [&t](const TCharSet &chars, quint8 what) {
            for (const QChar c : chars)
                t[c.unicode()] |= what;
        };
        mark(BinaryOperatorChars, Binary);
        mark(OperatorChars, AfterBinary);
        mark(OperatorChars, NotAtStart);
        t[size_t('+')] &= quint8(~NotAtStart); // a sign may open the text
        t[size_t('-')] &= quint8(~NotAtStart);
        mark(OperatorChars + QLatin1Char('$'), AfterDollar);
        mark(ExpressionChars, Allowed);
        for (int c = 0; c < 128; ++c) {
            if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))
                t[size_t(c)] |= DigitLike;
            if (IsDecimalSeparator(QChar(c)))
                t[size_t(c)] |= Separator;
        }
        return t;
    }();
    auto is = [](QChar c, quint8 what) { return c.unicode() < 128 && (classes[c.unicode()] & what) != 0; };
    auto fail = [&](TErrorCode code, int start, int end) {
        err.Code = code;
        err.SpanStart = start;
        err.SpanEnd = end;
        AdjustSpanToTyped(expr, err);
    };

    const QChar first = s.at(0);
    const QChar last = s.at(len - 1);
    if (is(first, NotAtStart))
        return fail(TErrorCode::LeadingOperator, 0, 1);
    if (is(last, Binary))
        return fail(TErrorCode::TrailingOperator, len - 1, len);
    if (IsDecimalSeparator(last))
        return fail(TErrorCode::TrailingSeparator, len - 1, len);
    if (!is(first, Allowed))
        return fail(TErrorCode::ForbiddenCharacter, 0, 1);
    // The first "!!", "%%" and "()", for the rules after this walk.
    int doubleBang = -1, doublePercent = -1, emptyBrackets = -1;
    for (int i = 2; i <= len; ++i) {
        const QChar a = s.at(i - 2);
        const QChar b = s.at(i - 1);
        if (a == b && doubleBang < 0 && a == QLatin1Char('!'))
            doubleBang = i - 2;
        else if (a == b && doublePercent < 0 && a == QLatin1Char('%'))
            doublePercent = i - 2;
        else if (emptyBrackets < 0 && a == QLatin1Char('(') && b == QLatin1Char(')'))
            emptyBrackets = i - 2;
        if (!is(b, Allowed))
            return fail(TErrorCode::ForbiddenCharacter, i - 1, i);
        if (is(a, Binary) && is(b, AfterBinary))
            return fail(TErrorCode::TwoOperators, i - 1, i);
        if (is(a, Separator) && !is(b, DigitLike))
            return fail(TErrorCode::SeparatorWithoutDigit, i - 1, i);
        if (is(a, Binary) && (b == QLatin1Char(')') || is(b, Separator)))
            return fail(TErrorCode::OperatorBeforeClose, i - 1, i);
        if (a == QLatin1Char('(') && is(b, NotAtStart))
            return fail(TErrorCode::OperatorAfterOpen, i - 1, i);
        if (a == QLatin1Char('$') && (is(b, AfterDollar) || is(b, Separator)))
            return fail(TErrorCode::MissingConstant, i - 2, i - 1);
        if (is(b, Separator) && !is(a, DigitLike))
            return fail(TErrorCode::DigitBeforeSeparator, i - 1, i);
    }
    if (last == QLatin1Char('$'))
        return fail(TErrorCode::MissingConstant, len - 1, len);
    if (doubleBang >= 0)
        return fail(TErrorCode::TwoOperators, doubleBang, doubleBang + 2);
    if (doublePercent >= 0)
        return fail(TErrorCode::TwoOperators, doublePercent, doublePercent + 2);
    if (emptyBrackets >= 0)
        return fail(TErrorCode::EmptyBrackets, emptyBrackets, emptyBrackets + 2);

    // Names are read as the evaluator reads them: a word operator between
    // blanks stands apart from the names beside it.
    const QString words = StripBlanks(expr, context.NumberSet);
    const bool apart = words.size() != s.size();

    // A word operator is an operator: it needs its second operand, as "+" does.
    TChyba word;
    if (FindWordOperatorWithoutOperand(words, context, word))
        return fail(word.Code, PositionWithoutBlanks(words, word.SpanStart),
                    PositionWithoutBlanks(words, word.SpanEnd));

    CheckBrackets(s, expr, err); // 10 or 11; the check goes on

    int start = 0, end = 0;
    const QString lowerWords = apart ? AsciiLower(words) : QString();
    const int name = FailingFunctionName(apart ? QStringView(lowerWords) : s, start, end);
    if (apart) {
        start = PositionWithoutBlanks(words, start);
        end = PositionWithoutBlanks(words, end);
    }
    if (name >= 0) {
        err.Param1 = FunctionName(TFunction(name));
        fail(TErrorCode::FunctionWithoutArgument, start, end);
    }
}
