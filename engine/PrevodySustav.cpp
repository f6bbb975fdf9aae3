#include "PrevodySustav.h"

#include "KomplexnyAnalyzator.h"
#include "uCisla.h"

#include <QVarLengthArray>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

int CharToDigit(QChar ch) {
    if (ch >= QLatin1Char('1') && ch <= QLatin1Char('9'))
        return ch.unicode() - '0';
    if (ch >= QLatin1Char('A') && ch <= QLatin1Char('F'))
        return ch.unicode() - 'A' + 10;
    return 0;
}

QChar DigitToChar(quint8 d) {
    if (d <= 9)
        return QChar('0' + d);
    if (d <= 15)
        return QChar('A' + d - 10);
    return QLatin1Char('#');
}

namespace {

constexpr long double TwoTo63 = 9223372036854775808.0L;
const QString PlainPicture = QStringLiteral("0.################");

void CheckBase(int base) {
    if (base < 2 || base > 16)
        throw EEngineRangeError("base out of range");
}

// A digit of the base ("0".."9", then "A".. and "a".. for bases above 10)
// or the decimal separator.
bool IsNumberChar(int base, QChar c, QChar sep) {
    if (c == sep)
        return true;
    int d = -1;
    if (IsAsciiDigit(c))
        d = c.unicode() - '0';
    else if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
        d = c.unicode() - 'A' + 10;
    else if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
        d = c.unicode() - 'a' + 10;
    return d >= 0 && d < base;
}

// The value of a number written in `base`: the part after the first
// separator is the fraction (further separators are ignored).
long double DigitsToValue(int base, const QString &s, QChar sep) {
    QString t = AsciiUpper(s.trimmed());
    bool negative = false;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
        negative = t.at(0) == QLatin1Char('-');
        t.remove(0, 1);
    }
    const qsizetype dot = t.indexOf(sep);
    const QString intPart = dot < 0 ? t : t.left(dot);
    QString frac = dot < 0 ? QString() : t.mid(dot + 1);
    frac.remove(sep);
    long double v = 0.0L;
    for (QChar c : intPart)
        v = v * base + CharToDigit(c);
    long double f = 0.0L;
    for (qsizetype k = frac.size() - 1; k >= 0; --k)
        f = (f + CharToDigit(frac.at(k))) / base;
    v += f;
    if (!std::isfinite(v))
        throw EEngineRangeError("number out of range");
    if (v >= TwoTo63) // beyond 64 bits the digits are no longer all kept
        throw EEngineRangeError("number out of range");
    return negative ? -v : v;
}

// Value in plain base-10 notation with up to 16 decimals; integers up to the
// 64-bit range are written with all their digits.
QString DecimalText(long double v, QChar sep) {
    const long double a = std::fabs(v);
    if (a >= 1e18L) {
        const long double r = std::nearbyint(a);
        if (r < TwoTo63) {
            const QString digits = QString::number(static_cast<qint64>(r));
            return v < 0 ? QLatin1Char('-') + digits : digits;
        }
    }
    return FormatFloat(PlainPicture, v, sep);
}

bool HasExponent(const QString &s) { return s.contains(QLatin1Char('e')) || s.contains(QLatin1Char('E')); }

bool StartsWithWordOperator(QStringView run) { return WordOperatorAt(run) >= 0; }

// Whether the letter at p is the exponent of a base-10 number ("1e300",
// "2,5E-3"): after a digit or the separator, before a digit or a sign and a
// digit, in every number set.
bool IsExponentAt(const QString &s, int p, int base, QChar sep) {
    const int n = int(s.size());
    if (base != 10 || (s.at(p) != QLatin1Char('e') && s.at(p) != QLatin1Char('E')) || p == 0 ||
        !(IsAsciiDigit(s.at(p - 1)) || s.at(p - 1) == sep))
        return false;
    int q = p + 1;
    if (q < n && (s.at(q) == QLatin1Char('+') || s.at(q) == QLatin1Char('-')))
        ++q;
    return q < n && IsAsciiDigit(s.at(q));
}

