#include "uCisla.h"
#include "uSpolocne.h"

#include <algorithm>
#include <array>
#include <limits>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Significant decimal digits the engine writes.
constexpr int MaxSignificant = 18;

// 10^0 .. 10^27, each exact in the 80-bit format (5^27 < 2^64).
constexpr int ExactPowers = 28;
const long double *PowersOfTen() {
    static const auto table = [] {
        std::array<long double, ExactPowers> t{};
        long double p = 1;
        for (int i = 0; i < ExactPowers; ++i) {
            t[size_t(i)] = p;
            p *= 10;
        }
        return t;
    }();
    return table.data();
}

struct TPicture {
    int minDecimals = 0; // "0" after the point
    int maxDecimals = 0; // "0" and "#" after the point
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

// floor(log10(m)) for m >= 1, as std::log10 gives it: counted against the
// powers of ten, the logarithm taken only within a hair of one of them.
int FloorLog10(long double m) {
    if (m < 1e26L) {
        int e = 0;
        long double next = 10;
        while (m >= next) {
            ++e;
            next *= 10; // exact up to 10^27
        }
        if (m < next * (1 - 1e-15L))
            return e;
    }
    return int(std::floor(std::log10(m)));
}

// The whole part of 0 <= t < 2^63, as static_cast<quint64> gives it, but by
// the rounding mode in force: a cast would switch the FPU's rounding mode to
// truncation and back, which costs more than the rest of the conversion.
quint64 WholePart(long double t) {
    long double w = __builtin_rintl(t);
    if (w > t)
        w -= 1;
    return quint64(__builtin_llrintl(w));
}

// Digits of |value| * 10^decimals rounded to an integer, as printf rounds
// the binary value, or false where only printf is sure (a tie within an ulp,
// beyond 18 digits or the exact powers).
bool ScaledDigits(long double magnitude, int decimals, quint64 &n) {
    if (decimals < 0 || decimals >= ExactPowers)
        return false;
    const long double t = magnitude * PowersOfTen()[decimals];
    if (!(t < 1e18L))
        return false;
    const quint64 whole = WholePart(t);
    const long double fraction = t - static_cast<long double>(whole);
    if (std::fabs(fraction - 0.5L) <= t * 1.1e-19L) // an ulp of t at most
        return false;
    n = whole + (fraction > 0.5L ? 1 : 0);
    return true;
}

QString FormatFixed(const TPicture &p, long double value, QChar sep) {
    // How many integer digits the value has decides how many decimals the
    // significant-digit limit leaves.
    const long double mag = std::fabs(value);
    int intDigits = 1;
    if (mag >= 1.0L)
        intDigits = FloorLog10(mag) + 1;
    if (intDigits > MaxSignificant) {
        TPicture general;
        general.maxDecimals = MaxSignificant - 1;
        return FormatScientific(general, value, sep);
    }
    int decimals = p.maxDecimals;
    if (mag >= 1.0L)
        decimals = std::min(decimals, MaxSignificant - intDigits);
    else if (mag > 0.0L && decimals > MaxSignificant) {
        // Leading zeros after the point do not count as significant.
        const int leadingZeros = -int(std::floor(std::log10(mag))) - 1;
        decimals = std::min(decimals, leadingZeros + MaxSignificant);
    }
    decimals = std::max(decimals, 0);
    quint64 n = 0;
    if (ScaledDigits(mag, decimals, n)) {
        // The digits of n with the point `decimals` places from the right,
        // trailing decimals trimmed down to minDecimals.
        char digits[32];
        int count = 0;
        for (quint64 m = n; m > 0; m /= 10)
            digits[count++] = char('0' + m % 10);
        while (count <= decimals)
            digits[count++] = '0'; // at least one integer digit
        int low = 0;               // index of the lowest digit written
        while (low < decimals - p.minDecimals && digits[low] == '0')
            ++low;
        QChar text[40]; // a sign, at most 18 digits and 27 zeros before them, a separator: one string made once
        int length = 0;
        if (value < 0 && n != 0)
            text[length++] = QLatin1Char('-');
        for (int k = count - 1; k >= decimals; --k)
            text[length++] = QLatin1Char(digits[k]);
        if (low < decimals) {
            text[length++] = sep;
            for (int k = decimals - 1; k >= low; --k)
                text[length++] = QLatin1Char(digits[k]);
        }
        return QString(text, length);
    }
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

namespace {

// The usual number, read without the library: at most 19 significant digits
// and a power of ten within the exact ones, so that one multiplication or
// division by an exact power rounds it as strtold does. False when the text
// is of another kind (the general road then reads it).
bool QuickDecimal(QStringView text, QChar separator, long double &value) {
    const qsizetype n = text.size();
    qsizetype i = 0;
    bool negative = false;
    if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    quint64 mantissa = 0;
    int digits = 0, decimals = 0;
    bool anyDigit = false, afterSeparator = false;
    for (; i < n; ++i) {
        const QChar c = text.at(i);
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            anyDigit = true;
            if (mantissa == 0 && c == QLatin1Char('0')) {
                if (afterSeparator)
                    ++decimals;
                continue; // a leading zero
            }
            if (++digits > 19)
                return false;
            mantissa = mantissa * 10 + quint64(c.unicode() - '0');
            if (afterSeparator)
                ++decimals;
        } else if (c == separator && !afterSeparator) {
            afterSeparator = true;
        } else {
            return false; // an exponent, a space, anything else: the general road
        }
    }
    if (!anyDigit || decimals >= ExactPowers)
        return false;
    const long double m = static_cast<long double>(mantissa); // exact: 64 bits
    const long double v = decimals == 0 ? m : m / PowersOfTen()[decimals];
    value = negative ? -v : v;
    return true;
}

} // namespace

bool TryStrToDouble(QStringView text, double &value, QChar separator) {
    long double read = 0;
    if (!TryStrToFloat(text, read, separator) || !std::isfinite(double(read)))
        return false;
    value = double(read);
    return true;
}

bool TryStrToFloat(QStringView text, long double &value, QChar separator) {
    if (QuickDecimal(text, separator, value))
        return true;
    // Any length: the digits of a long number are read whole and rounded
    // once, as those of a short one ("0," and 4,095 threes is 1/3 to the
    // last bit, "1" and 4,940 zeros "E-4900" is 1E40).
    const QStringView t = text.trimmed();
    if (t.isEmpty())
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

long double StrToFloat(const QString &text, QChar separator) {
    long double v = 0;
    if (!TryStrToFloat(text, v, separator))
        throw EEngineConvertError("'" + text.toStdString() + "' is not a valid number");
    return v;
}

QString FormatFloat(const QString &picture, long double value, QChar separator) {
    if (!std::isfinite(value))
        throw EEngineInvalidOp("invalid floating point operation");
    const TPicture p = ParsePicture(picture);
    return p.scientific ? FormatScientific(p, value, separator) : FormatFixed(p, value, separator);
}

namespace {

// The exponent of a normal 80-bit value, read from its bits (16383 is the
// bias): what ilogb gives, without the library call.
int BinaryExponent(long double x) {
    unsigned char bytes[sizeof(long double)];
    std::memcpy(bytes, &x, sizeof bytes);
    const int field = (bytes[9] & 0x7F) << 8 | bytes[8];
    return field - 16383;
}

// The binary exponent of a positive x to within one, read through a double:
// an 80-bit value's bytes are read back from memory only after a stall,
// while a double's come at once. Outside the double's range, the bytes.
int ApproximateBinaryExponent(long double x) {
    const double d = static_cast<double>(x);
    quint64 bits = 0;
    std::memcpy(&bits, &d, sizeof bits);
    const int field = int(bits >> 52) & 0x7FF;
    return field == 0 || field == 0x7FF ? BinaryExponent(x) : field - 1023;
}

// floor(e * log10(2)) within one, in integers (the callers settle the last
// step against the powers of ten).
int FloorLog10OfTwoPower(int e) { return (e * 78913) >> 18; }

// The text road: the value written with the picture and read back, as the
// engine's tokens did. Used only where the fast road could be wrong.
long double ThroughText(const QString &picture, long double value) {
    const QString t = FormatFloat(picture, value, QLatin1Char('.'));
    long double r = 0;
    if (!TryStrToFloat(t, r, QLatin1Char('.')))
        return std::numeric_limits<long double>::quiet_NaN();
    return r;
}

const QString &OperatorPicture() {
    static const QString p = QStringLiteral("0.##############################E-0");
    return p;
}

// |value| rounded to `decimals` decimals (0 <= decimals < ExactPowers) as
// printf rounds the exact binary value and strtold reads the digits back,
// or false when the scaled value lies within an ulp of a tie (or is too
// large for 63 bits), where only the text road is sure.
bool RoundScaled(long double magnitude, int decimals, long double &result) {
    const long double *p10 = PowersOfTen();
    const long double t = magnitude * p10[decimals];
    if (!(t < 1e18L))
        return false;
    const long double n = __builtin_rintl(t);
    if (std::fabs(std::fabs(t - n) - 0.5L) <= t * 1.1e-19L) // an ulp of t at most
        return false;
    result = n / p10[decimals];
    return true;
}

// The nearest integer to magnitude / 10^k (|k| < ExactPowers, magnitude
// normal), worked out on the exact binary value in 128-bit integers: the
// digits printf writes, where the scaled long double lies too close to a
// tie to tell them. False for an exact tie (left to printf's own rule) and
// where the quotient is no 18-digit integer or the integers cannot hold
// the value.
bool ExactScaledRound(long double magnitude, int k, quint64 &n) {
    using U128 = unsigned __int128;
    static constexpr auto powersOfFive = [] {
        std::array<quint64, ExactPowers> t{};
        quint64 p = 1;
        for (int i = 0; i < ExactPowers; ++i) {
            t[size_t(i)] = p;
            p *= 5;
        }
        return t;
    }();
    // magnitude = m * 2^e exactly: the 64-bit mantissa and the exponent.
    quint64 m = 0;
    std::memcpy(&m, &magnitude, sizeof m);
    const int e = BinaryExponent(magnitude) - 63;
    // magnitude / 10^k = m * 5^-k * 2^(e - k) = num / den.
    const int shift = e - k;
    U128 num = U128(m) * (k < 0 ? powersOfFive[size_t(-k)] : 1); // below 2^127
    U128 den = k > 0 ? powersOfFive[size_t(k)] : 1;              // below 2^63
    if (shift >= 0) {
        if (shift > 63 || (shift > 0 && num >> (127 - shift) != 0))
            return false;
        num <<= shift;
    } else {
        if (-shift > (k > 0 ? 64 : 127))
            return false;
        den <<= -shift;
    }
    const U128 q = num / den;
    const U128 twice = (num % den) * 2;
    if (q < 100000000000000000ULL || q >= 1000000000000000000ULL || twice == den)
        return false;
    n = quint64(q) + (twice > den ? 1 : 0);
    return true;
}

} // namespace

long double RoundOperatorResult(long double value) {
    if (!std::isfinite(value))
        return std::numeric_limits<long double>::quiet_NaN();
    const long double magnitude = std::fabs(value);
    if (magnitude < std::numeric_limits<long double>::min())
        return 0;
    // 18 significant digits: an integer N of 18 digits times 10^k. The
    // binary exponent gives k to within one; the range of N settles it.
    const long double *p10 = PowersOfTen();
    int k = FloorLog10OfTwoPower(ApproximateBinaryExponent(magnitude)) - (MaxSignificant - 1);
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (k <= -ExactPowers || k >= ExactPowers)
            break;
        const long double t = k < 0 ? magnitude * p10[-k] : magnitude / p10[k];
        if (t < 1e17L) {
            --k;
            continue;
        }
        if (t >= 1e18L + 0.5L) {
            ++k;
            continue;
        }
        // The nearest integer (the rounding mode's, to nearest); within an
        // ulp of a tie it is worked out on the exact value, and only an
        // exact tie is left to the text road.
        long double n = __builtin_rintl(t);
        if (std::fabs(std::fabs(t - n) - 0.5L) <= t * 1.1e-19L) { // an ulp of t at most
            quint64 exact = 0;
            if (!ExactScaledRound(magnitude, k, exact))
                break;
            n = static_cast<long double>(exact);
        }
        const long double r = k < 0 ? n / p10[-k] : n * p10[k];
        return value < 0 ? -r : r;
    }
    return ThroughText(OperatorPicture(), value);
}

long double RoundSignificant(long double value) {
    // The exponent field settles zero, the numbers below the normal ones,
    // infinities and NaN, and gives k below.
    unsigned char bytes[sizeof(long double)];
    std::memcpy(bytes, &value, sizeof bytes);
    const int field = (bytes[9] & 0x7F) << 8 | bytes[8];
    if (field == 0x7FFF)
        return std::numeric_limits<long double>::quiet_NaN();
    if (field == 0)
        return 0;
    // magnitude = t * 10^k with 10^17 <= t < 10^18; k from the binary
    // exponent to within one, settled by the range of t.
    int k = FloorLog10OfTwoPower(field - 16383) - (MaxSignificant - 1);
    // Beyond the exact powers of ten (values below about 10^-9 or above
    // 10^44) only the text road gives the nearest 80-bit value of the
    // digits.
    if (k <= 1 - ExactPowers || k >= ExactPowers - 1)
        return RoundOperatorResult(value);
    const long double *p10 = PowersOfTen();
    const long double magnitude = std::fabs(value);
    auto scaled = [&] { return k < 0 ? magnitude * p10[-k] : magnitude / p10[k]; };
    long double t = scaled();
    if (t < 1e17L || t >= 1e18L) {
        k += t < 1e17L ? -1 : 1;
        t = scaled();
    }
    // The nearest whole number (ties to even), as the FPU rounds a sum: t
    // is below 2^63, so t + 2^63 keeps no bit below the units.
    constexpr long double Units = 9223372036854775808.0L;
    const long double n = (t + Units) - Units;
    const long double r = k < 0 ? n / p10[-k] : n * p10[k]; // below 10^46: no overflow
    return value < 0 ? -r : r;
}

QString OperatorResultText(long double value, QChar separator, bool inBrackets) {
    const long double magnitude = std::fabs(value);
    if (magnitude == 0)
        return inBrackets ? QStringLiteral("[0E0]") : QStringLiteral("0E0");
    if (std::isfinite(value) && magnitude >= std::numeric_limits<long double>::min()) {
        const long double *p10 = PowersOfTen();
        int k = FloorLog10OfTwoPower(BinaryExponent(magnitude)) - (MaxSignificant - 1);
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (k <= -ExactPowers || k >= ExactPowers)
                break;
            const long double t = k < 0 ? magnitude * p10[-k] : magnitude / p10[k];
            if (t < 1e17L - 0.5L) {
                --k;
                continue;
            }
            if (t >= 1e18L - 0.5L) {
                ++k;
                continue;
            }
            const quint64 wholePart = WholePart(t);
            const long double fraction = t - static_cast<long double>(wholePart);
            // A value kept by RoundOperatorResult lies within a hair of its digits.
            if (fraction > 0.01L && fraction < 0.99L)
                break;
            quint64 n = wholePart + (fraction >= 0.5L ? 1 : 0);
            int exponent = k + MaxSignificant - 1;
            if (n >= 1000000000000000000ULL) {
                n /= 10;
                ++exponent;
            }
            char digits[24];
            int count = 0;
            for (quint64 m = n; m > 0; m /= 10)
                digits[count++] = char('0' + m % 10);
            // digits[count - 1] is the first digit; trailing zeros go.
            int last = 0;
            while (last < count - 1 && digits[last] == '0')
                ++last;
            // At most "[-" + 18 digits + separator + "E-4951]": one string made once.
            QChar text[40];
            int length = 0;
            if (inBrackets)
                text[length++] = QLatin1Char('[');
            if (value < 0)
                text[length++] = QLatin1Char('-');
            text[length++] = QLatin1Char(digits[count - 1]);
            if (last < count - 1) {
                text[length++] = separator;
                for (int d = count - 2; d >= last; --d)
                    text[length++] = QLatin1Char(digits[d]);
            }
            text[length++] = QLatin1Char('E');
            if (exponent < 0)
                text[length++] = QLatin1Char('-');
            char exponentDigits[8];
            int e = 0;
            for (int m = exponent < 0 ? -exponent : exponent; m > 0 || e == 0; m /= 10)
                exponentDigits[e++] = char('0' + m % 10);
            while (e > 0)
                text[length++] = QLatin1Char(exponentDigits[--e]);
            if (inBrackets)
                text[length++] = QLatin1Char(']');
            return QString(text, length);
        }
    }
    const QString t = FormatFloat(OperatorPicture(), value, separator);
    return inBrackets ? QLatin1Char('[') + t + QLatin1Char(']') : t;
}

