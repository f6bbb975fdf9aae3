#include "uCisla.h"
#include "uSpolocne.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

// Significant decimal digits the engine writes.
constexpr int MaxSignificant = 18;

struct TPicture {
    int minDecimals = 0;    // "0" after the point
    int maxDecimals = 0;    // "0" and "#" after the point
    bool scientific = false;
    bool exponentAlwaysSigned = false;
    int exponentDigits = 1;
};

TPicture ParsePicture(const QString &picture) {
    TPicture p;
    const int ePos = picture.indexOf(QLatin1Char('E'), 0, Qt::CaseInsensitive);
    const QString mantissa = ePos >= 0 ? picture.left(ePos) : picture;
    if (ePos >= 0) {
        p.scientific = true;
        const QString exp = picture.mid(ePos + 1);
        p.exponentAlwaysSigned = exp.startsWith(QLatin1Char('+'));
        p.exponentDigits = std::max<int>(1, int(exp.count(QLatin1Char('0'))));
    }
    const int dot = mantissa.indexOf(QLatin1Char('.'));
    if (dot >= 0) {
        for (int i = dot + 1; i < mantissa.size(); ++i) {
            if (mantissa.at(i) == QLatin1Char('0')) {
                ++p.maxDecimals;
                p.minDecimals = p.maxDecimals;
            } else if (mantissa.at(i) == QLatin1Char('#')) {
                ++p.maxDecimals;
            }
        }
    }
    return p;
}

// Trailing zeros of the fraction digits are dropped down to minDecimals.
void TrimFraction(std::string &frac, int minDecimals) {
    while (int(frac.size()) > minDecimals && !frac.empty() && frac.back() == '0')
        frac.pop_back();
}

QString Join(bool negative, const std::string &intPart, const std::string &frac, QChar sep) {
    QString r;
    r.reserve(int(intPart.size() + frac.size() + 3));
    if (negative)
        r += QLatin1Char('-');
    r += QLatin1String(intPart.data(), int(intPart.size()));
    if (!frac.empty()) {
        r += sep;
        r += QLatin1String(frac.data(), int(frac.size()));
    }
    return r;
}

// Scientific form: one integer digit, up to maxDecimals decimals within the
// significant-digit limit.
QString FormatScientific(const TPicture &p, long double value, QChar sep) {
    const int decimals = std::min(p.maxDecimals, MaxSignificant - 1);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*Le", decimals, value);
    std::string s(buf);
    bool negative = false;
    if (!s.empty() && s[0] == '-') {
        negative = true;
        s.erase(0, 1);
    }
    const auto e = s.find('e');
    std::string mant = s.substr(0, e);
    int exponent = std::stoi(s.substr(e + 1));
    std::string intPart = mant.substr(0, 1);
    std::string frac = mant.size() > 2 ? mant.substr(2) : std::string();
    TrimFraction(frac, p.minDecimals);
    if (intPart == "0" && frac.find_first_not_of('0') == std::string::npos) {
        negative = false;
        exponent = 0;
    }
    QString r = Join(negative, intPart, frac, sep);
    r += QLatin1Char('E');
    if (exponent < 0)
        r += QLatin1Char('-');
    else if (p.exponentAlwaysSigned)
        r += QLatin1Char('+');
    QString digits = QString::number(std::abs(exponent));
    while (digits.size() < p.exponentDigits)
        digits.prepend(QLatin1Char('0'));
    return r + digits;
}