// Where a name begins inside a run of letters and digits: for each position,
// whether the run from there on holds a letter that is not a digit of the
// base (nor the extra character). A word operator followed by no name ends
// the run for what stands before it, so that "1Fmod3" in base 16 is the
// number 1F, "mod" and 3.
QList<bool> NameLettersAhead(const QString &s, int base, QChar extra, QChar sep) {
    const int n = int(s.size());
    QList<bool> ahead(n + 1, false);
    bool carry = false; // what the position before sees
    for (int p = n - 1; p >= 0; --p) {
        const QChar c = s.at(p);
        if (!IsAsciiLetter(c) && !IsAsciiDigit(c)) {
            carry = false;
            continue;
        }
        if (IsAsciiLetter(c) && p + 3 <= n && StartsWithWordOperator(QStringView(s).mid(p, 3)) && !ahead[p + 3]) {
            ahead[p] = true;
            carry = false;
            continue;
        }
        const bool nameLetter =
            IsAsciiLetter(c) && c != extra && !IsNumberChar(base, c, sep) && !IsExponentAt(s, p, base, sep);
        ahead[p] = nameLetter || carry;
        carry = ahead[p];
    }
    return ahead;
}

// What the walk of an expression finds: a name (a letter run that holds a
// letter that is not a digit of the base, such as "cos" or "x2"), a word
// operator, a number, the "e" of the complex set's exponential form ("e^"
// after a number), or anything else (operators, brackets, "$" references),
// each as a span of the text.
enum class TPieceKind : quint8 { Other, Name, WordOperator, Number, ExponentialForm };

struct TPiece {
    TPieceKind Kind;
    int Start;
    int DigitsEnd; // a number: its digits (the extra character among them) end here...
    int End;       // ...and a base-10 exponent ("2e3", "1,5E-4") here
};

bool IsExponentLetter(QChar c) { return c == QLatin1Char('e') || c == QLatin1Char('E'); }