long double RoundPlain(long double value, int maxDecimals) {
    if (!std::isfinite(value))
        return std::numeric_limits<long double>::quiet_NaN();
    const long double magnitude = std::fabs(value);
    if (magnitude == 0)
        return 0;
    // As FormatFixed decides it, with the same logarithm.
    int decimals = maxDecimals;
    if (magnitude >= 1.0L) {
        const int intDigits = FloorLog10(magnitude) + 1;
        if (intDigits > MaxSignificant)
            return ThroughText(QStringLiteral("0.") + QString(maxDecimals, QLatin1Char('#')), value);
        decimals = std::min(decimals, MaxSignificant - intDigits);
    }
    // Below 1 the leading zeros after the point are no significant digits:
    // at most 17 decimals never reach the limit of 18.
    decimals = std::max(decimals, 0);
    long double r = 0;
    if (decimals >= ExactPowers || !RoundScaled(magnitude, decimals, r))
        return ThroughText(QStringLiteral("0.") + QString(maxDecimals, QLatin1Char('#')), value);
    return value < 0 && r != 0 ? -r : r;
}

QString FormatPlain(long double value, int maxDecimals, QChar separator) {
    if (!std::isfinite(value))
        throw EEngineInvalidOp("invalid floating point operation");
    TPicture p;
    p.maxDecimals = maxDecimals;
    return FormatFixed(p, value, separator);
}

qint64 RoundToInt64(long double value) {
    if (!std::isfinite(value) || value >= 9223372036854775808.0L || value < -9223372036854775808.0L)
        throw EEngineRangeError("integer out of range");
    return std::llrintl(value); // the default rounding mode rounds ties to even
}