QString FormatFixed(const TPicture &p, long double value, QChar sep) {
    // How many integer digits the value has decides how many decimals the
    // significant-digit limit leaves.
    const long double mag = std::fabs(value);
    int intDigits = 1;
    if (mag >= 1.0L)
        intDigits = int(std::floor(std::log10(mag))) + 1;
    if (intDigits > MaxSignificant) {
        TPicture general;
        general.maxDecimals = MaxSignificant - 1;
        return FormatScientific(general, value, sep);
    }
    int decimals = p.maxDecimals;
    if (mag >= 1.0L)
        decimals = std::min(decimals, MaxSignificant - intDigits);
    else if (mag > 0.0L) {
        // Leading zeros after the point do not count as significant.
        const int leadingZeros = -int(std::floor(std::log10(mag))) - 1;
        decimals = std::min(decimals, leadingZeros + MaxSignificant);
    }
    decimals = std::max(decimals, 0);
    // Up to 18 integer digits, a sign, a point and the decimals: the buffer
    // must hold them all, or the digits would be cut off instead of rounded.
    std::string s(size_t(decimals) + 32, '\0');
    const int written = std::snprintf(s.data(), s.size(), "%.*Lf", decimals, value);
    s.resize(size_t(std::max(written, 0)));
    bool negative = false;
    if (!s.empty() && s[0] == '-') {
        negative = true;
        s.erase(0, 1);
    }
    const auto dot = s.find('.');
    std::string intPart = s.substr(0, dot);
    std::string frac = dot == std::string::npos ? std::string() : s.substr(dot + 1);
    TrimFraction(frac, p.minDecimals);
    if (intPart.find_first_not_of('0') == std::string::npos && frac.find_first_not_of('0') == std::string::npos)
        negative = false; // never "-0"
    return Join(negative, intPart, frac, sep);
}

} // namespace

bool TryStrToFloat(const QString &text, long double &value) {
    return TryStrToFloat(text, value, DecSep());
}

bool TryStrToFloat(const QString &text, long double &value, QChar separator) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 4096)
        return false;
    std::string s;
    s.reserve(size_t(t.size()));
    int i = 0;
    const int n = int(t.size());
    bool negative = false;
    if (t.at(0) == QLatin1Char('+') || t.at(0) == QLatin1Char('-')) {
        negative = t.at(0) == QLatin1Char('-');
        ++i;
    }
    int mantissaDigits = 0;
    bool seenSeparator = false;
    for (; i < n; ++i) {
        const QChar c = t.at(i);
        if (IsAsciiDigit(c)) {
            s += char(c.unicode());
            ++mantissaDigits;
        } else if (c == separator && !seenSeparator) {
            s += '.';
            seenSeparator = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        return false;
    if (i < n) {
        if (t.at(i) != QLatin1Char('E') && t.at(i) != QLatin1Char('e'))
            return false;
        s += 'e';
        ++i;
        if (i < n && (t.at(i) == QLatin1Char('+') || t.at(i) == QLatin1Char('-'))) {
            s += char(t.at(i).unicode());
            ++i;
        }
        int expDigits = 0;
        for (; i < n && IsAsciiDigit(t.at(i)); ++i) {
            s += char(t.at(i).unicode());
            ++expDigits;
        }
        if (expDigits == 0 || i < n)
            return false;
    }
    long double v = 0;
    const auto res = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != s.data() + s.size() || !std::isfinite(v))
        return false;
    value = negative ? -v : v;
    return true;
}

long double StrToFloat(const QString &text) {
    long double v = 0;
    if (!TryStrToFloat(text, v))
        throw EEngineConvertError("'" + text.toStdString() + "' is not a valid number");
    return v;
}

QString FormatFloat(const QString &picture, long double value) {
    return FormatFloat(picture, value, DecSep());
}

QString FormatFloat(const QString &picture, long double value, QChar separator) {
    if (!std::isfinite(value))
        throw EEngineInvalidOp("invalid floating point operation");
    const TPicture p = ParsePicture(picture);
    return p.scientific ? FormatScientific(p, value, separator) : FormatFixed(p, value, separator);
}

qint64 RoundToInt64(long double value) {
    if (!std::isfinite(value) || value >= 9223372036854775808.0L || value < -9223372036854775808.0L)
        throw EEngineRangeError("integer out of range");
    return std::llrintl(value); // the default rounding mode rounds ties to even
}