// The one reader of numbers and names in a base, shared by the conversion
// and by its check of what it wrote.
std::vector<TPiece> ReadPieces(const QString &s, int base, QChar extra, QChar sep) {
    const int n = int(s.size());
    const bool hasExtra = !extra.isNull();
    const QList<bool> nameAhead = NameLettersAhead(s, base, extra, sep);
    auto exponentialForm = [&](int k) {
        return hasExtra && IsExponentLetter(s.at(k)) && k + 1 < n && s.at(k + 1) == QLatin1Char('^');
    };
    // The imaginary unit begins a name unless the letters and digits after
    // it are digits of the base, or in base 10 an exponent ("j4", "jA",
    // "j5E-4"; "j4x" is a name, as the scanner reads it).
    auto unitStartsName = [&](int k) {
        if (!hasExtra || s.at(k) != extra)
            return false;
        for (int m = k + 1; m < n && (IsAsciiLetter(s.at(m)) || IsAsciiDigit(s.at(m))); ++m)
            if (!IsNumberChar(base, s.at(m), sep) && !IsExponentAt(s, m, base, sep))
                return true;
        return false;
    };
    std::vector<TPiece> pieces;
    pieces.reserve(size_t(n) / 2 + 1);
    // Operators and the like that stand together are one piece.
    auto other = [&pieces](int from, int to) {
        if (!pieces.empty() && pieces.back().Kind == TPieceKind::Other && pieces.back().End == from)
            pieces.back().End = pieces.back().DigitsEnd = to;
        else
            pieces.push_back({TPieceKind::Other, from, to, to});
    };
    int i = 0;
    while (i < n) {
        const QChar c = s.at(i);
        if (c == QLatin1Char('$')) {
            const int end = DollarReferenceEnd(s, i + 1) - 1;
            other(i, end);
            i = end;
            continue;
        }
        if (exponentialForm(i)) {
            pieces.push_back({TPieceKind::ExponentialForm, i, i + 1, i + 1});
            ++i;
            continue;
        }
        if ((IsAsciiLetter(c) && c != extra && nameAhead[i]) || unitStartsName(i)) {
            int j = i;
            while (j < n && (IsAsciiLetter(s.at(j)) || IsAsciiDigit(s.at(j))))
                ++j;
            // A number glued to a name by its separator ("arctgh2,5", "x,5")
            // is read with the name as the scanner reads it: passed over as
            // it stands, in every base.
            while (j < n && (s.at(j) == QLatin1Char(',') || s.at(j) == QLatin1Char('.'))) {
                ++j;
                while (j < n && (IsAsciiLetter(s.at(j)) || IsAsciiDigit(s.at(j))))
                    ++j;
            }
            // "div", "mod" and "nad" followed by a number: only the operator is a word
            if (j - i > 3 && StartsWithWordOperator(QStringView(s).mid(i, 3)) && !nameAhead[i + 3]) {
                pieces.push_back({TPieceKind::WordOperator, i, i + 3, i + 3});
                i += 3;
            } else {
                const bool word = j - i == 3 && StartsWithWordOperator(QStringView(s).mid(i, 3));
                pieces.push_back({word ? TPieceKind::WordOperator : TPieceKind::Name, i, j, j});
                i = j;
            }
            continue;
        }
        const bool startsNumber =
            IsAsciiDigit(c) || c == sep || (hasExtra && c == extra) || (IsAsciiLetter(c) && IsNumberChar(base, c, sep));
        if (!startsNumber) {
            other(i, i + 1);
            ++i;
            continue;
        }
        int j = i;
        while (j < n) {
            const QChar d = s.at(j);
            if ((IsAsciiLetter(d) && d != extra && nameAhead[j]) || exponentialForm(j) || unitStartsName(j))
                break; // a name begins here, as in "2cos"
            if (IsAsciiDigit(d) || d == sep || (hasExtra && d == extra) || IsNumberChar(base, d, sep))
                ++j;
            else
                break;
        }
        int k = j;
        bool anyDigit = false;
        for (int m = i; m < j; ++m)
            anyDigit = anyDigit || IsAsciiDigit(s.at(m));
        if (base == 10 && anyDigit && k < n && IsExponentLetter(s.at(k)) && !exponentialForm(k)) {
            int m = k + 1;
            // The complex set reads a sign there only right after a digit or
            // the separator, as its scanner does ("1E-20", not "2je-1").
            const bool signAllowed = !hasExtra || IsAsciiDigit(s.at(k - 1)) || s.at(k - 1) == sep;
            if (signAllowed && m < n && (s.at(m) == QLatin1Char('+') || s.at(m) == QLatin1Char('-')) && m + 1 < n &&
                IsAsciiDigit(s.at(m + 1)))
                ++m;
            const int digitsFrom = m;
            while (m < n && IsAsciiDigit(s.at(m)))
                ++m;
            if (m > digitsFrom)
                k = m;
        }
        pieces.push_back({TPieceKind::Number, i, j, k});
        i = k;
    }
    return pieces;
}

// The longest fraction the conversion writes. The digits of a value in
// bases 2, 8 and 16 end (its binary fraction is finite), but a tiny value
// has thousands of them: such a value is refused.
constexpr int MaxExactFractionDigits = 200;

// The digits of a whole number in base ("0" for 0).
QString WholeDigits(quint64 n, int base) {
    if (n == 0)
        return QStringLiteral("0");
    QString t;
    while (n > 0) {
        t.prepend(DigitToChar(quint8(n % quint64(base))));
        n /= quint64(base);
    }
    return t;
}

// Every digit of a value in base 2, 8 or 16: the binary value itself, so
// that it reads back as exactly the same number.
QString ExactDigits(long double value, int base, QChar sep) {
    const long double a = std::fabs(value);
    if (!std::isfinite(a) || a >= TwoTo63)
        throw EEngineRangeError("number out of range");
    quint64 whole = quint64(a);
    long double f = a - static_cast<long double>(whole); // exact, as is every step below
    QString t = WholeDigits(whole, base);
    if (f != 0)
        t += sep;
    for (int k = 0; f != 0; ++k) {
        if (k == MaxExactFractionDigits)
            throw EEngineRangeError("too many digits");
        f *= base;
        const int d = int(f);
        t += DigitToChar(quint8(d));
        f -= d;
    }
    return value < 0 ? QLatin1Char('-') + t : t;
}

