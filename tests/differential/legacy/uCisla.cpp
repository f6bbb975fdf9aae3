#include "uCisla.h"
#include "uSpolocne.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
namespace legacy {

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

TPicture ParsePicture(QStringView picture) {
    TPicture p;
    bool afterPoint = false;
    for (const QChar c : picture) {
        if (p.scientific) {
            if (c == QLatin1Char('+'))
                p.exponentAlwaysSigned = true;
            else if (c == QLatin1Char('0'))
                ++p.exponentDigits;
        } else if (c == QLatin1Char('E') || c == QLatin1Char('e')) {
            p.scientific = true;
            p.exponentDigits = 0;
        } else if (c == QLatin1Char('.')) {
            afterPoint = true;
        } else if (afterPoint && c == QLatin1Char('0')) {
            p.minDecimals = ++p.maxDecimals;
        } else if (afterPoint && c == QLatin1Char('#')) {
            ++p.maxDecimals;
        }
    }
    p.exponentDigits = std::max(p.exponentDigits, 1);
    return p;
}

// The digits printf wrote ("-123.4500" or "1.2300e+05" without the
// exponent) become the engine's text: trailing decimals trimmed down to
// minDecimals, the point replaced by the separator, no "-0".
QString Compose(const char *digits, int length, int minDecimals, QChar sep, const char *exponent, int expLength) {
    const char *point = static_cast<const char *>(std::memchr(digits, '.', size_t(length)));
    int end = length;
    if (point) {
        const int pointAt = int(point - digits);
        while (end > pointAt + 1 + minDecimals && digits[end - 1] == '0')
            --end;
        if (end == pointAt + 1)
            end = pointAt; // no decimals left: no point either
    }
    bool allZero = true;
    for (int i = 0; i < end; ++i)
        if (digits[i] >= '1' && digits[i] <= '9')
            allZero = false;
    const int skip = (allZero && digits[0] == '-') ? 1 : 0; // never "-0"
    QString r(end - skip + expLength, Qt::Uninitialized);
    QChar *out = r.data();
    for (int i = skip; i < end; ++i)
        *out++ = digits[i] == '.' ? sep : QLatin1Char(digits[i]);
    for (int i = 0; i < expLength; ++i)
        *out++ = QLatin1Char(exponent[i]);
    return r;
}

// Scientific form: one integer digit, up to maxDecimals decimals within the
// significant-digit limit.
QString FormatScientific(const TPicture &p, long double value, QChar sep) {
    const int decimals = std::min(p.maxDecimals, MaxSignificant - 1);
    char buf[64];
    const int n = std::snprintf(buf, sizeof buf, "%.*Le", decimals, value);
    const char *e = static_cast<const char *>(std::memchr(buf, 'e', size_t(n)));
    const int mantissaLength = int(e - buf);
    int exponent = std::atoi(e + 1);
    bool zero = true;
    for (int i = 0; i < mantissaLength; ++i)
        if (buf[i] >= '1' && buf[i] <= '9')
            zero = false;
    if (zero)
        exponent = 0;
    char exp[16];
    int expLength = 0;
    exp[expLength++] = 'E';
    if (exponent < 0)
        exp[expLength++] = '-';
    else if (p.exponentAlwaysSigned)
        exp[expLength++] = '+';
    const int magnitude = exponent < 0 ? -exponent : exponent;
    expLength += std::snprintf(exp + expLength, sizeof exp - size_t(expLength), "%0*d", p.exponentDigits, magnitude);
    return Compose(buf, mantissaLength, p.minDecimals, sep, exp, expLength);
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
    char small[96];
    std::string large;
    char *buf = small;
    size_t size = sizeof small;
    if (size_t(decimals) + 32 > size) {
        large.resize(size_t(decimals) + 32);
        buf = large.data();
        size = large.size();
    }
    const int written = std::snprintf(buf, size, "%.*Lf", decimals, value);
    return Compose(buf, std::max(written, 0), p.minDecimals, sep, nullptr, 0);
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

} // namespace legacy