#include "PrevodySustav.h"

#include "uCisla.h"

#include <QVarLengthArray>

#include <algorithm>
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
bool IsNumberChar(int base, QChar c) {
    if (c == DecSep())
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
long double DigitsToValue(int base, const QString &s) {
    QString t = AsciiUpper(s.trimmed());
    bool negative = false;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
        negative = t.at(0) == QLatin1Char('-');
        t.remove(0, 1);
    }
    const QChar sep = DecSep();
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
    return negative ? -v : v;
}

// Value in plain base-10 notation with up to 16 decimals; integers up to the
// 64-bit range are written with all their digits.
QString DecimalText(long double v) {
    const long double a = std::fabs(v);
    if (a >= 1e18L) {
        const long double r = std::nearbyint(a);
        if (r < TwoTo63) {
            const QString digits = QString::number(static_cast<qint64>(r));
            return v < 0 ? QLatin1Char('-') + digits : digits;
        }
    }
    return FormatFloat(PlainPicture, v);
}

bool HasExponent(const QString &s) {
    return s.contains(QLatin1Char('e')) || s.contains(QLatin1Char('E'));
}

bool StartsWithWordOperator(QStringView run) { return WordOperatorAt(run) >= 0; }

// Where a name begins inside a run of letters and digits: for each position,
// whether the run from there on holds a letter that is not a digit of the
// base (nor the extra character). A word operator followed by no name ends
// the run for what stands before it, so that "1Fmod3" in base 16 is the
// number 1F, "mod" and 3.
QList<bool> NameLettersAhead(const QString &s, int base, QChar extra) {
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
        ahead[p] = (IsAsciiLetter(c) && c != extra && !IsNumberChar(base, c)) || carry;
        carry = ahead[p];
    }
    return ahead;
}