// The value in plain base-10 notation with the fewest digits that read back
// as exactly the same number.
QString ShortestDecimal(long double value, QChar sep) {
    char buf[6000];
    auto written = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    long double back = 0;
    QString t = QString::fromLatin1(buf, int(written.ptr - buf));
    t.replace(QLatin1Char('.'), sep);
    if (written.ec != std::errc() || !TryStrToFloat(t, back, sep) || back != value)
        throw EEngineConvertError("no decimal form");
    return t;
}

// The value of a number piece written in base.
long double PieceValue(int base, const QString &digits, const QString &exponent, QChar sep) {
    return base == 10 ? StrToFloat(digits + exponent, sep) : DigitsToValue(base, digits, sep);
}

// Whether two texts hold the same names and word operators (letter case
// ignored), as many numbers and the same exponential forms in the same
// order: what must read alike in both bases. (In base 16 a number that ends
// in the digit "E" before "^" reads as an exponential form in the complex
// set: 30^2 is not 1E^2 there.)
bool SameShape(QStringView a, const std::vector<TPiece> &pa, QStringView b, const std::vector<TPiece> &pb) {
    size_t i = 0, k = 0;
    for (;;) {
        while (i < pa.size() && pa[i].Kind == TPieceKind::Other)
            ++i;
        while (k < pb.size() && pb[k].Kind == TPieceKind::Other)
            ++k;
        if (i == pa.size() || k == pb.size())
            return i == pa.size() && k == pb.size();
        if (pa[i].Kind != pb[k].Kind)
            return false;
        if (pa[i].Kind != TPieceKind::Number &&
            a.mid(pa[i].Start, pa[i].End - pa[i].Start)
                    .compare(b.mid(pb[k].Start, pb[k].End - pb[k].Start), Qt::CaseInsensitive) != 0)
            return false;
        ++i;
        ++k;
    }
}

// Puts "*" after the number just written to out where the name that follows
// would run into it in base ("3E8" and "x" read as 3 and the name "E8x" in
// base 16, "2" and "ex" as 2e in base 10). A name that begins with a word
// operator ("modx") is left as the scanner's rules read it.
void SeparateFromName(QString &out, const QString &number, const QString &name, int base, QChar extra, QChar sep) {
    const std::vector<TPiece> read = ReadPieces(number + name, base, extra, sep);
    const bool apart = read.size() == 2 && read[0].Kind == TPieceKind::Number && read[0].End == number.size();
    if (!apart && !StartsWithWordOperator(QStringView(name).left(3)))
        out += QLatin1Char('*');
}

// The one walk of both expression conversions: names, user constant
// references and word operators are passed over; every number is converted
// in its place. A converted number never runs into a name: a "*" stands
// between them ("B*x", not the name "Bx"; "3E8*x", not 3E8 with an exponent).
// What the walk wrote must read in the new base as it read in the old one,
// with the same names and numbers, or the text is refused ("a" is a name in
// base 10 and a number in base 16).
void ConvertNumbers(int fromBase, int toBase, QChar extra, QString &expr, TChyba &err, bool formatted, quint8 decimals,
                    QChar sep) {
    err.ClearCodeAndSpan();
    // A word operator between blanks keeps a blank beside a name, which
    // passes to the text converted (the number set is the reader's: where
    // no word operators exist the blank goes there).
    expr = StripBlanks(expr, TNumberSet::Real);
    // Either separator is the caller's, as the evaluators read them.
    for (QChar &c : expr)
        if (IsDecimalSeparator(c))
            c = sep;
    const QString s = expr;
    const int n = int(s.size());
    const bool hasExtra = !extra.isNull();
    QString out;
    out.reserve(n + n / 2);
    int i = 0;
    try {
        CheckBase(fromBase);
        CheckBase(toBase);
        const std::vector<TPiece> pieces = ReadPieces(s, fromBase, extra, sep);
        for (size_t p = 0; p < pieces.size(); ++p) {
            const TPiece &piece = pieces[p];
            i = piece.Start;
            if (piece.Kind == TPieceKind::WordOperator &&
                ((piece.Start > 0 && s.at(piece.Start - 1) == QLatin1Char(' ')) ||
                 (piece.End < n && s.at(piece.End) == QLatin1Char(' ')))) {
                // A blank beside it keeps it apart from a name only while the
                // other side is a blank, a bracket or a digit ("! nad x"
                // reads "!nad x", which would read "!nadx" next time).
                // (The ends of the text are no such side: "5 nad " at the end.)
                auto bare = [&](int k) {
                    if (k < 0 || k >= n)
                        return true;
                    const QChar c = s.at(k);
                    return c != QLatin1Char(' ') && c != QLatin1Char('(') && c != QLatin1Char(')') && !IsAsciiDigit(c);
                };
                if (bare(piece.Start - 1))
                    out += QLatin1Char(' ');
                out += QStringView(s).mid(piece.Start, 3);
                if (bare(piece.End))
                    out += QLatin1Char(' ');
                continue;
            }
            if (piece.Kind != TPieceKind::Number) {
                out += QStringView(s).mid(piece.Start, piece.End - piece.Start);
                continue;
            }
            const QString token = s.mid(piece.Start, piece.DigitsEnd - piece.Start);
            const QString exponent = s.mid(piece.DigitsEnd, piece.End - piece.DigitsEnd);
            if (!IsValidNumber(fromBase, extra, token, sep))
                throw EEngineConvertError("not a number of the base");
            // In base 10 an "e" right after a number is read as its exponent:
            // "2e" and "1e3e" are no numbers to convert.
            if (fromBase == 10 && piece.End < n && IsExponentLetter(s.at(piece.End)) &&
                !(hasExtra && piece.End + 1 < n && s.at(piece.End + 1) == QLatin1Char('^')))
                throw EEngineConvertError("not a number");
            const qsizetype extraAt = hasExtra ? token.indexOf(extra) : -1;
            if (extraAt > 0 && extraAt < token.size() - 1)
                throw EEngineConvertError("the imaginary unit inside the digits"); // "3j10"
            QString digits = token;
            if (extraAt >= 0)
                digits.remove(extraAt, 1);
            // The complex set reads no exponent after a bare separator ("0,e5").
            if (hasExtra && !exponent.isEmpty() && digits.endsWith(sep))
                throw EEngineConvertError("not a number of the set");
            bool anyDigit = false;
            for (QChar d : digits)
                anyDigit = anyDigit || d != sep;
            if (!anyDigit) { // the imaginary unit or a separator alone
                out += QStringView(s).mid(piece.Start, piece.End - piece.Start);
                continue;
            }
            const long double value = PieceValue(fromBase, digits, exponent, sep);
            QString converted;
            if (formatted) {
                FormatNumber(decimals, toBase, converted, value, sep);
            } else {
                converted = toBase == 10 ? ShortestDecimal(value, sep) : ExactDigits(value, toBase, sep);
                // A number written without its whole part, with a separator at
                // its end or with a fraction of zeros keeps that form (and the
                // answer of the checks to it: the modulo set takes whole
                // numbers only).
                if (digits.startsWith(sep)) {
                    if (converted == QLatin1String("0"))
                        converted = sep + converted; // ",0"
                    else if (converted.startsWith(QLatin1Char('0')))
                        converted.remove(0, 1);
                    else
                        throw EEngineConvertError("no whole part to leave out"); // ",2e5"
                }
                if (digits.contains(sep) && exponent.isEmpty() && !converted.contains(sep))
                    converted += digits.endsWith(sep) ? QString(sep) : sep + QStringLiteral("0"); // "5,", "1,0"
            }
            if (extraAt == 0)
                converted.prepend(extra);
            else if (extraAt > 0)
                converted += extra;
            out += converted;
            if (p + 1 < pieces.size() && pieces[p + 1].Kind == TPieceKind::Name) {
                const TPiece &name = pieces[p + 1];
                SeparateFromName(out, converted, s.mid(name.Start, name.End - name.Start), toBase, extra, sep);
            }
        }
        i = n;
        // (A shown result holds no names, and its digit groups are apart.)
        const QString written = StripBlanks(out, TNumberSet::Real); // as the next reading sees it
        if (!formatted && !SameShape(s, pieces, written, ReadPieces(written, toBase, extra, sep)))
            throw EEngineConvertError("the text reads otherwise in the new base");
        // A complex text (one with the imaginary unit as the extra character)
        // longer than the complex check reads, in either base, is not written
        // in base 2, 8 or 16: the check would read the one and refuse the
        // other, and the longer digits of these bases make it grow.
        if (!formatted && hasExtra && toBase != 10 && std::max(written.size(), s.size()) > MaxComplexCheckLength)
            throw EEngineRangeError("text too long for the complex set");
    } catch (const std::exception &) {
        err.Code = TErrorCode::BaseConversion;
        if (i == n) { // refused as a whole: the text stays as it was
            out.clear();
            i = 0;
        }
        out += QStringView(s).mid(i);
    }
    expr = out;
}