// The one walk of both expression conversions. Names (a letter run that holds
// a letter that is not a digit of the base, such as "cos" or "x2"), user
// constant references and word operators are passed over; every number is
// converted in its place.
void ConvertNumbers(int fromBase, int toBase, QChar extra, QString &expr, TChyba &err, bool formatted,
                    quint8 decimals) {
    err.ClearCodeAndSpan();
    // A word operator between blanks keeps a blank beside a name, which
    // passes to the text converted (the number set is the reader's: where
    // no word operators exist the blank goes there).
    expr = StripBlanks(expr, TNumberSet::Real);
    const QString s = expr;
    const int n = int(s.size());
    const QChar sep = DecSep();
    const bool hasExtra = !extra.isNull();
    const QList<bool> nameAhead = NameLettersAhead(s, fromBase, extra);
    QString out;
    out.reserve(n + n / 2);
    int i = 0;
    try {
        CheckBase(fromBase);
        CheckBase(toBase);
        while (i < n) {
            const QChar c = s.at(i);
            if (c == QLatin1Char('$')) {
                const int end = DollarReferenceEnd(s, i + 1) - 1;
                out += QStringView(s).mid(i, end - i);
                i = end;
                continue;
            }
            if (hasExtra && (c == QLatin1Char('e') || c == QLatin1Char('E')) && i + 1 < n &&
                s.at(i + 1) == QLatin1Char('^')) {
                out += c; // the "e^" of the exponential form
                ++i;
                continue;
            }
            if (IsAsciiLetter(c) && c != extra && nameAhead[i]) {
                int j = i;
                while (j < n && (IsAsciiLetter(s.at(j)) || IsAsciiDigit(s.at(j))))
                    ++j;
                const QStringView run = QStringView(s).mid(i, j - i);
                // "div", "mod" and "nad" followed by a number: only the operator is a word
                if (run.size() > 3 && StartsWithWordOperator(run) && !nameAhead[i + 3]) {
                    out += run.left(3);
                    i += 3;
                    continue;
                }
                out += run;
                i = j;
                continue;
            }
            const bool startsNumber = IsAsciiDigit(c) || c == sep || (hasExtra && c == extra) ||
                                      (IsAsciiLetter(c) && IsNumberChar(fromBase, c));
            if (!startsNumber) {
                out += c;
                ++i;
                continue;
            }
            int j = i;
            while (j < n) {
                const QChar d = s.at(j);
                if (IsAsciiLetter(d) && d != extra && nameAhead[j])
                    break; // a name begins here, as in "2cos"
                if (hasExtra && (d == QLatin1Char('e') || d == QLatin1Char('E')) && j + 1 < n &&
                    s.at(j + 1) == QLatin1Char('^'))
                    break;
                if (IsAsciiDigit(d) || d == sep || (hasExtra && d == extra) || IsNumberChar(fromBase, d))
                    ++j;
                else
                    break;
            }
            // A base-10 number keeps its exponent ("2e3", "1,5E-4").
            int k = j;
            if (fromBase == 10 && k < n && (s.at(k) == QLatin1Char('e') || s.at(k) == QLatin1Char('E'))) {
                int m = k + 1;
                if (m < n && (s.at(m) == QLatin1Char('+') || s.at(m) == QLatin1Char('-')))
                    ++m;
                const int digitsFrom = m;
                while (m < n && IsAsciiDigit(s.at(m)))
                    ++m;
                if (m > digitsFrom)
                    k = m;
            }
            const QString token = s.mid(i, j - i);
            const QString exponent = s.mid(j, k - j);
            if (!IsValidNumber(fromBase, extra, token))
                throw EEngineConvertError("not a number of the base");
            const qsizetype extraAt = hasExtra ? token.indexOf(extra) : -1;
            QString digits = token;
            if (extraAt >= 0)
                digits.remove(extraAt, 1);
            bool anyDigit = false;
            for (QChar d : digits)
                anyDigit = anyDigit || d != sep;
            if (!anyDigit) { // the imaginary unit or a separator alone
                out += QStringView(s).mid(i, k - i);
                i = k;
                continue;
            }
            QString converted;
            if (formatted) {
                const long double value =
                    fromBase == 10 ? StrToFloat(digits + exponent) : DigitsToValue(fromBase, digits);
                FormatNumber(decimals, toBase, converted, value);
            } else {
                QString decimal;
                if (fromBase == 10)
                    decimal = digits + exponent;
                else
                    BaseToDecimal(fromBase, digits, decimal);
                DecimalToBase(toBase, decimal, 16, converted);
            }
            if (extraAt == 0)
                out += extra + converted;
            else if (extraAt > 0)
                out += converted + extra;
            else
                out += converted;
            i = k;
        }
    } catch (const std::exception &) {
        err.Code = TErrorCode::BaseConversion;
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

void BaseToDecimal(int base, const QString &s, QString &r) {
    CheckBase(base);
    r = DecimalText(DigitsToValue(base, s));
}

void DecimalToBase(int base, const QString &s, quint8 digits, QString &r) {
    CheckBase(base);
    const QChar sep = DecSep();
    QString t = s.trimmed();
    if (HasExponent(t)) {
        t = DecimalText(StrToFloat(t));
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
    QString res;
    if (n == 0)
        res = QStringLiteral("0");
    while (n > 0) {
        res.prepend(DigitToChar(quint8(n % quint64(base))));
        n /= quint64(base);
    }

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
        long double f = StrToFloat(QStringLiteral("0") + sep + fracText);
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

bool IsValidNumber(int base, QChar extra, const QString &token) {
    if (token.isEmpty())
        return false;
    int extras = 0;
    for (QChar c : token) {
        if (!extra.isNull() && c == extra)
            ++extras;
        else if (!IsNumberChar(base, c))
            return false;
    }
    return extras <= 1;
}

void ConvertExpressionBase(int fromBase, int toBase, QChar extra, QString &expr, TChyba &err) {
    ConvertNumbers(fromBase, toBase, extra, expr, err, false, 0);
}

void ConvertExpressionBaseFormatted(int fromBase, int toBase, QChar extra, QString &expr, TChyba &err,
                                    quint8 decimals) {
    ConvertNumbers(fromBase, toBase, extra, expr, err, true, decimals);
}

namespace {

// Value written in base 2, 8 or 16: the digits of the binary value itself,
// rounded at the last decimal (half to even) in that base. Multiplying the
// fraction by these bases is exact, so every digit is.
QString ToPowerOfTwoBase(quint8 decimals, int base, long double value, QChar sep) {
    if (!std::isfinite(value))
        throw EEngineInvalidOp("invalid floating point operation");
    const bool negative = value < 0;
    const long double a = std::fabs(value);
    if (a >= TwoTo63)
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
    const int last = digits.empty() ? int(whole % quint64(base)) : digits.back();
    if (f > 0.5L || (f == 0.5L && last % 2 == 1)) {
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

void FormatNumber(quint8 decimals, int base, QString &r, long double value) {
    FormatNumber(decimals, base, r, value, DecSep());
}

void FormatNumber(quint8 decimals, int base, QString &r, long double value, QChar sep) {
    CheckBase(base);
    if (base != 10) {
        r = GroupDigits(ToPowerOfTwoBase(decimals, base, value, sep), base, sep);
        return;
    }
    QString t = FormatPlain(value, decimals, sep);
    // A value that the decimals show as 0 is written in the exponent form.
    // FormatPlain writes no exponent here, so "shown as 0" is "no digit but 0".
    const bool shownAsZero = std::none_of(t.cbegin(), t.cend(), [](QChar c) {
        return c >= QLatin1Char('1') && c <= QLatin1Char('9');
    });
    if (shownAsZero && value != 0.0L)
        t = FormatFloat(QStringLiteral("0.################E+0"), value, sep);
    if (HasExponent(t)) {
        r = t;
        return;
    }
    r = GroupDigits(t, base, sep);
}