// Digit groups of the display form, one space between groups, counted
// outward from the separator.
QString GroupDigits(const QString &t, int base, QChar sep) {
    const int group = base == 2 ? 4 : (base == 16 ? 2 : 3);
    const bool negative = t.startsWith(QLatin1Char('-'));
    const QStringView body = negative ? QStringView(t).mid(1) : QStringView(t);
    const qsizetype dot = body.indexOf(sep);
    const QStringView intPart = dot < 0 ? body : body.left(dot);
    // Written into a buffer on the stack, the string made once.
    QVarLengthArray<QChar, 128> r;
    r.reserve(t.size() + t.size() / group + 2);
    if (negative)
        r.append(QLatin1Char('-'));
    for (qsizetype k = 0; k < intPart.size(); ++k) {
        if (k > 0 && (intPart.size() - k) % group == 0)
            r.append(QLatin1Char(' '));
        r.append(intPart.at(k));
    }
    if (dot >= 0) {
        r.append(sep);
        const QStringView frac = body.mid(dot + 1);
        for (qsizetype k = 0; k < frac.size(); ++k) {
            if (k > 0 && k % group == 0)
                r.append(QLatin1Char(' '));
            r.append(frac.at(k));
        }
    }
    return QString(r.constData(), r.size());
}

} // namespace

void BaseToDecimal(int base, const QString &s, QString &r, QChar sep) {
    CheckBase(base);
    r = ShortestDecimal(DigitsToValue(base, s, sep), sep);
}

void DecimalToBase(int base, const QString &s, quint8 digits, QString &r, QChar sep) {
    CheckBase(base);
    QString t = s.trimmed();
    if (HasExponent(t)) {
        t = DecimalText(StrToFloat(t, sep), sep);
        if (HasExponent(t))
            throw EEngineRangeError("number out of range");
    }
    bool negative = false;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
        negative = t.at(0) == QLatin1Char('-');
        t.remove(0, 1);
    }
    const qsizetype dot = t.indexOf(sep);
    const QString intText = dot < 0 ? t : t.left(dot);
    const QString fracText = dot < 0 ? QString() : t.mid(dot + 1);
    if (intText.isEmpty() && fracText.isEmpty())
        throw EEngineConvertError("not a number");

    // The integer part as a 64-bit integer.
    constexpr quint64 maxInt = quint64(std::numeric_limits<qint64>::max());
    quint64 n = 0;
    for (QChar c : intText) {
        if (!IsAsciiDigit(c))
            throw EEngineConvertError("not a number");
        const unsigned d = c.unicode() - '0';
        if (n > (maxInt - d) / 10)
            throw EEngineRangeError("number out of range");
        n = n * 10 + d;
    }
    QString res = WholeDigits(n, base);

    // The fraction, digit by digit.
    for (QChar c : fracText)
        if (!IsAsciiDigit(c))
            throw EEngineConvertError("not a number");
    QString fracDigits;
    if (base == 10) {
        fracDigits = fracText.left(digits);
        while (fracDigits.endsWith(QLatin1Char('0')))
            fracDigits.chop(1);
    } else if (!fracText.isEmpty()) {
        long double f = StrToFloat(QStringLiteral("0") + sep + fracText, sep);
        for (int k = 0; k < digits && f != 0.0L; ++k) {
            f *= base;
            const int d = static_cast<int>(f);
            fracDigits += DigitToChar(quint8(d));
            f -= d;
        }
    }
    if (!fracDigits.isEmpty())
        res += sep + fracDigits;
    if (negative)
        res.prepend(QLatin1Char('-'));
    r = res;
}

bool IsValidNumber(int base, QChar extra, const QString &token, QChar sep) {
    if (token.isEmpty())
        return false;
    int extras = 0;
    for (QChar c : token) {
        if (!extra.isNull() && c == extra)
            ++extras;
        else if (!IsNumberChar(base, c, sep))
            return false;
    }
    return extras <= 1;
}

void ConvertExpressionBase(int fromBase, int toBase, QChar extra, QString &expr, TChyba &err, QChar sep) {
    ConvertNumbers(fromBase, toBase, extra, expr, err, false, 0, sep);
}

void ConvertExpressionBaseFormatted(int fromBase, int toBase, QChar extra, QString &expr, TChyba &err, quint8 decimals,
                                    QChar sep) {
    ConvertNumbers(fromBase, toBase, extra, expr, err, true, decimals, sep);
}

namespace {

// Value written in base 2, 8 or 16: the digits of the binary value itself,
// rounded at the last decimal a half away from zero, as base 10 rounds.
// Multiplying the fraction by these bases is exact, so every digit is.
QString ToPowerOfTwoBase(quint8 decimals, int base, long double value, QChar sep) {
    if (!std::isfinite(value))
        throw EEngineInvalidOp("invalid floating point operation");
    const bool negative = value < 0;
    const long double a = std::fabs(value);
    if (a > TwoTo63 || (a == TwoTo63 && !negative)) // the range of a signed 64-bit number
        throw EEngineRangeError("number out of range");
    quint64 whole = quint64(a);
    long double f = a - static_cast<long double>(whole);
    std::vector<int> digits;
    digits.reserve(decimals);
    for (int k = 0; k < decimals; ++k) {
        f *= base;
        const int d = int(f);
        digits.push_back(d);
        f -= d;
    }
    if (f >= 0.5L) {
        int k = int(digits.size()) - 1;
        while (k >= 0 && digits[size_t(k)] == base - 1)
            digits[size_t(k--)] = 0;
        if (k >= 0)
            ++digits[size_t(k)];
        else
            ++whole;
    }
    while (!digits.empty() && digits.back() == 0)
        digits.pop_back();
    QString t;
    if (whole == 0)
        t = QStringLiteral("0");
    while (whole > 0) {
        t.prepend(DigitToChar(quint8(whole % quint64(base))));
        whole /= quint64(base);
    }
    if (!digits.empty()) {
        t += sep;
        for (int d : digits)
            t += DigitToChar(quint8(d));
    }
    if (negative && t != QLatin1String("0"))
        t.prepend(QLatin1Char('-'));
    return t;
}

} // namespace

void FormatNumber(quint8 decimals, int base, QString &r, long double value, QChar sep) {
    CheckBase(base);
    if (base != 10) {
        r = GroupDigits(ToPowerOfTwoBase(decimals, base, value, sep), base, sep);
        return;
    }
    QString t = FormatPlain(value, decimals, sep);
    // A value that the decimals show as 0 is written in the exponent form.
    // FormatPlain writes no exponent here, so "shown as 0" is "no digit but 0".
    const bool shownAsZero =
        std::none_of(t.cbegin(), t.cend(), [](QChar c) { return c >= QLatin1Char('1') && c <= QLatin1Char('9'); });
    if (shownAsZero && value != 0.0L)
        t = FormatFloat(QStringLiteral("0.################E+0"), value, sep);
    if (HasExponent(t)) {
        r = t;
        return;
    }
    r = GroupDigits(t, base, sep);
}

QString ExactDecimal(long double value, QChar sep) { return ShortestDecimal(value, sep); }
